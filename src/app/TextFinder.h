#pragma once
// TTextFinder: a search through a report's pages that never makes the window wait. The pages' text comes
// from a TPageTextCache (its own reader on its own thread); the finder looks at the pages that are ready
// in short slices of the event loop, so the window paints and answers between them, and goes on when the
// worker reports another page. GUI thread only.
#include <QObject>
#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "preview/PageTextCache.h"
#include "preview/TextMatch.h"

struct TFoundText {
  int32_t Page = 0;
  size_t Current = 0;                       // the match gone to, among Matches
  std::vector<TTextMatch> Matches;          // every match on the page
  std::shared_ptr<const TReadingText> Text; // the page's text with its boxes
};

class TTextFinder : public QObject {
 public:
  TTextFinder(std::function<void(const TFoundText&)> onFound, std::function<void()> onNotFound);
  ~TTextFinder() override;

  // Searches `fileName`'s pages from `page` in `direction` (+1 or -1), wrapping around: on `page` itself
  // only matches starting at or after `from` (forward) or at or before it (backward). Replaces any search
  // under way.
  void Find(const QString& fileName, const QString& query, bool matchCase, int32_t page, int from,
            int direction);
  void Stop();
  bool Searching() const { return FActive; }

 private:
  void Step();
  void Wake();

  std::function<void(const TFoundText&)> FOnFound;
  std::function<void()> FOnNotFound;
  QString FFileName;
  std::unique_ptr<TPageTextCache> FCache;
  bool FActive = false, FStepPosted = false;
  std::atomic<bool> FWakePosted{false};
  QString FQuery;
  bool FMatchCase = false;
  int FDirection = 1;
  int32_t FPage = 0, FVisited = 0;
  int FFrom = 0;
  TFoundText FFound; // a match waiting for its page's boxes
  bool FAwaitingBoxes = false;
};
