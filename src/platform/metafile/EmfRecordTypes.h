#pragma once
// The one catalogue of enhanced-metafile record types and of the GDI constants that records carry, named
// as the published EMF format and the Windows headers name them. Every part of the project that
// reads or writes records (the QPainter player, the PDF renderer, the EMF writer, printing, zvptool) takes
// its numbers from here; nothing else lists record numbers.
//
// Everything is in namespace emf (the EMF writer adds its own constants there); code that uses the names
// unqualified says `using namespace emf;` in its source files (platform/gdi/GdiConsts.h does so for the
// player). Plain C++, no Qt.
#include <cstdint>
#include <string>

namespace emf {

// Record types 1..122. Numbers 69, 107 and 117 have no published record; they are named EMR_RESERVED_n.
enum EmfRecordType : uint32_t {
  EMR_HEADER = 1,
  EMR_POLYBEZIER = 2,
  EMR_POLYGON = 3,
  EMR_POLYLINE = 4,
  EMR_POLYBEZIERTO = 5,
  EMR_POLYLINETO = 6,
  EMR_POLYPOLYLINE = 7,
  EMR_POLYPOLYGON = 8,
  EMR_SETWINDOWEXTEX = 9,
  EMR_SETWINDOWORGEX = 10,
  EMR_SETVIEWPORTEXTEX = 11,
  EMR_SETVIEWPORTORGEX = 12,
  EMR_SETBRUSHORGEX = 13,
  EMR_EOF = 14,
  EMR_SETPIXELV = 15,
  EMR_SETMAPPERFLAGS = 16,
  EMR_SETMAPMODE = 17,
  EMR_SETBKMODE = 18,
  EMR_SETPOLYFILLMODE = 19,
  EMR_SETROP2 = 20,
  EMR_SETSTRETCHBLTMODE = 21,
  EMR_SETTEXTALIGN = 22,
  EMR_SETCOLORADJUSTMENT = 23,
  EMR_SETTEXTCOLOR = 24,
  EMR_SETBKCOLOR = 25,
  EMR_OFFSETCLIPRGN = 26,
  EMR_MOVETOEX = 27,
  EMR_SETMETARGN = 28,
  EMR_EXCLUDECLIPRECT = 29,
  EMR_INTERSECTCLIPRECT = 30,
  EMR_SCALEVIEWPORTEXTEX = 31,
  EMR_SCALEWINDOWEXTEX = 32,
  EMR_SAVEDC = 33,
  EMR_RESTOREDC = 34,
  EMR_SETWORLDTRANSFORM = 35,
  EMR_MODIFYWORLDTRANSFORM = 36,
  EMR_SELECTOBJECT = 37,
  EMR_CREATEPEN = 38,
  EMR_CREATEBRUSHINDIRECT = 39,
  EMR_DELETEOBJECT = 40,
  EMR_ANGLEARC = 41,
  EMR_ELLIPSE = 42,
  EMR_RECTANGLE = 43,
  EMR_ROUNDRECT = 44,
  EMR_ARC = 45,
  EMR_CHORD = 46,
  EMR_PIE = 47,
  EMR_SELECTPALETTE = 48,
  EMR_CREATEPALETTE = 49,
  EMR_SETPALETTEENTRIES = 50,
  EMR_RESIZEPALETTE = 51,
  EMR_REALIZEPALETTE = 52,
  EMR_EXTFLOODFILL = 53,
  EMR_LINETO = 54,
  EMR_ARCTO = 55,
  EMR_POLYDRAW = 56,
  EMR_SETARCDIRECTION = 57,
  EMR_SETMITERLIMIT = 58,
  EMR_BEGINPATH = 59,
  EMR_ENDPATH = 60,
  EMR_CLOSEFIGURE = 61,
  EMR_FILLPATH = 62,
  EMR_STROKEANDFILLPATH = 63,
  EMR_STROKEPATH = 64,
  EMR_FLATTENPATH = 65,
  EMR_WIDENPATH = 66,
  EMR_SELECTCLIPPATH = 67,
  EMR_ABORTPATH = 68,
  EMR_RESERVED_69 = 69,
  EMR_GDICOMMENT = 70, // EMR_COMMENT in the published format
  EMR_FILLRGN = 71,
  EMR_FRAMERGN = 72,
  EMR_INVERTRGN = 73,
  EMR_PAINTRGN = 74,
  EMR_EXTSELECTCLIPRGN = 75,
  EMR_BITBLT = 76,
  EMR_STRETCHBLT = 77,
  EMR_MASKBLT = 78,
  EMR_PLGBLT = 79,
  EMR_SETDIBITSTODEVICE = 80,
  EMR_STRETCHDIBITS = 81,
  EMR_EXTCREATEFONTINDIRECTW = 82,
  EMR_EXTTEXTOUTA = 83,
  EMR_EXTTEXTOUTW = 84,
  EMR_POLYBEZIER16 = 85,
  EMR_POLYGON16 = 86,
  EMR_POLYLINE16 = 87,
  EMR_POLYBEZIERTO16 = 88,
  EMR_POLYLINETO16 = 89,
  EMR_POLYPOLYLINE16 = 90,
  EMR_POLYPOLYGON16 = 91,
  EMR_POLYDRAW16 = 92,
  EMR_CREATEMONOBRUSH = 93,
  EMR_CREATEDIBPATTERNBRUSHPT = 94,
  EMR_EXTCREATEPEN = 95,
  EMR_POLYTEXTOUTA = 96,
  EMR_POLYTEXTOUTW = 97,
  EMR_SETICMMODE = 98,
  EMR_CREATECOLORSPACE = 99,
  EMR_SETCOLORSPACE = 100,
  EMR_DELETECOLORSPACE = 101,
  EMR_GLSRECORD = 102,
  EMR_GLSBOUNDEDRECORD = 103,
  EMR_PIXELFORMAT = 104,
  EMR_DRAWESCAPE = 105,
  EMR_EXTESCAPE = 106,
  EMR_RESERVED_107 = 107,
  EMR_SMALLTEXTOUT = 108,
  EMR_FORCEUFIMAPPING = 109,
  EMR_NAMEDESCAPE = 110,
  EMR_COLORCORRECTPALETTE = 111,
  EMR_SETICMPROFILEA = 112,
  EMR_SETICMPROFILEW = 113,
  EMR_ALPHABLEND = 114,
  EMR_SETLAYOUT = 115,
  EMR_TRANSPARENTBLT = 116,
  EMR_RESERVED_117 = 117,
  EMR_GRADIENTFILL = 118,
  EMR_SETLINKEDUFIS = 119,
  EMR_SETTEXTJUSTIFICATION = 120,
  EMR_COLORMATCHTOTARGETW = 121,
  EMR_CREATECOLORSPACEW = 122,
};
constexpr uint32_t EMR_MIN = EMR_HEADER, EMR_MAX = EMR_CREATECOLORSPACEW;
constexpr uint32_t EMR_COMMENT = EMR_GDICOMMENT;

// "EMR_EXTTEXTOUTW" for 84; nullptr for numbers outside 1..122.
const char* EmfRecordName(uint32_t type);
// For messages: "EMR_EXTTEXTOUTW (84)", or "unknown record type 200".
std::string EmfRecordLabel(uint32_t type);
// The 16-bit-point forms (EMR_POLYBEZIER16 .. EMR_POLYDRAW16).
constexpr bool IsPoint16Record(uint32_t type) {
  return type >= EMR_POLYBEZIER16 && type <= EMR_POLYDRAW16;
}

// The header record's signature (" EMF") and the usual format version.
constexpr uint32_t ENHMETA_SIGNATURE = 0x464D4520;
constexpr uint32_t ENHMETA_VERSION = 0x00010000;

// Mapping modes (EMR_SETMAPMODE).
enum : int32_t {
  MM_TEXT = 1,
  MM_LOMETRIC = 2,
  MM_HIMETRIC = 3,
  MM_LOENGLISH = 4,
  MM_HIENGLISH = 5,
  MM_TWIPS = 6,
  MM_ISOTROPIC = 7,
  MM_ANISOTROPIC = 8
};
// Background modes, polygon fill modes, arc directions, graphics modes.
constexpr uint32_t TRANSPARENT = 1, OPAQUE = 2;
constexpr uint32_t ALTERNATE = 1, WINDING = 2;
constexpr uint32_t AD_COUNTERCLOCKWISE = 1, AD_CLOCKWISE = 2;
constexpr uint32_t GM_COMPATIBLE = 1, GM_ADVANCED = 2;

// Text alignment (EMR_SETTEXTALIGN).
constexpr uint32_t TA_NOUPDATECP = 0, TA_UPDATECP = 1, TA_LEFT = 0, TA_RIGHT = 2, TA_CENTER = 6, TA_TOP = 0,
                   TA_BOTTOM = 8, TA_BASELINE = 24, TA_RTLREADING = 0x100;
// ExtTextOut options (EMRTEXT.fOptions, EMR_SMALLTEXTOUT.fuOptions).
constexpr uint32_t ETO_OPAQUE = 0x2, ETO_CLIPPED = 0x4, ETO_GLYPH_INDEX = 0x10, ETO_RTLREADING = 0x80,
                   ETO_NO_RECT = 0x100, ETO_SMALL_CHARS = 0x200, ETO_NUMERICSLOCAL = 0x400,
                   ETO_NUMERICSLATIN = 0x800, ETO_IGNORELANGUAGE = 0x1000, ETO_PDY = 0x2000,
                   ETO_REVERSE_INDEX_MAP = 0x10000;

// Region combination modes (EMR_EXTSELECTCLIPRGN, EMR_SELECTCLIPPATH).
constexpr uint32_t RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5;
// World transform modification (EMR_MODIFYWORLDTRANSFORM).
constexpr uint32_t MWT_IDENTITY = 1, MWT_LEFTMULTIPLY = 2, MWT_RIGHTMULTIPLY = 3, MWT_SET = 4;
// Point types of EMR_POLYDRAW.
constexpr uint8_t PT_CLOSEFIGURE = 1, PT_LINETO = 2, PT_BEZIERTO = 4, PT_MOVETO = 6;
// Modes of EMR_GRADIENTFILL.
constexpr uint32_t GRADIENT_FILL_RECT_H = 0, GRADIENT_FILL_RECT_V = 1, GRADIENT_FILL_TRIANGLE = 2;

// Binary raster operations (EMR_SETROP2).
constexpr uint32_t R2_BLACK = 1, R2_NOTMERGEPEN = 2, R2_MASKNOTPEN = 3, R2_NOTCOPYPEN = 4, R2_MASKPENNOT = 5,
                   R2_NOT = 6, R2_XORPEN = 7, R2_NOTMASKPEN = 8, R2_MASKPEN = 9, R2_NOTXORPEN = 10,
                   R2_NOP = 11, R2_MERGENOTPEN = 12, R2_COPYPEN = 13, R2_MERGEPENNOT = 14, R2_MERGEPEN = 15,
                   R2_WHITE = 16;

// Pen styles: style, end cap, join and type bits.
constexpr uint32_t PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_DASHDOT = 3, PS_DASHDOTDOT = 4, PS_NULL = 5,
                   PS_INSIDEFRAME = 6, PS_USERSTYLE = 7, PS_ALTERNATE = 8, PS_STYLE_MASK = 0xF;
constexpr uint32_t PS_ENDCAP_ROUND = 0, PS_ENDCAP_SQUARE = 0x100, PS_ENDCAP_FLAT = 0x200,
                   PS_ENDCAP_MASK = 0xF00;
constexpr uint32_t PS_JOIN_ROUND = 0, PS_JOIN_BEVEL = 0x1000, PS_JOIN_MITER = 0x2000, PS_JOIN_MASK = 0xF000;
constexpr uint32_t PS_COSMETIC = 0, PS_GEOMETRIC = 0x10000, PS_TYPE_MASK = 0xF0000;

// Brush styles and hatch styles.
constexpr uint32_t BS_SOLID = 0, BS_NULL = 1, BS_HOLLOW = 1, BS_HATCHED = 2, BS_PATTERN = 3, BS_INDEXED = 4,
                   BS_DIBPATTERN = 5, BS_DIBPATTERNPT = 6, BS_PATTERN8X8 = 7, BS_DIBPATTERN8X8 = 8,
                   BS_MONOPATTERN = 9;
constexpr uint32_t HS_HORIZONTAL = 0, HS_VERTICAL = 1, HS_FDIAGONAL = 2, HS_BDIAGONAL = 3, HS_CROSS = 4,
                   HS_DIAGCROSS = 5;

// Stock objects as records select them: the index with the high bit set (StockObject enumeration).
// StockIndex() gives the bare index (0..19).
constexpr uint32_t STOCK_OBJECT = 0x80000000u;
enum : uint32_t {
  WHITE_BRUSH = STOCK_OBJECT | 0,
  LTGRAY_BRUSH = STOCK_OBJECT | 1,
  GRAY_BRUSH = STOCK_OBJECT | 2,
  DKGRAY_BRUSH = STOCK_OBJECT | 3,
  BLACK_BRUSH = STOCK_OBJECT | 4,
  NULL_BRUSH = STOCK_OBJECT | 5,
  WHITE_PEN = STOCK_OBJECT | 6,
  BLACK_PEN = STOCK_OBJECT | 7,
  NULL_PEN = STOCK_OBJECT | 8,
  OEM_FIXED_FONT = STOCK_OBJECT | 10,
  ANSI_FIXED_FONT = STOCK_OBJECT | 11,
  ANSI_VAR_FONT = STOCK_OBJECT | 12,
  SYSTEM_FONT = STOCK_OBJECT | 13,
  DEVICE_DEFAULT_FONT = STOCK_OBJECT | 14,
  DEFAULT_PALETTE = STOCK_OBJECT | 15,
  SYSTEM_FIXED_FONT = STOCK_OBJECT | 16,
  DEFAULT_GUI_FONT = STOCK_OBJECT | 17,
  DC_BRUSH = STOCK_OBJECT | 18,
  DC_PEN = STOCK_OBJECT | 19
};
constexpr uint32_t StockIndex(uint32_t object) {
  return object & ~STOCK_OBJECT;
}

// Colour usage of bitmap records, and the blend function of EMR_ALPHABLEND.
constexpr uint32_t DIB_RGB_COLORS = 0, DIB_PAL_COLORS = 1;
constexpr uint8_t AC_SRC_OVER = 0, AC_SRC_ALPHA = 1;

// Font weights and character sets (LOGFONTW).
constexpr int32_t FW_DONTCARE = 0, FW_NORMAL = 400, FW_BOLD = 700;
constexpr uint8_t ANSI_CHARSET = 0, DEFAULT_CHARSET = 1, SYMBOL_CHARSET = 2, MAC_CHARSET = 77,
                  SHIFTJIS_CHARSET = 128, HANGUL_CHARSET = 129, JOHAB_CHARSET = 130, GB2312_CHARSET = 134,
                  CHINESEBIG5_CHARSET = 136, GREEK_CHARSET = 161, TURKISH_CHARSET = 162,
                  VIETNAMESE_CHARSET = 163, HEBREW_CHARSET = 177, ARABIC_CHARSET = 178, BALTIC_CHARSET = 186,
                  RUSSIAN_CHARSET = 204, THAI_CHARSET = 222, EASTEUROPE_CHARSET = 238, OEM_CHARSET = 255;

} // namespace emf
