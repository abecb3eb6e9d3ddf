// Fonts completed at save: WinAnsi widths, the companion's CIDFont, widths and ToUnicode map, and the
// embedded subset of the font file. Every file written here passes the structural checker.
#include <regex>

#include "PdfFontTestSupport.h"
#include "PdfTestSupport.h"
#include "platform/fonts/FontSubset.h"

namespace {

struct TSaved {
  std::string Bytes;
  std::string Path;
};

TSaved Save(TPdfDocument& Doc, const std::string& Name) {
  TSaved saved;
  saved.Path = SaveForInspection(Doc, Name);
  saved.Bytes = SavedBytes(Doc);
  EXPECT_EQ(PdfToolProblems(saved.Path), "");
  return saved;
}

std::string Hex4(uint16_t Value) {
  char text[8];
  std::snprintf(text, sizeof(text), "%04X", Value);
  return text;
}

// The number of the object a dictionary entry refers to, -1 without such an entry.
int Reference(const std::string& Body, const std::string& Key) {
  std::smatch match;
  if (!std::regex_search(Body, match, std::regex("/" + Key + " (\\d+) 0 R"))) return -1;
  return std::stoi(match[1]);
}

TEST_F(PdfFontFixture, WinAnsiFontGetsWidthsOfItsUsedCodes) {
  TPdfFontTrueType* font = Arial();
  ASSERT_NE(font, nullptr);
  canvas->BeginText();
  W().AddUnicodeHexText(u"A C", false, canvas);
  canvas->EndText();
  TSaved saved = Save(doc, "font-winansi.pdf");
  std::string dict = ObjectInFile(saved.Bytes, font->Data()->ObjectNumber());
  std::string unused;
  for (int code = 33; code < 65; ++code)
    unused += "0 ";
  EXPECT_EQ(dict, "<</Type/Font/BaseFont/Arial/Subtype/TrueType/Encoding/WinAnsiEncoding/FontDescriptor " +
                      std::to_string(font->FontDescriptor()->ObjectNumber()) +
                      " 0 R/Name/F0/FirstChar 32/LastChar 67/Widths [278 " + unused + "667 0 722 ]>>");
  EXPECT_EQ(Reference(ObjectInFile(saved.Bytes, font->FontDescriptor()->ObjectNumber()), "FontFile2"), -1)
      << "WinAnsi text alone references the font by name";
  EXPECT_EQ(saved.Bytes.find("+Arial"), std::string::npos);
}

TEST_F(PdfFontFixture, FontUsedOnlyForMeasuringWritesNoWidths) {
  TPdfFontTrueType* font = Arial();
  ASSERT_NE(font, nullptr);
  canvas->UnicodeTextWidth(u"\u0142");
  ASSERT_NE(font->UnicodeFont(), nullptr);
  TSaved saved = Save(doc, "font-measured.pdf");
  std::string dict = ObjectInFile(saved.Bytes, font->Data()->ObjectNumber());
  EXPECT_EQ(dict.find("FirstChar"), std::string::npos) << dict;
  EXPECT_EQ(dict.find("LastChar"), std::string::npos);
  EXPECT_EQ(dict.find("Widths"), std::string::npos);
}

TEST_F(PdfFontFixture, CompanionWithCidFontWidthsAndToUnicode) {
  TPdfFontTrueType* font = Arial();
  ASSERT_NE(font, nullptr);
  canvas->BeginText();
  W().AddUnicodeHexText(u"\u017C\u0105", false, canvas);
  canvas->EndText();
  TPdfFontTrueType* companion = font->UnicodeFont();
  ASSERT_NE(companion, nullptr);
  uint16_t a = font->UsedWide()[0].Glyph, z = font->UsedWide()[1].Glyph;
  TSaved saved = Save(doc, "font-companion.pdf");

  std::string type0 = ObjectInFile(saved.Bytes, companion->Data()->ObjectNumber());
  std::smatch tag;
  ASSERT_TRUE(std::regex_search(type0, tag, std::regex("/BaseFont/([A-Z]{6})\\+Arial/"))) << type0;
  std::string name = tag[1].str() + "+Arial";
  std::smatch descendant;
  ASSERT_TRUE(std::regex_search(type0, descendant, std::regex("/DescendantFonts\\[(\\d+) 0 R\\]")));
  int cidNumber = std::stoi(descendant[1]);
  EXPECT_EQ(type0, "<</Type/Font/BaseFont/" + name +
                       "/Subtype/Type0/Encoding/Identity-H/Name/F1/DescendantFonts[" +
                       std::to_string(cidNumber) + " 0 R]/ToUnicode " +
                       std::to_string(Reference(type0, "ToUnicode")) + " 0 R>>");
  int descriptor = font->FontDescriptor()->ObjectNumber();
  EXPECT_EQ(ObjectInFile(saved.Bytes, cidNumber),
            "<</Type/Font/Subtype/CIDFontType2/BaseFont/" + name +
                "/CIDSystemInfo<</Supplement 0/Ordering(Identity)/Registry(Adobe)>>/DW 278/W [" +
                std::to_string(a) + "[556]" + std::to_string(z) + "[500]]/FontDescriptor " +
                std::to_string(descriptor) + " 0 R>>");
  EXPECT_EQ(companion->FirstChar(), a);
  EXPECT_EQ(companion->LastChar(), z);

  std::string toUnicode = ObjectInFile(saved.Bytes, Reference(type0, "ToUnicode"));
  EXPECT_NE(toUnicode.find(
                "stream\n/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n/CIDSystemInfo\n"
                "<<\n/Registry (F1+0)\n/Ordering (UCS)\n/Supplement 0\n>> def\n/CMapName /F1+0 def\n"
                "/CMapType 2 def\n1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n2 beginbfchar\n<" +
                Hex4(a) + "> <0105>\n<" + Hex4(z) +
                "> <017C>\nendbfchar\nendcmap\nCMapName currentdict /CMap defineresource pop\nend\n"
                "endendstream"),
            std::string::npos)
      << toUnicode;

  // The shared descriptor carries the subset under the same tagged name, and the WinAnsi font too.
  std::string descriptorBody = ObjectInFile(saved.Bytes, descriptor);
  EXPECT_NE(descriptorBody.find("/FontName/" + name + "/"), std::string::npos) << descriptorBody;
  EXPECT_NE(ObjectInFile(saved.Bytes, font->Data()->ObjectNumber()).find("/BaseFont/" + name + "/"),
            std::string::npos);
  int fontFile = Reference(descriptorBody, "FontFile2");
  ASSERT_GT(fontFile, 0);
  std::string program = ObjectInFile(saved.Bytes, fontFile);
  std::smatch length1;
  ASSERT_TRUE(std::regex_search(program, length1, std::regex("/Length1 (\\d+)")));
  EXPECT_LT(std::stoul(length1[1]), font->Face().FontFile().size() / 4) << "a subset, not the whole file";
}

TEST_F(PdfFontFixture, ToUnicodeBlocksHoldAtMost99Entries) {
  TPdfFontTrueType* font = Arial();
  ASSERT_NE(font, nullptr);
  std::u16string text;
  for (char16_t c = 0x0100; c < 0x0100 + 120; ++c)
    text += c;
  W().AddUnicodeHexText(text.c_str(), false, canvas);
  size_t nonZero = 0;
  for (const TUsedWide& used : font->UsedWide())
    nonZero += used.Glyph != 0;
  TSaved saved = Save(doc, "font-blocks.pdf");
  std::string type0 = ObjectInFile(saved.Bytes, font->UnicodeFont()->Data()->ObjectNumber());
  std::string toUnicode = ObjectInFile(saved.Bytes, Reference(type0, "ToUnicode"));
  std::regex counts("(\\d+) beginbfchar\n");
  std::vector<int> blocks;
  for (auto it = std::sregex_iterator(toUnicode.begin(), toUnicode.end(), counts);
       it != std::sregex_iterator(); ++it)
    blocks.push_back(std::stoi((*it)[1]));
  ASSERT_EQ(blocks.size(), 2u);
  EXPECT_LE(blocks[0], 99);
  EXPECT_EQ(static_cast<size_t>(blocks[0] + blocks[1]), nonZero);
}

TEST_F(PdfFontFixture, FixedPitchCompanionWritesOnlyDw) {
  TPdfFontTrueType* courier = canvas->SetFont("Courier New", 10, 0);
  ASSERT_NE(courier, nullptr);
  W().AddUnicodeHexText(u"\u0142", false, canvas);
  TSaved saved = Save(doc, "font-fixed.pdf");
  std::string type0 = ObjectInFile(saved.Bytes, courier->UnicodeFont()->Data()->ObjectNumber());
  std::smatch m;
  ASSERT_TRUE(std::regex_search(type0, m, std::regex("/DescendantFonts\\[(\\d+) 0 R\\]")));
  std::string cidFont = ObjectInFile(saved.Bytes, std::stoi(m[1]));
  EXPECT_NE(cidFont.find("/DW 600/"), std::string::npos) << cidFont;
  EXPECT_EQ(cidFont.find("/W "), std::string::npos) << cidFont;
}

TEST_F(PdfFontFixture, SubsetsAreReproducibleAndTaggedByTheirGlyphs) {
  auto tagOf = [](const std::u16string& Text, const std::string& File) {
    TPdfDocumentGDI other(true, 1250, false, &TFontService::Instance());
    other.SetCompressionMethod(cmNone);
    other.AddPage();
    other.Canvas()->SetFont("Arial", 12, 0);
    other.Canvas()->Contents()->Writer().AddUnicodeHexText(Text.c_str(), false, other.Canvas());
    TSaved saved = Save(other, File);
    std::smatch tag;
    EXPECT_TRUE(std::regex_search(saved.Bytes, tag, std::regex("/BaseFont/([A-Z]{6})\\+Arial")));
    return std::make_pair(tag[1].str(), saved.Bytes);
  };
  auto first = tagOf(u"\u0142\u0105", "font-tag-1.pdf");
  auto again = tagOf(u"\u0142\u0105", "font-tag-2.pdf");
  auto other = tagOf(u"\u0142\u0119", "font-tag-3.pdf");
  EXPECT_EQ(first.first, again.first);
  EXPECT_EQ(first.second, again.second) << "the same text gives the same file";
  EXPECT_NE(first.first, other.first);
}

TEST_F(PdfFontFixture, EmbeddedTtfEmbedsWinAnsiFontsToo) {
  doc.SetEmbeddedTTF(true);
  TPdfFontTrueType* font = canvas->SetFont("Times New Roman", 12, fsBold);
  ASSERT_NE(font, nullptr);
  W().AddUnicodeHexText(u"Abc", false, canvas);
  TSaved saved = Save(doc, "font-embedded-ttf.pdf");
  EXPECT_EQ(font->UnicodeFont(), nullptr);
  std::string descriptor = ObjectInFile(saved.Bytes, font->FontDescriptor()->ObjectNumber());
  EXPECT_GT(Reference(descriptor, "FontFile2"), 0) << descriptor;
  EXPECT_TRUE(std::regex_search(descriptor, std::regex("/FontName/[A-Z]{6}\\+TimesNewRoman,Bold/")));
}

TEST_F(PdfFontFixture, EveryKindOfFontInOneFile) {
  ASSERT_TRUE(UseFallback("DejaVu Sans"));
  canvas->BeginText();
  canvas->MoveTextPoint(40, 700);
  ASSERT_NE(Arial(fsBold), nullptr);
  W().AddUnicodeHexText(u"Bold \u0141\u2603", false, canvas);
  ASSERT_NE(canvas->SetFont("Courier New", 10, 0), nullptr);
  W().AddUnicodeHexText(u"Mono \u0144", true, canvas);
  TPdfFontTrueType* times = canvas->SetFont("Times New Roman", 10, fsItalic);
  ASSERT_NE(times, nullptr);
  const uint16_t glyphs[] = {times->Face().GlyphIndex(U'\u0119')};
  W().AddGlyphs(glyphs, 1, canvas);
  ASSERT_NE(canvas->SetFont("Arial", 10, 0), nullptr);
  W().AddUnicodeHexText(u"plain", true, canvas);
  canvas->EndText();
  TSaved saved = Save(doc, "font-every-kind.pdf");

  int code = 0;
  FILE* pipe = popen(("pdffonts '" + saved.Path + "' 2>&1").c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string listing;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof(buffer), pipe)) > 0)
    listing.append(buffer, n);
  code = pclose(pipe);
  ASSERT_EQ(code, 0) << listing;
  // Every font that shows glyph indices carries its program; the others are referenced by name.
  for (const char* line :
       {"+Arial,Bold +TrueType +WinAnsi +yes yes", "+Arial,Bold +CID TrueType +Identity-H +yes yes yes",
        "+DejaVuSans,Bold +CID TrueType +Identity-H +yes yes yes", "+CourierNew +TrueType +WinAnsi +yes yes",
        "+CourierNew +CID TrueType +Identity-H +yes yes yes",
        "+TimesNewRoman,Italic +CID TrueType +Identity-H +yes yes yes"})
    EXPECT_TRUE(std::regex_search(listing, std::regex(std::string("[A-Z]{6}\\") + line))) << line << "\n"
                                                                                          << listing;
  EXPECT_TRUE(std::regex_search(listing, std::regex("\nArial +TrueType +WinAnsi +no +no +no"))) << listing;
}

uint32_t Big(const std::string& Bytes, size_t At, int Count) {
  uint32_t value = 0;
  for (int i = 0; i < Count; ++i)
    value = value << 8 | uint8_t(Bytes.at(At + i));
  return value;
}

// The "glyf" bytes of a glyph of a font file (empty for an empty glyph).
std::string GlyphOutline(const std::string& Font, uint16_t Glyph) {
  auto table = [&](const char* Tag) -> size_t {
    for (size_t i = 0, n = Big(Font, 4, 2); i < n; ++i)
      if (Font.compare(12 + 16 * i, 4, Tag) == 0) return Big(Font, 12 + 16 * i + 8, 4);
    return 0;
  };
  size_t head = table("head"), loca = table("loca"), glyf = table("glyf");
  bool longOffsets = Big(Font, head + 50, 2) != 0;
  size_t start = longOffsets ? Big(Font, loca + 4 * Glyph, 4) : 2 * Big(Font, loca + 2 * Glyph, 2);
  size_t end = longOffsets ? Big(Font, loca + 4 * (Glyph + 1), 4) : 2 * Big(Font, loca + 2 * (Glyph + 1), 2);
  return Font.substr(glyf + start, end - start);
}

TEST(PdfFontSubset, KeepsGlyphIndicesAndRefusesDamage) {
  TPdfDocumentGDI doc(true, 1250, false, &TFontService::Instance());
  doc.AddPage();
  TPdfFontTrueType* font = doc.Canvas()->SetFont("Arial", 12, 0);
  ASSERT_NE(font, nullptr);
  std::string file = font->Face().FontFile();
  ASSERT_TRUE(IsTrueTypeOutlineFile(file));
  uint16_t glyph = font->Face().GlyphIndex(U'\u017C');
  std::string subset = SubsetFontKeepingGlyphIds(file, 0, {glyph}, {U'A'});
  EXPECT_TRUE(IsTrueTypeOutlineFile(subset));
  EXPECT_LT(subset.size(), file.size() / 4);
  // The kept glyph has the same outline at the same index.
  std::string outline = GlyphOutline(file, glyph);
  EXPECT_FALSE(outline.empty());
  EXPECT_EQ(GlyphOutline(subset, glyph), outline);
  EXPECT_EQ(GlyphOutline(subset, glyph - 1), "") << "a glyph not asked for is dropped";

  EXPECT_FALSE(IsTrueTypeOutlineFile("OTTO...."));
  EXPECT_FALSE(IsTrueTypeOutlineFile("ttcf\0\1\0\0\0\0\0\7"));
  EXPECT_FALSE(IsTrueTypeOutlineFile(""));
  EXPECT_THROW(SubsetFontKeepingGlyphIds(file.substr(0, 100), 0, {1}, {}), EDamagedData);
  EXPECT_THROW(SubsetFontKeepingGlyphIds("not a font at all", 0, {1}, {}), EDamagedData);
}

} // namespace
