#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "../metafile/ExpectError.h"
#include "ReportFixture.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/TempFile.h"
#include "store/ZVStream.h"

namespace fs = std::filesystem;

namespace {
std::vector<uint8_t> Bytes(size_t n, uint8_t seed = 1) {
  std::vector<uint8_t> b(n);
  for (size_t i = 0; i < n; ++i)
    b[i] = static_cast<uint8_t>(seed + i * 7);
  return b;
}

void Write(TZVStream& s, const std::vector<uint8_t>& b) {
  s.WriteBuffer(b.data(), static_cast<int32_t>(b.size()));
}

// Records the size of every write it receives.
class WriteLog : public TMemoryStream {
 public:
  int32_t Write(const void* Buffer, int32_t Count) override {
    Counts.push_back(Count);
    return TMemoryStream::Write(Buffer, Count);
  }
  std::vector<int32_t> Counts;
};
} // namespace

TEST(ZVStream, MovesToATemporaryFileOnlyWhenItGrowsPastTheLimit) {
  TZVStream s(100000);
  const auto data = Bytes(100001);
  s.WriteBuffer(data.data(), 60000);
  s.WriteBuffer(data.data() + 60000, 40000); // exactly the limit
  EXPECT_TRUE(s.InMemory());
  s.SetPosition(50000);
  s.WriteBuffer(data.data() + 50000, 50000); // an overwrite up to the end does not grow it
  EXPECT_TRUE(s.InMemory());
  EXPECT_TRUE(s.Filename().empty());
  s.SetPosition(100000);
  s.WriteBuffer(data.data() + 100000, 1);
  EXPECT_FALSE(s.InMemory());
  EXPECT_EQ(s.Position(), 100001);
  EXPECT_EQ(s.Size(), 100001);
  EXPECT_EQ(fixture::StreamBytes(s), data);

  const fs::path temp = s.Filename();
  EXPECT_EQ(temp.parent_path(), fs::path(TempDirectory()));
  EXPECT_EQ(temp.filename().string().substr(0, 3), "ZVP");
  EXPECT_EQ(fs::file_size(temp), 100001u);
  s.SetPosition(10);
  s.WriteBuffer("xy", 2); // writes go to the file now
  EXPECT_EQ(fs::file_size(temp), 100001u);
}

TEST(ZVStream, LimitZeroMovesOnTheFirstByteOnly) {
  TZVStream s(0);
  EXPECT_EQ(s.Write("a", 0), 0);
  EXPECT_TRUE(s.InMemory());
  EXPECT_EQ(s.Write("a", 1), 1);
  EXPECT_FALSE(s.InMemory());
}

TEST(ZVStream, TemporaryFileLivesExactlyAsLongAsItsStream) {
  std::string temp;
  {
    TZVStream s(10);
    Write(s, Bytes(11));
    temp = s.Filename();
    ASSERT_TRUE(fs::exists(temp));
  }
  EXPECT_FALSE(fs::exists(temp));
}

TEST(ZVStream, FailedMoveKeepsTheDataInMemoryAndRetries) {
  const char* saved = std::getenv("TMPDIR");
  const std::string old = saved ? saved : "";
  setenv("TMPDIR", "/nonexistent/zvp-test", 1);
  TZVStream s(4);
  EXPECT_THROW(Write(s, Bytes(6)), EFCreateError);
  EXPECT_TRUE(s.InMemory());
  EXPECT_EQ(s.Size(), 6);
  if (saved)
    setenv("TMPDIR", old.c_str(), 1);
  else
    unsetenv("TMPDIR");
  Write(s, Bytes(2, 9));
  EXPECT_FALSE(s.InMemory());
  EXPECT_EQ(fixture::StreamBytes(s), fixture::Concat({Bytes(6), Bytes(2, 9)}));
}

TEST(ZVStream, CreateFromFileReadsAndNeverChangesTheFile) {
  const std::string path = fixture::OutputPath("opened.bin");
  const auto data = Bytes(3000);
  WriteFileBytes(path, data.data(), data.size());
  {
    auto s = TZVStream::CreateFromFile(path);
    EXPECT_FALSE(s->InMemory());
    EXPECT_EQ(fixture::StreamBytes(*s), data);
    s->SetPosition(0);
    EXPECT_THROW(s->WriteBuffer("zz", 2), EWriteError);
  }
  EXPECT_EQ(ReadFileBytes(path), data);

  const std::string missing = fixture::OutputPath("missing.zvp");
  ExpectError<EFOpenError>([&] { TZVStream::CreateFromFile(missing); },
                           "Cannot open file \"" + missing + "\". No such file or directory");
}

TEST(ZVStream, SaveToStreamCopiesInChunksAndEndsWithAnEmptyWrite) {
  const struct {
    size_t size;
    std::vector<int32_t> writes;
  } cases[] = {{0, {0}}, {10240, {10240, 0}}, {25000, {10240, 10240, 4520, 0}}};
  for (const auto& c : cases) {
    TZVStream s(100000);
    Write(s, Bytes(c.size));
    s.SetPosition(3);
    WriteLog log;
    s.SaveToStream(log);
    EXPECT_EQ(log.Counts, c.writes);
    EXPECT_EQ(log.Bytes(), Bytes(c.size));
    EXPECT_EQ(s.Position(), static_cast<int64_t>(c.size));
  }
}

TEST(ZVStream, HeaderSizeLooksForTheSignatureOfTheFirstPage) {
  const struct {
    std::vector<uint8_t> from173; // the bytes at offsets 173 to 180
    int32_t expected;
  } cases[] = {
      {{'E', 'M', 'F', 0, 0, 0, 0, 0}, 124},         {{0, 0, 0, 0, 'E', 'M', 'F', 0}, 128},
      {{'E', 'M', 'F', 'X', 'E', 'M', 'F', 0}, 128}, // four letters are not the signature
      {{'E', 'M', 'F', 'X', 1, 0, 0, 0}, 120},       {{0, 0, 0, 0, 'E', 'M', 'F', '!'}, 120},
  };
  for (const auto& c : cases) {
    std::vector<uint8_t> b(200, 0);
    std::copy(c.from173.begin(), c.from173.end(), b.begin() + 173);
    TZVStream s(100000);
    Write(s, b);
    s.SetPosition(57);
    EXPECT_EQ(s.HeaderSize(), c.expected);
    EXPECT_EQ(s.Position(), 57);
  }
}

TEST(ZVStream, HeaderSizeOfAShortStreamIsAReadErrorAndKeepsThePosition) {
  for (size_t size : {120u, 176u, 180u}) {
    TZVStream s(100000);
    Write(s, Bytes(size, 0x10));
    s.SetPosition(5);
    ExpectError<EReadError>([&] { s.HeaderSize(); }, "Stream read error");
    EXPECT_EQ(s.Position(), 5);
  }
  TZVStream early(100000);
  std::vector<uint8_t> b(177, 0);
  b[173] = 'E', b[174] = 'M', b[175] = 'F';
  Write(early, b);
  EXPECT_EQ(early.HeaderSize(), 124); // the second test is not needed
}

TEST(ZVStream, RefusesToGrowPast2GB) {
  const std::string message = "Stream write error: a report cannot grow past 2147483647 bytes";
  TZVStream memory(0x7FFFFFFF);
  memory.SetPosition(TZVStream::MaxSize);
  ExpectError<EWriteError>([&] { memory.WriteBuffer("a", 1); }, message);
  EXPECT_EQ(memory.Size(), 0);

  TZVStream file(0);
  Write(file, Bytes(4));
  file.SetPosition(TZVStream::MaxSize - 2);
  ExpectError<EWriteError>([&] { file.WriteBuffer("abc", 3); }, message);
  EXPECT_EQ(file.Size(), 4);
}
