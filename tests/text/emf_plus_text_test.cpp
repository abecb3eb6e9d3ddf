// Text of pages whose pictures exist only as EMF+ records (carried in GDI comments): strings placed through
// the layer's fonts, formats, transforms and saved states, and damaged EMF+ records skipped.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "EmfPlusComment.h"
#include "platform/rtl/Utf8.h"
#include "platform/text/PageText.h"

namespace {

std::string Read(const TMetafile& page) {
  return Utf16ToUtf8(ReadingOrder(ExtractPageText(page)).Text);
}

} // namespace

TEST(EmfPlusText, ReadsStringsPlacedByTransformsAndSavedStates) {
  TEmfWriter w(600, 400);
  TEmfPlusComment plus;
  plus.Header().Font(1, 20, emfplus::UnitPixel, u"Arial");
  plus.Save(7).Translate(0, 300).String(1, u"stopka", 50, 0).Restore(7); // drawn first, read last
  plus.String(1, u"Zażółć gęślą jaźń", 50, 40);
  plus.Driver(1, u"kod", {{50, 180}, {62, 180}, {74, 180}});
  plus.Into(w);
  EXPECT_EQ(Read(w.ToMetafile()), "Zażółć gęślą jaźń\nkod\nstopka\n");
}

TEST(EmfPlusText, LaysStringsOutAsTheFormatSays) {
  struct TCase {
    const char* name;
    uint32_t flags, align;
    float width;
    const char* expected;
    double left; // of the first character, page pixels (the rectangle starts at 100)
  } cases[] = {
      {"near", 0, emfplus::AlignNear, 400, "jeden dwa\n", 100},
      {"far", 0, emfplus::AlignFar, 400, "jeden dwa\n", 300},
      {"wrapped", 0, emfplus::AlignNear, 60, "jeden\ndwa\n", 100},
      {"no wrap", emfplus::FormatNoWrap, emfplus::AlignNear, 60, "jeden dwa\n", 100},
  };
  for (const TCase& c : cases) {
    TEmfWriter w(600, 400);
    TEmfPlusComment plus;
    plus.Header().Font(1, 20, emfplus::UnitPixel, u"Arial").Format(2, c.flags, c.align, emfplus::AlignNear);
    plus.String(1, u"jeden dwa", 100, 50, c.width, 100, 2).Into(w);
    const TMetafile page = w.ToMetafile();
    EXPECT_EQ(Read(page), c.expected) << c.name;
    const TPageText text = ExtractPageText(page);
    ASSERT_FALSE(text.Runs.empty()) << c.name;
    if (c.align == emfplus::AlignFar) {
      EXPECT_NEAR(text.Runs.back().Boxes.back().Right, 500, 2) << c.name;
    } else {
      EXPECT_NEAR(text.Runs.front().Boxes.front().Left, c.left, 1) << c.name;
    }
    // Text starts at the rectangle's top: the em box of 20 pixels lies below y = 50.
    EXPECT_NEAR(text.Runs.front().Boxes.front().Top, 50, 2) << c.name;
  }
}

TEST(EmfPlusText, FontsInPointsAndRotatedWorlds) {
  TEmfWriter w(600, 400);
  TEmfPlusComment plus;
  // 15 points at 96 dpi are 20 pixels; a page unit of millimetres scales positions.
  plus.Header().PageUnit(emfplus::UnitMillimeter, 1).Font(1, 15, emfplus::UnitPoint, u"Arial");
  plus.String(1, u"A", 25.4f, 25.4f); // one inch from the corner
  plus.Into(w);
  const TPageText text = ExtractPageText(w.ToMetafile());
  ASSERT_EQ(text.Runs.size(), 1u);
  EXPECT_NEAR(text.Runs[0].Boxes[0].Left, 96, 1);
  EXPECT_NEAR(text.Runs[0].Height, 20 * (0.905 + 0.212), 1);

  TEmfWriter turned(600, 400);
  TEmfPlusComment rotated;
  rotated.Header().Font(1, 20, emfplus::UnitPixel, u"Arial").Rotate(90).Translate(300, 100);
  rotated.String(1, u"pionowo", 0, 0).Into(turned);
  const TMetafile turnedPage = turned.ToMetafile();
  const TPageText vertical = ExtractPageText(turnedPage);
  ASSERT_EQ(vertical.Runs.size(), 1u);
  EXPECT_NEAR(std::fabs(vertical.Runs[0].Angle), 90, 0.5);
  EXPECT_EQ(Read(turnedPage), "pionowo\n");
}

TEST(EmfPlusText, APageThatDrawsWithGdiRecordsKeepsItsOwnText) {
  TEmfWriter w(600, 400);
  TEmfPlusComment plus;
  plus.Header().Font(1, 20, emfplus::UnitPixel, u"Arial").String(1, u"Suma 100,00", 50, 40).Into(w);
  w.SelectObject(w.CreateFont({.Face = "Arial", .Height = -20}));
  w.TextOut(50, 40, "Suma 100,00");
  EXPECT_EQ(Read(w.ToMetafile()), "Suma 100,00\n");
}

TEST(EmfPlusText, DamagedRecordsAreSkipped) {
  TEmfWriter w(600, 400);
  TEmfPlusComment plus;
  plus.Header().Font(1, 20, emfplus::UnitPixel, u"Arial");
  // A string claiming more characters than its record holds, a font object cut short, a string in a
  // font that was never made: each is skipped, the next record is read.
  TEmfPlusComment::TData longString;
  longString.U(0xFF000000).U(0xFFFFFFFF).U(100000).F(0).F(0).F(0).F(0).Text(u"ab");
  plus.Record(emfplus::DrawString, emfplus::FlagColorBrush | 1, longString);
  plus.Record(emfplus::Object, emfplus::ObjectFont << 8 | 2, TEmfPlusComment::Data().U(0).F(20));
  plus.String(2, u"bez czcionki", 50, 100).String(1, u"dalej", 50, 40);
  plus.Into(w);
  // A comment whose record claims more bytes than the comment holds ends that comment's reading only.
  TEmfPlusComment broken;
  broken.Header().Font(1, 20, emfplus::UnitPixel, u"Arial").String(1, u"po", 50, 200);
  std::memcpy(broken.Bytes.data() + 8, "\xFF\xFF\x00\x00", 4);
  broken.Into(w);
  EXPECT_EQ(Read(w.ToMetafile()), "dalej\n");
}
