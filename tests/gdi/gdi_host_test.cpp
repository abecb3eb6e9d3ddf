// The host entry points as the printing and preview code use them: device capabilities, plain text
// output, playback mapped onto a rectangle, stretch-drawing into a canvas rectangle.
#include <gtest/gtest.h>

#include "GdiTestSupport.h"
#include "platform/gdi/GdiConsts.h"
#include "platform/gdi/TextOut.h"
#include "platform/rtl/MathUtil.h"

namespace {

class GdiHost : public ::testing::Test {
 protected:
  void SetUp() override { EnsureGuiApplication(); }
};

// A page as wide as the whole frame, filled black, so the mapped area is where the ink is.
TMetafile FilledPage(int32_t width, int32_t height) {
  TEmfWriter w(width, height);
  w.SelectObject(emf::STOCK_OBJECT | emf::NULL_PEN);
  w.SelectObject(emf::STOCK_OBJECT | emf::BLACK_BRUSH);
  w.Rectangle(0, 0, width, height);
  return w.ToMetafile();
}

TEST_F(GdiHost, DeviceCapsDescribeThePaintDevice) {
  QImage img(640, 480, QImage::Format_RGB32);
  img.setDotsPerMeterX(11811); // 300 dpi
  img.setDotsPerMeterY(11811);
  QPainter painter(&img);
  TGdiDC dc(painter);
  EXPECT_EQ(dc.GetDeviceCaps(HORZRES), 640);
  EXPECT_EQ(dc.GetDeviceCaps(VERTRES), 480);
  EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSX), 300);
  EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSY), 300);
}

// A page half as high as wide printed across 4800 device pixels covers (0, 0) - (4800, 2400).
TEST_F(GdiHost, PageMappedOntoThePrintableWidth) {
  TMetafile page = FilledPage(800, 400);
  int w = 4800, h = MulDiv(page.Height(), w, page.Width());
  ASSERT_EQ(h, 2400);
  QImage img(4802, 2402, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter painter(&img);
  TGdiDC dc(painter);
  EXPECT_TRUE(PlayEnhMetaFile(dc, page, TEmfRect{0, 0, w, h}));
  painter.end();
  EXPECT_TRUE(IsInk(img, 0, 0));
  EXPECT_TRUE(IsInk(img, 4799, 2399));
  EXPECT_TRUE(IsWhite(img, 4801, 1000));
  EXPECT_TRUE(IsWhite(img, 1000, 2401));
}

TEST_F(GdiHost, StretchDrawFillsTheRectangleWithoutItsRightAndBottomEdge) {
  TMetafile page = FilledPage(100, 50);
  QImage img(200, 100, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter painter(&img);
  painter.setRenderHint(QPainter::Antialiasing, false);
  EXPECT_TRUE(StretchDrawMetafile(painter, TEmfRect{20, 10, 120, 60}, page));
  painter.end();
  EXPECT_TRUE(IsInk(img, 20, 10));
  EXPECT_TRUE(IsInk(img, 118, 58));
  EXPECT_TRUE(IsWhite(img, 19, 30));
  EXPECT_TRUE(IsWhite(img, 60, 9));
  EXPECT_TRUE(IsWhite(img, 121, 30));
  EXPECT_TRUE(IsWhite(img, 60, 61));
}

// The painter's own transform and clip frame the playback (a preview scrolled and clipped to its page).
TEST_F(GdiHost, PlaybackKeepsThePaintersTransformAndClip) {
  TMetafile page = FilledPage(100, 50);
  QImage img(200, 100, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter painter(&img);
  painter.translate(50, 20);
  painter.setClipRect(QRect(0, 0, 60, 100));
  EXPECT_TRUE(StretchDrawMetafile(painter, TEmfRect{0, 0, 100, 50}, page));
  painter.end();
  EXPECT_TRUE(IsInk(img, 55, 25));
  EXPECT_TRUE(IsInk(img, 105, 65));
  EXPECT_TRUE(IsWhite(img, 45, 25));  // left of the translated page
  EXPECT_TRUE(IsWhite(img, 115, 40)); // right of the clip
  EXPECT_TRUE(IsWhite(img, 60, 15));  // above the page
}

TEST_F(GdiHost, TextOutDrawsAtTheLogicalPointInBothEncodings) {
  QImage img(300, 100, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter painter(&img);
  TGdiDC dc(painter);
  dc.State().BkMode = TRANSPARENT;
  EXPECT_TRUE(dc.TextOutA(10, 10, "Text", 4));
  const char16_t wide[] = u"Zażółć";
  EXPECT_TRUE(dc.TextOutW(150, 10, wide, 6));
  EXPECT_FALSE(dc.TextOutW(0, 0, nullptr, 3));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  painter.end();
  EXPECT_GT(InkInColumns(img, 10, 60), 10);
  EXPECT_GT(InkInColumns(img, 150, 210), 10);
  EXPECT_EQ(InkInColumns(img, 80, 140), 0);
}

TEST_F(GdiHost, AnsiTextIsDecodedInTheCodePageOfTheCharacterSet) {
  EXPECT_EQ(DecodeAnsiText("\xB9\xE6", 2, 238), QString::fromUtf8("ąć")); // Central European
  EXPECT_EQ(DecodeAnsiText("\x80", 1, 0), QString::fromUtf8("€"));        // Western
  EXPECT_EQ(DecodeAnsiText("\xC6", 1, 204), QString::fromUtf8("Ж"));      // Cyrillic
  // Shift-JIS with a stray byte: only that byte is lost.
  EXPECT_EQ(DecodeAnsiText("\x93\xFA\xFF\x96\x7B", 5, 128), QString::fromUtf8("日\uFFFD本"));
}

} // namespace
