#include "FreeTypeFace.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_TAGS_H
#include FT_ADVANCES_H

#include <algorithm>
#include <cmath>
#include <fstream>
#include <mutex>

#include "GdiFontMetrics.h"
#include "platform/rtl/CodePages.h"

namespace {
// Font files larger than this are refused whole (a face may still be used for drawing and metrics).
constexpr std::streamoff kMaxFontFileBytes = 256 << 20;
constexpr uint8_t kSymbolCharSet = 2;

// One FreeType library and face; FreeType objects are not thread-safe, so each face has its own library
// and every call goes through the lock.
class TFreeTypeHandle {
 public:
  TFreeTypeHandle(const std::string& file, int faceIndex) {
    if (FT_Init_FreeType(&FLibrary) != 0) {
      FLibrary = nullptr;
      return;
    }
    if (FT_New_Face(FLibrary, file.c_str(), faceIndex, &FFace) != 0) FFace = nullptr;
  }
  ~TFreeTypeHandle() {
    if (FFace) FT_Done_Face(FFace);
    if (FLibrary) FT_Done_FreeType(FLibrary);
  }
  TFreeTypeHandle(const TFreeTypeHandle&) = delete;
  TFreeTypeHandle& operator=(const TFreeTypeHandle&) = delete;
  FT_Face Face() const { return FFace; }

 private:
  FT_Library FLibrary = nullptr;
  FT_Face FFace = nullptr;
};

bool HasSymbolCmap(FT_Face face) {
  for (int i = 0; i < face->num_charmaps; ++i)
    if (face->charmaps[i]->encoding == FT_ENCODING_MS_SYMBOL) return true;
  return false;
}

TFontDesign ReadDesign(FT_Face face) {
  TFontDesign d;
  d.UnitsPerEm = face->units_per_EM;
  d.BBox[0] = face->bbox.xMin;
  d.BBox[1] = face->bbox.yMin;
  d.BBox[2] = face->bbox.xMax;
  d.BBox[3] = face->bbox.yMax;
  d.FixedPitch = FT_IS_FIXED_WIDTH(face);
  if (auto* hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA))) {
    d.HheaAscender = hhea->Ascender;
    d.HheaDescender = hhea->Descender;
    d.HheaLineGap = hhea->Line_Gap;
    d.MaxAdvance = hhea->advance_Width_Max;
  } else {
    d.HheaAscender = face->ascender;
    d.HheaDescender = face->descender;
    d.MaxAdvance = face->max_advance_width;
  }
  d.WinAscent = d.TypoAscender = d.HheaAscender;
  d.WinDescent = -d.HheaDescender;
  d.TypoDescender = d.HheaDescender;
  auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (os2 && os2->version != 0xFFFF) {
    d.WinAscent = os2->usWinAscent;
    d.WinDescent = os2->usWinDescent;
    d.TypoAscender = os2->sTypoAscender;
    d.TypoDescender = os2->sTypoDescender;
    d.AvgCharWidth = os2->xAvgCharWidth;
    d.PanoseFamily = os2->panose[0];
    d.PanoseSerif = os2->panose[1];
    d.FamilyClass = (os2->sFamilyClass >> 8) & 0xFF;
  }
  if (auto* post = static_cast<TT_Postscript*>(FT_Get_Sfnt_Table(face, FT_SFNT_POST)))
    d.ItalicAngle = post->italicAngle / 65536.0;
  return d;
}

class TFreeTypeFace final : public TFontFace {
 public:
  TFreeTypeFace(std::unique_ptr<TFreeTypeHandle> handle, TFontLocation location,
                uint8_t requestPitchAndFamily)
      : FHandle(std::move(handle)), FLocation(std::move(location)),
        FRequestPitchAndFamily(requestPitchAndFamily) {
    FT_Face face = FHandle->Face();
    if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0 && HasSymbolCmap(face))
      FT_Select_Charmap(face, FT_ENCODING_MS_SYMBOL);
    FDesign = ReadDesign(face);
    if (HasSymbolCmap(face))
      for (char32_t c = 0xF020; c <= 0xF0FF && !FHasPrivateSymbols; ++c)
        FHasPrivateSymbols = FT_Get_Char_Index(face, c) != 0;
  }

  const TFontLocation& Location() const override { return FLocation; }

  TFontTextMetrics TextMetrics(int32_t lfHeight) const override {
    TFontTextMetrics m = GdiTextMetrics(FDesign, lfHeight, FRequestPitchAndFamily);
    if (FDesign.AvgCharWidth <= 0) {
      // Faces without an OS/2 average take the width of 'x', as GDI does.
      std::lock_guard lock(FMutex);
      int32_t x = AdvanceLocked(GlyphIndexLocked(U'x'));
      double em = lfHeight < 0 ? -double(lfHeight) : m.Height - m.InternalLeading;
      m.AveCharWidth = static_cast<int32_t>(std::lround(x * em / 1000.0));
    }
    return m;
  }

  TFontOutlineMetrics OutlineMetrics() const override { return GdiOutlineMetrics(FDesign); }

  std::array<uint16_t, 224> AnsiWidths(uint8_t charSet) const override {
    std::lock_guard lock(FMutex);
    bool symbol = charSet == kSymbolCharSet || FLocation.Symbol;
    int codePage = CodePageOfCharSet(charSet);
    std::array<uint16_t, 224> widths{};
    for (int code = 32; code < 256; ++code) {
      char32_t ch;
      if (symbol)
        ch = FHasPrivateSymbols ? 0xF000 + code : char32_t(code);
      else
        ch = CodePageByteToUtf16(static_cast<uint8_t>(code), codePage);
      uint16_t glyph = GlyphIndexLocked(ch);
      widths[code - 32] = glyph ? static_cast<uint16_t>(std::clamp(AdvanceLocked(glyph), 0, 0xFFFF)) : 0;
    }
    return widths;
  }

  uint16_t GlyphIndex(char32_t ch) const override {
    std::lock_guard lock(FMutex);
    return GlyphIndexLocked(ch);
  }

  int32_t GlyphAdvance(uint16_t glyph) const override {
    std::lock_guard lock(FMutex);
    return AdvanceLocked(glyph);
  }

  std::string FontData(uint32_t tag) const override {
    std::lock_guard lock(FMutex);
    FT_Face face = FHandle->Face();
    FT_ULong length = 0;
    if (FT_Load_Sfnt_Table(face, tag, 0, nullptr, &length) != 0 || length == 0 ||
        length > static_cast<FT_ULong>(kMaxFontFileBytes))
      return {};
    std::string table(length, '\0');
    if (FT_Load_Sfnt_Table(face, tag, 0, reinterpret_cast<FT_Byte*>(table.data()), &length) != 0) return {};
    table.resize(length);
    return table;
  }

  std::string FontFile() const override {
    std::ifstream in(FLocation.File, std::ios::binary | std::ios::ate);
    if (!in) return {};
    std::streamoff size = in.tellg();
    if (size <= 0 || size > kMaxFontFileBytes) return {};
    std::string bytes(static_cast<size_t>(size), '\0');
    in.seekg(0);
    if (!in.read(bytes.data(), size)) return {};
    return bytes;
  }

 private:
  uint16_t GlyphIndexLocked(char32_t ch) const {
    FT_Face face = FHandle->Face();
    FT_UInt glyph = FT_Get_Char_Index(face, ch);
    // Symbol fonts keep their glyphs at U+F000 + code (Windows maps the plain codes there) or, in some
    // files, at the plain codes themselves; either spelling finds them.
    if (!glyph && FLocation.Symbol) {
      if (ch < 0x100)
        glyph = FT_Get_Char_Index(face, 0xF000 + ch);
      else if (ch >= 0xF000 && ch <= 0xF0FF)
        glyph = FT_Get_Char_Index(face, ch - 0xF000);
    }
    return glyph <= 0xFFFF ? static_cast<uint16_t>(glyph) : 0;
  }

  int32_t AdvanceLocked(uint16_t glyph) const {
    FT_Face face = FHandle->Face();
    if (glyph >= face->num_glyphs) return 0;
    FT_Fixed advance = 0;
    if (FT_Get_Advance(face, glyph, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING, &advance) != 0) return 0;
    return static_cast<int32_t>(std::floor(double(advance) * 1000.0 / std::max(1, FDesign.UnitsPerEm) + 0.5));
  }

  mutable std::mutex FMutex;
  std::unique_ptr<TFreeTypeHandle> FHandle;
  TFontLocation FLocation;
  uint8_t FRequestPitchAndFamily;
  TFontDesign FDesign;
  bool FHasPrivateSymbols = false;
};
} // namespace

std::shared_ptr<const TFontFace> LoadFreeTypeFace(const TFontLocation& location,
                                                  uint8_t requestPitchAndFamily) {
  auto handle = std::make_unique<TFreeTypeHandle>(location.File, location.FaceIndex);
  FT_Face face = handle->Face();
  if (!face || !FT_IS_SCALABLE(face) || face->units_per_EM == 0) return nullptr;
  return std::make_shared<TFreeTypeFace>(std::move(handle), location, requestPitchAndFamily);
}

bool IsSymbolEncodedFace(const std::string& file, int faceIndex) {
  TFreeTypeHandle handle(file, faceIndex);
  return handle.Face() && HasSymbolCmap(handle.Face());
}
