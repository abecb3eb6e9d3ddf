#pragma once
// Decoding device-independent bitmaps (header + bits, as metafile records carry them) into rasters.
//
// Error policy: a bitmap that cannot be decoded raises EDamagedData (EUnsupportedBitmap for JPEG/PNG
// payloads); no partial raster is returned. Callers that play records skip the record. Memory is bounded by
// DIB_MAX_PIXELS. The functions keep no state and may run on any thread.
#include <cstdint>
#include <vector>

#include "platform/dib/DibInfo.h"

// A true-colour raster: row 0 at the top, pixels 0xAARRGGBB.
struct TRaster {
  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<uint32_t> Pixels; // Width * Height
  // The alpha bytes carry the bitmap's own alpha (premultiplied, as alpha blending expects) when the bitmap
  // has one (the fourth byte of 32-bit BI_RGB pixels, or an alpha mask in the header) and it is non-zero
  // somewhere. Otherwise every pixel is opaque (alpha 0xFF): all-zero alpha is alpha left unset.
  bool HasAlpha = false;

  TRaster() = default;
  TRaster(int32_t width, int32_t height, uint32_t fill)
      : Width(width), Height(height), Pixels(static_cast<size_t>(width) * height, fill) {}
  uint32_t& At(int32_t x, int32_t y) { return Pixels[static_cast<size_t>(y) * Width + x]; }
  uint32_t At(int32_t x, int32_t y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }
};

// A palette raster of a 1-, 4- or 8-bit bitmap: row 0 at the top, one palette index per pixel.
struct TIndexedRaster {
  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<uint32_t> Palette; // 2^BitCount colours 0xFFRRGGBB; every index below has an entry
  std::vector<uint8_t> Indices;  // Width * Height
  uint8_t At(int32_t x, int32_t y) const { return Indices[static_cast<size_t>(y) * Width + x]; }
};

// The pixels of an indexed bitmap (BitCount <= 8), uncompressed or RLE. Pixel values beyond the colour
// table's entries keep their value and show opaque black (see TDibInfo::Palette).
// RLE: runs reaching past the end of a row are cut at the row's end; a delta that leaves the raster ends
// the decoding; pixels the data never set (skipped by a delta, or after an early end-of-bitmap) are index
// 0. Data that end before the end-of-bitmap mark while rows remain raise EDamagedData.
// Uncompressed bits shorter than Stride() * Height raise EDamagedData; extra bytes are ignored.
TIndexedRaster DecodeIndexedPixels(const TDibInfo& info, ByteView bits);

// The pixels of any bitmap as a true-colour raster. 16- and 32-bit pixels go through the masks of `info`;
// channels narrower than 8 bits are widened by repeating their high bits (5-bit 31 becomes 255).
TRaster DecodePixels(const TDibInfo& info, ByteView bits);

// ParseBitmapInfo followed by DecodePixels.
TRaster DecodeDib(ByteView bmi, ByteView bits, uint32_t usage = dib::DIB_RGB_COLORS,
                  const std::vector<uint32_t>* logicalPalette = nullptr);

// The palette colours applied to an indexed raster.
TRaster ExpandIndexed(const TIndexedRaster& indexed);

// SetDIBitsToDevice hands over only the scan lines [startScan, startScan + scans) of a bitmap, counted in
// stored order (from the bottom for a bottom-up bitmap). The band's header (Height = the lines that exist,
// possibly 0) decodes those bits with DecodePixels; Top is the raster row, counted from the top of the whole
// bitmap, where the band's first raster row belongs. RLE bitmaps always carry all lines: their band is the
// whole bitmap.
struct TDibBand {
  TDibInfo Info;
  int32_t Top = 0;
};
TDibBand ScanLineBand(const TDibInfo& info, uint32_t startScan, uint32_t scans);
