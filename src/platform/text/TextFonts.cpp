#include "TextFonts.h"

#include <map>
#include <mutex>
#include <tuple>
#include <unordered_map>

namespace {

using TRequestKey = std::tuple<std::string, int32_t, bool, uint8_t, uint8_t>;

TRequestKey KeyOf(const TFontRequest& r) {
  return {r.FaceName, r.Weight, r.Italic, r.CharSet, r.PitchAndFamily};
}

std::mutex& CacheMutex() {
  static std::mutex mutex;
  return mutex;
}

TTextFontFace Resolve(const TFontRequest& request) {
  TTextFontFace f;
  f.Face = TFontService::Instance().Open(request);
  if (!f.Face) return f;
  f.Symbol = f.Face->Location().Symbol;
  TFontTextMetrics m = f.Face->TextMetrics(-1000);
  if (m.Height > 0) f.CellToEm = 1000.0 / m.Height;
  if (m.AveCharWidth > 0) f.AverageWidth = m.AveCharWidth / 1000.0;
  if (m.Ascent > 0) f.Ascent = m.Ascent / 1000.0;
  if (m.Descent >= 0) f.Descent = m.Descent / 1000.0;
  return f;
}

// Characters searched for the glyphs of glyph-index text: the scripts reports are written in.
constexpr char32_t kReverseMapEnd = 0x3000;

} // namespace

const TTextFontFace& TextFontFace(const TFontRequest& request) {
  static std::map<TRequestKey, std::unique_ptr<TTextFontFace>> cache;
  TRequestKey key = KeyOf(request);
  {
    std::lock_guard lock(CacheMutex());
    auto it = cache.find(key);
    if (it != cache.end()) return *it->second;
  }
  auto resolved = std::make_unique<TTextFontFace>(Resolve(request));
  std::lock_guard lock(CacheMutex());
  auto [it, added] = cache.emplace(std::move(key), std::move(resolved));
  return *it->second;
}

double NaturalAdvance(const TTextFontFace& face, char32_t ch) {
  if (!face.Face) return 0.5;
  uint16_t glyph = face.Face->GlyphIndex(ch);
  // A symbol face maps bytes to the private area.
  if (!glyph && face.Symbol && ch < 0x100) glyph = face.Face->GlyphIndex(0xF000 + ch);
  return face.Face->GlyphAdvance(glyph) / 1000.0;
}

char16_t CharacterOfGlyph(const TTextFontFace& face, uint16_t glyph) {
  if (!face.Face) return u'\uFFFD';
  using TReverseMap = std::unordered_map<uint16_t, char16_t>;
  static std::map<const TFontFace*, std::unique_ptr<TReverseMap>> maps;
  static std::mutex mutex;
  std::lock_guard lock(mutex);
  std::unique_ptr<TReverseMap>& map = maps[face.Face.get()];
  if (!map) {
    map = std::make_unique<TReverseMap>();
    // Lowest code point first: a glyph shared by several characters reads as the plainest one.
    for (char32_t ch = kReverseMapEnd - 1; ch >= 0x20; --ch)
      if (uint16_t g = face.Face->GlyphIndex(ch)) (*map)[g] = static_cast<char16_t>(ch);
    if (face.Symbol)
      for (char32_t b = 0xFF; b >= 0x20; --b)
        if (uint16_t g = face.Face->GlyphIndex(0xF000 + b)) (*map)[g] = static_cast<char16_t>(b);
  }
  auto it = map->find(glyph);
  return it != map->end() ? it->second : u'\uFFFD';
}
