#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include "ToolRunner.h"
#include "platform/emfwriter/EmfWriter.h"

namespace {

// A small page of the given pixel size with a frame, a filled box and a line of text.
std::vector<uint8_t> Page(int32_t w, int32_t h, const std::string& label) {
  TEmfWriter writer(w, h, 96);
  writer.SelectObject(writer.CreateFont({.Height = -12}));
  writer.Rectangle(0, 0, w, h);
  writer.SelectObject(writer.CreateSolidBrush(emf::EmfRgb(200, 220, 240)));
  writer.Rectangle(10, 10, w / 2, h / 2);
  writer.TextOut(12, h - 30, label);
  return writer.Finish();
}

void PutI32(std::vector<uint8_t>& bytes, size_t at, int32_t v) {
  std::memcpy(bytes.data() + at, &v, 4);
}
int32_t GetI32(const std::vector<uint8_t>& bytes, size_t at) {
  int32_t v;
  std::memcpy(&v, bytes.data() + at, 4);
  return v;
}

class ZvptoolTest : public ::testing::Test {
 protected:
  // Writes page1.emf ... pageN.emf in the scratch folder.
  std::vector<std::string> WritePages(const std::vector<std::pair<int32_t, int32_t>>& sizes) {
    std::vector<std::string> names;
    for (size_t i = 0; i < sizes.size(); i++) {
      names.push_back("in" + std::to_string(i + 1) + ".emf");
      WriteBytes(S.Path(names.back()),
                 Page(sizes[i].first, sizes[i].second, "Strona " + std::to_string(i + 1) + " – zażółć"));
    }
    return names;
  }
  // Packs the pages into report.zvp and returns its bytes.
  std::vector<uint8_t> Pack(const std::vector<std::string>& pages, bool compress) {
    std::vector<std::string> args = {"pack"};
    if (compress) args.push_back("--compress");
    args.push_back("report.zvp");
    args.insert(args.end(), pages.begin(), pages.end());
    TRunResult r = S.Run("zvptool", args);
    EXPECT_EQ(r.Status, 0) << r.Err;
    return ReadBytes(S.Path("report.zvp"));
  }

  TScratch S;
};

} // namespace

TEST_F(ZvptoolTest, InfoAndCheckDescribeAPackedReport) {
  for (bool compress : {false, true}) {
    auto pages = WritePages({{200, 100}, {300, 150}});
    auto report = Pack(pages, compress);
    const auto e1 = ReadBytes(S.Path(pages[0])).size(), e2 = ReadBytes(S.Path(pages[1])).size();
    const int32_t second = GetI32(report, 124);
    auto stored = [&](int32_t start, int32_t next) {
      return compress ? " (stored in " + std::to_string(next - start - 12) + ")" : std::string();
    };
    TRunResult info = S.Run("zvptool", {"info", "report.zvp"});
    EXPECT_EQ(info.Status, 0) << info.Err;
    EXPECT_EQ(info.Out, "Header: 120 bytes\nPages: 2\nCompression: " + std::string(compress ? "yes" : "no") +
                            "\nPage 1: 200 x 100 px, " + std::to_string(e1) + " bytes" + stored(120, second) +
                            "\nPage 2: 300 x 150 px, " + std::to_string(e2) + " bytes" +
                            stored(second, static_cast<int32_t>(report.size())) + "\n");
    TRunResult check = S.Run("zvptool", {"check", "report.zvp"});
    EXPECT_EQ(check.Status, 0) << check.Err;
    EXPECT_EQ(check.Out, "OK: 2 pages\n");
    EXPECT_EQ(ReadBytes(S.Path("report.zvp")), report) << "info and check leave the report alone";
  }
}

TEST_F(ZvptoolTest, PackThenUnpackGivesBackThePagesByteForByte) {
  for (bool compress : {false, true}) {
    auto pages = WritePages({{794, 1123}, {1056, 816}, {50, 50}});
    std::vector<std::vector<uint8_t>> inputs;
    for (const auto& p : pages)
      inputs.push_back(ReadBytes(S.Path(p)));
    auto report = Pack(pages, compress);
    TRunResult r = S.Run("zvptool", {"unpack", "report.zvp", "out/pages"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    for (size_t i = 0; i < pages.size(); i++) {
      EXPECT_EQ(ReadBytes(S.Path("out/pages/page" + std::to_string(i + 1) + ".emf")), inputs[i]) << i;
      EXPECT_EQ(ReadBytes(S.Path(pages[i])), inputs[i]) << "pack must not touch its inputs";
    }
    EXPECT_FALSE(std::filesystem::exists(S.Path("out/pages/page4.emf")));
    EXPECT_EQ(ReadBytes(S.Path("report.zvp")), report);
  }
}

TEST_F(ZvptoolTest, WrongUsagePrintsTheUsageWithStatus2) {
  const std::vector<std::vector<std::string>> cases = {{},
                                                       {"frobnicate"},
                                                       {"info"},
                                                       {"info", "a.zvp", "b.zvp"},
                                                       {"check"},
                                                       {"pack", "out.zvp"},
                                                       {"pack", "--fast", "out.zvp", "a.emf"},
                                                       {"unpack", "a.zvp"}};
  for (const auto& args : cases) {
    TRunResult r = S.Run("zvptool", args);
    std::string shown = args.empty() ? "(none)" : args[0] + "...";
    EXPECT_EQ(r.Status, 2) << shown;
    EXPECT_NE(r.Err.find("Usage: zvptool"), std::string::npos) << shown;
    EXPECT_NE(r.Err.find("unpack FILE.zvp DIR"), std::string::npos) << shown;
    EXPECT_EQ(r.Out, "") << shown;
  }
  TRunResult help = S.Run("zvptool", {"--help"});
  EXPECT_EQ(help.Status, 0);
  EXPECT_NE(help.Out.find("Usage: zvptool"), std::string::npos);
}

TEST_F(ZvptoolTest, FailuresEndWithStatus1AndLeaveFilesAlone) {
  auto pages = WritePages({{100, 100}});
  auto report = Pack(pages, false);
  const auto page = ReadBytes(S.Path(pages[0]));
  WriteBytes(S.Path("notes.txt"), {'h', 'e', 'l', 'l', 'o'});
  struct Case {
    std::vector<std::string> args;
    std::string message;
  } cases[] = {
      {{"info", "missing.zvp"}, "zvptool: Cannot open file \"missing.zvp\""},
      {{"check", "notes.txt"}, "zvptool: header: the file has 5 bytes"},
      {{"pack", "report.zvp", "notes.txt"}, "zvptool: notes.txt: Metafile is not valid"},
      {{"pack", "in1.emf", "in1.emf"}, "zvptool: the output \"in1.emf\" is the input"},
      {{"pack", "./in1.emf", "in1.emf"}, "is the input"},
      {{"pack", "no/such/dir/out.zvp", "in1.emf"}, "zvptool: Cannot create file \"no/such/dir/out.zvp\""},
      {{"unpack", "notes.txt", "out"}, "zvptool: "},
  };
  for (const auto& c : cases) {
    TRunResult r = S.Run("zvptool", c.args);
    EXPECT_EQ(r.Status, 1) << c.args[0] << " " << c.args[1];
    EXPECT_EQ(r.Err.rfind(c.message, 0) == 0 || r.Err.find(c.message) != std::string::npos, true)
        << "stderr: " << r.Err;
    EXPECT_EQ(r.Err.rfind("zvptool: ", 0), 0u) << r.Err;
  }
  EXPECT_EQ(ReadBytes(S.Path("report.zvp")), report) << "a failed pack does not replace its output";
  EXPECT_FALSE(S.PartFilesLeft());
  EXPECT_EQ(ReadBytes(S.Path(pages[0])), page);
  EXPECT_FALSE(std::filesystem::exists(S.Path("out"))) << "a damaged report gives no pages";
}

TEST_F(ZvptoolTest, CheckReportsTheFirstBrokenLinkOfTheChain) {
  auto pages = WritePages({{100, 100}, {120, 80}, {90, 90}});
  const auto plain = Pack(pages, false);
  const int32_t r1 = 120, r2 = GetI32(plain, r1 + 4), r3 = GetI32(plain, r2 + 4);
  const int32_t end = static_cast<int32_t>(plain.size());
  const auto at = [](int32_t n, int32_t offset) {
    return "record " + std::to_string(n) + " at offset " + std::to_string(offset) + ": ";
  };
  struct Case {
    const char* name;
    std::function<void(std::vector<uint8_t>&)> damage;
    std::string message;
  } cases[] = {
      {"record out of sequence", [&](auto& b) { PutI32(b, r2, 7); },
       at(2, r2) + "it holds the page number 7"},
      {"next offset short of the end", [&](auto& b) { PutI32(b, r1 + 4, r2 - 4); },
       at(1, r1) + "the next-record offset " + std::to_string(r2 - 4) + " is not the record's end"},
      {"next offset outside the file", [&](auto& b) { PutI32(b, r3 + 4, end + 100); },
       at(3, r3) + "the next-record offset " + std::to_string(end + 100) + " lies outside"},
      {"trailing offset", [&](auto& b) { PutI32(b, r3 - 4, 999); }, at(2, r2) + "the trailing offset 999"},
      {"bytes after the last record", [](auto& b) { b.insert(b.end(), 4, 0); },
       "the last record (3) ends at offset " + std::to_string(end)},
      {"more pages announced than stored", [](auto& b) { PutI32(b, 5, 4); },
       at(4, end) + "the file ends at offset " + std::to_string(end)},
      {"no pages", [](auto& b) { PutI32(b, 5, 0); }, "header: the page count is 0"},
      {"cut short", [](auto& b) { b.resize(b.size() - 10); }, at(3, r3)},
      {"damaged metafile record", [&](auto& b) { PutI32(b, r2 + 8 + 108 + 4, 0xFFFF); },
       "page 2 (record at offset " + std::to_string(r2) + "): Metafile record 1 at offset 108"},
  };
  for (const auto& c : cases) {
    auto bytes = plain;
    c.damage(bytes);
    WriteBytes(S.Path("damaged.zvp"), bytes);
    TRunResult r = S.Run("zvptool", {"check", "damaged.zvp"});
    EXPECT_EQ(r.Status, 1) << c.name;
    EXPECT_EQ(r.Out, "") << c.name;
    EXPECT_EQ(r.Err.rfind("zvptool: ", 0), 0u) << c.name << ": " << r.Err;
    EXPECT_NE(r.Err.find(c.message), std::string::npos) << c.name << ": " << r.Err;
    EXPECT_EQ(ReadBytes(S.Path("damaged.zvp")), bytes) << c.name;
  }
}

TEST_F(ZvptoolTest, CheckDecodesEveryCompressedPage) {
  auto pages = WritePages({{100, 100}, {120, 80}});
  auto report = Pack(pages, true);
  const int32_t r2 = GetI32(report, 124);
  PutI32(report, r2 + 8, GetI32(report, r2 + 8) + 1); // the page length no longer matches its code
  WriteBytes(S.Path("damaged.zvp"), report);
  TRunResult r = S.Run("zvptool", {"check", "damaged.zvp"});
  EXPECT_EQ(r.Status, 1);
  EXPECT_NE(r.Err.find("zvptool: page 2 (record at offset " + std::to_string(r2) + "): "), std::string::npos)
      << r.Err;
}

TEST_F(ZvptoolTest, OlderHeaderLengthsAreRecognised) {
  auto pages = WritePages({{100, 100}});
  const auto page = ReadBytes(S.Path(pages[0]));
  for (int32_t headerSize : {124, 128}) {
    // The older headers carry the page count at offset 8; one plain page follows.
    std::vector<uint8_t> report(static_cast<size_t>(headerSize), 0);
    report[0] = 3;
    PutI32(report, 8, 1);
    const int32_t next = headerSize + 8 + static_cast<int32_t>(page.size()) + 4;
    report.resize(static_cast<size_t>(next));
    PutI32(report, static_cast<size_t>(headerSize), 1);
    PutI32(report, static_cast<size_t>(headerSize) + 4, next);
    std::memcpy(report.data() + headerSize + 8, page.data(), page.size());
    PutI32(report, static_cast<size_t>(next) - 4, headerSize);
    WriteBytes(S.Path("old.zvp"), report);

    TRunResult check = S.Run("zvptool", {"check", "old.zvp"});
    EXPECT_EQ(check.Status, 0) << headerSize << ": " << check.Err;
    TRunResult info = S.Run("zvptool", {"info", "old.zvp"});
    EXPECT_EQ(
        info.Out.rfind("Header: " + std::to_string(headerSize) + " bytes\nPages: 1\nCompression: no\n", 0),
        0u)
        << info.Out << info.Err;
  }
}

TEST_F(ZvptoolTest, RealMetafilesSurviveACompressedRoundTrip) {
  const std::filesystem::path corpus = std::filesystem::path(ZVP_SHARED_DIR) / "corpus" / "emf";
  if (!std::filesystem::is_directory(corpus)) GTEST_SKIP() << "no corpus at " << corpus;
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(corpus))
    files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  std::vector<std::string> args = {"pack", "--compress", "real.zvp"};
  std::vector<std::vector<uint8_t>> expected;
  for (const auto& file : files) {
    if (expected.size() == 12) break;
    TMetafile m;
    try {
      m.LoadFromFile(file.string());
      m.EnumerateRecords([](const TEmfRecord&) { return 1; });
    } catch (const std::exception&) {
      continue; // pack refuses what does not load; that is tested elsewhere
    }
    args.push_back(file.string());
    expected.push_back(m.Bytes());
  }
  ASSERT_FALSE(expected.empty());
  ASSERT_EQ(S.Run("zvptool", args).Status, 0);
  TRunResult check = S.Run("zvptool", {"check", "real.zvp"});
  EXPECT_EQ(check.Status, 0) << check.Err;
  ASSERT_EQ(S.Run("zvptool", {"unpack", "real.zvp", "pages"}).Status, 0);
  for (size_t i = 0; i < expected.size(); i++)
    EXPECT_EQ(ReadBytes(S.Path("pages/page" + std::to_string(i + 1) + ".emf")), expected[i]) << args[i + 3];
}
