// The main window's habits from other document viewers: more keys, the wheel, dropped files.
#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QInputDialog>
#include <QMimeData>
#include <QUrl>

#include "Handlers.h"
#include "MainWindow.h"
#include "ModalHook.h"

namespace {

// The first local .zvp file among dropped data, empty when there is none.
QString DroppedReport(const QMimeData* data) {
  if (!data || !data->hasUrls()) return {};
  for (const QUrl& url : data->urls()) {
    if (!url.isLocalFile()) continue;
    const QString path = url.toLocalFile();
    if (QFileInfo(path).suffix().compare(QLatin1String("zvp"), Qt::CaseInsensitive) == 0) return path;
  }
  return {};
}

} // namespace

bool TfrmDodEdidoPreview::HabitShortCut(int key, Qt::KeyboardModifiers modifiers) {
  if (!(modifiers & Qt::ControlModifier)) return false;
  switch (key) {
  case Qt::Key_Plus:
  case Qt::Key_Equal: // plus without Shift on many layouts
  case Qt::Key_Minus: {
    // Around the mouse while it is over the page, else around the middle of the view.
    QWidget* view = ZVPreview1->viewport();
    QPointF anchor = view->mapFromGlobal(QCursor::pos());
    if (!view->rect().contains(anchor.toPoint())) anchor = QRectF(view->rect()).center();
    ZoomStep(key == Qt::Key_Minus ? -1 : 1, anchor);
    return true;
  }
  case Qt::Key_G:
    GoToPageClick();
    return true;
  // Through the buttons, so that a disabled command stays disabled.
  case Qt::Key_O:
    btnOpen->click();
    return true;
  case Qt::Key_P:
    btnPrint->click();
    return true;
  case Qt::Key_S:
    btnSave->click();
    return true;
  default:
    return false;
  }
}

void TfrmDodEdidoPreview::GoToPage(int32_t page) {
  if (page < 1) return;
  ZVPreview1->SetPageNumber(page);
  DispatchPending();
  UpdatePageInfo();
}

void TfrmDodEdidoPreview::GoToPageClick() {
  TZVPrinter* printer = ZVPreview1->ZVPrinter();
  if (!printer || printer->PageCount() < 1) return;
  QInputDialog dialog(this);
  dialog.setWindowTitle(QStringLiteral("Przejdź do strony"));
  dialog.setLabelText(QStringLiteral("Numer strony (1–%1):").arg(printer->PageCount()));
  dialog.setInputMode(QInputDialog::IntInput);
  dialog.setIntRange(1, printer->PageCount());
  dialog.setIntValue(ZVPreview1->PageNumber());
  if (ExecModal(dialog) != QDialog::Accepted) return;
  GoToPage(dialog.intValue());
}

void TfrmDodEdidoPreview::ZoomStep(int direction, QPointF anchor) {
  DispatchPending();
  const int32_t zoom = ZVPreview1->Zoom();
  if (direction > 0)
    ZVPreview1->ZoomAround(zoom + 10, anchor);
  else if (zoom > 10)
    ZVPreview1->ZoomAround(zoom - 10, anchor);
}

void TfrmDodEdidoPreview::WheelPastEdge(int direction) {
  TZVPreview& preview = *ZVPreview1;
  const int32_t before = preview.PageNumber();
  const int horizontal = preview.HorzPosition();
  if (direction > 0)
    btnNextPageClick();
  else
    btnPrevPageClick();
  if (preview.PageNumber() == before) return;
  // Reading on in the same column; going back, the previous page's end comes first.
  preview.SetHorzPosition(horizontal);
  if (direction < 0) preview.SetVertPosition(preview.VertRange());
}

void TfrmDodEdidoPreview::dragEnterEvent(QDragEnterEvent* e) {
  if (!DroppedReport(e->mimeData()).isEmpty()) e->acceptProposedAction();
}

void TfrmDodEdidoPreview::dragMoveEvent(QDragMoveEvent* e) {
  if (!DroppedReport(e->mimeData()).isEmpty()) e->acceptProposedAction();
}

void TfrmDodEdidoPreview::dropEvent(QDropEvent* e) {
  const QString path = DroppedReport(e->mimeData());
  if (path.isEmpty()) return;
  e->acceptProposedAction();
  // Opened once the drop has ended, so that a message box does not hold up the program the file came
  // from; errors as with the Open button.
  QMetaObject::invokeMethod(this, Reported([this, path] { OpenReport(path); }), Qt::QueuedConnection);
}
