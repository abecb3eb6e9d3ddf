// The preview draws with the face the font service matches: the same file, the same advances, and symbol
// fonts with their symbols.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>

#include "platform/emfwriter/EmfWriter.h"
#include "platform/fonts/FontService.h"
#include "platform/gdi/FontResolver.h"
#include "platform/gdi/PageImage.h"

namespace {
class FontPreview : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (QGuiApplication::instance()) return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "font_preview_test";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);
  }
  static void TearDownTestSuite() { delete QGuiApplication::instance(); }
};

TGdiFont GdiFont(const char* face, int32_t weight = 400, uint8_t charSet = 1) {
  TGdiFont font;
  font.FaceName = QString::fromUtf8(face);
  font.Height = -100;
  font.Weight = weight;
  font.CharSet = charSet;
  return font;
}

TEST_F(FontPreview, DrawsTheMatchedFileWithItsAdvances) {
  TGdiFont font = GdiFont("Arial");
  ResolveFont(font);
  ASSERT_TRUE(font.Raw.isValid());
  EXPECT_EQ(font.Raw.familyName(), "Liberation Sans");
  QRawFont sized = font.Raw;
  sized.setPixelSize(1000);
  auto face = TFontService::Instance().Open({"Arial"});
  QVector<quint32> glyphs = GlyphIndexesForText(font, sized, QStringLiteral("A "));
  ASSERT_EQ(glyphs.size(), 2);
  EXPECT_EQ(glyphs[0], face->GlyphIndex(U'A'));
  QVector<QPointF> advances = sized.advancesForGlyphIndexes(glyphs, QRawFont::SeparateAdvances);
  EXPECT_NEAR(advances[0].x(), 667, 1);
  EXPECT_NEAR(advances[1].x(), 278, 1);
  // GDI's cell of a positive height: 2288 / 2048 of the em for this face.
  EXPECT_NEAR(font.CellToEm, 2048.0 / 2288, 0.002);
}

TEST_F(FontPreview, BoldTakesTheBoldFile) {
  TGdiFont font = GdiFont("Times New Roman", 700);
  ResolveFont(font);
  ASSERT_TRUE(font.Raw.isValid());
  EXPECT_EQ(font.Raw.familyName(), "Liberation Serif");
  EXPECT_EQ(font.Raw.weight(), QFont::Bold);
}

TEST_F(FontPreview, SymbolTextFindsItsGlyphsWhateverItsCodePage) {
  TGdiFont font = GdiFont("WingDings", 400, 1);
  ResolveFont(font);
  ASSERT_TRUE(font.Raw.isValid());
  auto face = TFontService::Instance().Open({"WingDings"});
  ASSERT_TRUE(face->Location().Symbol);
  // 'l' (a filled circle) and byte 0xA8 decoded through code page 1252 as U+00A8.
  QVector<quint32> glyphs = GlyphIndexesForText(font, font.Raw, QStringLiteral("l\u00A8"));
  ASSERT_EQ(glyphs.size(), 2);
  EXPECT_EQ(glyphs[0], face->GlyphIndex(0xF06C));
  EXPECT_EQ(glyphs[1], face->GlyphIndex(0xF0A8));
  EXPECT_NE(glyphs[0], 0u);
  EXPECT_NE(glyphs[1], 0u);
}

int InkPixels(const QImage& image) {
  int ink = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      ink += qGray(image.pixel(x, y)) < 128;
  return ink;
}

// "l" in Wingdings is a filled circle; a text face would draw a thin letter in its place.
TEST_F(FontPreview, WingdingsPagesDrawSymbolsNotLetters) {
  auto page = [](const char* face) {
    TEmfWriter writer(200, 200);
    TEmfFont font;
    font.Face = face;
    font.Height = -120;
    writer.SelectObject(writer.CreateFont(font));
    const int32_t advance[] = {100};
    writer.ExtTextOut(40, 20, 0, nullptr, u"l", advance);
    return RenderPageImage(writer.ToMetafile(), {}).Image;
  };
  int circle = InkPixels(page("Wingdings"));
  int letter = InkPixels(page("Arial"));
  EXPECT_GT(circle, 3 * letter) << circle << " vs " << letter;
}
} // namespace
