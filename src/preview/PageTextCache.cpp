#include "PageTextCache.h"

#include "store/ZVPageList.h"

namespace {
// Pages whose boxes are kept.
constexpr size_t kPagesWithBoxes = 8;
// Pages read ahead of the last wish before the worker waits for another.
constexpr int32_t kReadAhead = 256;
} // namespace

TPageTextCache::TPageTextCache(std::string fileName, std::function<void()> onReady)
    : FFileName(std::move(fileName)), FOnReady(std::move(onReady)) {
  FThread = std::thread([this] { Run(); });
}

TPageTextCache::~TPageTextCache() {
  {
    std::lock_guard lock(FMutex);
    FStop = true;
  }
  FWake.notify_all();
  FThread.join();
}

int32_t TPageTextCache::PageCount() const {
  std::lock_guard lock(FMutex);
  return FPageCount;
}

std::shared_ptr<const std::u16string> TPageTextCache::Text(int32_t page, int direction) {
  std::lock_guard lock(FMutex);
  auto it = FTexts.find(page);
  if (it != FTexts.end()) return it->second;
  if (FWish != page || FWishDirection != direction) {
    FWish = page;
    FWishDirection = direction < 0 ? -1 : 1;
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
    FPageCount = count;
  }
  if (FOnReady) FOnReady();
  if (count < 0) return;

  int32_t next = 0; // the page the worker goes on from
  int direction = 1;
  int32_t ahead = 0;
  for (;;) {
    int32_t page = 0;
    {
      std::unique_lock lock(FMutex);
      for (;;) {
        if (FStop) return;
        if (FBoxesWish) {
          page = FBoxesWish;
          FBoxesWish = 0;
          break;
        }
        if (FWish) {
          next = FWish;
          direction = FWishDirection;
          FWish = 0;
          ahead = kReadAhead;
        }
        // The first page from `next` on in the direction that has not been read yet.
        if (next && ahead > 0) {
          for (int32_t step = 0; step < count && !page; ++step) {
            int32_t candidate = ((next - 1 + direction * step) % count + count) % count + 1;
            if (!FTexts.count(candidate)) page = candidate;
          }
          if (page) {
            next = page;
            --ahead;
            break;
          }
          next = 0;
        }
        FWake.wait(lock);
      }
    }
    std::shared_ptr<TReadingText> text = std::make_shared<TReadingText>();
    try {
      if (page >= 1 && page <= count)
        if (std::unique_ptr<TMetafile> metafile = list.GetPage(page))
          *text = ReadingOrder(ExtractPageText(*metafile));
    } catch (const std::exception&) {
      *text = TReadingText(); // a page that cannot be read has no text
    }
    {
      std::lock_guard lock(FMutex);
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
