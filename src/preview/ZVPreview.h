#pragma once
// TZVPreview: a scroll area showing one page of a report at a zoom. Its one child, the page image, is
// sized to the page at the zoom (frame and shadow included), centred while it is smaller than the preview
// and at the top-left corner of the scrolled area otherwise. Zooms outside 2 .. 2000 per cent and page
// numbers outside 1 .. page count are ignored. A resize fits the page again when it was fitted.
//
// The wheel scrolls the page; where the page cannot scroll further in the wheel's direction (always, when
// it is wholly visible), each full notch goes to OnWheelPastEdge instead, and with Ctrl held each notch goes
// to OnWheelZoom with the mouse position: the owner decides what a page turn or a zoom step is.
//
// The report printer is not owned. When attached, the preview becomes its client: progress and
// page-available notes arrive as posted events (ZVM_PROGRESS, ZVM_PAGEAVAILABLE). GUI thread only.
#include <QAbstractScrollArea>
#include <QEvent>
#include <cstdint>
#include <functional>

#include "ZVPreviewImage.h"
#include "store/printer/ZVPrinter.h"

enum TZVZoomState { zvZoomToFit, zvZoomToWidth, zvZoomOther };

using TZVPageAvailableEvent = std::function<void(QObject* Sender, int32_t PageNum)>;
using TZVProgressUpdateEvent = std::function<void(QObject* Sender, int32_t Progress)>;
// Direction: +1 down (forwards, zoom in), -1 up (backwards, zoom out). Position: in viewport pixels.
using TZVWheelPastEdgeEvent = std::function<void(int Direction)>;
using TZVWheelZoomEvent = std::function<void(int Direction, QPointF Position)>;

// A window message posted to the preview.
class TZVMessageEvent : public QEvent {
 public:
  static const QEvent::Type EventType;
  TZVMessageEvent(uint32_t msg, uintptr_t wParam, intptr_t lParam)
      : QEvent(EventType), Msg(msg), WParam(wParam), LParam(lParam) {}
  uint32_t Msg;
  uintptr_t WParam;
  intptr_t LParam;
};

class TZVPreview : public QAbstractScrollArea, public TZVWindow {
 public:
  explicit TZVPreview(QWidget* parent = nullptr);
  ~TZVPreview() override;

  TZVPreviewImage* PreviewImage() const { return FPreviewImage; }
  TZVPrinter* ZVPrinter() const { return FZVPrinter; }
  void SetZVPrinter(TZVPrinter* p);
  int32_t PageNumber() const { return FPageNumber; }
  void SetPageNumber(int32_t n);
  int32_t Zoom() const { return FZoom; }
  void SetZoom(int32_t z);
  TZVZoomState ZoomState = zvZoomOther;

  void ZoomToFit();
  void ZoomToWidth();
  // Sizes and places the page image for the zoom and scrolls back to the top-left corner.
  void UpdateZoom();
  // A page has become available: show it if it is the one waited for.
  void UpdateImage();
  // Zoom := z (through the setter), keeping the point of the page under `anchor` (viewport pixels) there
  // as far as the scroll ranges allow. A refused zoom changes nothing.
  void ZoomAround(int32_t z, QPointF anchor);

  // Scroll positions in pixels; setting them clamps to the valid range.
  int HorzPosition() const;
  int VertPosition() const;
  void SetHorzPosition(int v);
  void SetVertPosition(int v);
  // The extent of the scrolled area (the page image's right or bottom edge), as the scroll box's range.
  int HorzRange() const;
  int VertRange() const;

  TZVPageAvailableEvent OnPageAvailable;
  TZVProgressUpdateEvent OnProgressUpdate;
  TZVWheelPastEdgeEvent OnWheelPastEdge;
  TZVWheelZoomEvent OnWheelZoom;

  // TZVWindow: the report printer's notes arrive through the event queue.
  void PostMessage(uint32_t Msg, uintptr_t WParam, intptr_t LParam) override;
  void DetachZVPrinter(TZVPrinter* p) override;

 protected:
  bool event(QEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void scrollContentsBy(int dx, int dy) override;
  void wheelEvent(QWheelEvent* e) override;

 private:
  void Resized();
  void UpdateScrollRanges();
  void PlaceImage();
  // Whole notches collected from `delta` (eighths of a degree); partial ones wait for more of the same way.
  int WheelNotches(int delta);

  TZVPreviewImage* FPreviewImage;
  int32_t FPageNumber = 1;
  TZVPrinter* FZVPrinter = nullptr;
  int32_t FZoom = 100;
  QPoint FImageOrigin; // the image's place in the scrolled area
  QSize FHandledSize;  // the outer size the resize handler last saw
  int FWheelRest = 0;  // wheel movement not yet a whole notch
  bool FInWheelHandler = false;
};
