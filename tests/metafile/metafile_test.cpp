#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <limits>
#include <string>

#include "CorpusFiles.h"
#include "ExpectError.h"
#include "MiniEmf.h"
#include "platform/metafile/Metafile.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Stream.h"

namespace fs = std::filesystem;
using miniemf::Put32;

namespace {
void Fill(TMemoryStream& s, const std::vector<uint8_t>& bytes) {
  s.Write(bytes.data(), static_cast<int32_t>(bytes.size()));
  s.SetPosition(0);
}

enum class Outcome { Loads, NotValid, ReadError };

struct LoadCase {
  const char* name;
  std::function<void(std::vector<uint8_t>&)> damage;
  Outcome outcome;
};
} // namespace

TEST(MetafileLoad, FollowsTheLoadingRule) {
  const LoadCase cases[] = {
      {"complete", [](auto&) {}, Outcome::Loads},
      {"extra bytes after it", [](auto& b) { b.resize(b.size() + 50, 0xAB); }, Outcome::Loads},
      {"first value not the header record", [](auto& b) { Put32(b, 0, 2); }, Outcome::NotValid},
      {"no signature", [](auto& b) { Put32(b, 40, 0x464D4521); }, Outcome::NotValid},
      {"nBytes below the header", [](auto& b) { Put32(b, 48, 107); }, Outcome::NotValid},
      {"nBytes beyond 32-bit counts", [](auto& b) { Put32(b, 48, 0xFFFFFFF0u); }, Outcome::NotValid},
      {"only 108 bytes remain", [](auto& b) { b.resize(108); }, Outcome::NotValid},
      {"a Windows metafile", [](auto& b) { Put32(b, 0, 0x9AC6CDD7); }, Outcome::NotValid},
      {"nBytes past the end", [](auto& b) { Put32(b, 48, static_cast<uint32_t>(b.size() + 1)); },
       Outcome::ReadError},
      {"nBytes of 2 GB in a small stream", [](auto& b) { Put32(b, 48, 0x7FFFFFFF); }, Outcome::ReadError},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<uint8_t> bytes = miniemf::Build({1, 2, 3});
    const size_t nBytes = bytes.size();
    c.damage(bytes);
    TMemoryStream s;
    Fill(s, bytes);
    TMetafile fromStream, fromBytes;
    switch (c.outcome) {
    case Outcome::Loads:
      fromStream.LoadFromStream(s);
      EXPECT_EQ(s.Position(), static_cast<int64_t>(nBytes));
      EXPECT_EQ(fromStream.Bytes(), std::vector<uint8_t>(bytes.begin(), bytes.begin() + nBytes));
      fromBytes.LoadFromBytes(bytes);
      EXPECT_EQ(fromBytes.Bytes(), fromStream.Bytes());
      break;
    case Outcome::NotValid:
      ExpectError<EInvalidGraphic>([&] { fromStream.LoadFromStream(s); }, "Metafile is not valid");
      ExpectError<EInvalidGraphic>([&] { fromBytes.LoadFromBytes(bytes); }, "Metafile is not valid");
      break;
    case Outcome::ReadError:
      ExpectError<EReadError>([&] { fromStream.LoadFromStream(s); }, "Stream read error");
      ExpectError<EReadError>([&] { fromBytes.LoadFromBytes(bytes); }, "Stream read error");
      break;
    }
  }
}

TEST(MetafileLoad, ReadsAtThePositionAndLeavesItAfterTheMetafile) {
  std::vector<uint8_t> first = miniemf::Build({9}), second = miniemf::Build({7, 7, 7, 7, 7});
  std::vector<uint8_t> all = {0xEE, 0xEE};
  all.insert(all.end(), first.begin(), first.end());
  all.insert(all.end(), second.begin(), second.end());
  TMemoryStream s;
  Fill(s, all);
  s.SetPosition(2);
  TMetafile a, b;
  a.LoadFromStream(s);
  b.LoadFromStream(s);
  EXPECT_EQ(a.Bytes(), first);
  EXPECT_EQ(b.Bytes(), second);
  EXPECT_EQ(s.Position(), s.Size());

  TMemoryStream out;
  a.SaveToStream(out);
  EXPECT_EQ(out.Bytes(), first);
}

TEST(MetafileSize, PixelsFromFrameAndReferenceDevice) {
  struct Case {
    miniemf::Geometry g;
    int32_t width, height;
  } cases[] = {
      {{}, 672, 950},                                           // 21000*1024/32000, 29700*768/24000 = 950.4
      {{0, 0, 50, 150, 1, 1, 1, 1}, 1, 2},                      // halves round away from zero
      {{100, 100, 0, 0, 96, 96, 25, 25}, -4, -4},               // inverted frame
      {{0, 0, 1000, 1000, 1024, 768, 0, 0}, -1, -1},            // no millimetres: MulDiv's -1
      {{-2147483647 - 1, 0, 2147483647, 10, 1, 1, 1, 1}, 0, 0}, // the extent wraps like 32-bit integers
  };
  for (const auto& c : cases) {
    TMetafile m;
    m.LoadFromBytes(miniemf::Build({}, c.g));
    EXPECT_EQ(m.Width(), c.width) << c.g.frameRight;
    EXPECT_EQ(m.Height(), c.height) << c.g.frameBottom;
  }
}

namespace {
std::vector<TEmfRecord> Records(const TMetafile& m) {
  std::vector<TEmfRecord> list;
  m.EnumerateRecords([&](const TEmfRecord& r) {
    list.push_back(r);
    return 1;
  });
  return list;
}
} // namespace

TEST(MetafileEnumerate, RecordsInFileOrderUpToTheEndRecord) {
  std::vector<uint8_t> bytes = miniemf::Build({1, 2, 3, 4, 5});
  Put32(bytes, 52, 99); // a wrong nRecords does not matter
  std::vector<uint8_t> withJunk = bytes;
  Put32(withJunk, 48, static_cast<uint32_t>(bytes.size() + 6));
  withJunk.resize(bytes.size() + 6, 0xFF); // bytes after EMR_EOF are ignored
  for (const auto& b : {bytes, withJunk}) {
    TMetafile m;
    m.LoadFromBytes(b);
    auto list = Records(m);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].Type, 1u);
    EXPECT_EQ(list[1].Type, 70u);
    EXPECT_EQ(list[1].Offset, 108u);
    EXPECT_EQ(list[1].Index, 1u);
    EXPECT_EQ(list[1].Data.size(), list[1].Size);
    EXPECT_EQ(list[2].Type, 14u);
  }

  TMetafile m;
  m.LoadFromBytes(bytes);
  int seen = 0;
  EXPECT_FALSE(m.EnumerateRecords([&](const TEmfRecord&) { return ++seen == 2 ? 0 : 1; }));
  EXPECT_EQ(seen, 2);
}

TEST(MetafileEnumerate, DamagedRecordsEndWithTheirIndexAndOffset) {
  const struct {
    const char* name;
    std::function<void(std::vector<uint8_t>&)> damage;
    const char* message;
  } cases[] = {
      {"size below 8", [](auto& b) { Put32(b, 112, 4); },
       "Metafile record 1 at offset 108 has the size 4, less than 8"},
      {"runs past the end", [](auto& b) { Put32(b, 112, 4000); },
       "Metafile record 1 at offset 108 of 4000 bytes runs past the end of the metafile (144 bytes)"},
      {"no end record, 4 bytes left",
       [](auto& b) {
         b.resize(b.size() - 16); // EMR_EOF cut to 4 bytes
         Put32(b, 48, static_cast<uint32_t>(b.size()));
       },
       "Metafile record 2 at offset 124 is cut short: 4 bytes left, 8 needed"},
  };
  for (const auto& c : cases) {
    std::vector<uint8_t> bytes = miniemf::Build({1, 2, 3, 4});
    c.damage(bytes);
    TMetafile m;
    m.LoadFromBytes(bytes);
    SCOPED_TRACE(c.name);
    ExpectError<EDamagedData>([&] { Records(m); }, c.message);
  }
}

TEST(MetafileCorpus, PublicFilesLoadEnumerateAndSaveUnchanged) {
  auto files = CorpusFiles("emf");
  if (files.empty()) GTEST_SKIP() << "no shared corpus";
  for (const auto& path : files) {
    SCOPED_TRACE(path.filename().string());
    std::vector<uint8_t> raw = ReadFileBytes(path.string());
    TMetafile m;
    ASSERT_NO_THROW(m.LoadFromFile(path.string()));
    ASSERT_LE(m.Bytes().size(), raw.size());
    EXPECT_TRUE(std::equal(m.Bytes().begin(), m.Bytes().end(), raw.begin()));
    std::vector<TEmfRecord> list;
    ASSERT_NO_THROW(list = Records(m));
    EXPECT_EQ(list.front().Type, 1u);
    EXPECT_EQ(list.back().Type, 14u);
    TMemoryStream out;
    m.SaveToStream(out);
    EXPECT_EQ(out.Bytes(), m.Bytes());
  }
}

TEST(MetafileCorpus, CorruptedFilesFailCleanlyOrLoad) {
  auto files = CorpusFiles("corrupted");
  if (files.empty()) GTEST_SKIP() << "no shared corpus";
  for (const auto& path : files) {
    TMetafile m;
    try {
      m.LoadFromFile(path.string());
      Records(m);
    } catch (const Exception& e) {
      EXPECT_FALSE(std::string(e.what()).empty()) << path;
    }
  }
}
