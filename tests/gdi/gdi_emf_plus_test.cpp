// Pages drawn only with EMF+ records: the player draws their strings and shapes where the layer puts
// them, in their colours; a page that also draws with GDI records is drawn from those alone.
#include <gtest/gtest.h>

#include <cstring>

#include "../text/EmfPlusComment.h"
#include "GdiTestSupport.h"

namespace {

class GdiEmfPlus : public ::testing::Test {
 protected:
  void SetUp() override { EnsureGuiApplication(); }
};

// Inked pixels inside the rectangle [x0, x1) x [y0, y1).
int InkIn(const QImage& image, int x0, int y0, int x1, int y1) {
  int n = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x)
      n += qGray(image.pixel(x, y)) < 200;
  return n;
}

TEST_F(GdiEmfPlus, DrawsTheStringsOfAPageWithoutGdiDrawing) {
  TEmfWriter w(300, 200);
  TEmfPlusComment plus;
  plus.Header().Font(1, 30, emfplus::UnitPixel, u"Arial").String(1, u"HHHH", 20, 20);
  plus.Save(1).Rotate(90).Translate(250, 20).String(1, u"HHHH", 0, 0).Restore(1);
  plus.Into(w);
  const QImage img = Draw(w.ToMetafile());
  EXPECT_GT(InkIn(img, 20, 20, 120, 55), 400);   // across, below the rectangle's top
  EXPECT_GT(InkIn(img, 215, 20, 250, 120), 400); // turned a quarter clockwise, down from (250, 20)
  EXPECT_EQ(InkIn(img, 0, 120, 200, 200), 0);
}

TEST_F(GdiEmfPlus, FillsAndStrokesShapesInTheirColours) {
  TEmfWriter w(300, 200);
  TEmfPlusComment plus;
  plus.Header().FillRect(0xFF0000FF, 20, 20, 60, 40); // blue
  plus.Pen(3, 6, 0xFFFF0000).Lines(3, {{150, 30}, {280, 30}, {280, 150}});
  plus.FillRect(0x200000FF, 20, 120, 60, 40); // nearly transparent: left out
  plus.Into(w);
  const QImage img = Draw(w.ToMetafile());
  EXPECT_EQ(img.pixel(50, 40), qRgb(0, 0, 255));
  EXPECT_EQ(img.pixel(10, 40), qRgb(255, 255, 255));
  EXPECT_EQ(img.pixel(200, 30), qRgb(255, 0, 0)); // along the line, 6 pixels wide
  EXPECT_EQ(img.pixel(280, 100), qRgb(255, 0, 0));
  EXPECT_EQ(img.pixel(200, 40), qRgb(255, 255, 255));
  EXPECT_EQ(InkIn(img, 20, 120, 80, 160), 0);
}

TEST_F(GdiEmfPlus, ADamagedCommentIsReportedAndTheRestIsDrawn) {
  TEmfWriter w(300, 200);
  TEmfPlusComment broken;
  broken.Header().FillRect(0xFF0000FF, 20, 20, 60, 40);
  std::memcpy(broken.Bytes.data() + 8, "\xFF\xFF\x00\x00", 4); // the header claims more than the comment
  broken.Into(w);
  TEmfPlusComment next;
  next.FillRect(0xFF0000FF, 150, 20, 60, 40);
  next.Into(w);
  const TMetafile page = w.ToMetafile();
  QImage img(300, 200, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter painter(&img);
  EXPECT_FALSE(StretchDrawMetafile(painter, TEmfRect{0, 0, 300, 200}, page));
  EXPECT_NE(GetLastErrorMessage().find("EMF+"), std::string::npos) << GetLastErrorMessage();
  EXPECT_EQ(img.pixel(180, 40), qRgb(0, 0, 255));
}

TEST_F(GdiEmfPlus, APageWhoseRecordsBreakOffFailsWithoutThrowing) {
  TEmfWriter w(300, 200);
  TEmfPlusComment plus;
  plus.Header().FillRect(0xFF0000FF, 20, 20, 60, 40).Into(w);
  std::vector<uint8_t> bytes = w.Finish();
  const uint32_t comment = bytes[4] | bytes[5] << 8; // the record after the header
  bytes[comment + 4] = 0xF0;                         // now runs past the end of the page
  bytes[comment + 5] = 0xFF;
  TMetafile page;
  page.LoadFromBytes(bytes);
  QImage img(300, 200, QImage::Format_RGB32);
  QPainter painter(&img);
  bool played = true;
  EXPECT_NO_THROW(played = StretchDrawMetafile(painter, TEmfRect{0, 0, 300, 200}, page));
  EXPECT_FALSE(played);
}

TEST_F(GdiEmfPlus, APageWithGdiDrawingIgnoresItsEmfPlusLayer) {
  TEmfWriter w(300, 200);
  TEmfPlusComment plus;
  plus.Header().Font(1, 30, emfplus::UnitPixel, u"Arial").String(1, u"HHHH", 20, 120);
  plus.Into(w);
  w.Line(10, 10, 200, 10);
  const QImage img = Draw(w.ToMetafile());
  EXPECT_TRUE(IsInkNear(img, 100, 10));
  EXPECT_EQ(InkIn(img, 0, 100, 300, 200), 0);
}

} // namespace
