#pragma once
// The text of a report's pages for searching, read on a thread of its own (plain C++, no Qt): it opens
// the report file with a reader of its own and extracts pages with the text library, never touching the
// objects the preview draws with. Callers ask for a page without waiting: the answer is there or it is
// not yet, and the worker reads the wished page and the pages after it in the wished direction.
//
// The text of every page read is kept (text only, a few kilobytes a page); the character boxes are kept
// for the last few pages, which is what a search shows. A page that cannot be read has no text.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/text/PageText.h"

class TPageTextCache {
 public:
  // `onReady` is called on the worker thread after each page (it must only post a note to its owner).
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

  const std::string FFileName;
  const std::function<void()> FOnReady;
  mutable std::mutex FMutex;
  std::condition_variable FWake;
  std::map<int32_t, std::shared_ptr<const std::u16string>> FTexts;
  std::map<int32_t, std::shared_ptr<const TReadingText>> FFull; // the last few pages read
  std::map<int32_t, uint64_t> FFullAge;
  uint64_t FClock = 0;
  int32_t FPageCount = 0;
  int32_t FWish = 0, FWishDirection = 1, FBoxesWish = 0;
  bool FStop = false;
  std::thread FThread;
};
