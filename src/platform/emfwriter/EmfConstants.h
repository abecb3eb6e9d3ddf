#pragma once
// Record types and GDI constants of the enhanced-metafile format that the writer produces.
#include <cstdint>

// In a namespace of their own: other layers define the same GDI names.
namespace emf {
constexpr uint32_t EMR_HEADER = 1, EMR_POLYGON = 3, EMR_POLYLINE = 4, EMR_SETWINDOWEXTEX = 9,
                   EMR_SETWINDOWORGEX = 10, EMR_SETVIEWPORTEXTEX = 11, EMR_SETVIEWPORTORGEX = 12,
                   EMR_EOF = 14, EMR_SETMAPMODE = 17, EMR_SETBKMODE = 18, EMR_SETTEXTALIGN = 22,
                   EMR_SETTEXTCOLOR = 24, EMR_SETBKCOLOR = 25, EMR_MOVETOEX = 27, EMR_INTERSECTCLIPRECT = 30,
                   EMR_SAVEDC = 33, EMR_RESTOREDC = 34, EMR_SELECTOBJECT = 37, EMR_CREATEPEN = 38,
                   EMR_CREATEBRUSHINDIRECT = 39, EMR_DELETEOBJECT = 40, EMR_ELLIPSE = 42, EMR_RECTANGLE = 43,
                   EMR_LINETO = 54, EMR_GDICOMMENT = 70, EMR_EXTSELECTCLIPRGN = 75, EMR_STRETCHDIBITS = 81,
                   EMR_EXTCREATEFONTINDIRECTW = 82, EMR_EXTTEXTOUTW = 84, EMR_POLYGON16 = 86,
                   EMR_POLYLINE16 = 87;

constexpr uint32_t ENHMETA_SIGNATURE = 0x464D4520; // " EMF"
constexpr uint32_t ENHMETA_VERSION = 0x00010000;

// Mapping modes.
constexpr int32_t MM_TEXT = 1, MM_LOMETRIC = 2, MM_HIMETRIC = 3, MM_LOENGLISH = 4, MM_HIENGLISH = 5,
                  MM_TWIPS = 6, MM_ISOTROPIC = 7, MM_ANISOTROPIC = 8;
// Background modes.
constexpr int32_t TRANSPARENT = 1, OPAQUE = 2;
// Text alignment flags.
constexpr uint32_t TA_NOUPDATECP = 0, TA_UPDATECP = 1, TA_LEFT = 0, TA_RIGHT = 2, TA_CENTER = 6, TA_TOP = 0,
                   TA_BOTTOM = 8, TA_BASELINE = 24;
// ExtTextOut options.
constexpr uint32_t ETO_OPAQUE = 2, ETO_CLIPPED = 4;
// Pen styles.
constexpr uint32_t PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_NULL = 5;
// Brush styles.
constexpr uint32_t BS_SOLID = 0, BS_NULL = 1, BS_HATCHED = 2;
// Stock objects, selected with the high bit set.
constexpr uint32_t STOCK_OBJECT = 0x80000000u;
constexpr uint32_t WHITE_BRUSH = STOCK_OBJECT | 0, BLACK_BRUSH = STOCK_OBJECT | 4,
                   NULL_BRUSH = STOCK_OBJECT | 5, WHITE_PEN = STOCK_OBJECT | 6, BLACK_PEN = STOCK_OBJECT | 7,
                   NULL_PEN = STOCK_OBJECT | 8;
// Font weights and character sets.
constexpr int32_t FW_NORMAL = 400, FW_BOLD = 700;
constexpr uint8_t ANSI_CHARSET = 0, DEFAULT_CHARSET = 1, EASTEUROPE_CHARSET = 238;
// Raster operation and colour usage of STRETCHDIBITS.
constexpr uint32_t SRCCOPY = 0x00CC0020, DIB_RGB_COLORS = 0;
// Region mode that replaces the clip region.
constexpr uint32_t RGN_COPY = 5;
// Graphics mode written in text records.
constexpr uint32_t GM_COMPATIBLE = 1;

// A colour in the Windows COLORREF layout (0x00BBGGRR).
constexpr uint32_t EmfRgb(uint8_t r, uint8_t g, uint8_t b) {
  return static_cast<uint32_t>(r) | (static_cast<uint32_t>(g) << 8) | (static_cast<uint32_t>(b) << 16);
}
} // namespace emf
