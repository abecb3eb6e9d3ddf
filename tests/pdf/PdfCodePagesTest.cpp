// Text conversions: document code pages, UTF-8 and UTF-16.
#include <gtest/gtest.h>

#include "PdfTestSupport.h"
#include "pdf/PdfCodePages.h"
#include "pdf/PdfObject.h"

namespace {

TEST(PdfCodePages, SingleByteCodePagesToUtf16) {
  struct {
    int CodePage;
    std::string Bytes;
    std::u16string Text;
  } cases[] = {
      {1250, "\xA5\xB9\xC6\xE6\xCA\xEA\xA3\xB3\xD1\xF1\xD3\xF3\x8C\x9C\x8F\x9F\xAF\xBF",
       u"ĄąĆćĘęŁłŃńÓóŚśŹźŻż"},
      {1252, "Caf\xE9 \x80\x99", u"Café €™"},
      {1251, "\xCF\xF0\xE8", u"При"},
      {0, "\xE9", u"é"},         // the host's code page
      {932, "\xE9", u"é"},       // multi-byte code pages are read as the host's
      {1252, "\x81", u"\u0081"}, // undefined bytes keep their value
  };
  for (const auto& c : cases)
    EXPECT_EQ(CodePageToUtf16(c.Bytes, c.CodePage), c.Text) << c.CodePage;
}

TEST(PdfCodePages, Utf16CharToCodePageByte) {
  EXPECT_EQ(Utf16CharToCodePageByte(u'ż', 1250), 0xBF);
  EXPECT_EQ(Utf16CharToCodePageByte(u'€', 1252), 0x80);
  EXPECT_EQ(Utf16CharToCodePageByte(u'A', 1250), 'A');
  EXPECT_EQ(Utf16CharToCodePageByte(u'ż', 1252), -1);
}

TEST(PdfCodePages, Utf8AndUtf16) {
  EXPECT_EQ(Utf8ToUtf16("Za\xC5\xBC\xC3\xB3\xC5\x82\xF0\x9F\x98\x80"), u"Zażół\U0001F600");
  EXPECT_EQ(Utf16ToUtf8(u"Zażół\U0001F600"), "Za\xC5\xBC\xC3\xB3\xC5\x82\xF0\x9F\x98\x80");
  // Malformed input never stops a conversion: each bad byte or lone surrogate becomes U+FFFD.
  struct {
    std::string Utf8;
    std::u16string Utf16;
  } malformed[] = {{"a\x80z", u"a\uFFFDz"},
                   {"\xC5", u"\uFFFD"},
                   {"\xE2\x82", u"\uFFFD\uFFFD"},
                   {"\xC0\xAF", u"\uFFFD\uFFFD"},           // overlong
                   {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"}, // encoded surrogate
                   {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"}};
  for (const auto& m : malformed)
    EXPECT_EQ(Utf8ToUtf16(m.Utf8), m.Utf16);
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, u'\xD800') + u"x"), "\xEF\xBF\xBDx");
  TPdfTextUTF8 broken("a\xFF");
  EXPECT_EQ(WrittenForm(broken), "<FEFF0061FFFD>");
}

} // namespace
