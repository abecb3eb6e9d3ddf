#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../metafile/ExpectError.h"
#include "ReportFixture.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Stream.h"
#include "store/ZVCompress.h"

namespace {
using fixture::Encode;

// Decodes count symbols from code followed by trailing bytes; returns the symbols and where the stream
// position ended.
std::pair<std::vector<uint8_t>, int64_t> Decode(const std::vector<uint8_t>& code, size_t count,
                                                size_t trailing = 0) {
  TMemoryStream s;
  s.Write(code.data(), static_cast<int32_t>(code.size()));
  for (size_t i = 0; i < trailing; ++i)
    s.Write("T", 1);
  s.SetPosition(0);
  std::vector<uint8_t> out(count);
  TZVCompress decoder(s, false);
  for (uint8_t& b : out)
    decoder.Expand(b);
  decoder.Flush();
  return {out, s.Position()};
}

std::vector<uint8_t> Repeat(uint8_t value, size_t count) {
  return std::vector<uint8_t>(count, value);
}
} // namespace

TEST(ZVCompress, WorkedExamples) {
  const struct {
    const char* name;
    std::vector<uint8_t> plain, code;
  } cases[] = {
      {"abc", {0x61, 0x62, 0x63}, {0x46, 0x3D, 0x01}},
      {"three 0xFF", {0xFF, 0xFF, 0xFF}, {0x00, 0x3C, 0x00}},
      {"one 0x00", {0x00}, {0x80}},
      {"nothing", {}, {}},
      {"0x01: code 00000010, one full byte", {0x01}, {0x40}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Encode(c.plain), c.code) << c.name;
    EXPECT_EQ(Decode(c.code, c.plain.size()).first, c.plain) << c.name;
  }
  EXPECT_EQ(Encode(Repeat(0x41, 1000)).size(), 127u);
}

TEST(ZVCompress, RoundTripsEveryLengthAndStopsRightAfterItsCode) {
  for (size_t length = 0; length <= 300; ++length) {
    const std::vector<std::vector<uint8_t>> inputs = {
        miniemf::PagePayload(length, static_cast<uint32_t>(length)),
        Repeat(static_cast<uint8_t>(length), length),
        [&] {
          std::vector<uint8_t> all(length);
          for (size_t i = 0; i < length; ++i)
            all[i] = static_cast<uint8_t>(255 - i);
          return all;
        }(),
    };
    for (const auto& plain : inputs) {
      const auto code = Encode(plain);
      const auto [decoded, end] = Decode(code, plain.size(), 9);
      ASSERT_EQ(decoded, plain) << length;
      ASSERT_EQ(end, static_cast<int64_t>(code.size())) << length;
    }
  }
}

TEST(ZVCompress, LargePagesRoundTripAcrossBufferBlocks) {
  for (size_t length : {8191u, 8192u, 70001u}) {
    const auto plain = miniemf::PagePayload(length, 3);
    const auto code = Encode(plain);
    const auto [decoded, end] = Decode(code, plain.size(), 20000);
    EXPECT_EQ(decoded, plain);
    EXPECT_EQ(end, static_cast<int64_t>(code.size()));
  }
}

TEST(ZVCompress, CodeThatEndsEarlyIsAReadError) {
  const auto plain = miniemf::PagePayload(500, 8);
  auto code = Encode(plain);
  code.pop_back();
  ExpectError<EReadError>([&] { Decode(code, plain.size()); }, "Stream read error");

  // The input limit ends the code where the page record says, even when the stream goes on.
  TMemoryStream s;
  const auto full = Encode(plain);
  s.Write(full.data(), static_cast<int32_t>(full.size()));
  s.SetPosition(0);
  TZVCompress decoder(s, false);
  decoder.SetInputLimit(static_cast<int64_t>(full.size()) - 1);
  uint8_t b;
  ExpectError<EReadError>(
      [&] {
        for (size_t i = 0; i < plain.size(); ++i)
          decoder.Expand(b);
      },
      "Stream read error");
}

TEST(ZVCompress, TheNeverCodedSymbolDecodesAsZero) {
  // Eight zero bits and a one lead to the leaf of symbol 256.
  const auto [decoded, end] = Decode({0x00, 0x01}, 1);
  EXPECT_EQ(decoded, std::vector<uint8_t>{0});
  EXPECT_EQ(end, 2);
  TMemoryStream s;
  TZVCompress encoder(s, true);
  EXPECT_THROW(encoder.Compress(257), Exception);
}

TEST(ZVCompress, DestructorCompletesTheLastByteAndFlushTwiceWritesItOnce) {
  TMemoryStream implicit, twice;
  {
    TZVCompress encoder(implicit, true);
    for (uint8_t b : {0x61, 0x62, 0x63})
      encoder.Compress(b);
  }
  {
    TZVCompress encoder(twice, true);
    for (uint8_t b : {0x61, 0x62, 0x63})
      encoder.Compress(b);
    encoder.Flush();
    encoder.Flush();
  }
  const std::vector<uint8_t> expected = {0x46, 0x3D, 0x01};
  EXPECT_EQ(implicit.Bytes(), expected);
  EXPECT_EQ(twice.Bytes(), expected);
}
