// Finding fonts: families, substitutes and the remembered name, reuse by style and LOGFONT, names,
// short names, widths and measuring, on the host's installed fonts.
#include <algorithm>

#include "PdfFontTestSupport.h"
#include "PdfTestSupport.h"
#include "pdf/PdfCodePages.h"

namespace {

int Family(TPdfDocument& Doc, const std::string& Name) {
  const auto& families = Doc.TrueTypeFonts();
  for (size_t i = 0; i < families.size(); ++i)
    if (families[i] == Name) return static_cast<int>(i);
  return -1;
}

TLogFontW LogFont(const std::u16string& Face, int32_t Weight = FW_NORMAL, uint8_t Italic = 0,
                  uint8_t CharSet = EASTEUROPE_CHARSET) {
  TLogFontW lf;
  lf.lfHeight = -16;
  lf.lfWeight = Weight;
  lf.lfItalic = Italic;
  lf.lfCharSet = CharSet;
  lf.lfPitchAndFamily = 1 | 0x20; // variable pitch, swiss
  lf.SetFaceName(Face);
  return lf;
}

TEST_F(PdfFontFixture, FamiliesAreSortedCaseInsensitivelyWithoutDuplicates) {
  const auto& families = doc.TrueTypeFonts();
  ASSERT_GE(Family(doc, "Arial"), 0);
  ASSERT_GE(Family(doc, "Times New Roman"), 0);
  ASSERT_GE(Family(doc, "Courier New"), 0);
  for (size_t i = 1; i < families.size(); ++i) {
    EXPECT_LE(strcasecmp(families[i - 1].c_str(), families[i].c_str()), 0) << families[i];
    EXPECT_NE(families[i - 1], families[i]);
  }
  EXPECT_EQ(doc.FindFamilyIndex("ARIAL"), Family(doc, "Arial"));
  EXPECT_EQ(doc.FindFamilyIndex("No Such Family"), -1);
}

TEST_F(PdfFontFixture, HelveticaIsServedByArial) {
  ASSERT_EQ(doc.FindFamilyIndex("Helvetica"), -1) << "a family of that name is installed";
  TPdfFontTrueType* font = canvas->SetFont("Helvetica", 10, 0);
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(font->TrueTypeFontsIndex(), Family(doc, "Arial") + 1);
  EXPECT_EQ(font->Name(), "Arial");
  EXPECT_EQ(canvas->FPreviousRasterFontName, "Helvetica");
}

TEST_F(PdfFontFixture, UnknownNameTakesTheFallbackOrArialAndIsRemembered) {
  int expected = doc.FontFallBackIndex() >= 0 ? doc.FontFallBackIndex() : Family(doc, "Arial");
  TPdfFontTrueType* first = canvas->SetFont("MS Sans Serif", 10, 0);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->TrueTypeFontsIndex(), expected + 1);
  EXPECT_EQ(canvas->FPreviousRasterFontName, "MS Sans Serif");
  EXPECT_EQ(canvas->FPreviousRasterFontIndex, expected);
  // The second request takes the remembered index without searching: a remembered index changed behind
  // the canvas's back shows it.
  int times = Family(doc, "Times New Roman");
  canvas->FPreviousRasterFontIndex = times;
  TPdfFontTrueType* second = canvas->SetFont("MS Sans Serif", 10, 0);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->TrueTypeFontsIndex(), times + 1);
}

TEST_F(PdfFontFixture, SubstitutesByPrefixAndPitch) {
  struct TCase {
    const char* Name;
    bool Fixed;
    const char* Family;
  } cases[] = {
      {"Helvetica Narrow", false, "Arial"},
      {"courier 10 pitch", false, "Courier New"},
      {"Times Roman", false, "Times New Roman"},
      {"Fixedsys", true, "Courier New"},
  };
  for (const TCase& c : cases) {
    TPdfFontTrueType* font = canvas->SetFont(c.Name, 10, 0, -1, -1, c.Fixed);
    ASSERT_NE(font, nullptr) << c.Name;
    EXPECT_EQ(font->TrueTypeFontsIndex(), Family(doc, c.Family) + 1) << c.Name;
  }
}

TEST(PdfFontNoFamilies, NothingFoundSelectsNothing) {
  TPdfDocumentGDI doc(true, 1250); // no font service: no families at all
  doc.AddPage();
  EXPECT_EQ(doc.Canvas()->SetFont("Arial", 10, 0), nullptr);
  EXPECT_EQ(doc.Canvas()->SetFont(LogFont(u"Arial"), 10), nullptr);
  EXPECT_EQ(doc.CurrentPage()->Font(), nullptr);
  EXPECT_EQ(doc.Canvas()->UnicodeTextWidth(u"ab"), 0); // no font size either
}

TEST_F(PdfFontFixture, BoldAndRegularArialAreTwoFontsInCreationOrder) {
  TPdfFontTrueType* bold = Arial(fsBold);
  TPdfFontTrueType* regular = Arial();
  ASSERT_NE(bold, nullptr);
  ASSERT_NE(regular, nullptr);
  EXPECT_EQ(bold->ShortCut(), "F0");
  EXPECT_EQ(bold->Name(), "Arial,Bold");
  EXPECT_EQ(regular->ShortCut(), "F1");
  EXPECT_EQ(regular->Name(), "Arial");
  EXPECT_EQ(Arial(fsBold), bold);
  EXPECT_NE(canvas->SetFont("Arial", 12, fsBold, 0), bold) << "another character set is another font";
  EXPECT_EQ(canvas->SetFont("Times New Roman", 12, fsBold | fsItalic)->Name(), "TimesNewRoman,BoldItalic");
  EXPECT_EQ(canvas->SetFont("Courier New", 12, fsItalic)->Name(), "CourierNew,Italic");
}

TEST_F(PdfFontFixture, SelectionWritesTfOnlyWhenSelecting) {
  std::string written = Produce([&] {
    Arial();
    canvas->SetFont("Arial", 12, 0);
    canvas->SetFont("Arial", 9, 0, -1, Family(doc, "Arial")); // forced: found, not selected
  });
  EXPECT_EQ(written, "/F0 12 Tf\n");
}

TEST_F(PdfFontFixture, LogFontSelection) {
  TPdfFontTrueType* ce = canvas->SetFont(LogFont(u"Times New Roman CE"), 11);
  ASSERT_NE(ce, nullptr);
  EXPECT_EQ(ce->TrueTypeFontsIndex(), Family(doc, "Times New Roman") + 1);
  EXPECT_EQ(ce->Name(), "TimesNewRoman");
  EXPECT_EQ(doc.CurrentPage()->Font(), ce);
  EXPECT_EQ(doc.CurrentPage()->FontSize(), 11);

  // The font is created from its own LOGFONT (family face, weight 700), which a later record equal to
  // it finds directly; weight 600 counts as bold.
  TPdfFontTrueType* bold = canvas->SetFont(LogFont(u"Arial", 600), 10);
  ASSERT_NE(bold, nullptr);
  EXPECT_EQ(bold->Style(), fsBold);
  EXPECT_EQ(bold->LogFont().lfWeight, FW_BOLD);
  EXPECT_EQ(bold->LogFont().lfHeight, -1000);
  EXPECT_EQ(doc.FindTrueTypeFontByLogFont(LogFont(u"Arial", FW_BOLD)), bold);
  EXPECT_EQ(doc.FindTrueTypeFontByLogFont(LogFont(u"Arial", 600)), nullptr);
  EXPECT_EQ(canvas->SetFont(LogFont(u"Arial", FW_BOLD), 10), bold);
  EXPECT_EQ(canvas->SetFont(LogFont(u"Arial", 900), 10), bold);
  TPdfFontTrueType* italic = canvas->SetFont(LogFont(u"Arial", FW_NORMAL, 1), 10);
  EXPECT_EQ(italic->Name(), "Arial,Italic");

  // A clear bit 0 of the pitch byte asks for a fixed-pitch font: an unknown name then takes Courier New.
  TLogFontW fixed = LogFont(u"Terminal");
  fixed.lfPitchAndFamily = 0x30;
  TPdfFontTrueType* courier = canvas->SetFont(fixed, 10);
  ASSERT_NE(courier, nullptr);
  EXPECT_EQ(courier->TrueTypeFontsIndex(), Family(doc, "Courier New") + 1);
  EXPECT_TRUE(courier->FixedWidth());
}

TEST_F(PdfFontFixture, AdvancesOfArial) {
  TPdfFontTrueType* font = Arial();
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(font->GetAnsiCharWidth("A", 1), 667);
  EXPECT_EQ(font->GetAnsiCharWidth(" ", 1), 278);
  EXPECT_EQ(font->DefaultWidth(), 278);
  EXPECT_EQ(font->GetWideCharWidth(u'A'), 667);
  EXPECT_EQ(font->GetWideCharWidth(u' '), 278);
  EXPECT_EQ(font->GetWideCharWidth(u'\t'), 278); // below 32: the default width
  EXPECT_FALSE(font->FixedWidth());
  EXPECT_FALSE(font->WideCharUsed()) << "WinAnsi characters are not registered";
  EXPECT_EQ(font->UnicodeFont(), nullptr);
}

TEST_F(PdfFontFixture, WinAnsiWidthsAreThoseOfCodePage1252) {
  TPdfFontTrueType* font = Arial();
  ASSERT_NE(font, nullptr);
  // Byte 0xB9 is "¹" in WinAnsi encoding (and "ą" in code page 1250, the document's): the table must hold
  // the width of the character a reader shows for the byte.
  TPdfFontTrueType* probe = canvas->SetFont("Arial", 12, 0, 0);
  EXPECT_EQ(font->GetAnsiCharWidth("\xB9", 1), probe->GetAnsiCharWidth("\xB9", 1));
  EXPECT_EQ(font->GetWideCharWidth(u'\u00B9'), font->GetAnsiCharWidth("\xB9", 1));
  EXPECT_NE(font->GetWideCharWidth(u'\u00B9'), font->GetWideCharWidth(u'\u0105'));
}

TEST_F(PdfFontFixture, NonWinAnsiWidthsComeFromTheCharacterMapAndAreRegistered) {
  TPdfFontTrueType* font = Arial();
  ASSERT_NE(font, nullptr);
  int width = font->GetWideCharWidth(u'\u017C'); // ż
  EXPECT_EQ(width, 500);
  ASSERT_NE(font->UnicodeFont(), nullptr) << "measuring creates the companion";
  EXPECT_EQ(font->UnicodeFont()->ShortCut(), "F1");
  EXPECT_TRUE(font->UnicodeFont()->Unicode());
  EXPECT_EQ(font->UnicodeFont()->WinAnsiFont(), font);
  EXPECT_EQ(font->UnicodeFont()->GetWideCharWidth(u'\u017C'), width) << "the companion measures as its pair";
  ASSERT_EQ(font->UsedWideChar().size(), 1u);
  EXPECT_EQ(font->UsedWideChar()[0], u'\u017C');
  EXPECT_NE(font->UsedWide()[0].Glyph, 0);

  // The registry stays sorted and holds each code once.
  for (char16_t c : std::u16string(u"\u0142\u0105\u017C\u4E00\u0105"))
    font->FindOrAddUsedWideChar(c);
  EXPECT_EQ(std::u16string(font->UsedWideChar().begin(), font->UsedWideChar().end()),
            u"\u0105\u0142\u017C\u4E00");
  EXPECT_EQ(font->UsedWide()[3].Int(), 0u) << "a character the font lacks has no glyph and no width";
  EXPECT_EQ(font->FindOrAddUsedWideChar(u'\u0142'), 1);
}

TEST_F(PdfFontFixture, MeasuringThroughTheCanvas) {
  ASSERT_NE(Arial(), nullptr);
  EXPECT_FLOAT_EQ(canvas->UnicodeTextWidth(u"A A"), (667 + 278 + 667) * 12 / 1000.0f);
  doc.SetFontFallBackName("");
  EXPECT_FLOAT_EQ(canvas->UnicodeTextWidth(u"\u4E00\u4E01"), 2 * 600 * 12 / 1000.0f);
  ASSERT_TRUE(UseFallback("DejaVu Sans"));
  // The snowman is only in the fallback family; CJK in neither.
  TPdfFontTrueType* dejaVu = canvas->SetFont("DejaVu Sans", 12, 0, -1, doc.FontFallBackIndex());
  float snowman = dejaVu->GetWideCharWidth(u'\u2603') * 12 / 1000.0f;
  EXPECT_GT(snowman, 0);
  EXPECT_FLOAT_EQ(canvas->UnicodeTextWidth(u"\u2603\u4E00"), snowman + 600 * 12 / 1000.0f);
  EXPECT_EQ(doc.CurrentPage()->Font()->Name(), "Arial") << "measuring selects no font";
}

TEST_F(PdfFontFixture, FixedPitchFontsGiveEveryCodeTheSpaceWidth) {
  TPdfFontTrueType* courier = canvas->SetFont("Courier New", 10, 0);
  ASSERT_NE(courier, nullptr);
  EXPECT_TRUE(courier->FixedWidth());
  EXPECT_EQ(courier->GetAnsiCharWidth("W", 1), 600);
  EXPECT_EQ(courier->GetAnsiCharWidth("\xE9", 1), 600);
  EXPECT_EQ(courier->GetWideCharWidth(u'\u0142'), 600);
  EXPECT_EQ(courier->GetWideCharWidth(u'\u4E00'), 0) << "a missing character has no width";
}

TEST_F(PdfFontFixture, DescriptorOfANewFont) {
  TPdfFontTrueType* font = canvas->SetFont("Arial", 12, fsItalic);
  ASSERT_NE(font, nullptr);
  std::string dict = DefinitionBody(*font->Data());
  std::string descriptor = DefinitionBody(*font->FontDescriptor());
  EXPECT_EQ(dict,
            "<</Type/Font/BaseFont/Arial,Italic/Subtype/TrueType/Encoding/WinAnsiEncoding/FontDescriptor " +
                std::to_string(font->FontDescriptor()->ObjectNumber()) + " 0 R/Name/F0>>");
  EXPECT_EQ(font->FontDescriptor()->ObjectNumber(), font->Data()->ObjectNumber() + 1);
  TFontOutlineMetrics otm = font->Face().OutlineMetrics();
  EXPECT_EQ(otm.ItalicAngle, -120) << "tenths of a degree from the host";
  EXPECT_EQ(descriptor, "<</Type/FontDescriptor/FontName/Arial,Italic/Ascent " + std::to_string(otm.Ascent) +
                            "/CapHeight 666/Descent " + std::to_string(otm.Descent) +
                            "/ItalicAngle -12/StemV 87/Flags 32/FontBBox[" + std::to_string(otm.BBox[0]) +
                            " " + std::to_string(otm.BBox[1]) + " " + std::to_string(otm.BBox[2]) + " " +
                            std::to_string(otm.BBox[3]) + "]>>");
}

} // namespace

namespace {

TEST_F(PdfFontFixture, SymbolFontsAreMeasuredInTheirOwnEncoding) {
  if (doc.FindFamilyIndex("Wingdings") < 0) GTEST_SKIP() << "no Wingdings family is listed";
  TLogFontW lf;
  lf.lfHeight = -20;
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = SYMBOL_CHARSET;
  lf.lfPitchAndFamily = 1;
  lf.SetFaceName(u"Wingdings");
  TPdfFontTrueType* font = canvas->SetFont(lf, 12);
  ASSERT_NE(font, nullptr);
  EXPECT_GT(font->GetAnsiCharWidth("l", 1), 0) << "the circle of byte 0x6C, U+F06C in the font";
  EXPECT_NE(DefinitionBody(*font->FontDescriptor()).find("/Flags 4/"), std::string::npos);
}

} // namespace
