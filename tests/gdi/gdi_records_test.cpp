// Paths, clip regions, bitmaps (uncompressed and PNG) and gradients played from small metafiles.
#include <gtest/gtest.h>

#include <QBuffer>
#include <array>

#include "GdiTestSupport.h"
#include "platform/gdi/GdiConsts.h"

namespace {

class GdiRecords : public ::testing::Test {
 protected:
  void SetUp() override { EnsureGuiApplication(); }
};

TEmfWriter BlackFillWriter(int32_t w, int32_t h) {
  TEmfWriter writer(w, h);
  writer.SelectObject(emf::STOCK_OBJECT | emf::NULL_PEN);
  writer.SelectObject(emf::STOCK_OBJECT | emf::BLACK_BRUSH);
  return writer;
}

std::vector<uint8_t> Point(uint32_t type, int32_t x, int32_t y) {
  return Record(std::move(TEmfRecordBuilder(type).I32(x).I32(y)));
}
std::vector<uint8_t> Bare(uint32_t type) {
  return Record(TEmfRecordBuilder(type));
}
std::vector<uint8_t> WithBounds(uint32_t type) {
  return Record(std::move(TEmfRecordBuilder(type).Rect(0, 0, 0, 0)));
}

// A region record's RGNDATA: header and rectangles.
void AddRegion(TEmfRecordBuilder& b, const std::vector<TEmfRect>& rects) {
  b.U32(32).U32(1).U32(static_cast<uint32_t>(rects.size())).U32(static_cast<uint32_t>(rects.size() * 16));
  b.Rect(0, 0, 100, 100);
  for (const TEmfRect& r : rects)
    b.Rect(r.left, r.top, r.right, r.bottom);
}

std::vector<uint8_t> SelectClipRegion(uint32_t mode, const std::vector<TEmfRect>& rects) {
  TEmfRecordBuilder b(EMR_EXTSELECTCLIPRGN);
  b.U32(rects.empty() ? 0 : static_cast<uint32_t>(32 + 16 * rects.size())).U32(mode);
  if (!rects.empty()) AddRegion(b, rects);
  return Record(std::move(b));
}

TEST_F(GdiRecords, FilledPathCoversItsFigureOnly) {
  TEmfWriter w = BlackFillWriter(100, 100);
  TMetafile mf = WithRecords(w, {Bare(EMR_BEGINPATH), Point(EMR_MOVETOEX, 10, 10), Point(EMR_LINETO, 90, 10),
                                 Point(EMR_LINETO, 10, 90), Bare(EMR_CLOSEFIGURE), Bare(EMR_ENDPATH),
                                 WithBounds(EMR_FILLPATH)});
  QImage img = Draw(mf);
  EXPECT_TRUE(IsInk(img, 25, 25));
  EXPECT_TRUE(IsWhite(img, 75, 75)); // beyond the diagonal
}

TEST_F(GdiRecords, ClipPathLimitsLaterDrawing) {
  TEmfWriter w = BlackFillWriter(100, 100);
  TMetafile mf = WithRecords(w, {Bare(EMR_BEGINPATH), Point(EMR_MOVETOEX, 0, 0), Point(EMR_LINETO, 50, 0),
                                 Point(EMR_LINETO, 50, 100), Point(EMR_LINETO, 0, 100), Bare(EMR_CLOSEFIGURE),
                                 Bare(EMR_ENDPATH),
                                 Record(std::move(TEmfRecordBuilder(EMR_SELECTCLIPPATH).U32(RGN_COPY))),
                                 Record(std::move(TEmfRecordBuilder(EMR_RECTANGLE).Rect(10, 10, 90, 90)))});
  QImage img = Draw(mf);
  EXPECT_TRUE(IsInk(img, 30, 50));
  EXPECT_TRUE(IsWhite(img, 70, 50));
}

// Clip regions are in device pixels and combine with the clip already set; an empty copy removes it.
TEST_F(GdiRecords, ClipRegionModesCombine) {
  struct TCase {
    const char* Name;
    uint32_t Mode;
    bool InFirst, InSecond, InBoth, Outside; // ink expected in each area
  } cases[] = {
      {"and", RGN_AND, false, false, true, false},  {"or", RGN_OR, true, true, true, false},
      {"xor", RGN_XOR, true, true, false, false},   {"diff", RGN_DIFF, true, false, false, false},
      {"copy", RGN_COPY, false, true, true, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TEmfWriter w = BlackFillWriter(100, 100);
    // First region: x 0..60, second: x 40..100 (both full height); overlap 40..60.
    TMetafile mf = WithRecords(
        w, {SelectClipRegion(RGN_COPY, {{0, 0, 60, 100}}), SelectClipRegion(c.Mode, {{40, 0, 100, 100}}),
            Record(std::move(TEmfRecordBuilder(EMR_RECTANGLE).Rect(0, 0, 100, 50))),
            SelectClipRegion(RGN_COPY, {}),
            Record(std::move(TEmfRecordBuilder(EMR_RECTANGLE).Rect(0, 90, 100, 100)))});
    QImage img = Draw(mf);
    EXPECT_EQ(IsInk(img, 20, 25), c.InFirst);
    EXPECT_EQ(IsInk(img, 80, 25), c.InSecond);
    EXPECT_EQ(IsInk(img, 50, 25), c.InBoth);
    EXPECT_EQ(IsInk(img, 50, 70), c.Outside);
    EXPECT_TRUE(IsInk(img, 95, 95)); // drawn after the clip was removed
  }
}

TEST_F(GdiRecords, MonochromeBitmapShowsItsPaletteColours) {
  TEmfWriter w(40, 40);
  // 2 x 2 checkerboard: 0 red, 1 blue (COLORREF 0x00BBGGRR).
  w.StretchDIBits(0, 0, 40, 40, TEmfDib::Mono(2, 2, {0, 1, 1, 0}, 0x0000FF, 0xFF0000));
  QImage img = Draw(w.ToMetafile());
  EXPECT_EQ(img.pixel(10, 10), qRgb(255, 0, 0));
  EXPECT_EQ(img.pixel(30, 10), qRgb(0, 0, 255));
  EXPECT_EQ(img.pixel(10, 30), qRgb(0, 0, 255));
  EXPECT_EQ(img.pixel(30, 30), qRgb(255, 0, 0));
}

TEST_F(GdiRecords, BitmapWithShortBitsIsNotDrawn) {
  TEmfWriter w(40, 40);
  w.StretchDIBits(0, 0, 40, 40, TEmfDib::Rgb24(4, 4, std::vector<uint32_t>(16, 0)));
  std::vector<uint8_t> bytes = w.Finish();
  // Claim a taller bitmap than the bits hold: biHeight of the record's BITMAPINFOHEADER.
  ByteView view(bytes.data(), bytes.size());
  size_t at = 0;
  while (view.U32(at) != EMR_STRETCHDIBITS)
    at += view.U32(at + 4);
  uint32_t offBmi = view.U32(at + 48);
  int32_t tall = 400;
  std::memcpy(bytes.data() + at + offBmi + 8, &tall, 4);
  TMetafile mf;
  mf.LoadFromBytes(bytes);
  QImage img = Draw(mf);
  EXPECT_TRUE(IsWhite(img, 20, 20));
}

} // namespace

namespace {

// GRADIENTFILL with two vertices (a horizontal rectangle) or three (a triangle): colours follow the
// vertices.
std::vector<uint8_t> Gradient(uint32_t mode, const std::vector<std::array<int32_t, 5>>& vertices,
                              const std::vector<uint32_t>& indices) {
  TEmfRecordBuilder b(EMR_GRADIENTFILL);
  b.Rect(0, 0, 100, 100).U32(static_cast<uint32_t>(vertices.size()));
  b.U32(1).U32(mode); // one rectangle or one triangle
  for (const auto& v : vertices)
    b.I32(v[0])
        .I32(v[1])
        .U16(static_cast<uint16_t>(v[2] << 8))
        .U16(static_cast<uint16_t>(v[3] << 8))
        .U16(static_cast<uint16_t>(v[4] << 8))
        .U16(0);
  for (uint32_t i : indices)
    b.U32(i);
  return Record(std::move(b));
}

TEST_F(GdiRecords, GradientFillsFollowTheirVertexColours) {
  TEmfWriter w(100, 100);
  TMetafile mf = WithRecords(
      w, {Gradient(0, {{0, 0, 255, 0, 0}, {100, 50, 0, 0, 255}}, {0, 1}),
          Gradient(2, {{0, 50, 0, 255, 0}, {100, 50, 0, 255, 0}, {50, 100, 0, 0, 0}}, {0, 1, 2})});
  QImage img = Draw(mf);
  EXPECT_GT(qRed(img.pixel(5, 25)), 220);   // left end of the red-to-blue band
  EXPECT_GT(qBlue(img.pixel(95, 25)), 220); // right end
  EXPECT_NEAR(qRed(img.pixel(50, 25)), 128, 20);
  EXPECT_GT(qGreen(img.pixel(50, 53)), 200); // near the green edge of the triangle
  EXPECT_LT(qGreen(img.pixel(50, 96)), 60);  // near its black corner
  EXPECT_TRUE(IsWhite(img, 5, 95));          // outside both
}

} // namespace

namespace {

// STRETCHDIBITS whose bits are a PNG file (the header says BI_PNG), stretched over (0, 0) - (40, 40).
std::vector<uint8_t> PngStretch(const QByteArray& png, int32_t width, int32_t height) {
  TEmfRecordBuilder b(EMR_STRETCHDIBITS);
  const uint32_t offBmi = 80, cbBmi = 40, offBits = offBmi + cbBmi;
  b.Rect(0, 0, 40, 40).I32(0).I32(0).I32(0).I32(0).I32(width).I32(height);
  b.U32(offBmi).U32(cbBmi).U32(offBits).U32(static_cast<uint32_t>(png.size()));
  b.U32(0).U32(0x00CC0020).I32(40).I32(40); // DIB_RGB_COLORS, SRCCOPY, destination extents
  b.U32(40).I32(width).I32(height).U16(1).U16(0).U32(5 /* BI_PNG */).U32(static_cast<uint32_t>(png.size()));
  b.Zeros(16);
  b.Raw(png.constData(), static_cast<size_t>(png.size()));
  return Record(std::move(b));
}

TEST_F(GdiRecords, PngBitmapsAreDrawnAndBrokenOnesSkipped) {
  QImage source(2, 2, QImage::Format_RGB32);
  source.fill(qRgb(0, 128, 0));
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  source.save(&buffer, "PNG");
  for (bool broken : {false, true}) {
    SCOPED_TRACE(broken);
    TEmfWriter w(40, 40);
    TMetafile mf = WithRecords(w, {PngStretch(broken ? png.left(png.size() / 2) : png, 2, 2)});
    QImage img = Draw(mf);
    EXPECT_EQ(img.pixel(20, 20), broken ? qRgb(255, 255, 255) : qRgb(0, 128, 0));
  }
}

} // namespace
