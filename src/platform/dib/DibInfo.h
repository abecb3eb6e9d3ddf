#pragma once
// The header and colour table of a device-independent bitmap (a BITMAPINFO as metafile records carry it),
// read from untrusted bytes.
//
// Error policy: everything here raises EDamagedData (or EUnsupportedBitmap, derived from it) for a header
// that cannot describe a drawable bitmap; callers that play records skip the record on that exception.
// Nothing is ever read outside the given view.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/rtl/ByteView.h"
#include "platform/rtl/Exception.h"

// The host's names for these values, kept in a namespace so that other layers may define them too.
namespace dib {
// Compression values of the header.
constexpr uint32_t BI_RGB = 0;
constexpr uint32_t BI_RLE8 = 1;
constexpr uint32_t BI_RLE4 = 2;
constexpr uint32_t BI_BITFIELDS = 3;
constexpr uint32_t BI_JPEG = 4;
constexpr uint32_t BI_PNG = 5;
constexpr uint32_t BI_ALPHABITFIELDS = 6;

// How the colour table is to be read: RGB quads, or 16-bit indices into a logical palette.
constexpr uint32_t DIB_RGB_COLORS = 0;
constexpr uint32_t DIB_PAL_COLORS = 1;

// Header sizes understood (BITMAPCOREHEADER, BITMAPINFOHEADER, the V2/V3 extensions with masks, V4, V5).
constexpr uint32_t DIB_CORE_HEADER_SIZE = 12;
constexpr uint32_t DIB_INFO_HEADER_SIZE = 40;

// Bitmaps above this many pixels are refused rather than decoded (about 400 MB as a 32-bit raster).
constexpr int64_t DIB_MAX_PIXELS = 100'000'000;
} // namespace dib

// A well-formed bitmap in a form this decoder does not draw (JPEG or PNG payload, CMYK, unknown
// compression). Derived from EDamagedData so that callers which skip damaged records skip these too.
class EUnsupportedBitmap : public EDamagedData {
 public:
  explicit EUnsupportedBitmap(const std::string& message) : EDamagedData(message) {}
};

struct TDibInfo {
  uint32_t HeaderSize = 0;
  int32_t Width = 0;     // pixels, always > 0
  int32_t Height = 0;    // pixels, always > 0 (the sign of the stored height is in TopDown)
  bool TopDown = false;  // stored rows run from the top (negative height); otherwise from the bottom
  uint16_t BitCount = 0; // 1, 4, 8, 16, 24 or 32
  uint32_t Compression = dib::BI_RGB;
  uint32_t SizeImage = 0; // as stored; only informative
  // Channel masks of 16- and 32-bit pixels: the defaults (5-5-5 or 8-8-8) for BI_RGB, the stored ones
  // for BI_BITFIELDS / BI_ALPHABITFIELDS. AlphaMask is non-zero only when the header gives one.
  uint32_t RedMask = 0, GreenMask = 0, BlueMask = 0, AlphaMask = 0;
  // For 1-, 4- and 8-bit bitmaps: exactly 2^BitCount colours, 0xFFRRGGBB. Entries the colour table does
  // not provide (a short biClrUsed, an index outside a logical palette) are opaque black, so every pixel
  // value of the bitmap has a colour. Empty for deeper bitmaps.
  std::vector<uint32_t> Palette;

  // Bytes per stored row of an uncompressed bitmap (rows are padded to 4 bytes).
  int64_t Stride() const { return (static_cast<int64_t>(Width) * BitCount + 31) / 32 * 4; }
  bool IsIndexed() const { return BitCount <= 8; }
};

// The 20 static colours of the host's default palette (0xFFRRGGBB), used for DIB_PAL_COLORS when the
// caller has no logical palette.
const std::vector<uint32_t>& DefaultPaletteColours();

// Reads the header and the colour table from `bmi` (header followed by masks and colour table, as in a
// metafile record). `usage` is DIB_RGB_COLORS or DIB_PAL_COLORS; with DIB_PAL_COLORS the table holds 16-bit
// indices into `logicalPalette` (colours 0x00RRGGBB, alpha ignored); a null or empty logical palette means
// the default palette. Any other usage value is read as DIB_RGB_COLORS.
// The colour table holds biClrUsed entries, bounded by 2^BitCount (0 means 2^BitCount); a core header
// always has 2^BitCount three-byte entries. Real metafiles carry tables shorter than that claim, so the
// table ends where `bmi` ends; the missing entries are black.
// Raises EDamagedData for a short header or missing colour masks, an unknown header size, width or height of
// 0 or below (a negative width is never valid), more than DIB_MAX_PIXELS pixels, a bit count the compression
// does not allow, or a compressed top-down bitmap; EUnsupportedBitmap for JPEG, PNG and unknown
// compressions.
TDibInfo ParseBitmapInfo(ByteView bmi, uint32_t usage = dib::DIB_RGB_COLORS,
                         const std::vector<uint32_t>* logicalPalette = nullptr);
