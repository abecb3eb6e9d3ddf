#pragma once
// TPdfRaster: the pixels an image object is made from, as a view of rows someone else owns (the bitmap
// decoder's rasters, or a test's bytes). Nothing is copied until the image writes its data.
//
// Formats and their rows (top row first, Stride bytes from one row to the next):
// - rf1Bit: packed bits, most significant bit first; a bit is an index into Palette (at least 2 entries);
// - rf8Bit: one palette index per byte; Palette holds all 256 entries;
// - rf24Bit, rf32Bit: blue, green, red bytes per pixel, PixelStep bytes apart (3, or 4 when the pixels
//   sit in 32-bit words whose fourth byte is not a colour). rf32Bit is a bitmap of 32 bits per pixel,
//   which never gets a colour-key mask; a 24-bit bitmap held in 32-bit words is rf24Bit with PixelStep 4.
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/rtl/ByteView.h"

enum TPdfRasterFormat : uint8_t { rf1Bit, rf8Bit, rf24Bit, rf32Bit };

struct TPdfRaster {
  int32_t Width = 0;
  int32_t Height = 0;
  TPdfRasterFormat Format = rf24Bit;
  ByteView Rows; // Height rows, the last one may end right after its pixels
  int64_t Stride = 0;
  int32_t PixelStep = 3; // true colour only
  // Palette formats: colours 0x00RRGGBB (the high byte is ignored).
  std::vector<uint32_t> Palette;
  // A fixed transparent colour in the COLORREF layout (bytes 0, 1, 2 = red, green, blue): pixels of
  // exactly that colour are not painted (24-bit rasters only).
  std::optional<uint32_t> TransparentColor;

  // The bits per pixel of the bitmap the raster stands for: 1, 8, 24 or 32.
  int BitsPerPixel() const;
  // Bytes of one row that carry pixels.
  int64_t RowBytes() const;
  bool IsPalette() const { return Format == rf1Bit || Format == rf8Bit; }
  // Raises EPdfInvalidValue "TPdfImage" when the sizes, stride, step or rows do not describe a raster
  // of at least one pixel, or a palette raster has too few entries (fewer than 256 for rf8Bit).
  void Check() const;
};
