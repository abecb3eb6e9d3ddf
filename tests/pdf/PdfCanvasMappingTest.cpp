// The logical-to-PDF coordinate mapping of the canvas.
#include <gtest/gtest.h>

#include "PdfTestSupport.h"
#include "pdf/PdfDocument.h"

namespace {

struct MappingFixture : ::testing::Test {
  MappingFixture() {
    doc.SetCompressionMethod(cmNone);
    doc.SetDefaultPageWidth(600);
    doc.SetDefaultPageHeight(800);
    doc.AddPage();
    c = doc.Canvas();
    c->FWorldFactorX = c->FWorldFactorY = 1;
    c->FWinSize = {1, 1};
    c->FViewSize = {1, 1};
  }
  TPdfDocumentGDI doc;
  TPdfCanvas* c;
};

TEST_F(MappingFixture, IdentityFlipsY) {
  EXPECT_FLOAT_EQ(c->ToPdfX(100), 100);
  EXPECT_FLOAT_EQ(c->ToPdfY(100), 700);
  EXPECT_FLOAT_EQ(c->ToPdfY(0), 800);
}

TEST_F(MappingFixture, WindowAndViewportExtentsAndOrigins) {
  // Window 0..1000 onto viewport 0..500, origins moved: x' = (x - 100) * 500 / 1000 + 20.
  c->FWinOrg = {100, 200};
  c->FWinSize = {1000, -2000};
  c->FViewOrg = {20, 10};
  c->FViewSize = {500, 1000};
  struct {
    double Logical;
    float MappedX, MappedY;
  } cases[] = {{100, 20, 60}, {1100, 520, -440}, {0, -30, 110}, {101, 20.5f, 59.5f}};
  for (const auto& k : cases) {
    EXPECT_FLOAT_EQ(c->MapWindowX(k.Logical), k.MappedX) << k.Logical;
    EXPECT_FLOAT_EQ(c->MapWindowY(k.Logical), k.MappedY) << k.Logical;
  }
}

TEST_F(MappingFixture, WorldScaleOffsetDeviceScaleAndPictureOffset) {
  c->FWorldFactorX = 2;
  c->FWorldFactorY = 0.5f;
  c->FWorldOffsetX = 10;
  c->FWorldOffsetY = -4;
  c->FDevScale = 0.75f;
  c->FOffsetXDef = 5;
  c->FOffsetYDef = 7;
  // x: (2 * 100 + 10) * 0.75 + 5; y: 800 - 7 - (0.5 * 100 - 4) * 0.75.
  EXPECT_FLOAT_EQ(c->ToPdfX(100), 162.5f);
  EXPECT_FLOAT_EQ(c->ToPdfY(100), 758.5f);
}

TEST_F(MappingFixture, ZeroWindowExtentLeavesTheAxisUnscaled) {
  c->FWinSize = {0, 0};
  c->FViewSize = {300, 300};
  EXPECT_FLOAT_EQ(c->MapWindowX(40), 40);
  EXPECT_FLOAT_EQ(c->MapWindowY(-40), -40);
}

TEST_F(MappingFixture, RectanglesAndSortedEdges) {
  TPdfRect unsorted = c->RectToPdf({10, 20, 110, 70}, false);
  EXPECT_FLOAT_EQ(unsorted.Top, 780);
  EXPECT_FLOAT_EQ(unsorted.Bottom, 730);
  TPdfRect sorted = c->RectToPdf({110, 20, 10, 70}, true);
  EXPECT_FLOAT_EQ(sorted.Left, 10);
  EXPECT_FLOAT_EQ(sorted.Right, 110);
  EXPECT_FLOAT_EQ(sorted.Top, 730); // the lower PDF edge
  EXPECT_FLOAT_EQ(sorted.Bottom, 780);
  TPdfIntRect r{5, 9, 1, 2};
  TPdfCanvas::SortRectEdges(r);
  EXPECT_EQ(r.Left, 1);
  EXPECT_EQ(r.Right, 5);
  EXPECT_EQ(r.Top, 2);
  EXPECT_EQ(r.Bottom, 9);
}

TEST_F(MappingFixture, LogicalPathOperators) {
  std::string before = c->Contents()->Writer().ToPDFString();
  c->MoveToLogical(10, 20);
  c->LineToLogical(10.5, 20.25);
  c->CurveToLogical(0, 0, 1, 1, 2, 2);
  c->RoundRectLogical(0, 0, 100, 50, 20, 10);
  std::string written = c->Contents()->Writer().ToPDFString().substr(before.size());
  // The upper corners bend downwards: a negative vertical corner size.
  EXPECT_EQ(written, "10 780 m\n10.5 779.75 l\n0 800 1 799 2 798 c\n"
                     "10 800 m\n90 800 l\n95.52 800 100 797.76 100 795 c\n100 755 l\n"
                     "100 752.24 95.52 750 90 750 c\n10 750 l\n4.48 750 0 752.24 0 755 c\n0 795 l\n"
                     "0 797.76 4.48 800 10 800 c\nh\n");
}

} // namespace
