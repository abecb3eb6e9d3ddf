// The search's page text, read by two workers: every page once, with its own text, in the wished
// direction, whichever worker reads it; the boxes of a page asked for again after they were dropped.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <chrono>
#include <functional>
#include <thread>

#include "platform/emfwriter/EmfWriter.h"
#include "platform/rtl/Utf8.h"
#include "preview/PageTextCache.h"
#include "store/ZVPageList.h"

namespace {

constexpr int32_t kPages = 300;

std::string Report(const QTemporaryDir& dir) {
  const std::string path = dir.path().toStdString() + "/pages.zvp";
  TZVPageList writer;
  writer.SetStream(std::make_unique<TZVStream>(100000));
  for (int32_t page = 1; page <= kPages; ++page) {
    TEmfWriter w(300, 200);
    w.SelectObject(w.CreateFont({.Face = "Arial", .Height = -14}));
    w.TextOut(20, 20, "Strona " + std::to_string(page));
    writer.AddPage(w.ToMetafile());
  }
  writer.Finish();
  writer.SaveToFile(path);
  return path;
}

// Asks for the page until the workers have read it.
template <typename T> std::shared_ptr<const T> Wait(const std::function<std::shared_ptr<const T>()>& ask) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (std::chrono::steady_clock::now() < end) {
    if (auto answer = ask()) return answer;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return nullptr;
}

} // namespace

TEST(PageTextCache, EveryPageReadsItsOwnTextInEitherDirection) {
  QTemporaryDir dir;
  const std::string report = Report(dir);
  for (int direction : {1, -1}) {
    SCOPED_TRACE(direction);
    TPageTextCache cache(report);
    for (int32_t step = 0; step < kPages; ++step) {
      const int32_t page = direction > 0 ? step + 1 : kPages - step;
      auto text = Wait<std::u16string>(
          [&]() -> std::shared_ptr<const std::u16string> { return cache.Text(page, direction); });
      ASSERT_NE(text, nullptr) << "page " << page;
      ASSERT_EQ(Utf16ToUtf8(*text), "Strona " + std::to_string(page) + "\n");
    }
    EXPECT_EQ(cache.PageCount(), kPages);
  }
  TPageTextCache cache(report);
  // Read pages far past the boxes kept: asking for an early page's boxes reads it again.
  ASSERT_NE(
      Wait<std::u16string>([&]() -> std::shared_ptr<const std::u16string> { return cache.Text(kPages); }),
      nullptr);
  auto boxes = Wait<TReadingText>([&]() -> std::shared_ptr<const TReadingText> { return cache.Boxes(7); });
  ASSERT_NE(boxes, nullptr);
  EXPECT_EQ(Utf16ToUtf8(boxes->Text), "Strona 7\n");
  EXPECT_EQ(boxes->Boxes.size(), boxes->Text.size());
}

TEST(PageTextCache, AReportThatCannotBeOpenedHasNoPages) {
  TPageTextCache cache("/nonexistent/report.zvp");
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (cache.PageCount() == 0 && std::chrono::steady_clock::now() < end)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  EXPECT_EQ(cache.PageCount(), -1);
  EXPECT_EQ(cache.Text(1), nullptr);
}
