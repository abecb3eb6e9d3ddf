// The buffered writer: number formats, padded integers, escapes, hexadecimal and the flush rules.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "pdf/PdfDate.h"
#include "pdf/PdfWrite.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Stream.h"

namespace {

std::string Written(const std::function<void(TPdfWrite&)>& Produce) {
  TMemoryStream stream;
  TPdfWrite w(nullptr, &stream);
  Produce(w);
  return w.ToPDFString();
}

struct TRealCase {
  double Value;
  const char* Plain;     // Add(Value)
  const char* WithSpace; // AddWithSpace(Value)
};

class RealFormat : public ::testing::TestWithParam<TRealCase> {};

TEST_P(RealFormat, TwoDecimalsTrailingZerosDroppedNoExponent) {
  const TRealCase& c = GetParam();
  EXPECT_EQ(Written([&](TPdfWrite& w) { w.Add(c.Value); }), c.Plain);
  EXPECT_EQ(Written([&](TPdfWrite& w) { w.AddWithSpace(c.Value); }), c.WithSpace);
}

INSTANTIATE_TEST_SUITE_P(Table, RealFormat,
                         ::testing::Values(TRealCase{1, "1", "1 "}, TRealCase{1.5, "1.5", "1.5 "},
                                           TRealCase{0.25, "0.25", "0.25 "},
                                           TRealCase{12.10, "12.1", "12.1 "},
                                           TRealCase{595.28, "595.28", "595.28 "},
                                           TRealCase{-3.456, "-3.46", "-3.46 "}, TRealCase{2.999, "3", "3 "},
                                           TRealCase{0.01, "0.01", "0.01 "}, TRealCase{0.004, "0", "0 "},
                                           TRealCase{-0.004, "0", "0 "}, TRealCase{-0.5, "-0.5", "-0.5 "},
                                           TRealCase{100.0, "100", "100 "},
                                           TRealCase{1e20, "100000000000000000000", "100000000000000000000 "},
                                           TRealCase{std::numeric_limits<double>::quiet_NaN(), "0", "0 "},
                                           TRealCase{std::numeric_limits<double>::infinity(), "0", "0 "}));

TEST(PdfWrite, FixedDecimalsKeepTheirZeros) {
  EXPECT_EQ(Written([](TPdfWrite& w) { w.AddWithSpace(1.5, 3); }), "1.500 ");
  EXPECT_EQ(Written([](TPdfWrite& w) { w.AddWithSpace(1.0, 6).AddWithSpace(-0.0, 6); }),
            "1.000000 0.000000 ");
  EXPECT_EQ(Written([](TPdfWrite& w) { w.AddWithSpace(0.004, 2); }), "0.00 ");
}

TEST(PdfWrite, Integers) {
  EXPECT_EQ(Written([](TPdfWrite& w) {
              w.Add(0).Add(' ').Add(7).Add(' ').Add(42).Add(' ').Add(-123).Add(' ').AddWithSpace(2147483647);
              w.AddWithSpace(int64_t{-9223372036854775807LL - 1});
            }),
            "0 7 42 -123 2147483647 -9223372036854775808 ");
}

TEST(PdfWrite, PaddedIntegers) {
  struct {
    int32_t Value;
    int Digits;
    const char* Expected;
  } cases[] = {{0, 10, "0000000000 "},
               {65535, 5, "65535 "},
               {123456, 5, "23456 "},
               {-5, 5, "00000 "},
               {1234, 10, "0000001234 "}};
  for (const auto& c : cases)
    EXPECT_EQ(Written([&](TPdfWrite& w) { w.Add(c.Value, c.Digits); }), c.Expected) << c.Value;
}

TEST(PdfWrite, StringAndNameEscapes) {
  std::string all;
  for (int c : std::initializer_list<int>{'a', '(', 'b', ')', 'c', '\\', 0, 8, 9, 10, 12, 13, 7, 0xE9})
    all += static_cast<char>(c);
  EXPECT_EQ(Written([&](TPdfWrite& w) { w.AddEscape(all.data(), all.size()); }),
            std::string("a\\(b\\)c\\\\\\000\\b\\t\\n\\f\\r\x07\xE9"));
  EXPECT_EQ(Written([](TPdfWrite& w) { w.AddEscapeName("A#B C%()/<>[]{}\x01\x7F\xB3"); }),
            "A#23B C#25#28#29#2F#3C#3E#5B#5D#7B#7D#01#7F#B3");
  EXPECT_EQ(Written([](TPdfWrite& w) { w.AddEscapeName(std::string("ab\0cd", 5)); }), "ab");
}

TEST(PdfWrite, Hexadecimal) {
  EXPECT_EQ(Written([](TPdfWrite& w) { w.AddHex(std::string("\x00\x1F\xAB\xFF", 4)).AddHex4(0x01D3); }),
            "001FABFF01D3");
  const char16_t text[] = u"Zaż";
  EXPECT_EQ(
      Written([&](TPdfWrite& w) { w.AddUnicodeHex(text, 3).AddUnicodeHex(text, 0).AddUnicodeHex(text, -1); }),
      "005A0061017C");
}

TEST(PdfWrite, DocumentCodePageTextAsUnicodeHex) {
  // Without a document the writer reads byte strings as code page 1252: 0x80 is the euro sign.
  EXPECT_EQ(Written([](TPdfWrite& w) { w.AddToUnicodeHex("A\x80\xE9"); }), "004120AC00E9");
}

TEST(PdfWrite, ColoursAsChannelFractions) {
  EXPECT_EQ(Written([](TPdfWrite& w) { w.AddColorStr(0x0000FF); }), "1 0 0 ");
  EXPECT_EQ(Written([](TPdfWrite& w) { w.AddColorStr(0x808080); }), "0.5 0.5 0.5 ");
  EXPECT_EQ(Written([](TPdfWrite& w) { w.AddColorStr(0xFF0000); }), "0 0 1 ");
  // System colour 5 (window background) is white in the stand-in scheme.
  EXPECT_EQ(Written([](TPdfWrite& w) { w.AddColorStr(static_cast<int32_t>(0x80000005u)); }), "1 1 1 ");
}

TEST(PdfWrite, PixelsAndBinaryIntegers) {
  const uint8_t bgr[] = {1, 2, 3, 0, 4, 5, 6, 0};
  EXPECT_EQ(Written([&](TPdfWrite& w) { w.AddRGB(bgr, 4, 2); }), std::string("\x03\x02\x01\x06\x05\x04"));
  EXPECT_EQ(Written([](TPdfWrite& w) { w.AddIntegerBin(0x010203, 3).AddIntegerBin(0x0405, 1); }),
            std::string("\x01\x02\x03\x05"));
}

TEST(PdfWrite, Iso8601Date) {
  EXPECT_EQ(Written([](TPdfWrite& w) { w.AddIso8601(EncodePdfDateTime(2024, 1, 31, 23, 59, 59)); }),
            "2024-01-31T23:59:59");
}

TEST(PdfWrite, LongStringGoesStraightThroughAfterTheBuffer) {
  TMemoryStream stream;
  TPdfWrite w(nullptr, &stream);
  w.Add("0123456789");
  std::string big(600, 'x');
  w.Add(big);
  EXPECT_EQ(w.Position(), 610);
  EXPECT_EQ(w.ToPDFString(), "0123456789" + big);
}

TEST(PdfWrite, ManySmallWritesCrossTheBufferIntact) {
  // Every primitive kind crosses the 512-byte staging buffer many times.
  std::string expected;
  TMemoryStream stream;
  TPdfWrite w(nullptr, &stream);
  for (int i = 0; i < 3000; ++i) {
    w.AddWithSpace(i).AddWithSpace(i / 4.0).AddEscape("(\\)", 3).AddEscapeName("#").AddHex("\xAB").Add('\n');
    std::string number = std::to_string(i / 4) + (i % 4 == 1   ? ".25"
                                                  : i % 4 == 2 ? ".5"
                                                  : i % 4 == 3 ? ".75"
                                                               : "");
    if (i == 0) number = "0";
    expected += std::to_string(i) + " " + number + " \\(\\\\\\)#23AB\n";
  }
  EXPECT_EQ(w.Position(), static_cast<int64_t>(expected.size()));
  EXPECT_EQ(w.ToPDFString(), expected);
}

TEST(PdfWrite, PositionStartsAtTheDestinationsPosition) {
  TMemoryStream stream;
  stream.WriteBuffer("abc", 3);
  TPdfWrite w(nullptr, &stream);
  w.Add("de");
  EXPECT_EQ(w.Position(), 5);
  EXPECT_EQ(w.ToPDFString(), "de"); // nothing flushed yet: the buffer alone
  w.Save();
  EXPECT_EQ(w.Position(), 5);
  EXPECT_EQ(stream.Size(), 5);
}

class TFullStream : public TMemoryStream {
 public:
  int32_t Write(const void*, int32_t) override { return 0; }
};

TEST(PdfWrite, DestinationErrorsPropagate) {
  TFullStream stream;
  TPdfWrite w(nullptr, &stream);
  w.Add("abc");
  EXPECT_THROW(w.Save(), EWriteError);
  EXPECT_THROW(w.Add(std::string(600, 'x')), EWriteError);
}

} // namespace
