// Small metafiles written with the project's EMF writer, played onto images and checked at chosen pixels
// (and once onto a PDF file, checked for its text).
#include <gtest/gtest.h>

#include <QPdfWriter>
#include <array>
#include <cstdio>

#include "GdiTestSupport.h"
#include "platform/gdi/GdiConsts.h"

namespace {

class GdiPlayer : public ::testing::Test {
 protected:
  void SetUp() override { EnsureGuiApplication(); }
};

TEST_F(GdiPlayer, LineLandsWhereItWasDrawn) {
  TEmfWriter w(100, 50);
  w.SelectObject(w.CreatePen(emf::PS_SOLID, 1, 0));
  w.Line(10, 20, 90, 20);
  QImage img = Draw(w.ToMetafile());
  EXPECT_TRUE(IsInkNear(img, 50, 20));
  EXPECT_TRUE(IsWhite(img, 50, 24));
  EXPECT_TRUE(IsWhite(img, 5, 20));
  EXPECT_TRUE(IsWhite(img, 95, 20));
}

struct TMappingCase {
  const char* Name;
  int32_t Mode, WindowExt, ViewportExt; // extents only for the scalable modes
  int32_t Left, Top, Right, Bottom;     // logical rectangle
  int InsideX, InsideY, OutsideX, OutsideY;
};

// A filled rectangle drawn in logical units lands on the device pixels its mapping mode says.
TEST_F(GdiPlayer, MappingModesScaleRectangles) {
  const TMappingCase cases[] = {
      {"text", MM_TEXT, 0, 0, 10, 10, 30, 30, 20, 20, 40, 40},
      {"anisotropic 10:1", MM_ANISOTROPIC, 1000, 100, 100, 100, 500, 500, 30, 30, 60, 60},
      {"isotropic", MM_ISOTROPIC, 1000, 100, 100, 100, 500, 500, 30, 30, 60, 60},
      // 96 dpi page: one tenth of a millimetre is 0.378 px, y grows upwards.
      {"lometric", MM_LOMETRIC, 0, 0, 100, -100, 500, -500, 100, 100, 30, 30},
      {"himetric", MM_HIMETRIC, 0, 0, 1000, -1000, 5000, -5000, 100, 100, 30, 30},
  };
  for (const TMappingCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TEmfWriter w(300, 300);
    w.SetMapMode(c.Mode);
    if (c.WindowExt) {
      w.SetWindowExt(c.WindowExt, c.WindowExt);
      w.SetViewportExt(c.ViewportExt, c.ViewportExt);
    }
    w.SelectObject(emf::STOCK_OBJECT | emf::NULL_PEN);
    w.SelectObject(emf::STOCK_OBJECT | emf::BLACK_BRUSH);
    w.Rectangle(c.Left, c.Top, c.Right, c.Bottom);
    QImage img = Draw(w.ToMetafile());
    EXPECT_TRUE(IsInk(img, c.InsideX, c.InsideY));
    EXPECT_TRUE(IsWhite(img, c.OutsideX, c.OutsideY));
  }
}

TEST_F(GdiPlayer, WorldTransformScalesAndIdentityRestores) {
  TEmfWriter w(200, 200);
  w.SelectObject(emf::STOCK_OBJECT | emf::NULL_PEN);
  w.SelectObject(emf::STOCK_OBJECT | emf::BLACK_BRUSH);
  TMetafile mf = WithRecords(
      w, {Record(TEmfRecordBuilder(EMR_SETWORLDTRANSFORM).F32(2).F32(0).F32(0).F32(2).F32(0).F32(0)),
          Record(std::move(TEmfRecordBuilder(EMR_RECTANGLE).Rect(10, 10, 40, 40))),
          Record(TEmfRecordBuilder(EMR_MODIFYWORLDTRANSFORM).Zeros(24).U32(MWT_IDENTITY)),
          Record(std::move(TEmfRecordBuilder(EMR_RECTANGLE).Rect(150, 150, 160, 160)))});
  QImage img = Draw(mf);
  EXPECT_TRUE(IsInk(img, 70, 70)); // inside (20,20)-(80,80)
  EXPECT_TRUE(IsWhite(img, 90, 90));
  EXPECT_TRUE(IsInk(img, 155, 155)); // drawn after the identity came back
  EXPECT_TRUE(IsWhite(img, 165, 165));
}

TEST_F(GdiPlayer, ClippedTextIsAbsentOutsideItsClip) {
  TEmfWriter w(300, 80);
  w.SelectObject(w.CreateFont({.Face = "Arial", .Height = -40}));
  w.SetBkMode(emf::TRANSPARENT);
  w.IntersectClipRect(0, 0, 100, 80);
  w.TextOut(10, 10, "WWWWWWWWWW");
  QImage img = Draw(w.ToMetafile());
  EXPECT_GT(InkInColumns(img, 10, 100), 100);
  EXPECT_EQ(InkInColumns(img, 102, 300), 0);
}

TEST_F(GdiPlayer, OpaqueBackgroundFillsTheTextCell) {
  for (int32_t mode : {emf::OPAQUE, emf::TRANSPARENT}) {
    SCOPED_TRACE(mode);
    TEmfWriter w(200, 60);
    w.SelectObject(w.CreateFont({.Face = "Arial", .Height = -30}));
    w.SetBkMode(mode);
    w.SetBkColor(0x0000FF); // red
    w.TextOut(10, 10, "i i");
    QImage img = Draw(w.ToMetafile());
    // Between the two letters there is no glyph: only the background shows there.
    bool red = img.pixel(22, 25) == qRgb(255, 0, 0);
    EXPECT_EQ(red, mode == emf::OPAQUE);
  }
}

TEST_F(GdiPlayer, TextAlignmentPlacesTheReferencePoint) {
  struct {
    uint32_t Align;
    int InkFrom, InkTo; // columns where the text must be
  } cases[] = {{0, 100, 190}, {TA_RIGHT, 10, 100}, {TA_CENTER, 55, 145}};
  for (auto c : cases) {
    SCOPED_TRACE(c.Align);
    TEmfWriter w(200, 60);
    w.SelectObject(w.CreateFont({.Face = "Arial", .Height = -30}));
    w.SetBkMode(emf::TRANSPARENT);
    w.SetTextAlign(c.Align);
    w.TextOut(100, 10, "HHHH");
    QImage img = Draw(w.ToMetafile());
    EXPECT_GT(InkInColumns(img, c.InkFrom, c.InkTo), 50);
    EXPECT_EQ(InkInColumns(img, 0, c.InkFrom - 2) + InkInColumns(img, c.InkTo + 2, 200), 0);
  }
}

// Writes the world transform record (eM11, eM12, eM21, eM22, eDx, eDy).
void SetWorldTransform(TEmfWriter& w, std::array<float, 6> m) {
  w.RawRecord(EMR_SETWORLDTRANSFORM, std::span(reinterpret_cast<const uint8_t*>(m.data()), sizeof m));
}

// Text flattened by the world transform into a long thin strip is filled as outlines and still lands
// where the transform puts it.
TEST_F(GdiPlayer, TextSqueezedFlatLandsWhereTheTransformPutsIt) {
  TEmfWriter w(1000, 60);
  w.SelectObject(w.CreateFont({.Face = "Arial", .Height = -30}));
  w.SetBkMode(emf::TRANSPARENT);
  SetWorldTransform(w, {20, 0, 0, 0.2f, 0, 0}); // 60-pixel glyphs, ten times wider and ten times flatter
  w.TextOut(0, 100, "HH");
  QImage img = Draw(w.ToMetafile());
  int ink = 0, stray = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      (y >= 19 && y <= 30 ? ink : stray) += IsInk(img, x, y);
  EXPECT_GT(ink, 300);
  EXPECT_EQ(stray, 0);
  EXPECT_GT(InkInColumns(img, 500, 1000), 50); // the second letter, far to the right
}

// Glyphs stretched beyond what the rasteriser can take neither crash nor stop the page.
TEST_F(GdiPlayer, TextStretchedBeyondTheRasteriserKeepsThePagePlaying) {
  const std::array<float, 6> transforms[] = {
      {1, 0, 3000, 1, 0, 0}, {1, 0, 1e6f, 1, 0, 0}, {1e6f, 0, 0, 1e-6f, 0, 0}, {1e-6f, 0, 0, 1e6f, 0, 0}};
  for (const auto& m : transforms) {
    SCOPED_TRACE(m[0] * m[2]);
    TEmfWriter w(100, 100);
    w.SelectObject(w.CreateFont({.Face = "Arial", .Height = -10}));
    w.SelectObject(emf::STOCK_OBJECT | emf::NULL_PEN);
    w.SelectObject(emf::STOCK_OBJECT | emf::BLACK_BRUSH);
    w.SaveDC();
    SetWorldTransform(w, m);
    w.TextOut(0, 0, "HHHH Wg");
    w.RestoreDC();
    w.Rectangle(60, 60, 90, 90);
    QImage img = Draw(w.ToMetafile());
    EXPECT_TRUE(IsInk(img, 75, 75));
  }
}

// On a PDF device glyphs stay text however large or squeezed they are: only image painters need outlines.
TEST_F(GdiPlayer, TextOnAPdfDeviceStaysText) {
  const std::string path = std::string(ZVP_TEST_OUTPUT_DIR) + "/gdi-text-on-pdf.pdf";
  {
    TEmfWriter w(800, 400);
    w.SelectObject(w.CreateFont({.Face = "Arial", .Height = -100})); // 1250 device pixels at 1200 dpi
    w.SetBkMode(emf::TRANSPARENT);
    w.TextOut(10, 10, "Zażółć");
    w.SelectObject(w.CreateFont({.Face = "Arial", .Height = -20}));
    SetWorldTransform(w, {4, 0, 0, 0.25f, 0, 0}); // 250-pixel glyphs four times wider, four times flatter
    w.TextOut(0, 1000, "Gęślą");
    QPdfWriter pdf(QString::fromStdString(path));
    pdf.setResolution(1200);
    QPainter painter(&pdf);
    StretchDrawMetafile(painter, TEmfRect{0, 0, 8000, 4000}, w.ToMetafile());
  }
  std::string text;
  if (FILE* pipe = popen(("pdftotext '" + path + "' - 2>&1").c_str(), "r")) {
    char buffer[4096];
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe))
      text.append(buffer, n);
    pclose(pipe);
  }
  // Widely spaced glyphs come out of the extraction with blanks between them.
  std::erase(text, ' ');
  EXPECT_NE(text.find("Zażółć"), std::string::npos) << text;
  EXPECT_NE(text.find("Gęślą"), std::string::npos) << text;
}

// Glyph indexes the font does not have draw nothing; a real one next to them is still drawn.
TEST_F(GdiPlayer, GlyphIndexesBeyondTheFontDrawNothing) {
  TEmfWriter w(200, 60);
  w.SelectObject(w.CreateFont({.Face = "Arial", .Height = -30}));
  w.SetBkMode(emf::TRANSPARENT);
  const char16_t missing[] = {0xFFFF, 0xFFFE, 0x7FFF};
  w.ExtTextOut(10, 10, ETO_GLYPH_INDEX, nullptr, std::u16string_view(missing, 3));
  const char16_t h[] = {43}; // "H" in the regular sans face
  w.ExtTextOut(150, 10, ETO_GLYPH_INDEX, nullptr, std::u16string_view(h, 1));
  QImage img = Draw(w.ToMetafile());
  EXPECT_EQ(InkInColumns(img, 0, 140), 0);
  EXPECT_GT(InkInColumns(img, 150, 200), 20);
}

TEST_F(GdiPlayer, RasterOperationInvertsWhatIsBelow) {
  TEmfWriter w(100, 50);
  w.SelectObject(emf::STOCK_OBJECT | emf::NULL_PEN);
  w.SelectObject(emf::STOCK_OBJECT | emf::BLACK_BRUSH);
  w.Rectangle(0, 0, 50, 50);
  TMetafile mf = WithRecords(w, {Record(std::move(TEmfRecordBuilder(EMR_SETROP2).U32(R2_NOT))),
                                 Record(std::move(TEmfRecordBuilder(EMR_RECTANGLE).Rect(25, 10, 75, 40)))});
  QImage img = Draw(mf);
  EXPECT_TRUE(IsWhite(img, 35, 25)); // black turned white
  EXPECT_TRUE(IsInk(img, 65, 25));   // white turned black
  EXPECT_TRUE(IsInk(img, 10, 25));   // outside: untouched black
  EXPECT_TRUE(IsWhite(img, 90, 25)); // outside: untouched white
}

TEST_F(GdiPlayer, RestoreDcBringsBackRelativeLevels) {
  TEmfWriter w(100, 50);
  w.SelectObject(emf::STOCK_OBJECT | emf::NULL_PEN);
  w.SelectObject(emf::STOCK_OBJECT | emf::BLACK_BRUSH);
  w.SaveDC();
  w.SelectObject(emf::STOCK_OBJECT | emf::NULL_BRUSH);
  w.SaveDC();
  w.RestoreDC(-2); // back to the black brush
  w.Rectangle(10, 10, 40, 40);
  QImage img = Draw(w.ToMetafile());
  EXPECT_TRUE(IsInk(img, 25, 25));
}

// A record that claims more points than it holds is skipped; the records after it are drawn.
TEST_F(GdiPlayer, MalformedRecordIsSkippedAndReported) {
  TEmfWriter w(100, 50);
  w.SelectObject(emf::STOCK_OBJECT | emf::NULL_PEN);
  w.SelectObject(emf::STOCK_OBJECT | emf::BLACK_BRUSH);
  TMetafile mf = WithRecords(
      w, {Record(std::move(TEmfRecordBuilder(EMR_POLYGON).Rect(0, 0, 10, 10).U32(1000000).I32(1).I32(1))),
          Record(std::move(TEmfRecordBuilder(EMR_SELECTOBJECT).U32(77))),
          Record(std::move(TEmfRecordBuilder(EMR_RECTANGLE).Rect(10, 10, 40, 40)))});
  QImage img(100, 50, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter painter(&img);
  TGdiDC dc(painter);
  std::vector<uint32_t> errors;
  EXPECT_TRUE(EnumEnhMetaFile(
      dc, mf,
      [&](TGdiDC& d, THandleTable& t, const TEmfRecord& r, int n, void*) {
        if (!PlayEnhMetaFileRecord(d, t, r, static_cast<unsigned>(n))) errors.push_back(GetLastError());
        return 1;
      },
      nullptr, TEmfRect{0, 0, 99, 49}));
  painter.end();
  EXPECT_EQ(errors, (std::vector<uint32_t>{ERROR_INVALID_DATA, ERROR_INVALID_HANDLE}));
  EXPECT_TRUE(IsInk(img, 25, 25));
  EXPECT_FALSE(PlayEnhMetaFile(dc, mf, TEmfRect{0, 0, 99, 49}));
}

TEST_F(GdiPlayer, EnumerationStopsWhenTheCallbackSaysSo) {
  TEmfWriter w(100, 50);
  w.Line(0, 0, 10, 10);
  TMetafile mf = w.ToMetafile();
  QImage img(10, 10, QImage::Format_RGB32);
  QPainter painter(&img);
  TGdiDC dc(painter);
  int calls = 0;
  EXPECT_FALSE(EnumEnhMetaFile(
      dc, mf, [&](TGdiDC&, THandleTable&, const TEmfRecord&, int, void*) { return ++calls < 2 ? 1 : 0; },
      nullptr, TEmfRect{0, 0, 9, 9}));
  EXPECT_EQ(calls, 2);
}

} // namespace
