#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <filesystem>
#include <random>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "../metafile/ExpectError.h"
#include "ReportFixture.h"
#include "platform/rtl/Exception.h"
#include "store/ZVCompress.h"
#include "store/ZVPageList.h"

namespace fs = std::filesystem;
using fixture::I32;

namespace {
void ExpectPage(TZVPageList& list, int32_t number) {
  auto page = list.GetPage(number);
  ASSERT_NE(page, nullptr) << number;
  EXPECT_EQ(page->Bytes(), fixture::Page(number).Bytes()) << "page " << number;
}

std::vector<uint8_t> ToVector(const uint8_t* p, size_t n) {
  return std::vector<uint8_t>(p, p + n);
}
} // namespace

TEST(ZVPageList, OnePageFileLayout) {
  const TMetafile page = fixture::Page(1);
  const std::vector<uint8_t>& emf = page.Bytes();
  const int32_t e = static_cast<int32_t>(emf.size());
  for (bool compression : {false, true}) {
    SCOPED_TRACE(compression ? "compressed" : "plain");
    const auto b = fixture::StreamBytes(*fixture::Report({page}, compression)->Stream());
    const std::vector<uint8_t> code = fixture::Encode(emf);
    const int32_t c = static_cast<int32_t>(code.size());
    ASSERT_EQ(b.size(), static_cast<size_t>(compression ? 136 + c : 132 + e));
    EXPECT_EQ(b[0] | b[1] << 8, 3);
    EXPECT_EQ(b[2] | b[3] << 8, 308);
    EXPECT_EQ(I32(b, 5), 1);
    double date;
    std::memcpy(&date, b.data() + 9, 8);
    EXPECT_EQ(date, fixture::FixedDate);
    EXPECT_EQ(b[18], compression ? 1 : 0);
    EXPECT_EQ(I32(b, 120), 1);
    EXPECT_EQ(I32(b, b.size() - 4), 120);
    if (compression) {
      EXPECT_EQ(I32(b, 124), 136 + c);
      EXPECT_EQ(I32(b, 128), e);
      EXPECT_EQ(ToVector(b.data() + 132, code.size()), code);
    } else {
      EXPECT_EQ(I32(b, 124), 132 + e);
      EXPECT_EQ(ToVector(b.data() + 128, emf.size()), emf);
    }
  }
}

TEST(ZVPageList, HeaderCountIsOneUntilFinish) {
  TZVPageList list;
  list.SetStream(std::make_unique<TZVStream>(100000));
  EXPECT_EQ(fixture::StreamBytes(*list.Stream()).size(), 0u);
  for (int32_t i = 1; i <= 3; ++i)
    list.AddPage(fixture::Page(i));
  EXPECT_EQ(list.PageCount(), 3);
  EXPECT_EQ(I32(fixture::StreamBytes(*list.Stream()), 5), 1);
  list.Finish();
  EXPECT_EQ(I32(fixture::StreamBytes(*list.Stream()), 5), 3);
  EXPECT_EQ(list.Stream()->Position(), 120);
}

TEST(ZVPageList, FindsEveryPageInAnyOrder) {
  const int32_t count = 40;
  std::vector<int32_t> order;
  for (int32_t i = 1; i <= count; ++i)
    order.push_back(i); // in order: no walk
  for (int32_t i = count; i >= 1; --i)
    order.push_back(i); // backwards
  std::mt19937 random(5);
  for (int i = 0; i < 60; ++i)
    order.push_back(1 + static_cast<int32_t>(random() % count));
  for (bool compression : {false, true}) {
    SCOPED_TRACE(compression ? "compressed" : "plain");
    auto list = fixture::Report(fixture::Pages(count), compression);
    for (int32_t n : order)
      ExpectPage(*list, n);
    EXPECT_EQ(list->GetPage(0), nullptr);
    EXPECT_EQ(list->GetPage(count + 1), nullptr);
    EXPECT_EQ(list->GetPage(-1), nullptr);

    // Saved and opened from the file, compression comes from the header.
    const std::string path = fixture::OutputPath(compression ? "forty-c.zvp" : "forty.zvp");
    list->SaveToFile(path);
    ExpectPage(*list, 2); // right after a save the position is at the end
    TZVPageList opened;
    opened.LoadFromFile(path);
    EXPECT_EQ(opened.PageCount(), count);
    EXPECT_EQ(opened.Compression(), compression);
    for (int32_t n : order)
      ExpectPage(opened, n);
    // After a page the stream stands at the next record, as the file format's readers expect.
    opened.GetPage(7);
    EXPECT_EQ(opened.Stream()->Position(),
              static_cast<int64_t>(fixture::RecordStarts(fixture::StreamBytes(*opened.Stream()))[7]));
  }
}

TEST(ZVPageList, ReadsOlderHeaders) {
  // The same plain pages behind a 124- or 128-byte header: offsets move with the header.
  const auto current = fixture::ReportBytes(5, false);
  for (int32_t header : {124, 128}) {
    SCOPED_TRACE(header);
    const int32_t shift = header - 120;
    std::vector<uint8_t> b(header, 0);
    b[0] = 3, b[2] = 0x34, b[3] = 1;
    miniemf::Put32(b, 8, 5);
    b[18] = 1; // in these layouts this byte belongs to the date, not to a compression flag
    b.insert(b.end(), current.begin() + 120, current.end());
    for (size_t old : fixture::RecordStarts(current)) {
      const size_t start = old + shift, next = static_cast<size_t>(I32(current, old + 4) + shift);
      miniemf::Put32(b, start + 4, static_cast<uint32_t>(next));
      miniemf::Put32(b, next - 4, static_cast<uint32_t>(start));
    }
    TZVPageList list;
    fixture::Load(list, b);
    EXPECT_EQ(list.PageCount(), 5);
    EXPECT_FALSE(list.Compression());
    for (int32_t n : {3, 1, 5, 2, 4})
      ExpectPage(list, n);
  }
}

TEST(ZVPageList, SavingCopiesTheFileByteForByteAndNeverOverwritesTheOpenReport) {
  const std::string original = fixture::OutputPath("original.zvp");
  const std::string copy = fixture::OutputPath("copy.zvp");
  const auto bytes = fixture::ReportBytes(12, true);
  WriteFileBytes(original, bytes.data(), bytes.size());
  TZVPageList list;
  list.LoadFromFile(original);
  list.SaveToFile(copy);
  EXPECT_EQ(ReadFileBytes(copy), bytes);
  ExpectPage(list, 3);

  EXPECT_THROW(list.SaveToFile(original), EFCreateError);
  EXPECT_EQ(ReadFileBytes(original), bytes);
  ExpectPage(list, 12);
}

TEST(ZVPageList, AFailedSaveLeavesNoFileBehind) {
  const std::string path = fixture::OutputPath("cut.zvp");
  auto list = fixture::Report(fixture::Pages(60), false);
  ASSERT_GT(list->Stream()->Size(), 8192);
  // A file size limit stands in for a full disk.
  auto previous = std::signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  rlimit small = saved;
  small.rlim_cur = 8192;
  setrlimit(RLIMIT_FSIZE, &small);
  EXPECT_THROW(list->SaveToFile(path), EWriteError);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);
  EXPECT_FALSE(fs::exists(path));
}

TEST(ZVPageList, SavingOverAnotherReportThatCannotBeWrittenKeepsTheOldReport) {
  const fs::path folder = fs::path(fixture::OutputPath("over")).concat(".d");
  fs::remove_all(folder);
  fs::create_directories(folder);
  const std::string target = (folder / "other.zvp").string();
  const auto old = fixture::ReportBytes(2, false);
  WriteFileBytes(target, old.data(), old.size());
  auto list = fixture::Report(fixture::Pages(60), false);
  ASSERT_GT(list->Stream()->Size(), 8192);
  // A child whose files may not grow past 8 KiB stands in for a disk that fills up during the copy.
  const pid_t child = fork();
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit small{8192, 8192};
    setrlimit(RLIMIT_FSIZE, &small);
    int code = 0;
    try {
      list->SaveToFile(target);
    } catch (const EWriteError&) {
      code = 3;
    } catch (...) {
      code = 4;
    }
    _exit(code);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 3) << "the failure is reported as a write error";
  EXPECT_EQ(ReadFileBytes(target), old) << "the old report is untouched";
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(folder))
    left.push_back(entry.path().filename().string());
  EXPECT_EQ(left, std::vector<std::string>{"other.zvp"}) << "no temporary file is left behind";

  list->SaveToFile(target);
  EXPECT_EQ(ReadFileBytes(target), fixture::StreamBytes(*list->Stream())) << "a save that can succeed does";
}

TEST(ZVPageList, AFailedAppendLeavesTheReportAsItWas) {
  const std::string path = fixture::OutputPath("readonly.zvp");
  const auto bytes = fixture::ReportBytes(2, false);
  WriteFileBytes(path, bytes.data(), bytes.size());
  TZVPageList list;
  list.LoadFromFile(path);
  EXPECT_THROW(list.AddPage(fixture::Page(3)), EWriteError);
  EXPECT_EQ(list.PageCount(), 2);
  EXPECT_THROW(list.AddPage(TMetafile()), EInvalidGraphic);
  ExpectPage(list, 2);
  EXPECT_EQ(ReadFileBytes(path), bytes);
}

TEST(ZVPageList, WithoutAStreamNothingIsRead) {
  TZVPageList list;
  const std::string good = fixture::OutputPath("good.zvp");
  const auto bytes = fixture::ReportBytes(3, false);
  WriteFileBytes(good, bytes.data(), bytes.size());
  list.LoadFromFile(good);
  EXPECT_EQ(list.PageCount(), 3);
  EXPECT_THROW(list.LoadFromFile(fixture::OutputPath("absent.zvp")), EFOpenError);
  EXPECT_EQ(list.Stream(), nullptr);
  EXPECT_EQ(list.PageCount(), 0);
  EXPECT_EQ(list.GetPage(1), nullptr);
  EXPECT_THROW(list.SaveToFile(fixture::OutputPath("nothing.zvp")), Exception);

  list.LoadFromFile(good);
  list.Clear();
  EXPECT_EQ(list.PageCount(), 0);
  EXPECT_NE(list.Stream(), nullptr);
  auto released = list.ReleaseStream();
  EXPECT_EQ(list.Stream(), nullptr);
  EXPECT_EQ(fixture::StreamBytes(*released), bytes);
}

TEST(ZVPageList, AReaderReadsWhileAProducerAppends) {
  TZVPageList list;
  list.SetStream(std::make_unique<TZVStream>(3000)); // moves to a file while the reader reads
  list.SetCompression(true);
  const int32_t total = 150;
  std::atomic<bool> done{false};
  std::thread producer([&] {
    for (int32_t i = 1; i <= total; ++i)
      list.AddPage(fixture::Page(i));
    done = true;
  });
  std::mt19937 random(11);
  int reads = 0;
  while (!done || reads == 0) {
    const int32_t count = list.PageCount();
    if (count == 0) continue;
    const int32_t n = 1 + static_cast<int32_t>(random() % count);
    auto page = list.GetPage(n);
    ASSERT_NE(page, nullptr);
    ASSERT_EQ(page->Bytes(), fixture::Page(n).Bytes()) << n;
    ++reads;
  }
  producer.join();
  EXPECT_FALSE(list.Stream()->InMemory());
  list.Finish();
  for (int32_t n = 1; n <= total; ++n)
    ExpectPage(list, n);
}
