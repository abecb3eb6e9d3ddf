#include "EmfDib.h"

#include "platform/rtl/Exception.h"

namespace {
void Put32(std::vector<uint8_t>& v, uint32_t value) {
  for (int i = 0; i < 4; i++)
    v.push_back(static_cast<uint8_t>(value >> (8 * i)));
}
} // namespace

TEmfDib::TEmfDib(int32_t width, int32_t height, uint16_t bitCount, size_t pixelCount)
    : FWidth(width), FHeight(height) {
  if (width <= 0 || height <= 0 || width > 65535 || height > 65535)
    throw Exception("Bitmap size out of range: " + std::to_string(width) + " x " + std::to_string(height));
  if (pixelCount != static_cast<size_t>(width) * static_cast<size_t>(height))
    throw Exception("Bitmap pixel count does not match its size");
  FStride = (static_cast<size_t>(width) * bitCount + 31) / 32 * 4;
  FBits.assign(FStride * static_cast<size_t>(height), 0);
  // BITMAPINFOHEADER; a positive height means bottom-up rows.
  Put32(FInfo, 40);
  Put32(FInfo, static_cast<uint32_t>(width));
  Put32(FInfo, static_cast<uint32_t>(height));
  Put32(FInfo, 1u | (static_cast<uint32_t>(bitCount) << 16)); // planes, bit count
  Put32(FInfo, 0);                                            // BI_RGB
  Put32(FInfo, static_cast<uint32_t>(FBits.size()));
  Put32(FInfo, 3780); // 96 dpi in pixels per metre
  Put32(FInfo, 3780);
  Put32(FInfo, 0); // colours used: all that the bit count allows
  Put32(FInfo, 0);
}

void TEmfDib::AddPaletteEntry(uint32_t c) {
  // RGBQUAD is blue, green, red, reserved.
  FInfo.insert(FInfo.end(),
               {static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c), 0});
}

TEmfDib TEmfDib::Rgb24(int32_t width, int32_t height, const std::vector<uint32_t>& pixels) {
  TEmfDib dib(width, height, 24, pixels.size());
  for (int32_t y = 0; y < height; y++) {
    uint8_t* row = dib.FBits.data() + static_cast<size_t>(height - 1 - y) * dib.FStride;
    for (int32_t x = 0; x < width; x++) {
      uint32_t c = pixels[static_cast<size_t>(y) * width + x];
      row[3 * x] = static_cast<uint8_t>(c >> 16); // blue
      row[3 * x + 1] = static_cast<uint8_t>(c >> 8);
      row[3 * x + 2] = static_cast<uint8_t>(c);
    }
  }
  return dib;
}

TEmfDib TEmfDib::Mono(int32_t width, int32_t height, const std::vector<uint8_t>& pixels, uint32_t color0,
                      uint32_t color1) {
  TEmfDib dib(width, height, 1, pixels.size());
  dib.AddPaletteEntry(color0);
  dib.AddPaletteEntry(color1);
  for (int32_t y = 0; y < height; y++) {
    uint8_t* row = dib.FBits.data() + static_cast<size_t>(height - 1 - y) * dib.FStride;
    for (int32_t x = 0; x < width; x++)
      if (pixels[static_cast<size_t>(y) * width + x]) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
  }
  return dib;
}
