#include "platform/dib/DibDecode.h"

#include <algorithm>
#include <bit>

#include "platform/dib/DibRle.h"

using namespace dib;

namespace {

// Reads one colour channel through its mask and widens or narrows it to 8 bits.
class TChannel {
 public:
  explicit TChannel(uint32_t mask)
      : FMask(mask), FShift(mask ? std::countr_zero(mask) : 0), FWidth(std::popcount(mask)) {}
  uint32_t operator()(uint32_t pixel) const {
    if (FWidth == 0) return 0;
    uint32_t value = (pixel & FMask) >> FShift;
    if (FWidth >= 8) return value >> (FWidth - 8);
    uint32_t wide = 0;
    for (int at = 8 - FWidth; at > -FWidth; at -= FWidth)
      wide |= at >= 0 ? value << at : value >> -at;
    return wide & 0xFF;
  }

 private:
  uint32_t FMask;
  int FShift, FWidth;
};

// The stored row that becomes raster row `y`, checked to lie inside the bits.
ByteView StoredRow(const TDibInfo& info, ByteView bits, int32_t y) {
  int32_t stored = info.TopDown ? y : info.Height - 1 - y;
  return bits.Sub(static_cast<size_t>(stored * info.Stride()), static_cast<size_t>(info.Stride()));
}

void CheckBitsLength(const TDibInfo& info, ByteView bits) {
  uint64_t needed = static_cast<uint64_t>(info.Stride()) * static_cast<uint64_t>(info.Height);
  if (bits.size() < needed)
    throw EDamagedData("Bitmap data end early: " + std::to_string(needed) + " bytes needed, " +
                       std::to_string(bits.size()) + " present");
}

void DecodePackedIndices(const TDibInfo& info, ByteView bits, std::vector<uint8_t>& indices) {
  CheckBitsLength(info, bits);
  const int depth = info.BitCount;
  const unsigned perByte = 8 / depth;
  const uint8_t valueMask = static_cast<uint8_t>((1u << depth) - 1);
  for (int32_t y = 0; y < info.Height; ++y) {
    const uint8_t* row = StoredRow(info, bits, y).data();
    uint8_t* out = indices.data() + static_cast<size_t>(y) * info.Width;
    for (int32_t x = 0; x < info.Width; ++x) {
      unsigned slot = static_cast<unsigned>(x) % perByte;
      out[x] = (row[static_cast<unsigned>(x) / perByte] >> (8 - depth * (slot + 1))) & valueMask;
    }
  }
}

void DecodeTrueColour(const TDibInfo& info, ByteView bits, TRaster& raster) {
  CheckBitsLength(info, bits);
  const TChannel red(info.RedMask), green(info.GreenMask), blue(info.BlueMask), alpha(info.AlphaMask);
  const bool plain32 = info.BitCount == 32 && info.AlphaMask == 0 && info.Compression == BI_RGB;
  const bool carriesAlpha = plain32 || info.AlphaMask != 0;
  bool anyAlpha = false;
  for (int32_t y = 0; y < info.Height; ++y) {
    ByteView row = StoredRow(info, bits, y);
    const uint8_t* in = row.data();
    uint32_t* out = raster.Pixels.data() + static_cast<size_t>(y) * info.Width;
    for (int32_t x = 0; x < info.Width; ++x) {
      if (info.BitCount == 24) {
        const uint8_t* p = in + x * 3;
        out[x] = 0xFF000000u | uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
        continue;
      }
      uint32_t pixel =
          info.BitCount == 16 ? row.U16(static_cast<size_t>(x) * 2) : row.U32(static_cast<size_t>(x) * 4);
      uint32_t a = plain32 ? pixel >> 24 : info.AlphaMask ? alpha(pixel) : 0xFF;
      anyAlpha |= carriesAlpha && a != 0;
      out[x] = a << 24 | red(pixel) << 16 | green(pixel) << 8 | blue(pixel);
    }
  }
  raster.HasAlpha = anyAlpha;
  // Alpha that is zero everywhere means the writer left it unset, not an invisible bitmap.
  if (carriesAlpha && !anyAlpha)
    for (uint32_t& pixel : raster.Pixels)
      pixel |= 0xFF000000u;
}

} // namespace

TIndexedRaster DecodeIndexedPixels(const TDibInfo& info, ByteView bits) {
  if (!info.IsIndexed())
    throw EDamagedData("Bitmap of " + std::to_string(info.BitCount) + " bits has no palette");
  TIndexedRaster indexed;
  indexed.Width = info.Width;
  indexed.Height = info.Height;
  indexed.Palette = info.Palette;
  indexed.Indices.assign(static_cast<size_t>(info.Width) * info.Height, 0);
  if (info.Compression == BI_RLE8 || info.Compression == BI_RLE4)
    DecodeRle(info, bits, indexed.Indices);
  else
    DecodePackedIndices(info, bits, indexed.Indices);
  return indexed;
}

TRaster ExpandIndexed(const TIndexedRaster& indexed) {
  TRaster raster;
  raster.Width = indexed.Width;
  raster.Height = indexed.Height;
  raster.Pixels.resize(indexed.Indices.size());
  for (size_t i = 0; i < indexed.Indices.size(); ++i) {
    uint8_t index = indexed.Indices[i];
    raster.Pixels[i] = index < indexed.Palette.size() ? indexed.Palette[index] : 0xFF000000u;
  }
  return raster;
}

TRaster DecodePixels(const TDibInfo& info, ByteView bits) {
  if (info.IsIndexed()) return ExpandIndexed(DecodeIndexedPixels(info, bits));
  TRaster raster(info.Width, info.Height, 0);
  DecodeTrueColour(info, bits, raster);
  return raster;
}

TRaster DecodeDib(ByteView bmi, ByteView bits, uint32_t usage, const std::vector<uint32_t>* logicalPalette) {
  return DecodePixels(ParseBitmapInfo(bmi, usage, logicalPalette), bits);
}

TDibBand ScanLineBand(const TDibInfo& info, uint32_t startScan, uint32_t scans) {
  TDibBand band{info, 0};
  if (info.Compression == BI_RLE8 || info.Compression == BI_RLE4) return band;
  const int64_t first = std::min<int64_t>(startScan, info.Height);
  const int64_t count = std::min<int64_t>(scans, info.Height - first);
  band.Info.Height = static_cast<int32_t>(count);
  band.Top = static_cast<int32_t>(info.TopDown ? first : info.Height - first - count);
  return band;
}
