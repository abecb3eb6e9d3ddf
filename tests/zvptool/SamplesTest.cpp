#include <gtest/gtest.h>

#include "ToolRunner.h"
#include "store/ZVPageList.h"

namespace {

struct TSample {
  const char* file;
  int32_t pages, width, height;
  bool compressed;
};
constexpr TSample Samples[] = {{"faktura.zvp", 3, 794, 1123, true}, {"zestawienie.zvp", 5, 1056, 816, false}};

std::string Committed(const char* file) {
  return std::string(ZVP_SOURCE_DIR) + "/samples/" + file;
}

} // namespace

TEST(Samples, PassCheckWithThePromisedPages) {
  TScratch s;
  for (const TSample& sample : Samples) {
    TRunResult r = s.Run("zvptool", {"check", Committed(sample.file)});
    EXPECT_EQ(r.Status, 0) << sample.file << ": " << r.Err;
    EXPECT_EQ(r.Out, "OK: " + std::to_string(sample.pages) + " pages\n") << sample.file;

    TZVPageList list;
    list.LoadFromFile(Committed(sample.file));
    EXPECT_EQ(list.PageCount(), sample.pages) << sample.file;
    EXPECT_EQ(list.Compression(), sample.compressed) << sample.file;
    for (int32_t n = 1; n <= list.PageCount(); n++) {
      auto page = list.GetPage(n);
      EXPECT_EQ(page->Width(), sample.width) << sample.file << " page " << n;
      EXPECT_EQ(page->Height(), sample.height) << sample.file << " page " << n;
    }
  }
}

TEST(Samples, AreWhatTheGeneratorWrites) {
  TScratch s;
  TRunResult r = s.Run("make-samples", {"."});
  ASSERT_EQ(r.Status, 0) << r.Err;
  for (const TSample& sample : Samples)
    EXPECT_EQ(ReadBytes(s.Path(sample.file)), ReadBytes(Committed(sample.file)))
        << sample.file << " is out of date: run make-samples samples";
}

TEST(Samples, LargeReportsHaveTheRequestedPages) {
  TScratch s;
  for (bool compress : {false, true}) {
    std::vector<std::string> args = {"--large", "12", "large.zvp"};
    if (compress) args.push_back("--compress");
    TRunResult r = s.Run("make-samples", args);
    ASSERT_EQ(r.Status, 0) << r.Err;
    TRunResult check = s.Run("zvptool", {"check", "large.zvp"});
    EXPECT_EQ(check.Status, 0) << check.Err;
    EXPECT_EQ(check.Out, "OK: 12 pages\n");
  }
}
