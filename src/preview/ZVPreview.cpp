#include "ZVPreview.h"

#include <QCoreApplication>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

#include "ZVPreviewZoom.h"

const QEvent::Type TZVMessageEvent::EventType = static_cast<QEvent::Type>(QEvent::registerEventType());

TZVPreview::TZVPreview(QWidget* parent) : QAbstractScrollArea(parent) {
  // The page's white sheet stands on the window's own colour.
  viewport()->setBackgroundRole(QPalette::Window);
  viewport()->setAutoFillBackground(true);
  FPreviewImage = new TZVPreviewImage(viewport());
  FPreviewImage->move(0, 0);
  horizontalScrollBar()->setTracking(true);
  verticalScrollBar()->setTracking(true);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  resize(250, 250);
  FHandledSize = size();
}

TZVPreview::~TZVPreview() {
  if (FZVPrinter) SetZVPrinter(nullptr);
}

void TZVPreview::SetZVPrinter(TZVPrinter* p) {
  if (FZVPrinter && FZVPrinter->Client() == this) {
    TZVPrinter* old = FZVPrinter;
    // The printer is let go even when its after-preview handler fails.
    old->SetClient(nullptr);
    old->SetShowingPreview(false);
  }
  FZVPrinter = p;
  FPreviewImage->SetZVPrinter(p);
  if (p) {
    p->SetClient(this);
    p->SetShowingPreview(true);
  }
  SetPageNumber(1);
  // Page 1 afresh, even when the setter declined.
  FPreviewImage->SetPageNumber(1);
  viewport()->update();
}

void TZVPreview::DetachZVPrinter(TZVPrinter* p) {
  if (FZVPrinter != p) return;
  FZVPrinter = nullptr;
  FPreviewImage->SetZVPrinter(nullptr);
  FPreviewImage->SetPageNumber(FPreviewImage->PageNumber());
}

void TZVPreview::SetPageNumber(int32_t n) {
  if (n == FPageNumber && FPreviewImage->ImageOK()) return;
  if (n <= 0 || !FZVPrinter || n > FZVPrinter->PageCount()) return;
  FPreviewImage->SetPageNumber(n);
  FPageNumber = n;
  SetHorzPosition(0);
  SetVertPosition(0);
}

void TZVPreview::SetZoom(int32_t z) {
  if (z < ZVMinZoom || z > ZVMaxZoom) return;
  ZoomState = zvZoomOther;
  FZoom = z;
  UpdateZoom();
}

void TZVPreview::UpdateZoom() {
  const TZVImageSize image = ZVImageSize(FZVPrinter, FZoom);
  FImageOrigin = QPoint(ZVCentredOffset(width(), image.Width), ZVCentredOffset(height(), image.Height));
  FPreviewImage->resize(image.Width, image.Height);
  UpdateScrollRanges();
  SetHorzPosition(0);
  SetVertPosition(0);
  PlaceImage();
  FPreviewImage->Zoom = FZoom;
}

void TZVPreview::ZoomToFit() {
  SetZoom(ZVFitZoom(FZVPrinter, width(), height()));
  ZoomState = zvZoomToFit;
}

void TZVPreview::ZoomToWidth() {
  SetZoom(ZVWidthZoom(FZVPrinter, width()));
  UpdateZoom();
  ZoomState = zvZoomToWidth;
}

void TZVPreview::UpdateImage() {
  if (!FPreviewImage || FPreviewImage->ImageOK() || !FZVPrinter) return;
  if (FPreviewImage->PageNumber() > FZVPrinter->AvailablePages()) return;
  ZoomToWidth();
  FPreviewImage->SetPageNumber(FPreviewImage->PageNumber());
}

int TZVPreview::HorzPosition() const {
  return horizontalScrollBar()->value();
}
int TZVPreview::VertPosition() const {
  return verticalScrollBar()->value();
}
void TZVPreview::SetHorzPosition(int v) {
  horizontalScrollBar()->setValue(v);
}
void TZVPreview::SetVertPosition(int v) {
  verticalScrollBar()->setValue(v);
}
int TZVPreview::HorzRange() const {
  return FImageOrigin.x() + FPreviewImage->width();
}
int TZVPreview::VertRange() const {
  return FImageOrigin.y() + FPreviewImage->height();
}

void TZVPreview::UpdateScrollRanges() {
  // The view that the bars will leave, worked out here: the viewport's present size may still carry a bar
  // that the new extent no longer needs (the bars are shown or hidden only later), and a range taken
  // from it would keep that bar, and the other one, for good.
  const QRect area = contentsRect();
  const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  int w = area.width(), h = area.height();
  bool across = HorzRange() > w, down = VertRange() > h;
  if (across) h -= bar;
  if (!down && VertRange() > h) down = true;
  if (down) {
    w -= bar;
    if (!across && HorzRange() > w) {
      across = true;
      h -= bar;
    }
  }
  w = std::max(w, 1);
  h = std::max(h, 1);
  horizontalScrollBar()->setRange(0, std::max(0, HorzRange() - w));
  horizontalScrollBar()->setPageStep(w);
  horizontalScrollBar()->setSingleStep(10);
  verticalScrollBar()->setRange(0, std::max(0, VertRange() - h));
  verticalScrollBar()->setPageStep(h);
  verticalScrollBar()->setSingleStep(10);
}

void TZVPreview::PlaceImage() {
  FPreviewImage->move(FImageOrigin - QPoint(HorzPosition(), VertPosition()));
}

void TZVPreview::scrollContentsBy(int, int) {
  PlaceImage();
}

void TZVPreview::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);
  // Both the outer frame and the viewport report resizes here; the handler answers the outer one.
  if (size() != FHandledSize) {
    FHandledSize = size();
    Resized();
  } else {
    UpdateScrollRanges();
    PlaceImage();
  }
}

void TZVPreview::Resized() {
  if (ZoomState == zvZoomToFit)
    ZoomToFit();
  else if (ZoomState == zvZoomToWidth)
    ZoomToWidth();
  UpdateZoom();
}

void TZVPreview::PostMessage(uint32_t Msg, uintptr_t WParam, intptr_t LParam) {
  QCoreApplication::postEvent(this, new TZVMessageEvent(Msg, WParam, LParam));
}

bool TZVPreview::event(QEvent* e) {
  if (e->type() != TZVMessageEvent::EventType) return QAbstractScrollArea::event(e);
  const auto* m = static_cast<TZVMessageEvent*>(e);
  const auto low = static_cast<int32_t>(m->WParam & 0xFFFF);
  if (m->Msg == ZVM_PROGRESS) {
    if (OnProgressUpdate) OnProgressUpdate(this, low);
  } else if (m->Msg == ZVM_PAGEAVAILABLE) {
    if (low == FPageNumber) UpdateImage();
    if (OnPageAvailable) OnPageAvailable(this, low);
  }
  return true;
}
