#include "PageTextCache.h"

#include "store/ZVPageList.h"

namespace {
// Pages whose boxes are kept.
constexpr size_t kPagesWithBoxes = 8;
// Pages read ahead of the last wish before the workers wait for another.
constexpr int32_t kReadAhead = 256;
// Worker threads.
constexpr int kWorkers = 2;
} // namespace

TPageTextCache::TPageTextCache(std::string fileName, std::function<void()> onReady)
    : FFileName(std::move(fileName)), FOnReady(std::move(onReady)) {
  for (int i = 0; i < kWorkers; ++i)
    FThreads.emplace_back([this] { Run(); });
}

TPageTextCache::~TPageTextCache() {
  {
    std::lock_guard lock(FMutex);
    FStop = true;
  }
  FWake.notify_all();
  for (std::thread& thread : FThreads)
    thread.join();
}

int32_t TPageTextCache::PageCount() const {
  std::lock_guard lock(FMutex);
  return FPageCount;
}

std::shared_ptr<const std::u16string> TPageTextCache::Text(int32_t page, int direction) {
  std::lock_guard lock(FMutex);
  auto it = FTexts.find(page);
  if (it != FTexts.end()) return it->second;
  direction = direction < 0 ? -1 : 1;
  // A new wish moves the workers there (a wish for the page being read now keeps them going on).
  if (FNext != page || FDirection != direction || FAhead == 0) {
    FNext = page;
    FDirection = direction;
    FAhead = kReadAhead;
    FWake.notify_all();
  }
  return nullptr;
}

std::shared_ptr<const TReadingText> TPageTextCache::Boxes(int32_t page) {
  std::lock_guard lock(FMutex);
  auto it = FFull.find(page);
  if (it != FFull.end()) {
    FFullAge[page] = ++FClock;
    return it->second;
  }
  FBoxesWish = page;
  FWake.notify_all();
  return nullptr;
}

int32_t TPageTextCache::TakePage() {
  const int32_t count = FPageCount;
  if (count <= 0) return 0;
  if (FBoxesWish) {
    const int32_t page = FBoxesWish;
    FBoxesWish = 0;
    if (!FReading.count(page)) {
      FReading.insert(page);
      return page;
    }
  }
  if (!FNext || FAhead <= 0) return 0;
  // The first page from FNext on in the direction that is neither read nor being read.
  for (int32_t step = 0; step < count; ++step) {
    const int32_t candidate = ((FNext - 1 + FDirection * step) % count + count) % count + 1;
    if (FTexts.count(candidate) || FReading.count(candidate)) continue;
    FNext = candidate;
    --FAhead;
    FReading.insert(candidate);
    return candidate;
  }
  FAhead = 0;
  return 0;
}

void TPageTextCache::Run() {
  TZVPageList list;
  int32_t count = -1;
  try {
    list.LoadFromFile(FFileName);
    count = list.PageCount() > 0 ? list.PageCount() : -1;
  } catch (const std::exception&) {
    count = -1;
  }
  {
    std::lock_guard lock(FMutex);
    // The first worker to open the report gives the count; a later one agrees or stops.
    if (++FOpened == 1 || FPageCount == 0) FPageCount = count;
    if (count != FPageCount) count = -1;
  }
  FWake.notify_all();
  if (FOnReady) FOnReady();
  if (count < 0) return;

  for (;;) {
    int32_t page = 0;
    {
      std::unique_lock lock(FMutex);
      while (!FStop && !(page = TakePage()))
        FWake.wait(lock);
      if (FStop) return;
    }
    std::shared_ptr<TReadingText> text = std::make_shared<TReadingText>();
    try {
      if (std::unique_ptr<TMetafile> metafile = list.GetPage(page))
        *text = ReadingOrder(ExtractPageText(*metafile));
    } catch (const std::exception&) {
      *text = TReadingText(); // a page that cannot be read has no text
    }
    {
      std::lock_guard lock(FMutex);
      FReading.erase(page);
      FTexts[page] = std::make_shared<const std::u16string>(text->Text);
      FFull[page] = text;
      FFullAge[page] = ++FClock;
      while (FFull.size() > kPagesWithBoxes) {
        auto oldest = FFullAge.begin();
        for (auto it = FFullAge.begin(); it != FFullAge.end(); ++it)
          if (it->second < oldest->second) oldest = it;
        FFull.erase(oldest->first);
        FFullAge.erase(oldest);
      }
    }
    if (FOnReady) FOnReady();
  }
}
