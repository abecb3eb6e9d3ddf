#pragma once
// The text of a report's pages for searching, read on threads of its own (plain C++, no Qt): each opens
// the report file with a reader of its own and extracts pages with the text library, never touching the
// objects the preview draws with. Two threads share the pages to read, so a search uses both cores of a
// small machine while the window waits for events. Callers ask for a page without waiting: the answer is
// there or it is not yet, and the worker reads the wished page and the pages after it in the wished
// direction.
//
// The text of every page read is kept (text only, a few kilobytes a page); the character boxes are kept
// for the last few pages, which is what a search shows. A page that cannot be read has no text.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/text/PageText.h"

class TPageTextCache {
 public:
  // `onReady` is called on a worker thread after each page (it must only post a note to its owner).
  TPageTextCache(std::string fileName, std::function<void()> onReady = {});
  ~TPageTextCache();
  TPageTextCache(const TPageTextCache&) = delete;
  TPageTextCache& operator=(const TPageTextCache&) = delete;

  // Pages in the report (0 until the worker has opened it; -1 when it cannot be opened).
  int32_t PageCount() const;
  // The page's text when it has been read, else null; the worker then reads `page` next and goes on
  // from it in `direction` (+1 or -1), wrapping around.
  std::shared_ptr<const std::u16string> Text(int32_t page, int direction = 1);
  // The page's text with its boxes when they are still kept, else null (and the page is read again).
  std::shared_ptr<const TReadingText> Boxes(int32_t page);

 private:
  void Run();
  // The next page to read under the lock (0: none now), marked as being read.
  int32_t TakePage();

  const std::string FFileName;
  const std::function<void()> FOnReady;
  mutable std::mutex FMutex;
  std::condition_variable FWake;
  std::map<int32_t, std::shared_ptr<const std::u16string>> FTexts;
  std::map<int32_t, std::shared_ptr<const TReadingText>> FFull; // the last few pages read
  std::map<int32_t, uint64_t> FFullAge;
  uint64_t FClock = 0;
  std::set<int32_t> FReading; // pages a worker is reading now
  int32_t FPageCount = 0;
  int32_t FNext = 0, FDirection = 1, FAhead = 0; // where the workers go on, and how far
  int32_t FBoxesWish = 0;
  int FOpened = 0; // workers that have opened the report (or failed to)
  bool FStop = false;
  std::vector<std::thread> FThreads;
};
