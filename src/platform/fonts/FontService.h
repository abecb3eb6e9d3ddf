#pragma once
// The host's fonts, shared by every renderer (preview, printer, PNG, PDF): one matcher from a logical font
// (a metafile's LOGFONTW) to an installed font file, GDI-equivalent metrics and raw TrueType tables.
// Plain C++ interface; fontconfig and FreeType stay behind it. The Windows core names resolve to the
// installed metric-compatible families ("Arial" -> Liberation Sans, "Calibri" -> Carlito, ...); symbol
// fonts ("Symbol", "Wingdings", "Webdings") resolve only to a symbol-capable face.
//
// Threading: TFontService is safe to call from any thread. A TFontFace serialises its own calls.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/CodePages.h"

// A logical font request, as a LOGFONTW describes it.
struct TFontRequest {
  std::string FaceName; // UTF-8; empty = the default face for the pitch and family
  int32_t Weight = 400; // 0 means normal (400)
  bool Italic = false;
  uint8_t CharSet = 1;        // DEFAULT_CHARSET
  uint8_t PitchAndFamily = 0; // LOGFONT lfPitchAndFamily
};

// Where a request resolves: one font file and the face inside it.
struct TFontLocation {
  std::string File;
  int FaceIndex = 0;
  std::string Family;                        // the installed family that was matched
  bool Symbol = false;                       // a symbol font: bytes map to U+F000 + byte
  bool FakeBold = false, FakeItalic = false; // the face lacks the asked style; renderers emulate it
  bool operator==(const TFontLocation&) const = default;
};

// GDI's TEXTMETRICW values for a font created with a given lfHeight (positive: cell height, negative: em
// height, 0: a default size), in pixels of that font.
struct TFontTextMetrics {
  int32_t Height = 0, Ascent = 0, Descent = 0, InternalLeading = 0, ExternalLeading = 0;
  int32_t AveCharWidth = 0, MaxCharWidth = 0;
  uint8_t PitchAndFamily =
      0; // bit 0 set = variable pitch (GDI's TMPF_FIXED_PITCH sense), bit 2 vector, bit 1 TrueType
};

// The outline metrics the PDF font descriptor reads, scaled to an em of 1000.
struct TFontOutlineMetrics {
  int32_t Ascent = 0, Descent = 0; // typographic ascender and descender (descender negative)
  int32_t ItalicAngle = 0;         // tenths of a degree, as GDI's otmItalicAngle
  int32_t BBox[4] = {};            // left, bottom, right, top
  bool FixedPitch = false;
};

class TFontFace {
 public:
  virtual ~TFontFace() = default;
  virtual const TFontLocation& Location() const = 0;
  virtual TFontTextMetrics TextMetrics(int32_t lfHeight) const = 0;
  virtual TFontOutlineMetrics OutlineMetrics() const = 0;
  // Advance widths (A+B+C) at em 1000 of the codes 32..255 in the code page of `charSet`
  // (SYMBOL_CHARSET maps byte b to U+F000 + b); index 0 is code 32. Codes without a glyph measure 0.
  virtual std::array<uint16_t, 224> AnsiWidths(uint8_t charSet) const = 0;
  // Glyph index of a Unicode code point (0 when missing) and the advance of a glyph at em 1000.
  virtual uint16_t GlyphIndex(char32_t ch) const = 0;
  virtual int32_t GlyphAdvance(uint16_t glyph) const = 0;
  // A raw sfnt table by tag ('cmap', 'head', 'hhea', 'hmtx', 'name', ...); empty when absent.
  virtual std::string FontData(uint32_t tag) const = 0;
  // The whole font file (for embedding a subset).
  virtual std::string FontFile() const = 0;
};

class TFontService {
 public:
  // The process-wide service.
  static TFontService& Instance();
  virtual ~TFontService() = default;
  // Installed TrueType families in UTF-8, each once, with the Windows core names listed where they
  // resolve to an installed family; any order.
  virtual std::vector<std::string> TrueTypeFamilies() const = 0;
  // The font file a request resolves to (cached). Never fails while any outline font is installed.
  virtual TFontLocation Match(const TFontRequest& request) const = 0;
  // The opened face for a request (cached by location); null when nothing could be loaded.
  virtual std::shared_ptr<const TFontFace> Open(const TFontRequest& request) const = 0;
};

// CodePageOfCharSet (238 -> 1250, 0 -> 1252, 204 -> 1251, ...; 2 (symbol) -> 0) lives with the code pages.

constexpr uint32_t FontTag(char a, char b, char c, char d) {
  return (uint32_t(uint8_t(a)) << 24) | (uint32_t(uint8_t(b)) << 16) | (uint32_t(uint8_t(c)) << 8) |
         uint8_t(d);
}
