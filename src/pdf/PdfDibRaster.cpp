#include "pdf/PdfDibRaster.h"

#include <bit>
#include <string>

#include "platform/dib/DibStretch.h"
#include "platform/dib/RasterOp.h"

// The 32-bit pixels 0xAARRGGBB are read as blue, green, red bytes.
static_assert(std::endian::native == std::endian::little);

namespace {

// A new bitmap starts white.
constexpr uint32_t Background = 0xFFFFFFFFu;
// The pattern of operations that read one: the default black brush.
constexpr uint32_t Pattern = 0xFF000000u;
// Palette entry for the pixels the source does not reach.
constexpr uint8_t BackgroundIndex = 2;

} // namespace

TPdfDibRaster::TPdfDibRaster(ByteView Bmi, ByteView Bits, uint32_t Usage, int32_t XSrc, int32_t YSrc,
                             int32_t CxSrc, int32_t CySrc, int32_t Width, int32_t Height, uint32_t Rop) {
  if (Width <= 0 || Height <= 0 || static_cast<int64_t>(Width) * Height > dib::DIB_MAX_PIXELS)
    throw EDamagedData("Bitmap raster size out of range: " + std::to_string(Width) + " x " +
                       std::to_string(Height));
  TDibInfo info = ParseBitmapInfo(Bmi, Usage);
  FRaster.Width = Width;
  FRaster.Height = Height;
  uint8_t table = RopIndex(Rop);
  if (info.BitCount == 1) {
    TIndexedRaster source = DecodeIndexedPixels(info, Bits);
    // Two source colours stay two: the operation is applied to the palette entries instead of the pixels.
    FIndexed.Width = Width;
    FIndexed.Height = Height;
    FIndexed.Palette.assign(256, 0);
    bool usesSource = RopUsesSource(table);
    for (int i = 0; i < 2; ++i)
      FIndexed.Palette[i] = ApplyRop3(table, Background, source.Palette[i], Pattern) & 0xFFFFFF;
    FIndexed.Palette[BackgroundIndex] =
        (usesSource ? Background : ApplyRop3(table, Background, 0, Pattern)) & 0xFFFFFF;
    FIndexed.Indices.assign(static_cast<size_t>(Width) * Height, BackgroundIndex);
    if (usesSource)
      StretchIndexedOnto(FIndexed, 0, 0, Width, Height, source, XSrc, DibSourceTop(info, YSrc, CySrc), CxSrc,
                         CySrc);
    FRaster.Format = rf8Bit;
    FRaster.Palette = FIndexed.Palette;
    FRaster.Rows = ByteView(FIndexed.Indices.data(), FIndexed.Indices.size());
    FRaster.Stride = Width;
    return;
  }
  TRaster source = DecodePixels(info, Bits);
  FTrueColour = TRaster(Width, Height, Background);
  StretchDibOnto(FTrueColour, 0, 0, Width, Height, info, source, XSrc, YSrc, CxSrc, CySrc, Rop, Pattern);
  FRaster.Format = rf24Bit;
  FRaster.PixelStep = 4;
  FRaster.Rows = ByteView(reinterpret_cast<const uint8_t*>(FTrueColour.Pixels.data()),
                          FTrueColour.Pixels.size() * sizeof(uint32_t));
  FRaster.Stride = static_cast<int64_t>(Width) * 4;
}
