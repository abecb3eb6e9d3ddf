// Stretching, mirroring, clipping and raster operations onto a known destination.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "DibBytes.h"
#include "platform/dib/DibMonochrome.h"
#include "platform/dib/DibStretch.h"

using namespace dib;

namespace {

constexpr uint32_t A = 0xFF0000A0, B = 0xFF0000B0, C = 0xFF0000C0, D = 0xFF0000D0, Z = 0xFF777777;

TRaster Make(int32_t width, int32_t height, std::vector<uint32_t> pixels) {
  TRaster raster;
  raster.Width = width, raster.Height = height, raster.Pixels = std::move(pixels);
  return raster;
}

TRaster Counting(int32_t width, int32_t height) {
  TRaster raster(width, height, 0);
  for (size_t i = 0; i < raster.Pixels.size(); ++i)
    raster.Pixels[i] = 0xFF000000u | static_cast<uint32_t>(i);
  return raster;
}

struct TStretchCase {
  std::string Name;
  TRaster Source;
  int32_t DestWidth, DestHeight;
  int32_t Dst[4], Src[4];
  std::vector<uint32_t> Expected;
  bool Clip = false;
  TDibRect ClipRect{};
};

const TRaster Abcd = Make(2, 2, {A, B, C, D});

std::vector<TStretchCase> StretchCases() {
  return {
      {"Identity", Abcd, 2, 2, {0, 0, 2, 2}, {0, 0, 2, 2}, {A, B, C, D}},
      {"DoubleUp", Abcd, 4, 4, {0, 0, 4, 4}, {0, 0, 2, 2}, {A, A, B, B, A, A, B, B, C, C, D, D, C, C, D, D}},
      {"HalveTakesCentres",
       Counting(4, 4),
       2,
       2,
       {0, 0, 2, 2},
       {0, 0, 4, 4},
       {0xFF000005, 0xFF000007, 0xFF00000D, 0xFF00000F}},
      {"ThreeToTwo", Counting(3, 1), 2, 1, {0, 0, 2, 1}, {0, 0, 3, 1}, {0xFF000000, 0xFF000002}},
      {"NegativeDestWidthMirrors", Abcd, 2, 2, {2, 0, -2, 2}, {0, 0, 2, 2}, {B, A, D, C}},
      {"NegativeSourceHeightMirrors", Abcd, 2, 2, {0, 0, 2, 2}, {0, 2, 2, -2}, {C, D, A, B}},
      {"BothNegativeKeepsOrientation", Abcd, 2, 2, {2, 0, -2, 2}, {2, 0, -2, 2}, {A, B, C, D}},
      {"SourcePartlyOutsideLeavesDest", Abcd, 2, 2, {0, 0, 2, 2}, {1, 1, 2, 2}, {D, Z, Z, Z}},
      {"DestPartlyOutside", Abcd, 2, 2, {-1, -1, 2, 2}, {0, 0, 2, 2}, {D, Z, Z, Z}},
      {"ClipRectangle", Abcd, 2, 2, {0, 0, 2, 2}, {0, 0, 2, 2}, {Z, B, Z, D}, true, {1, 0, 5, 5}},
      {"ZeroExtentDrawsNothing", Abcd, 2, 2, {0, 0, 0, 2}, {0, 0, 2, 2}, {Z, Z, Z, Z}},
      {"HugeExtentsStayBounded", Abcd, 2, 2, {0, 0, INT32_MAX, INT32_MAX}, {0, 0, 2, 2}, {A, A, A, A}},
      {"HugeNegativeSource",
       Abcd,
       2,
       2,
       {0, 0, 2, 2},
       {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX},
       {Z, Z, Z, Z}},
  };
}

class DibStretch : public testing::TestWithParam<TStretchCase> {};

TEST_P(DibStretch, PixelsMatch) {
  const TStretchCase& c = GetParam();
  TRaster dest(c.DestWidth, c.DestHeight, Z);
  StretchRasterOnto(dest, c.Dst[0], c.Dst[1], c.Dst[2], c.Dst[3], c.Source, c.Src[0], c.Src[1], c.Src[2],
                    c.Src[3], SRCCOPY, 0, c.Clip ? &c.ClipRect : nullptr);
  EXPECT_EQ(dest.Pixels, c.Expected);
}

INSTANTIATE_TEST_SUITE_P(Geometry, DibStretch, testing::ValuesIn(StretchCases()),
                         [](const testing::TestParamInfo<TStretchCase>& info) { return info.param.Name; });

// The source rectangle of StretchDIBits counts from the bottom of a bottom-up bitmap.
TEST(DibStretchBits, SourceOriginFollowsRowOrder) {
  // 2 x 2, 24 bits: stored rows are bottom (C, D) then top (A, B) for bottom-up.
  TBytes rows = TBytes().U8({0xC0, 0, 0, 0xD0, 0, 0, 0, 0, 0xA0, 0, 0, 0xB0, 0, 0, 0, 0});
  for (bool topDown : {false, true}) {
    TBytes bmi = InfoHeader(2, topDown ? -2 : 2, 24);
    TDibInfo info = ParseBitmapInfo(bmi.View());
    TRaster src = DecodePixels(info, rows.View());
    TRaster dest(2, 1, Z);
    StretchDibOnto(dest, 0, 0, 2, 1, info, src, 0, 0, 2, 1, SRCCOPY);
    // Row 0 of the bitmap's coordinates is the first stored row either way.
    EXPECT_EQ(dest.Pixels, (std::vector<uint32_t>{C, D})) << "top-down " << topDown;
  }
}

TEST(DibStretchBits, IndexedStretchCopiesIndices) {
  TIndexedRaster src{2, 1, {0xFF000000, 0xFFFFFFFF}, {0, 1}};
  TIndexedRaster dest{4, 1, src.Palette, {1, 1, 1, 1}};
  StretchIndexedOnto(dest, 4, 0, -4, 1, src, 0, 0, 2, 1);
  EXPECT_EQ(dest.Indices, (std::vector<uint8_t>{1, 1, 0, 0}));
}

TEST(DibStretchBits, BlitWithinOneRasterReadsThePixelsAsTheyWere) {
  TRaster raster = Make(3, 1, {A, B, C});
  StretchRasterOnto(raster, 1, 0, 2, 1, raster, 0, 0, 2, 1, SRCCOPY);
  EXPECT_EQ(raster.Pixels, (std::vector<uint32_t>{A, A, B}));
}

struct TRopCase {
  const char* Name;
  uint32_t Rop;
  uint32_t Expected; // from D, S, P below
};

constexpr uint32_t Dst = 0x3366CC, Src = 0x55AA0F, Pat = 0x0FF0F0, Rgb = 0xFFFFFF;

class DibRop : public testing::TestWithParam<TRopCase> {};

TEST_P(DibRop, CombinesKnownPixels) {
  TRaster dest(1, 1, 0xFF000000u | Dst);
  TRaster src(1, 1, 0xFF000000u | Src);
  StretchRasterOnto(dest, 0, 0, 1, 1, src, 0, 0, 1, 1, GetParam().Rop, Pat);
  EXPECT_EQ(dest.Pixels[0], 0xFF000000u | (GetParam().Expected & Rgb)) << std::hex << dest.Pixels[0];
}

INSTANTIATE_TEST_SUITE_P(
    Codes, DibRop,
    testing::Values(TRopCase{"SRCCOPY", SRCCOPY, Src}, TRopCase{"SRCAND", SRCAND, Src& Dst},
                    TRopCase{"SRCPAINT", SRCPAINT, Src | Dst}, TRopCase{"SRCINVERT", SRCINVERT, Src ^ Dst},
                    TRopCase{"SRCERASE", SRCERASE, Src & ~Dst}, TRopCase{"NOTSRCCOPY", NOTSRCCOPY, ~Src},
                    TRopCase{"NOTSRCERASE", NOTSRCERASE, ~(Src | Dst)},
                    TRopCase{"MERGECOPY", MERGECOPY, Pat& Src},
                    TRopCase{"MERGEPAINT", MERGEPAINT, ~Src | Dst}, TRopCase{"PATCOPY", PATCOPY, Pat},
                    TRopCase{"PATPAINT", PATPAINT, Pat | ~Src | Dst},
                    TRopCase{"PATINVERT", PATINVERT, Pat ^ Dst}, TRopCase{"DSTINVERT", DSTINVERT, ~Dst},
                    TRopCase{"BLACKNESS", BLACKNESS, 0}, TRopCase{"WHITENESS", WHITENESS, Rgb}),
    [](const testing::TestParamInfo<TRopCase>& info) { return std::string(info.param.Name); });

// Every truth table, checked on whole words of ones and zeros.
TEST(DibRopTable, EveryCodeFollowsItsTruthTable) {
  for (unsigned table = 0; table < 256; ++table)
    for (unsigned i = 0; i < 8; ++i) {
      uint32_t p = (i & 4) ? ~0u : 0, s = (i & 2) ? ~0u : 0, d = (i & 1) ? ~0u : 0;
      uint32_t expected = ((table >> i) & 1) ? ~0u : 0;
      ASSERT_EQ(ApplyRop3(static_cast<uint8_t>(table), d, s, p), expected) << table << " " << i;
    }
  EXPECT_TRUE(RopUsesSource(RopIndex(SRCAND)));
  EXPECT_FALSE(RopUsesSource(RopIndex(PATINVERT)));
}

TEST(DibRopTable, OperationsWithoutSourcePaintBeyondTheBitmap) {
  TRaster dest(3, 1, 0xFF000000u | Dst);
  StretchRasterOnto(dest, 0, 0, 3, 1, Abcd, 1, 0, 3, 1, PATCOPY, 0xFF123456);
  EXPECT_EQ(dest.Pixels, (std::vector<uint32_t>{0xFF123456, 0xFF123456, 0xFF123456}));
  StretchRasterOnto(dest, 0, 0, 3, 1, Abcd, 1, 0, 3, 1, SRCAND, 0);
  EXPECT_EQ(dest.Pixels, (std::vector<uint32_t>{0xFF000010, 0xFF123456, 0xFF123456}));
}

TEST(DibRopTable, SourceCopyKeepsAlphaOtherOperationsAreOpaque) {
  TRaster src(1, 1, 0x80102030);
  src.HasAlpha = true;
  TRaster dest(1, 1, 0xFFFFFFFF);
  StretchRasterOnto(dest, 0, 0, 1, 1, src, 0, 0, 1, 1, SRCAND);
  EXPECT_EQ(dest.Pixels[0], 0xFF102030u);
  EXPECT_FALSE(dest.HasAlpha);
  StretchRasterOnto(dest, 0, 0, 1, 1, src, 0, 0, 1, 1, SRCCOPY);
  EXPECT_EQ(dest.Pixels[0], 0x80102030u);
  EXPECT_TRUE(dest.HasAlpha);
}

TEST(DibMonochrome, DeviceBitmapTakesTextAndBackgroundColours) {
  TIndexedRaster mono{2, 1, {0xFF000000, 0xFFFFFFFF}, {0, 1}};
  SetMonochromeColours(mono, ColorRefToArgb(0x0000FF), ColorRefToArgb(0xFF0000));
  EXPECT_EQ(ExpandIndexed(mono).Pixels, (std::vector<uint32_t>{0xFFFF0000, 0xFF0000FF}));
}

TEST(DibMonochrome, BackgroundColourBecomesWhite) {
  TRaster colour = Make(3, 1, {0xFF123456, 0x00123456, 0xFF123457});
  TIndexedRaster mono = ToMonochrome(colour, 0xFF123456);
  EXPECT_EQ(mono.Indices, (std::vector<uint8_t>{1, 1, 0}));
  EXPECT_EQ(mono.Palette, (std::vector<uint32_t>{0xFF000000, 0xFFFFFFFF}));
}

} // namespace
