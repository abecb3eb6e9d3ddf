#include "ZVPreviewImage.h"

#include <QCoreApplication>
#include <QPainter>
#include <QWheelEvent>

#include "platform/gdi/GdiConsts.h"
#include "platform/gdi/Player.h"
#include "store/printer/ZVPrinter.h"

TZVPreviewImage::TZVPreviewImage(QWidget* parent) : QWidget(parent) {
  resize(100, 50);
  // The page covers itself; the scroll area's background shows around it and while no page is loaded.
  setAttribute(Qt::WA_OpaquePaintEvent, false);
}

TZVPreviewImage::~TZVPreviewImage() = default;

void TZVPreviewImage::SetPageNumber(int32_t Value) {
  FPageNumber = Value;
  aMetaFile.reset();
  FImageOK = false;
  FHighlights.clear();
  if (FZVPrinter) {
    aMetaFile = FZVPrinter->GetPage(Value);
    FImageOK = aMetaFile != nullptr;
  }
  repaint();
}

void TZVPreviewImage::paintEvent(QPaintEvent*) {
  if (!FImageOK || !aMetaFile) return;
  const int W = width(), H = height();
  QPainter painter(this);
  // The sheet: (1, 1) - (W - 3, H - 3), right and bottom edges excluded.
  painter.fillRect(QRect(1, 1, W - 4, H - 4), Qt::white);
  painter.save();
  const bool timedOut =
      !StretchDrawMetafile(painter, TEmfRect{0, 0, W, H}, *aMetaFile) && GetLastError() == ERROR_TIMEOUT;
  painter.restore();
  // A page that went past its deadline shows what was drawn and says that the rest is missing.
  if (timedOut) {
    const QString notice = QStringLiteral("Rysowanie strony przerwano: trwało zbyt długo.");
    const QRect box = painter.fontMetrics().boundingRect(notice).adjusted(-6, -4, 6, 4);
    painter.fillRect(box.translated(8 - box.left(), 8 - box.top()), Qt::white);
    painter.setPen(Qt::red);
    painter.drawText(box.translated(8 - box.left(), 8 - box.top()), Qt::AlignCenter, notice);
  }
  for (const QRectF& box : FHighlights)
    painter.fillRect(PageToWidget(box), QColor(255, 190, 0, 110));
  // The frame (0, 0) - (W - 3, H - 3) and the shadow along the right and bottom edges.
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRect(0, 0, W - 3, H - 3));
  painter.fillRect(QRect(W - 2, 2, 2, H - 2), Qt::black);
  painter.fillRect(QRect(2, H - 2, W - 2, 2), Qt::black);
}

void TZVPreviewImage::wheelEvent(QWheelEvent* e) {
  QWidget* view = parentWidget();
  if (!view) return QWidget::wheelEvent(e);
  QWheelEvent forwarded(mapTo(view, e->position()), e->globalPosition(), e->pixelDelta(), e->angleDelta(),
                        e->buttons(), e->modifiers(), e->phase(), e->inverted(), e->source());
  QCoreApplication::sendEvent(view, &forwarded);
  // Handled by the view either way; it is not offered to it a second time.
  e->accept();
}

void TZVPreviewImage::SetHighlights(std::vector<QRectF> PageBoxes) {
  FHighlights = std::move(PageBoxes);
  update();
}

QRectF TZVPreviewImage::PageToWidget(const QRectF& PageBox) const {
  // The page is played onto (0, 0) - (width - 1, height - 1), as the text library places it on
  // (0, 0) - (page width - 1, page height - 1).
  const double pw = aMetaFile && aMetaFile->Width() > 1 ? aMetaFile->Width() - 1 : 1;
  const double ph = aMetaFile && aMetaFile->Height() > 1 ? aMetaFile->Height() - 1 : 1;
  const double sx = (width() - 1) / pw, sy = (height() - 1) / ph;
  return QRectF(PageBox.left() * sx, PageBox.top() * sy, PageBox.width() * sx, PageBox.height() * sy);
}
