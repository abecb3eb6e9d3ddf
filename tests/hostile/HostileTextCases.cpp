// Text records whose glyphs would be rasterised far beyond what the rasteriser or memory allow.
#include <string>

#include "HostilePage.h"

std::vector<THostileCase> HostileTextCases() {
  return {
      // A 5-pixel font stretched 50 times; the glyph itself is 1.63 em wide.
      {"glyph_stretched_wider_than_em",
       [](TEmfWriter& w) {
         w.SelectObject(w.CreateFont({.Face = "DejaVu Sans", .Height = -5, .Width = 250}));
         w.ExtTextOut(100, 100, 0, nullptr, u"\u2031");
       }},
      // Every glyph index of a mathematical font (its wide extensible pieces included), stretched 60 times.
      {"glyph_index_stretched_math",
       [](TEmfWriter& w) {
         w.SelectObject(w.CreateFont({.Face = "DejaVu Math TeX Gyre", .Height = -5, .Width = 300}));
         std::u16string glyphs;
         for (char16_t g = 1; g < 6000; ++g)
           glyphs += g;
         const std::vector<int32_t> advances(glyphs.size(), 0);
         w.ExtTextOut(50, 200, emf::ETO_GLYPH_INDEX, nullptr, glyphs, advances);
       }},
      // 120,000 large glyphs on one spot.
      {"many_large_glyphs_zero_advance",
       [](TEmfWriter& w) {
         w.SelectObject(w.CreateFont({.Face = "DejaVu Sans", .Height = -500}));
         const std::u16string text(120'000, u'@');
         const std::vector<int32_t> advances(text.size(), 0);
         w.ExtTextOut(0, 0, 0, nullptr, text, advances);
       }},
  };
}
