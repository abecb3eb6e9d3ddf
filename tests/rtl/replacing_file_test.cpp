#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/rtl/Exception.h"
#include "platform/rtl/ReplacingFile.h"
#include "platform/rtl/Stream.h"

namespace fs = std::filesystem;

namespace {

// A fresh, empty folder per test, so "nothing left behind" means "only the files the test made".
fs::path Folder(const std::string& name) {
  fs::path p = fs::path(ZVP_TEST_OUTPUT_DIR) / "rtl-replacing" / name;
  fs::remove_all(p);
  fs::create_directories(p);
  return p;
}

std::vector<std::string> Entries(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<uint8_t> Bytes(size_t size, uint8_t seed) {
  std::vector<uint8_t> bytes(size);
  for (size_t i = 0; i < size; ++i)
    bytes[i] = static_cast<uint8_t>(seed + i * 7);
  return bytes;
}

// A source that promises more bytes than it delivers, as a file cut short while it is copied does.
class TShortStream : public TStream {
 public:
  TShortStream(std::vector<uint8_t> bytes, int64_t promised)
      : FBytes(std::move(bytes)), FPromised(promised) {}
  int32_t Read(void* Buffer, int32_t Count) override {
    const int64_t n = std::clamp<int64_t>(static_cast<int64_t>(FBytes.size()) - FPosition, 0, Count);
    std::copy_n(FBytes.begin() + FPosition, n, static_cast<uint8_t*>(Buffer));
    FPosition += n;
    return static_cast<int32_t>(n);
  }
  int32_t Write(const void*, int32_t) override { return 0; }
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override {
    FPosition = Origin == soBeginning ? Offset
                : Origin == soCurrent ? FPosition + Offset
                                      : FPromised + Offset;
    return FPosition;
  }
  int64_t Size() override { return FPromised; }

 private:
  std::vector<uint8_t> FBytes;
  int64_t FPromised;
  int64_t FPosition = 0;
};

// Runs body in a child process whose files may not grow past limit bytes; returns its exit code.
template <class Body> int InChildWithFileLimit(rlim_t limit, Body body) {
  pid_t child = ::fork();
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit small{limit, limit};
    ::setrlimit(RLIMIT_FSIZE, &small);
    int code = 0;
    try {
      body();
    } catch (const EWriteError&) {
      code = 3;
    } catch (...) {
      code = 4;
    }
    ::_exit(code);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(ReplacingFile, ACommittedFileReplacesTheTargetAndKeepsItsPermissions) {
  const fs::path folder = Folder("commit");
  const std::string target = (folder / "report.zvp").string();
  const auto old = Bytes(100, 1), fresh = Bytes(5000, 2);
  WriteFileBytes(target, old.data(), old.size());
  ::chmod(target.c_str(), 0640);
  WriteFileBytes(target, fresh.data(), fresh.size());
  EXPECT_EQ(ReadFileBytes(target), fresh);
  struct stat st {};
  ASSERT_EQ(::stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(Entries(folder), std::vector<std::string>{"report.zvp"});
}

TEST(ReplacingFile, AFileNotCommittedLeavesTheTargetAndNoTemporary) {
  const fs::path folder = Folder("discard");
  const std::string target = (folder / "report.zvp").string();
  const auto old = Bytes(100, 1);
  WriteFileBytes(target, old.data(), old.size());
  {
    TReplacingFileStream file(target);
    EXPECT_TRUE(fs::exists(file.TempName()));
    EXPECT_EQ(fs::path(file.TempName()).parent_path(), folder) << "the temporary lives beside its target";
    const auto other = Bytes(3000, 9);
    file.WriteBuffer(other.data(), static_cast<int32_t>(other.size()));
  }
  EXPECT_EQ(ReadFileBytes(target), old);
  EXPECT_EQ(Entries(folder), std::vector<std::string>{"report.zvp"});
}

TEST(ReplacingFile, ALinkStaysALinkAndItsFileIsReplaced) {
  const fs::path folder = Folder("link");
  const std::string file = (folder / "real.zvp").string(), link = (folder / "link.zvp").string();
  const auto old = Bytes(10, 1), fresh = Bytes(20, 2);
  WriteFileBytes(file, old.data(), old.size());
  fs::create_symlink("real.zvp", link);
  WriteFileBytes(link, fresh.data(), fresh.size());
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadFileBytes(file), fresh);
  EXPECT_EQ(Entries(folder), (std::vector<std::string>{"link.zvp", "real.zvp"}));
}

TEST(ReplacingFile, RefusedTargets) {
  const fs::path folder = Folder("refused");
  const std::string open = (folder / "open.zvp").string();
  const auto old = Bytes(10, 1);
  WriteFileBytes(open, old.data(), old.size());
  TFileStream reader(open, fmOpenReadShared);
  const std::string targets[] = {folder.string(), open, (folder / "no" / "such.zvp").string()};
  for (const std::string& target : targets)
    EXPECT_THROW(TReplacingFileStream{target}, EFCreateError) << target;
  EXPECT_EQ(ReadFileBytes(open), old);
  EXPECT_EQ(Entries(folder), std::vector<std::string>{"open.zvp"});
}

TEST(ReplacingFile, AWriteFailingMidwayLeavesTheOldFileByteForByte) {
  const fs::path folder = Folder("full");
  const std::string target = (folder / "report.zvp").string();
  const auto old = Bytes(1000, 1), fresh = Bytes(64 * 1024, 2);
  WriteFileBytes(target, old.data(), old.size());
  // The file size limit stands in for a full disk.
  EXPECT_EQ(InChildWithFileLimit(8192, [&] { WriteFileBytes(target, fresh.data(), fresh.size()); }), 3);
  EXPECT_EQ(InChildWithFileLimit(8192,
                                 [&] {
                                   TMemoryStream content;
                                   content.WriteBuffer(fresh.data(), static_cast<int32_t>(fresh.size()));
                                   TReplacingFileStream file(target);
                                   file.CopyFrom(content, 0);
                                   file.Commit();
                                 }),
            3);
  EXPECT_EQ(ReadFileBytes(target), old);
  EXPECT_EQ(Entries(folder), std::vector<std::string>{"report.zvp"});
}

TEST(ReplacingFile, AShortReadIsAnErrorAndReplacesNothing) {
  const fs::path folder = Folder("short");
  const std::string target = (folder / "report.zvp").string();
  const auto old = Bytes(1000, 1);
  WriteFileBytes(target, old.data(), old.size());
  TShortStream source(Bytes(70000, 3), 100000);
  {
    TReplacingFileStream file(target);
    EXPECT_THROW(file.CopyFrom(source, 0), EReadError);
  }
  EXPECT_EQ(ReadFileBytes(target), old);
  EXPECT_EQ(Entries(folder), std::vector<std::string>{"report.zvp"});
}
