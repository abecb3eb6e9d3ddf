// Decoding hand-made bitmaps of every depth and compression, checked pixel by pixel.
#include <gtest/gtest.h>

#include <string>

#include "DibBytes.h"
#include "platform/dib/DibDecode.h"

using namespace dib;

namespace {

constexpr uint32_t Red = 0xFFFF0000, Green = 0xFF00FF00, Blue = 0xFF0000FF, White = 0xFFFFFFFF,
                   Black = 0xFF000000;
constexpr uint32_t C0 = 0xFF112233, C1 = 0xFF445566, C2 = 0xFF778899, C3 = 0xFFAABBCC;

struct TDecodeCase {
  std::string Name;
  TBytes Bmi, Bits;
  int32_t Width, Height;
  std::vector<uint32_t> Expected; // top row first
  bool HasAlpha = false;
  uint32_t Usage = DIB_RGB_COLORS;
  std::vector<uint32_t> LogicalPalette = {};
};

TBytes Raw(std::initializer_list<uint8_t> bytes) {
  return TBytes().U8(bytes);
}

std::vector<TDecodeCase> DecodeCases() {
  std::vector<TDecodeCase> cases;
  cases.push_back({"OneBitBottomUpPadded",
                   InfoHeader(3, 2, 1).Quads({0xFF0000, 0x0000FF}),
                   Raw({0xA0, 0, 0, 0, 0x60, 0, 0, 0}),
                   3,
                   2,
                   {Red, Blue, Blue, Blue, Red, Blue}});
  cases.push_back({"FourBitTopDownShortTable",
                   InfoHeader(3, -2, 4, BI_RGB, 3).Quads({0x112233, 0x445566, 0x778899}),
                   Raw({0x01, 0x20, 0, 0, 0x22, 0x00, 0, 0}),
                   3,
                   2,
                   {C0, C1, C2, C2, C2, C0}});
  cases.push_back({"EightBitIndexBeyondTableIsBlack",
                   InfoHeader(2, 1, 8, BI_RGB, 2).Quads({0x00FF00, 0xFFFFFF}),
                   Raw({1, 7, 0, 0}),
                   2,
                   1,
                   {White, Black}});
  // As real metafiles store them: a count of 0 (meaning 256) with fewer colours behind the header.
  cases.push_back({"ColourTableShorterThanClaimed",
                   InfoHeader(3, 1, 8).Quads({0xFF0000, 0x0000FF}),
                   Raw({1, 0, 2, 0}),
                   3,
                   1,
                   {Blue, Red, Black}});
  cases.push_back({"ColourCountAboveDepthIsCapped",
                   InfoHeader(2, 1, 1, BI_RGB, 0xFFFFFFFF).Quads({0, 0xFFFFFF}),
                   Raw({0x40, 0, 0, 0}),
                   2,
                   1,
                   {Black, White}});
  cases.push_back(
      {"SixteenBitDefault555", InfoHeader(2, 1, 16), Raw({0x00, 0x7C, 0x10, 0x02}), 2, 1, {Red, 0xFF008484}});
  cases.push_back({"SixteenBitFields565",
                   InfoHeader(2, 1, 16, BI_BITFIELDS).U32(0xF800).U32(0x07E0).U32(0x001F),
                   Raw({0x00, 0xF8, 0x21, 0x08}),
                   2,
                   1,
                   {Red, 0xFF080408}});
  cases.push_back({"SixteenBitFields555",
                   InfoHeader(1, 1, 16, BI_BITFIELDS).U32(0x7C00).U32(0x03E0).U32(0x001F),
                   Raw({0xE0, 0x03, 0, 0}),
                   1,
                   1,
                   {Green}});
  cases.push_back({"TwentyFourBitRowsPadded",
                   InfoHeader(2, 2, 24),
                   Raw({0x03, 0x02, 0x01, 0xFF, 0, 0, 0, 0, 0, 0, 0xFF, 0x10, 0x20, 0x30, 0, 0}),
                   2,
                   2,
                   {Red, 0xFF302010, 0xFF010203, Blue}});
  cases.push_back({"ThirtyTwoBitZeroAlphaIsOpaque",
                   InfoHeader(2, 1, 32),
                   Raw({0x56, 0x34, 0x12, 0, 0xEF, 0xCD, 0xAB, 0}),
                   2,
                   1,
                   {0xFF123456, 0xFFABCDEF}});
  cases.push_back({"ThirtyTwoBitAlphaKept",
                   InfoHeader(2, 1, 32),
                   Raw({0x10, 0x20, 0x40, 0x80, 0, 0, 0, 0}),
                   2,
                   1,
                   {0x80402010, 0x00000000},
                   true});
  TBytes v5 = InfoHeader(1, 1, 32, BI_BITFIELDS, 0, 124);
  PutU32(v5, 40, 0x000000FF), PutU32(v5, 44, 0x0000FF00), PutU32(v5, 48, 0x00FF0000),
      PutU32(v5, 52, 0xFF000000);
  cases.push_back({"V5FieldsWithAlphaMask", v5, Raw({0x11, 0x22, 0x33, 0x7F}), 1, 1, {0x7F112233}, true});
  cases.push_back({"AlphaMaskWithZeroAlphaIsOpaque", v5, Raw({0x11, 0x22, 0x33, 0x00}), 1, 1, {0xFF112233}});
  TBytes v4Rgb = InfoHeader(1, 1, 32, BI_RGB, 0, 108);
  PutU32(v4Rgb, 40, 0x000000FF); // masks of a BI_RGB bitmap are ignored
  cases.push_back({"V4PlainRgbIgnoresMasks", v4Rgb, Raw({0x33, 0x22, 0x11, 0}), 1, 1, {0xFF112233}});
  cases.push_back({"AlphaBitFieldsAfterPlainHeader",
                   InfoHeader(1, 1, 16, BI_ALPHABITFIELDS).U32(0x0F00).U32(0x00F0).U32(0x000F).U32(0xF000),
                   Raw({0x00, 0x8F, 0, 0}),
                   1,
                   1,
                   {0x88FF0000},
                   true});
  cases.push_back({"CoreHeaderThreeByteColours",
                   TBytes().U32(12).U16(2).U16(1).U16(1).U16(1).U8({0x00, 0xFF, 0x00, 0x00, 0xFF, 0xFF}),
                   Raw({0x40, 0, 0, 0}),
                   2,
                   1,
                   {Green, 0xFFFFFF00}});
  cases.push_back({"PalColoursDefaultPalette",
                   InfoHeader(2, 1, 1).U16(13).U16(19),
                   Raw({0x40, 0, 0, 0}),
                   2,
                   1,
                   {Red, White},
                   false,
                   DIB_PAL_COLORS});
  cases.push_back({"PalColoursCallerPaletteOutOfRangeBlack",
                   InfoHeader(2, 1, 1).U16(1).U16(5),
                   Raw({0x40, 0, 0, 0}),
                   2,
                   1,
                   {0xFF222222, Black},
                   false,
                   DIB_PAL_COLORS,
                   {0x111111, 0x222222}});
  // RLE rows run from the bottom. Bottom: run of three 1s, end of line (x=3 never set). Middle: absolute
  // run 2,3,2 with its pad byte, a one-pixel run, end of line. Top: delta to x=2, run of two 3s, a run
  // past the row's end (dropped), end of bitmap.
  cases.push_back({"Rle8RunsAbsoluteDeltaEnd",
                   InfoHeader(4, 3, 8, BI_RLE8, 4).Quads({0x112233, 0x445566, 0x778899, 0xAABBCC}),
                   Raw({3, 1, 0, 0, 0, 3, 2, 3, 2, 0, 1, 1, 0, 0, 0, 2, 2, 0, 2, 3, 4, 2, 0, 1}),
                   4,
                   3,
                   {C0, C0, C3, C3, C2, C3, C2, C1, C1, C1, C1, C0}});
  // Odd width: the bottom run carries a fourth nibble, the top absolute run five nibbles in three bytes
  // plus a pad byte.
  cases.push_back({"Rle4OddWidthAndPadding",
                   InfoHeader(3, 2, 4, BI_RLE4, 3).Quads({0x112233, 0x445566, 0x778899}),
                   Raw({4, 0x12, 0, 0, 0, 5, 0x21, 0x01, 0x20, 0, 0, 1}),
                   3,
                   2,
                   {C2, C1, C0, C1, C2, C1}});
  cases.push_back({"Rle8DeltaPastLastRowEnds",
                   InfoHeader(2, 2, 8, BI_RLE8, 2).Quads({0x112233, 0x445566}),
                   Raw({1, 1, 0, 2, 0, 5, 1, 1}),
                   2,
                   2,
                   {C0, C0, C1, C0}});
  return cases;
}

class DibDecode : public testing::TestWithParam<TDecodeCase> {};

TEST_P(DibDecode, PixelsMatch) {
  const TDecodeCase& c = GetParam();
  const std::vector<uint32_t>* palette = c.LogicalPalette.empty() ? nullptr : &c.LogicalPalette;
  TRaster raster = DecodeDib(c.Bmi.View(), c.Bits.View(), c.Usage, palette);
  ASSERT_EQ(raster.Width, c.Width);
  ASSERT_EQ(raster.Height, c.Height);
  ASSERT_EQ(raster.Pixels.size(), c.Expected.size());
  for (size_t i = 0; i < c.Expected.size(); ++i)
    EXPECT_EQ(raster.Pixels[i], c.Expected[i]) << "pixel " << i % c.Width << ", " << i / c.Width;
  EXPECT_EQ(raster.HasAlpha, c.HasAlpha);
}

INSTANTIATE_TEST_SUITE_P(Forms, DibDecode, testing::ValuesIn(DecodeCases()),
                         [](const testing::TestParamInfo<TDecodeCase>& info) { return info.param.Name; });

TEST(DibIndexed, ExposesPaletteAndIndicesTopDown) {
  TBytes bmi = InfoHeader(3, 2, 1).Quads({0xFF0000, 0x0000FF});
  TBytes bits = Raw({0xA0, 0, 0, 0, 0x60, 0, 0, 0});
  TDibInfo info = ParseBitmapInfo(bmi.View());
  TIndexedRaster indexed = DecodeIndexedPixels(info, bits.View());
  EXPECT_EQ(indexed.Palette, (std::vector<uint32_t>{Red, Blue}));
  EXPECT_EQ(indexed.Indices, (std::vector<uint8_t>{0, 1, 1, 1, 0, 1}));
}

TEST(DibIndexed, PaletteAlwaysCoversTheDepth) {
  TDibInfo info = ParseBitmapInfo(InfoHeader(1, 1, 8, BI_RGB, 2).Quads({0x010203, 0x040506}).View());
  ASSERT_EQ(info.Palette.size(), 256u);
  EXPECT_EQ(info.Palette[1], 0xFF040506u);
  EXPECT_EQ(info.Palette[2], Black);
  EXPECT_EQ(info.Stride(), 4);
}

TEST(DibIndexed, TrueColourHasNoPalette) {
  TDibInfo info = ParseBitmapInfo(InfoHeader(1, 1, 24).View());
  EXPECT_TRUE(info.Palette.empty());
  TBytes bits = Raw({0, 0, 0, 0});
  EXPECT_THROW(DecodeIndexedPixels(info, bits.View()), EDamagedData);
}

} // namespace

namespace {

TEST(DibBand, ScanLinesDecodeIntoTheirRows) {
  // 1 x 4 bottom-up; lines 1 and 2 are handed over (blue 2 and 3).
  TDibInfo info = ParseBitmapInfo(InfoHeader(1, 4, 24).View());
  TDibBand band = ScanLineBand(info, 1, 2);
  TBytes bits = Raw({2, 0, 0, 0, 3, 0, 0, 0});
  EXPECT_EQ(band.Top, 1);
  EXPECT_EQ(DecodePixels(band.Info, bits.View()).Pixels, (std::vector<uint32_t>{0xFF000003, 0xFF000002}));
}

TEST(DibBand, BandsAreCutToTheBitmap) {
  struct TCase {
    int32_t Height;
    uint32_t Start, Scans;
    int32_t BandHeight, Top;
  };
  for (TCase c :
       {TCase{4, 3, 5, 1, 0}, TCase{4, 9, 1, 0, 0}, TCase{-4, 1, 2, 2, 1}, TCase{4, 0, 0xFFFFFFFF, 4, 0}}) {
    TDibBand band = ScanLineBand(ParseBitmapInfo(InfoHeader(1, c.Height, 24).View()), c.Start, c.Scans);
    EXPECT_EQ(band.Info.Height, c.BandHeight) << c.Height << " " << c.Start << " " << c.Scans;
    EXPECT_EQ(band.Top, c.Top) << c.Height << " " << c.Start << " " << c.Scans;
  }
}

} // namespace
