#include "TextFinder.h"

#include <QElapsedTimer>
#include <QTimer>
#include <climits>
#include <optional>

namespace {
// The longest slice of the event loop one step takes.
constexpr qint64 kSliceMilliseconds = 15;
} // namespace

TTextFinder::TTextFinder(std::function<void(const TFoundText&)> onFound, std::function<void()> onNotFound)
    : FOnFound(std::move(onFound)), FOnNotFound(std::move(onNotFound)) {}

TTextFinder::~TTextFinder() {
  FCache.reset(); // joins the worker before the object it posts to goes
}

void TTextFinder::Find(const QString& fileName, const QString& query, bool matchCase, int32_t page, int from,
                       int direction) {
  if (!FCache || fileName != FFileName) {
    FCache.reset();
    FFileName = fileName;
    FCache = std::make_unique<TPageTextCache>(fileName.toStdString(), [this] { Wake(); });
  }
  FQuery = query;
  FMatchCase = matchCase;
  FDirection = direction < 0 ? -1 : 1;
  FPage = page < 1 ? 1 : page;
  FFrom = from;
  FVisited = 0;
  FAwaitingBoxes = false;
  FActive = true;
  Step();
}

void TTextFinder::Stop() {
  FActive = false;
  FAwaitingBoxes = false;
}

void TTextFinder::Wake() {
  // From the worker thread: one wake-up queued at a time.
  if (FWakePosted.exchange(true)) return;
  QMetaObject::invokeMethod(
      this,
      [this] {
        FWakePosted = false;
        Step();
      },
      Qt::QueuedConnection);
}

void TTextFinder::Step() {
  if (!FActive || !FCache) return;
  if (FAwaitingBoxes) {
    std::shared_ptr<const TReadingText> text = FCache->Boxes(FFound.Page);
    if (!text) return; // the worker reads the page again and wakes us
    FFound.Text = text;
    FActive = FAwaitingBoxes = false;
    FOnFound(FFound);
    return;
  }
  const int32_t count = FCache->PageCount();
  if (count < 0 || (count > 0 && FQuery.trimmed().isEmpty())) {
    FActive = false;
    FOnNotFound();
    return;
  }
  if (count == 0) return; // the report is still being opened
  if (FPage > count) FPage = 1;
  QElapsedTimer slice;
  slice.start();
  while (slice.elapsed() < kSliceMilliseconds) {
    std::shared_ptr<const std::u16string> text = FCache->Text(FPage, FDirection);
    if (!text) return; // the worker wakes us when the page is read
    std::vector<TTextMatch> matches = FindMatches(*text, FQuery, FMatchCase);
    // The first visit of the start page looks only past the start; the last (after wrapping) at all of it.
    const bool first = FVisited == 0;
    const int from = first ? FFrom : (FDirection > 0 ? INT_MIN : INT_MAX);
    std::optional<size_t> hit;
    for (size_t i = 0; i < matches.size(); ++i) {
      if (FDirection > 0 && matches[i].Start >= from) {
        hit = i;
        break;
      }
      if (FDirection < 0 && matches[i].Start <= from) hit = i;
    }
    if (hit) {
      FFound = TFoundText{FPage, *hit, std::move(matches), nullptr};
      FAwaitingBoxes = true;
      Step();
      return;
    }
    if (++FVisited > count) {
      FActive = false;
      FOnNotFound();
      return;
    }
    FPage = (FPage - 1 + FDirection + count) % count + 1;
  }
  // More pages are ready: go on after the window has had its turn.
  if (!FStepPosted) {
    FStepPosted = true;
    QTimer::singleShot(0, this, [this] {
      FStepPosted = false;
      Step();
    });
  }
}
