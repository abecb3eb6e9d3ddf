#pragma once
// A device-independent bitmap ready for a STRETCHDIBITS record: its BITMAPINFO (header and palette) and
// its bits, rows bottom-up and padded to four bytes.
#include <cstddef>
#include <cstdint>
#include <vector>

class TEmfDib {
 public:
  // 24 bits per pixel. Pixels are COLORREF values (0x00BBGGRR), rows from top to bottom.
  static TEmfDib Rgb24(int32_t width, int32_t height, const std::vector<uint32_t>& pixels);
  // 1 bit per pixel: a pixel that is 0 takes color0, any other value color1. Rows from top to bottom.
  static TEmfDib Mono(int32_t width, int32_t height, const std::vector<uint8_t>& pixels, uint32_t color0,
                      uint32_t color1);

  int32_t Width() const { return FWidth; }
  int32_t Height() const { return FHeight; }
  const std::vector<uint8_t>& Info() const { return FInfo; }
  const std::vector<uint8_t>& Bits() const { return FBits; }

 private:
  TEmfDib(int32_t width, int32_t height, uint16_t bitCount, size_t pixelCount);
  void AddPaletteEntry(uint32_t colorRef);

  int32_t FWidth = 0, FHeight = 0;
  size_t FStride = 0;
  std::vector<uint8_t> FInfo, FBits;
};
