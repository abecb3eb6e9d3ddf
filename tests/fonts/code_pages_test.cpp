// The program's one code-page table: character sets to code pages, bytes to UTF-16 and back.
#include <gtest/gtest.h>

#include <vector>

#include "platform/rtl/CodePages.h"

namespace {
TEST(CodePages, CharacterSetsToCodePages) {
  struct {
    uint8_t CharSet;
    int CodePage;
  } cases[] = {{238, 1250}, {0, 1252},   {1, 1252},   {2, 0},      {204, 1251}, {161, 1253},
               {162, 1254}, {177, 1255}, {178, 1256}, {186, 1257}, {163, 1258}, {222, 874},
               {128, 932},  {134, 936},  {129, 949},  {136, 950}};
  for (const auto& c : cases)
    EXPECT_EQ(CodePageOfCharSet(c.CharSet), c.CodePage) << int(c.CharSet);
}

TEST(CodePages, PolishLettersRoundTripIn1250) {
  const std::u16string polish = u"ąćęłńóśźżĄĆĘŁŃÓŚŹŻ";
  std::string bytes;
  for (char16_t ch : polish) {
    int b = Utf16ToCodePageByte(ch, 1250);
    ASSERT_GE(b, 0x80) << int(ch);
    bytes += static_cast<char>(b);
  }
  EXPECT_EQ(bytes, "\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF\xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF");
  EXPECT_EQ(CodePageBytesToUtf16(bytes, 1250), polish);
  EXPECT_EQ(Utf16ToCodePageByte(u'ł', 1252), -1); // not in the western code page
}

TEST(CodePages, EverySingleByteCodePageRoundTrips) {
  for (int cp : {874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258}) {
    ASSERT_TRUE(IsSingleByteCodePage(cp));
    for (int b = 0; b < 256; ++b) {
      char16_t ch = CodePageByteToUtf16(static_cast<uint8_t>(b), cp);
      EXPECT_EQ(Utf16ToCodePageByte(ch, cp), b) << cp << " byte " << b;
    }
  }
}

TEST(CodePages, OtherCodePagesReadAsWestern) {
  for (int cp : {0, 932, 936, 949, 950, 437, -1}) {
    EXPECT_FALSE(IsSingleByteCodePage(cp)) << cp;
    EXPECT_EQ(CodePageByteToUtf16(0x80, cp), u'€') << cp;
  }
  EXPECT_EQ(CodePageBytesToUtf16(std::string_view("\x80\xB9", 2), 932), u"€¹");
}

// Text records' 8-bit strings: a byte that starts no character is replaced on its own, the rest keeps its
// letters.
TEST(CodePages, TextDecodesEachBadByteAlone) {
  struct {
    int CodePage;
    std::string_view Bytes;
    std::u16string_view Text;
  } cases[] = {
      {1250, "Za\xBF\xF3\xB3\xE6", u"Za\u017C\u00F3\u0142\u0107"},
      {932, "\x93\xFA\x96\x7B", u"\u65E5\u672C"},
      {932,
       "\x93\xFA"
       "A\x81",
       u"\u65E5A\uFFFD"},                         // a lead byte cut off at the end
      {936, "\x81 a\xC4\xE3", u"\uFFFD a\u4F60"}, // a lead byte without its trail byte
      {949, "\xB0\xA1\xFFz", u"\uAC00\uFFFDz"},
      {950, "\xA4\xA4", u"\u4E2D"},
      {0, "\x80\xF0", u"\u0080\u00F0"}, // symbol fonts: bytes as they are
  };
  for (const auto& c : cases)
    EXPECT_EQ(DecodeCodePageText(c.Bytes, c.CodePage), c.Text) << c.CodePage << " " << c.Bytes;
}

// A text record's advances are per byte: a character of two bytes takes the sum of both, a byte that
// starts no character keeps its own.
TEST(CodePages, AdvancesMergePerCharacter) {
  struct {
    int CodePage;
    std::string_view Bytes;
    std::vector<int32_t> Advances;
    bool Pairs;
    std::u16string_view Text;
    std::vector<int32_t> Dx, Dy;
  } cases[] = {
      {932, "\x93\xFA\x96\x7B\x41", {10, 30, 20, 40, 25}, false, u"\u65E5\u672CA", {40, 60, 25}, {}},
      {936, "\xC4\xE3\x62\xBA\xC3", {5, 6, 7, 8, 9}, false, u"\u4F60b\u597D", {11, 7, 17}, {}},
      {932, "A\x93", {10, 7}, false, u"A\uFFFD", {10, 7}, {}}, // a lead byte cut off at the end
      {936, "\x81 ", {3, 4}, false, u"\uFFFD ", {3, 4}, {}},   // a lead byte without its trail byte
      // x and y per byte: both summed.
      {932, "\x83\xBF\x41", {10, 1, 30, 2, 5, -3}, true, u"\u03B1A", {40, 5}, {3, -3}},
      {1250, "Za\xBF", {1, 2, 3}, false, u"Za\u017C", {1, 2, 3}, {}},
      {932, "\x93\xFA", {10}, false, u"\u65E5", {}, {}}, // too few advances: none
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.CodePage << " " << c.Bytes);
    TCodePageText decoded = DecodeCodePageText(c.Bytes, c.CodePage, c.Advances, c.Pairs);
    EXPECT_EQ(decoded.Text, c.Text);
    EXPECT_EQ(decoded.Dx, c.Dx);
    EXPECT_EQ(decoded.Dy, c.Dy);
  }
}
} // namespace
