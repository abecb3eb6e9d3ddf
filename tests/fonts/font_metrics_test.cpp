// GDI-equivalent metrics of real faces: advances at em 1000, TEXTMETRIC for both signs of lfHeight,
// outline metrics and the widths of a code page's bytes.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "FontTestSupport.h"

using namespace fonts_test;

namespace {
TEST(FontMetrics, AdvancesOfArialAtEm1000) {
  auto arial = Open("Arial");
  ASSERT_TRUE(arial);
  EXPECT_EQ(arial->GlyphAdvance(arial->GlyphIndex(U'A')), 667);
  EXPECT_EQ(arial->GlyphAdvance(arial->GlyphIndex(U' ')), 278);
  EXPECT_EQ(arial->GlyphIndex(U'\x10FFFF'), 0);
  EXPECT_EQ(arial->GlyphAdvance(0xFFFF), 0); // beyond the glyph count
}

TEST(FontMetrics, TextMetricsOfAnEmHeight) {
  // Liberation Sans: 2048 units per em, usWinAscent 1854, usWinDescent 434, hhea line gap 67.
  TFontTextMetrics m = Open("Arial")->TextMetrics(-1000);
  EXPECT_EQ(m.Ascent, 905);
  EXPECT_EQ(m.Descent, 212);
  EXPECT_EQ(m.Height, 1117);
  EXPECT_EQ(m.InternalLeading, 117);
  EXPECT_EQ(m.ExternalLeading, 33);
  EXPECT_EQ(m.PitchAndFamily, 0x27); // variable pitch, vector, TrueType, FF_SWISS
}

TEST(FontMetrics, TextMetricsOfACellHeight) {
  TFontTextMetrics m = Open("Arial")->TextMetrics(100);
  EXPECT_EQ(m.Ascent, 81);
  EXPECT_EQ(m.Descent, 19);
  EXPECT_EQ(m.Height, 100);
  EXPECT_EQ(m.InternalLeading, 10); // the em is 2048 * 100 / 2288 = 89.5
}

TEST(FontMetrics, ExtremeHeightsStayFinite) {
  auto arial = Open("Arial");
  for (int32_t h : {INT32_MIN, -1, 0, 1, INT32_MAX}) {
    TFontTextMetrics m = arial->TextMetrics(h);
    EXPECT_GE(m.Ascent, 0) << h;
    EXPECT_GE(m.Descent, 0) << h;
    EXPECT_GE(m.Height, m.Ascent) << h;
  }
  EXPECT_GT(arial->TextMetrics(0).Height, 0); // a default size, not nothing
}

TEST(FontMetrics, PitchAndFamilyFollowTheFace) {
  struct {
    const char* Face;
    uint8_t PitchAndFamily;
  } cases[] = {{"Arial", 0x27}, {"Times New Roman", 0x17}, {"Courier New", 0x36}};
  for (const auto& c : cases) {
    auto face = Open(c.Face);
    ASSERT_TRUE(face) << c.Face;
    EXPECT_EQ(face->TextMetrics(-1000).PitchAndFamily, c.PitchAndFamily) << c.Face;
    EXPECT_EQ(face->OutlineMetrics().FixedPitch, (c.PitchAndFamily & 1) == 0) << c.Face;
  }
}

TEST(FontMetrics, OutlineMetricsAtEm1000) {
  TFontOutlineMetrics m = Open("Arial")->OutlineMetrics();
  EXPECT_EQ(m.Ascent, 728); // sTypoAscender 1491
  EXPECT_EQ(m.Descent, -210);
  EXPECT_EQ(m.ItalicAngle, 0);
  EXPECT_LT(m.BBox[0], 0);
  EXPECT_LT(m.BBox[1], 0);
  EXPECT_GT(m.BBox[2], 1000);
  EXPECT_GT(m.BBox[3], 728);
  EXPECT_EQ(Open("Arial", 400, true)->OutlineMetrics().ItalicAngle, -120); // -12 degrees in tenths
}

TEST(FontMetrics, AnsiWidthsFollowTheCharacterSet) {
  auto arial = Open("Arial");
  auto central = arial->AnsiWidths(238);
  auto western = arial->AnsiWidths(0);
  EXPECT_EQ(central[0], 278);        // space
  EXPECT_EQ(central['A' - 32], 667); // ASCII alike in both
  EXPECT_EQ(western['A' - 32], 667);
  // 0xB9 is 'ą' in code page 1250 and superscript one in 1252.
  EXPECT_EQ(central[0xB9 - 32], arial->GlyphAdvance(arial->GlyphIndex(U'\u0105')));
  EXPECT_EQ(western[0xB9 - 32], arial->GlyphAdvance(arial->GlyphIndex(U'\u00B9')));
  EXPECT_NE(central[0xB9 - 32], western[0xB9 - 32]);
  EXPECT_EQ(arial->AnsiWidths(1), western); // DEFAULT_CHARSET measures as 1252
  EXPECT_EQ(western[0x81 - 32], 0);         // undefined in 1252, no glyph
}

TEST(FontMetrics, SymbolFontsFindTheirGlyphsByByteAndByPrivateUseCode) {
  // The installed symbol files differ: Wingdings and Webdings keep their glyphs at U+F000 + byte, this
  // Symbol at the bytes themselves. Both spellings of a code reach the same glyph.
  struct {
    const char* Face;
    uint8_t Code; // one the file covers
    int MinimumCovered;
  } cases[] = {{"Symbol", 'a', 140}, {"Wingdings", 'l', 45}, {"Webdings", '1', 5}};
  for (const auto& c : cases) {
    auto face = Open(c.Face, 400, false, 2);
    ASSERT_TRUE(face) << c.Face;
    ASSERT_TRUE(face->Location().Symbol) << c.Face;
    uint16_t glyph = face->GlyphIndex(c.Code);
    EXPECT_NE(glyph, 0) << c.Face;
    EXPECT_EQ(face->GlyphIndex(0xF000 + c.Code), glyph) << c.Face;
    auto widths = face->AnsiWidths(2);
    EXPECT_EQ(widths[c.Code - 32], face->GlyphAdvance(glyph)) << c.Face;
    EXPECT_GT(widths[c.Code - 32], 0) << c.Face;
    int covered = 0;
    for (uint16_t w : widths)
      covered += w > 0;
    EXPECT_GE(covered, c.MinimumCovered) << c.Face;
    // A symbol face keeps its symbols when asked with another character set.
    EXPECT_EQ(face->AnsiWidths(0)[c.Code - 32], widths[c.Code - 32]) << c.Face;
  }
}
} // namespace

namespace {
TEST(FontMetrics, ConcurrentCallersGetTheSameAnswers) {
  auto expected = Open("Times New Roman", 700, false, 238)->AnsiWidths(238);
  std::vector<std::thread> threads;
  std::atomic<int> mismatches{0};
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&, t] {
      for (int i = 0; i < 50; ++i) {
        auto face = TFontService::Instance().Open(Request("Times New Roman", 700, false, 238));
        if (!face || face->AnsiWidths(238) != expected) ++mismatches;
        Open(t % 2 ? "Calibri" : "Cambria", 400 + 300 * (i % 2))->GlyphAdvance(uint16_t(i));
      }
    });
  for (auto& thread : threads)
    thread.join();
  EXPECT_EQ(mismatches, 0);
}
} // namespace
