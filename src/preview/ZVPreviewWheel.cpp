// The preview's wheel: scrolling, turning pages past the page's edge, and zooming around the mouse.
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cstdlib>

#include "ZVPreview.h"
#include "ZVPreviewZoom.h"

namespace {

// One notch of a common mouse wheel, in eighths of a degree.
constexpr int WheelNotch = 120;

// The flag is set while an owner's handler runs: a handler that lets pending events run must not see
// the next wheel event before it has finished with this one.
class TReentryGuard {
 public:
  explicit TReentryGuard(bool& flag) : FFlag(flag) { FFlag = true; }
  ~TReentryGuard() { FFlag = false; }

 private:
  bool& FFlag;
};

} // namespace

int TZVPreview::WheelNotches(int delta) {
  // A turn the other way drops what was collected the first way.
  if ((delta > 0 && FWheelRest < 0) || (delta < 0 && FWheelRest > 0)) FWheelRest = 0;
  FWheelRest += delta;
  const int notches = FWheelRest / WheelNotch;
  FWheelRest -= notches * WheelNotch;
  return notches;
}

void TZVPreview::wheelEvent(QWheelEvent* e) {
  const QPoint delta = e->angleDelta();
  const bool vertical = std::abs(delta.y()) >= std::abs(delta.x()) && delta.y() != 0;
  if (e->modifiers() & Qt::ControlModifier) {
    e->accept();
    if (FInWheelHandler || !OnWheelZoom) return;
    const int notches = WheelNotches(vertical ? delta.y() : delta.x());
    if (notches == 0) return;
    TReentryGuard guard(FInWheelHandler);
    // Wheel away from the user zooms in.
    for (int i = 0; i < std::abs(notches); ++i)
      OnWheelZoom(notches > 0 ? 1 : -1, e->position());
    return;
  }
  if (e->modifiers() != Qt::NoModifier || !vertical) {
    FWheelRest = 0;
    QAbstractScrollArea::wheelEvent(e);
    return;
  }
  // Wheel away from the user moves up.
  const int direction = delta.y() > 0 ? -1 : 1;
  const QScrollBar* bar = verticalScrollBar();
  const bool canScroll = direction > 0 ? bar->value() < bar->maximum() : bar->value() > bar->minimum();
  if (canScroll) {
    FWheelRest = 0;
    QAbstractScrollArea::wheelEvent(e);
    return;
  }
  e->accept();
  if (FInWheelHandler || !OnWheelPastEdge) return;
  // One page per event, however far a fast wheel went: the next page may well scroll.
  if (WheelNotches(delta.y()) == 0) return;
  FWheelRest = 0;
  TReentryGuard guard(FInWheelHandler);
  OnWheelPastEdge(direction);
}

void TZVPreview::ZoomAround(int32_t z, QPointF anchor) {
  if (z < ZVMinZoom || z > ZVMaxZoom) return;
  // Where the anchor falls on the page, as a fraction of the page; off the page, its nearest edge.
  const QSizeF before = FPreviewImage->size();
  const QPointF onImage = anchor + QPointF(HorzPosition(), VertPosition()) - QPointF(FImageOrigin);
  const double fx = before.width() > 0 ? std::clamp(onImage.x() / before.width(), 0.0, 1.0) : 0;
  const double fy = before.height() > 0 ? std::clamp(onImage.y() / before.height(), 0.0, 1.0) : 0;
  SetZoom(z);
  const QSizeF after = FPreviewImage->size();
  SetHorzPosition(qRound(FImageOrigin.x() + fx * after.width() - anchor.x()));
  SetVertPosition(qRound(FImageOrigin.y() + fy * after.height() - anchor.y()));
  PlaceImage();
}
