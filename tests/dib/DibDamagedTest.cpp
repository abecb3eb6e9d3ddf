// Damaged and unsupported bitmaps end in a clear exception, never in a crash or a partial raster.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "DibBytes.h"
#include "platform/dib/DibDecode.h"

using namespace dib;
using testing::HasSubstr;

namespace {

struct TDamagedCase {
  std::string Name;
  TBytes Bmi, Bits;
  std::string Message;
  bool Unsupported = false;
};

TBytes Raw(std::initializer_list<uint8_t> bytes) {
  return TBytes().U8(bytes);
}
TBytes Rle8(int32_t width, int32_t height) {
  return InfoHeader(width, height, 8, BI_RLE8, 1).Quads({0});
}

std::vector<TDamagedCase> DamagedCases() {
  std::vector<TDamagedCase> cases;
  cases.push_back({"BitsShorterThanRows", InfoHeader(4, 2, 8, BI_RGB, 1).Quads({0}), TBytes().Zeros(7),
                   "Bitmap data end early: 8 bytes needed, 7 present"});
  cases.push_back({"TooManyPixels", InfoHeader(20000, 20000, 8, BI_RGB, 1).Quads({0}), TBytes(),
                   "Bitmap of 20000 x 20000 pixels is too large to decode"});
  cases.push_back({"SmallestHeightOverflows", InfoHeader(1, INT32_MIN, 24), TBytes(), "is too large"});
  cases.push_back(
      {"NegativeWidth", InfoHeader(-4, 2, 24), TBytes().Zeros(64), "Bitmap size -4 x 2 is not valid"});
  cases.push_back({"ZeroHeight", InfoHeader(4, 0, 24), TBytes(), "Bitmap size 4 x 0 is not valid"});
  cases.push_back({"UnknownHeaderSize", InfoHeader(1, 1, 24, BI_RGB, 0, 64), TBytes().Zeros(4),
                   "Bitmap header size 64 is not valid"});
  cases.push_back({"HeaderCutShort", Raw({40, 0, 0, 0, 1, 0, 0, 0}), TBytes(), "Data ends early"});
  cases.push_back(
      {"MasksMissing", InfoHeader(1, 1, 16, BI_BITFIELDS).U32(0xF800), TBytes().Zeros(4), "Data ends early"});
  cases.push_back({"MaskNotContiguous", InfoHeader(1, 1, 16, BI_BITFIELDS).U32(0xF00F).U32(0x00F0).U32(0),
                   TBytes().Zeros(4), "Bitmap colour mask 0x0000F00F is not contiguous"});
  cases.push_back({"DepthNotAllowedForCompression", InfoHeader(1, 1, 8, BI_RLE4), TBytes(),
                   "Bitmap bit count 8 is not valid for compression 2"});
  cases.push_back(
      {"OddDepth", InfoHeader(1, 1, 3), TBytes(), "Bitmap bit count 3 is not valid for compression 0"});
  cases.push_back({"CoreHeaderSixteenBits", TBytes().U32(12).U16(1).U16(1).U16(1).U16(16), TBytes().Zeros(4),
                   "not valid for a core header"});
  cases.push_back({"TopDownRle", InfoHeader(2, -2, 8, BI_RLE8, 1).Quads({0}), Raw({0, 1}),
                   "A compressed bitmap cannot be stored top-down"});
  cases.push_back({"RleWithoutEndMark", Rle8(2, 2), Raw({2, 0, 0, 0}),
                   "RLE bitmap data end before the end-of-bitmap mark"});
  cases.push_back({"RleAbsoluteRunCutShort", Rle8(8, 1), Raw({0, 5, 0, 0}), "Data ends early"});
  cases.push_back({"RleDeltaCutShort", Rle8(2, 2), Raw({0, 2, 1}), "Data ends early"});
  cases.push_back({"JpegPayload", InfoHeader(1, 1, 0, BI_JPEG), Raw({0xFF, 0xD8}),
                   "Bitmaps holding JPEG data are not supported", true});
  cases.push_back(
      {"PngPayload", InfoHeader(1, 1, 0, BI_PNG), Raw({0x89}), "PNG data are not supported", true});
  cases.push_back({"UnknownCompression", InfoHeader(1, 1, 32, 11), TBytes().Zeros(4),
                   "Bitmap compression 11 is not supported", true});
  return cases;
}

class DibDamaged : public testing::TestWithParam<TDamagedCase> {};

TEST_P(DibDamaged, RaisesWithMessage) {
  const TDamagedCase& c = GetParam();
  try {
    DecodeDib(c.Bmi.View(), c.Bits.View());
    FAIL() << "decoded a damaged bitmap";
  } catch (const EUnsupportedBitmap& e) {
    EXPECT_TRUE(c.Unsupported) << e.what();
    EXPECT_THAT(e.what(), HasSubstr(c.Message));
  } catch (const EDamagedData& e) {
    EXPECT_FALSE(c.Unsupported) << e.what();
    EXPECT_THAT(e.what(), HasSubstr(c.Message));
  }
}

INSTANTIATE_TEST_SUITE_P(Inputs, DibDamaged, testing::ValuesIn(DamagedCases()),
                         [](const testing::TestParamInfo<TDamagedCase>& info) { return info.param.Name; });

// Runs and deltas aimed far outside the raster stay inside it (the sanitizers watch the writes).
TEST(DibRle, RunsAndDeltasOffTheRasterStayInside) {
  TBytes bits;
  for (int i = 0; i < 40; ++i)
    bits.U8({255, 1, 0, 2, 255, 0});       // long run, then a delta far to the right
  bits.U8({0, 2, 0, 1, 0, 4, 1, 1, 1, 1}); // one row up, then an absolute run past the row's end
  bits.U8({0, 0});                         // the end of the last row completes the bitmap
  TRaster raster = DecodeDib(InfoHeader(3, 2, 8, BI_RLE8, 2).Quads({0, 0xFFFFFF}).View(), bits.View());
  const uint32_t B = 0xFF000000, W = 0xFFFFFFFF;
  EXPECT_EQ(raster.Pixels, (std::vector<uint32_t>{B, B, B, W, W, W}));
}

} // namespace
