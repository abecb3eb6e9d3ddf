// Bytes -> bitmap header + bits -> decode, then stretch onto a small raster with a raster operation.
// Input: usage, operation table, header length (16 bits), eight signed stretch coordinates, header, bits.
#include <cstddef>
#include <cstdint>

#include "platform/dib/DibMonochrome.h"
#include "platform/dib/DibStretch.h"

namespace {

constexpr size_t Prefix = 12;
constexpr int64_t PixelCap = 1 << 20; // larger bitmaps only cost time here; the limit itself is tested

void Exercise(const uint8_t* data, size_t size) {
  ByteView input(data, size);
  const uint32_t usage = input.U8(0) & 1;
  const uint32_t rop = uint32_t{input.U8(1)} << 16;
  const size_t bmiLength = input.U16(2);
  int32_t c[8];
  for (int i = 0; i < 8; ++i)
    c[i] = static_cast<int8_t>(input.U8(4 + i)) * 3;
  ByteView bmi = input.Sub(Prefix, bmiLength);
  ByteView bits = input.From(Prefix + bmiLength);

  const std::vector<uint32_t> logical = {0x102030, 0x405060, 0x708090};
  TDibInfo info = ParseBitmapInfo(bmi, usage, (input.U8(0) & 2) ? &logical : nullptr);
  if (static_cast<int64_t>(info.Width) * info.Height > PixelCap) return;

  TRaster dest(8, 8, 0xFF808080);
  const TDibRect clip{1, 1, 7, 7};
  if (info.IsIndexed()) {
    TIndexedRaster indexed = DecodeIndexedPixels(info, bits);
    TIndexedRaster small{8, 8, indexed.Palette, std::vector<uint8_t>(64, 0)};
    StretchIndexedOnto(small, c[0], c[1], c[2], c[3], indexed, c[4], DibSourceTop(info, c[5], c[7]), c[6],
                       c[7]);
    SetMonochromeColours(small, 0xFF0000, 0x0000FF);
    ExpandIndexed(small);
  }
  DecodePixels(ScanLineBand(info, input.U8(4) & 7, input.U8(5) & 7).Info, bits);
  TRaster src = DecodePixels(info, bits);
  StretchDibOnto(dest, c[0], c[1], c[2], c[3], info, src, c[4], c[5], c[6], c[7], rop, 0x00FF00, &clip);
  ToMonochrome(dest, 0xFF808080);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    Exercise(data, size);
  } catch (const EDamagedData&) {
  }
  return 0;
}
