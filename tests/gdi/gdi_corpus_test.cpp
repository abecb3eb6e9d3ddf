// Damaged metafiles from the shared corpus draw or fail cleanly (the sanitizer build catches the rest).
#include <gtest/gtest.h>

#include <filesystem>

#include "GdiTestSupport.h"
#include "platform/gdi/PageImage.h"

namespace {

TEST(GdiCorpus, DamagedFilesRenderOrFailCleanly) {
  std::filesystem::path dir = std::filesystem::path(ZVP_SHARED_DIR) / "corpus" / "corrupted";
  if (!std::filesystem::is_directory(dir)) GTEST_SKIP() << "no shared corpus";
  EnsureGuiApplication();
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    SCOPED_TRACE(entry.path().filename().string());
    ++files;
    TMetafile mf;
    try {
      mf.LoadFromFile(entry.path().string());
    } catch (const Exception&) {
      continue; // refused at loading: fine
    }
    try {
      TPageImage page = RenderPageImage(mf, TPageImageOptions{.Dpi = 96, .Fit = 400});
      EXPECT_FALSE(page.Image.isNull());
      if (!page.Complete) {
        EXPECT_FALSE(page.FirstProblem.empty());
      }
    } catch (const EDamagedData&) {
      // a metafile without a size
    }
  }
  EXPECT_GT(files, 0);
}

} // namespace
