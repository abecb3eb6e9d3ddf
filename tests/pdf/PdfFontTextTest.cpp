// Showing Unicode text: WinAnsi literal strings, glyph strings of the companion and of the fallback
// font, line breaks, glyph indices and byte strings.
#include <cstdio>

#include "PdfFontTestSupport.h"
#include "pdf/PdfErrors.h"

namespace {

std::string Hex4(uint16_t Value) {
  char text[8];
  std::snprintf(text, sizeof(text), "%04X", Value);
  return text;
}

uint16_t GlyphOf(TPdfFontTrueType* Font, char16_t c) {
  return Font->UsedWide()[Font->FindOrAddUsedWideChar(c)].Glyph;
}

TEST_F(PdfFontFixture, PolishLetterBetweenWinAnsiRuns) {
  TPdfFontTrueType* font = Arial();
  ASSERT_NE(font, nullptr);
  std::string written = Produce([&] { W().AddUnicodeHexText(u"Za\u017CD", false, canvas); });
  uint16_t glyph = GlyphOf(font, u'\u017C');
  ASSERT_NE(glyph, 0);
  EXPECT_EQ(written, "(Za) Tj\n/F1 12 Tf\n<" + Hex4(glyph) + "> Tj\n/F0 12 Tf\n(D) Tj\n");
  EXPECT_EQ(W().fAddGlyphFont, fNone);
  EXPECT_TRUE(font->fWinAnsiUsed['Z'] && font->fWinAnsiUsed['a'] && font->fWinAnsiUsed['D']);
  EXPECT_EQ(font->fWinAnsiUsed.count(), 3u);
}

TEST_F(PdfFontFixture, WinAnsiTextCreatesNoCompanion) {
  TPdfFontTrueType* font = Arial();
  ASSERT_NE(font, nullptr);
  std::string written = Produce([&] { W().AddUnicodeHexText(u"Zó (a\\b)\u00A0\u00E9", true, canvas); });
  EXPECT_EQ(written, "(Z\xF3 \\(a\\\\b\\) \xE9) '\n");
  EXPECT_EQ(font->UnicodeFont(), nullptr);
  EXPECT_EQ(doc.FontList().size(), 1u);
  EXPECT_TRUE(font->fWinAnsiUsed[' ']) << "the no-break space is shown as a space";
  EXPECT_FALSE(font->fWinAnsiUsed[160]);
}

TEST_F(PdfFontFixture, LineBreakIsTakenOncePerCall) {
  TPdfFontTrueType* font = Arial();
  ASSERT_NE(font, nullptr);
  std::string glyph = Hex4(GlyphOf(font, u'\u0119'));
  std::string written = Produce([&] { W().AddUnicodeHexText(u"\u0119a", true, canvas); });
  EXPECT_EQ(written, "/F1 12 Tf\n<" + glyph + "> '\n/F0 12 Tf\n(a) Tj\n");
}

TEST_F(PdfFontFixture, CharactersMissingFromBothFontsMakeOneStringOfZeroGlyphs) {
  ASSERT_TRUE(UseFallback("DejaVu Sans"));
  ASSERT_NE(Arial(), nullptr);
  std::string written = Produce([&] { W().AddUnicodeHexText(u"\u4E00\u4E01", false, canvas); });
  TPdfFontTrueType* fallback = canvas->SetFont({}, 12, 0, -1, doc.FontFallBackIndex());
  ASSERT_NE(fallback->UnicodeFont(), nullptr);
  EXPECT_EQ(written, "/" + fallback->UnicodeFont()->ShortCut() + " 12 Tf\n<00000000> Tj\n");
}

TEST_F(PdfFontFixture, MainGlyphThenFallbackGlyphSwitchesStrings) {
  ASSERT_TRUE(UseFallback("DejaVu Sans"));
  TPdfFontTrueType* font = Arial();
  ASSERT_NE(font, nullptr);
  std::string written = Produce([&] { W().AddUnicodeHexText(u"\u0142\u2603\u0142", false, canvas); });
  TPdfFontTrueType* fallback = canvas->SetFont({}, 12, 0, -1, doc.FontFallBackIndex());
  ASSERT_NE(fallback->UnicodeFont(), nullptr);
  std::string main = Hex4(GlyphOf(font, u'\u0142'));
  std::string snowman = Hex4(GlyphOf(fallback, u'\u2603'));
  ASSERT_NE(snowman, "0000");
  const std::string& mainName = font->UnicodeFont()->ShortCut();
  const std::string& fallbackName = fallback->UnicodeFont()->ShortCut();
  EXPECT_EQ(written, "/" + mainName + " 12 Tf\n<" + main + "> Tj\n/" + fallbackName + " 12 Tf\n<" + snowman +
                         "> Tj\n/" + mainName + " 12 Tf\n<" + main + "> Tj\n");
}

TEST_F(PdfFontFixture, WithoutFallbackAMissingCharacterIsGlyphZeroOfTheMainFont) {
  doc.SetUseFontFallBack(false);
  ASSERT_NE(Arial(), nullptr);
  std::string written = Produce([&] { W().AddUnicodeHexText(u"\u2603", false, canvas); });
  EXPECT_EQ(written, "/F1 12 Tf\n<0000> Tj\n");
}

TEST_F(PdfFontFixture, TextAfterAFallbackGlyphKeepsTheMainFont) {
  ASSERT_TRUE(UseFallback("DejaVu Sans"));
  TPdfFontTrueType* font = Arial();
  ASSERT_NE(font, nullptr);
  W().AddUnicodeHexText(u"\u2603", false, canvas);
  std::string written = Produce([&] { W().AddUnicodeHexText(u"\u0142", false, canvas); });
  EXPECT_EQ(written,
            "/" + font->UnicodeFont()->ShortCut() + " 12 Tf\n<" + Hex4(GlyphOf(font, u'\u0142')) + "> Tj\n");
}

TEST_F(PdfFontFixture, BytesOfTheDocumentCodePage) {
  TPdfFontTrueType* font = Arial();
  ASSERT_NE(font, nullptr);
  // Code page 1250: 0xB9 is "ą", 0xF3 "ó".
  std::string written = Produce([&] { W().AddToUnicodeHexText("\xF3\xB9", false, canvas); });
  EXPECT_EQ(written, "(\xF3) Tj\n/F1 12 Tf\n<" + Hex4(GlyphOf(font, u'\u0105')) + "> Tj\n");
}

TEST_F(PdfFontFixture, GlyphIndicesGoThroughTheCharacterMap) {
  TPdfFontTrueType* font = Arial();
  ASSERT_NE(font, nullptr);
  uint16_t a = font->Face().GlyphIndex(U'\u0105');
  uint16_t unreachable = 0;
  // The first glyph no code of the character map reaches (ligatures and the like).
  for (uint16_t g = 1; g < 2000 && unreachable == 0; ++g) {
    bool reached = false;
    TPdfFontTrueType* companion = font->CreateUnicodeCompanion();
    for (const TUsedWide& entry : companion->UsedWide())
      if (entry.Glyph == g) reached = true;
    if (!reached) unreachable = g;
  }
  ASSERT_NE(unreachable, 0);
  const uint16_t glyphs[] = {a, unreachable};
  std::string written = Produce([&] { W().AddGlyphs(glyphs, 2, canvas); });
  EXPECT_EQ(written, "/F1 12 Tf\n<" + Hex4(a) + "0000> Tj\n");
  EXPECT_EQ(font->UsedWideChar().size(), 1u);
  EXPECT_EQ(font->UsedWideChar()[0], u'\u0105') << "the glyph's code is registered for the ToUnicode map";
  EXPECT_EQ(Produce([&] { W().AddGlyphs(glyphs, 0, canvas); }), "");
}

TEST_F(PdfFontFixture, EscapedBytesAreMarkedUsed) {
  TPdfFontTrueType* font = Arial();
  ASSERT_NE(font, nullptr);
  std::string written = Produce([&] { W().AddEscapeText(std::string("a(b)\\\xA0z\0q", 9), font); });
  EXPECT_EQ(written, "a\\(b\\)\\\\ z");
  EXPECT_TRUE(font->fWinAnsiUsed['('] && font->fWinAnsiUsed[' '] && font->fWinAnsiUsed['z']);
  EXPECT_FALSE(font->fWinAnsiUsed['q']) << "a zero byte ends the text";
}

TEST(PdfFontText, WithoutAFontNothingCanBeShown) {
  TPdfDocumentGDI doc(true, 1250, false, &TFontService::Instance());
  doc.AddPage();
  EXPECT_THROW(doc.Canvas()->Contents()->Writer().AddUnicodeHexText(u"a", false, doc.Canvas()),
               EPdfInvalidOperation);
}

} // namespace
