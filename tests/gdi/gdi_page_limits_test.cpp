// Banded rectangle regions, region records and what the player does with records over the page's limits:
// simplified or skipped, reported like a malformed record, the rest of the page drawn.
#include <gtest/gtest.h>

#include <QRegion>
#include <functional>
#include <random>

#include "GdiTestSupport.h"
#include "platform/gdi/BandedRegion.h"
#include "platform/gdi/GdiConsts.h"

namespace {

QRegion ToRegion(const std::vector<QRectF>& rects) {
  QRegion r;
  for (const QRectF& rect : rects)
    r += rect.toRect();
  return r;
}

std::vector<QRectF> RandomRects(std::mt19937& random, int count) {
  std::uniform_int_distribution<int> pos(0, 60), size(1, 25);
  std::vector<QRectF> rects;
  for (int i = 0; i < count; ++i)
    rects.emplace_back(pos(random), pos(random), size(random), size(random));
  return rects;
}

// Bands from top to bottom, intervals from left to right, none overlapping.
void ExpectBanded(const TBandedRegion& region) {
  const std::vector<QRectF>& r = region.Rects();
  for (size_t i = 1; i < r.size(); ++i) {
    bool sameBand = r[i].top() == r[i - 1].top() && r[i].bottom() == r[i - 1].bottom();
    if (sameBand)
      EXPECT_LT(r[i - 1].right(), r[i].left()) << i;
    else
      EXPECT_LE(r[i - 1].bottom(), r[i].top()) << i;
  }
}

TEST(BandedRegion, OperationsMatchQtRegions) {
  const struct {
    TBandedRegion::TOp Op;
    QRegion (QRegion::*Qt)(const QRegion&) const;
  } ops[] = {{TBandedRegion::And, &QRegion::intersected},
             {TBandedRegion::Or, &QRegion::united},
             {TBandedRegion::Xor, &QRegion::xored},
             {TBandedRegion::Diff, &QRegion::subtracted}};
  std::mt19937 random(7);
  for (int round = 0; round < 40; ++round) {
    std::vector<QRectF> a = RandomRects(random, 1 + round % 9);
    // Every other round the second operand is one rectangle, which takes the shorter way.
    std::vector<QRectF> b = RandomRects(random, round % 2 ? 1 : 1 + round % 7);
    std::optional<TBandedRegion> ra = TBandedRegion::Union(a, 1000), rb = TBandedRegion::Union(b, 1000);
    ASSERT_TRUE(ra && rb);
    EXPECT_EQ(ToRegion(ra->Rects()), ToRegion(a)) << round;
    ExpectBanded(*ra);
    for (const auto& op : ops) {
      std::optional<TBandedRegion> result = TBandedRegion::Combine(*ra, *rb, op.Op, 1000);
      ASSERT_TRUE(result);
      EXPECT_EQ(ToRegion(result->Rects()), (ToRegion(a).*op.Qt)(ToRegion(b))) << round << " op " << op.Op;
      ExpectBanded(*result);
    }
  }
}

TEST(BandedRegion, TouchingRectanglesMergeAndEmptyOnesAreIgnored) {
  std::vector<QRectF> rects{{0, 0, 10, 10}, {10, 0, 10, 10}, {0, 10, 20, 5}, {5, 5, 0, 30}};
  std::optional<TBandedRegion> r = TBandedRegion::Union(rects, 10);
  ASSERT_TRUE(r);
  ASSERT_EQ(r->Rects().size(), 1u);
  EXPECT_EQ(r->Rects().front(), QRectF(0, 0, 20, 15));
}

TEST(BandedRegion, CrossingBarsExceedTheLimitInsteadOfGrowing) {
  std::vector<QRectF> vertical, both;
  for (int i = 0; i < 3000; ++i) {
    vertical.emplace_back(2 * i, 0, 1, 6000);
    both.emplace_back(2 * i, 0, 1, 6000);
    both.emplace_back(0, 2 * i, 6000, 1);
  }
  EXPECT_FALSE(TBandedRegion::Union(both, 50'000));
  EXPECT_TRUE(TBandedRegion::Union(vertical, 50'000)); // one band
}

std::vector<uint8_t> Bare(uint32_t type) {
  return Record(TEmfRecordBuilder(type));
}

class GdiPageLimits : public ::testing::Test {
 protected:
  void SetUp() override { EnsureGuiApplication(); }

  // Plays the metafile under the limits; `played` tells whether every record played.
  QImage Play(const TMetafile& mf, const TPageLimits& limits, bool& played) {
    QImage image(mf.Width(), mf.Height(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    TGdiDC dc(painter);
    dc.SetLimits(limits);
    played = PlayEnhMetaFile(dc, mf, TEmfRect{0, 0, image.width() - 1, image.height() - 1});
    return image;
  }
};

std::vector<uint8_t> RegionRecord(uint32_t type, const std::vector<TEmfRect>& rects, uint32_t brush = 0,
                                  int32_t cx = 1, int32_t cy = 1) {
  TEmfRecordBuilder b(type);
  b.Rect(0, 0, 100, 100).U32(static_cast<uint32_t>(32 + 16 * rects.size()));
  if (type == EMR_FILLRGN || type == EMR_FRAMERGN) b.U32(brush);
  if (type == EMR_FRAMERGN) b.I32(cx).I32(cy);
  b.U32(32).U32(1).U32(static_cast<uint32_t>(rects.size())).U32(static_cast<uint32_t>(rects.size() * 16));
  b.Rect(0, 0, 100, 100);
  for (const TEmfRect& r : rects)
    b.Rect(r.left, r.top, r.right, r.bottom);
  return Record(std::move(b));
}

TEST_F(GdiPageLimits, FrameOfARegionHasItsWidthAcrossAndItsHeightDown) {
  TEmfWriter w(100, 100);
  // Two overlapping rectangles in no band order: an L-shaped region.
  TMetafile mf = WithRecords(w, {RegionRecord(EMR_FRAMERGN, {{20, 40, 80, 80}, {20, 20, 50, 80}},
                                              STOCK_OBJECT | BLACK_BRUSH, 4, 2)});
  QImage img = Draw(mf);
  for (QPoint ink :
       {QPoint(21, 30), QPoint(23, 30), QPoint(30, 20), QPoint(60, 40), QPoint(78, 60), QPoint(60, 78)})
    EXPECT_TRUE(IsInk(img, ink.x(), ink.y())) << ink.x() << "," << ink.y();
  for (QPoint white :
       {QPoint(25, 30), QPoint(30, 23), QPoint(60, 43), QPoint(73, 60), QPoint(60, 76), QPoint(10, 10)})
    EXPECT_TRUE(IsWhite(img, white.x(), white.y())) << white.x() << "," << white.y();
}

TEST_F(GdiPageLimits, RecordsOverTheLimitsAreSimplifiedOrSkippedAndReported) {
  TPageLimits limits = DefaultPageLimits();
  limits.RegionRects = 20;
  limits.DashSegments = 3;
  limits.PathEdges = 50;
  std::vector<TEmfRect> bars;
  for (int i = 0; i < 10; ++i) {
    bars.push_back({10 + 4 * i, 10, 12 + 4 * i, 50});
    bars.push_back({10, 10 + 4 * i, 50, 12 + 4 * i});
  }
  std::vector<TPointL> zigzag;
  for (int i = 0; i < 60; ++i)
    zigzag.push_back({55 + i / 2, i % 2 ? 60 : 95});
  const struct {
    const char* Name;
    std::function<void(TEmfWriter&)> Write;
    QPoint Ink, White; // what the simplified record leaves; (-1, -1): nothing to look at
    const char* Message;
  } cases[] = {
      {"region of crossing bars",
       [&](TEmfWriter& w) {
         std::vector<uint8_t> record = RegionRecord(EMR_PAINTRGN, bars);
         w.RawRecord(EMR_PAINTRGN, std::span(record).subspan(8));
       },
       QPoint(13, 13), QPoint(-1, -1), "region too complex, replaced by its bounding box"},
      {"dashed line",
       [](TEmfWriter& w) {
         w.SelectObject(w.CreatePen(PS_DOT, 0, 0));
         w.Line(5, 70, 50, 70);
       },
       QPoint(9, 70), QPoint(-1, -1), "more dashes than a page may draw at once, drawn solid"},
      {"zig-zag", [&](TEmfWriter& w) { w.Polyline(zigzag); }, QPoint(-1, -1), QPoint(70, 80),
       "path of more edges than a page may draw at once, not drawn"},
  };
  for (const auto& c : cases) {
    TEmfWriter w(100, 100);
    w.SelectObject(STOCK_OBJECT | BLACK_BRUSH);
    w.SetBkMode(TRANSPARENT);
    c.Write(w);
    w.SelectObject(STOCK_OBJECT | NULL_PEN);
    w.Rectangle(85, 5, 95, 15); // after the record: drawn all the same
    const TMetafile mf = w.ToMetafile();
    bool played = true;
    QImage img = Play(mf, limits, played);
    EXPECT_FALSE(played) << c.Name;
    EXPECT_NE(GetLastErrorMessage().find(c.Message), std::string::npos)
        << c.Name << ": " << GetLastErrorMessage();
    EXPECT_TRUE(IsInk(img, 90, 10)) << c.Name;
    if (c.Ink.x() >= 0) {
      EXPECT_TRUE(IsInkNear(img, c.Ink.x(), c.Ink.y())) << c.Name;
    }
    if (c.White.x() >= 0) {
      EXPECT_TRUE(IsWhite(img, c.White.x(), c.White.y())) << c.Name;
    }

    // Under the default limits the same page plays whole.
    Play(mf, DefaultPageLimits(), played);
    EXPECT_TRUE(played) << c.Name << ": " << GetLastErrorMessage();
  }
}

TEST_F(GdiPageLimits, ClipRestoredBySavedLevelsStillClips) {
  TEmfWriter w(100, 100);
  w.SelectObject(STOCK_OBJECT | BLACK_BRUSH);
  w.SelectObject(STOCK_OBJECT | NULL_PEN);
  std::vector<TEmfRect> squares{{10, 10, 30, 30}, {50, 50, 70, 70}};
  TEmfRecordBuilder clip(EMR_EXTSELECTCLIPRGN);
  clip.U32(32 + 16 * 2).U32(RGN_COPY).U32(32).U32(1).U32(2).U32(32).Rect(0, 0, 100, 100);
  for (const TEmfRect& r : squares)
    clip.Rect(r.left, r.top, r.right, r.bottom);
  std::vector<std::vector<uint8_t>> records{Record(std::move(clip))};
  for (int i = 0; i < 3; ++i) {
    records.push_back(Bare(EMR_SAVEDC));
    records.push_back(Record(std::move(TEmfRecordBuilder(EMR_EXCLUDECLIPRECT).Rect(0, 0, 100, 40))));
    records.push_back(Record(std::move(TEmfRecordBuilder(EMR_RECTANGLE).Rect(0, 0, 100, 100))));
    records.push_back(Record(std::move(TEmfRecordBuilder(EMR_RESTOREDC).I32(-1))));
    records.push_back(Record(std::move(TEmfRecordBuilder(EMR_RECTANGLE).Rect(0, 0, 40, 40))));
  }
  QImage img = Draw(WithRecords(w, records));
  EXPECT_TRUE(IsInk(img, 20, 20));
  EXPECT_TRUE(IsInk(img, 60, 60));
  EXPECT_TRUE(IsWhite(img, 40, 20));
  EXPECT_TRUE(IsWhite(img, 60, 35));
}

} // namespace
