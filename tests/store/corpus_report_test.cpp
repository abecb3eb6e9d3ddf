// The public EMF files packed into reports, and the damaged files of the corpus opened as reports.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "../metafile/CorpusFiles.h"
#include "ReportFixture.h"
#include "platform/rtl/Exception.h"

namespace fs = std::filesystem;

TEST(CorpusReport, PublicPagesPackAndReadBackUnchanged) {
  const auto files = CorpusFiles("emf");
  if (files.empty()) GTEST_SKIP() << "no shared corpus";
  std::vector<TMetafile> pages(files.size());
  for (size_t i = 0; i < files.size(); ++i)
    pages[i].LoadFromFile(files[i].string());
  for (bool compression : {false, true}) {
    SCOPED_TRACE(compression ? "compressed" : "plain");
    const std::string path = fixture::OutputPath(compression ? "corpus-c.zvp" : "corpus.zvp");
    {
      TZVPageList writer;
      writer.SetStream(std::make_unique<TZVStream>(100000));
      writer.SetCompression(compression);
      for (const auto& p : pages)
        writer.AddPage(p);
      writer.Finish();
      writer.SaveToFile(path);
    }
    TZVPageList reader;
    reader.LoadFromFile(path);
    ASSERT_EQ(reader.PageCount(), static_cast<int32_t>(pages.size()));
    for (int32_t n = static_cast<int32_t>(pages.size()); n >= 1; --n) {
      auto page = reader.GetPage(n);
      ASSERT_NE(page, nullptr);
      ASSERT_EQ(page->Bytes(), pages[static_cast<size_t>(n - 1)].Bytes())
          << files[static_cast<size_t>(n - 1)];
      EXPECT_EQ(page->Width(), pages[static_cast<size_t>(n - 1)].Width());
    }
  }
}

TEST(CorpusReport, CorruptedFilesOpenedAsReportsFailCleanly) {
  auto files = CorpusFiles("corrupted");
  if (files.empty()) GTEST_SKIP() << "no shared corpus";
  for (const auto& path : files) {
    TZVPageList list;
    try {
      list.LoadFromFile(path.string());
      for (int32_t n = 1; n <= list.PageCount(); ++n)
        list.GetPage(n);
    } catch (const Exception& e) {
      EXPECT_FALSE(std::string(e.what()).empty()) << path;
    }
  }
}
