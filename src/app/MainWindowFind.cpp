// Finding text in the report: Ctrl+F opens the find bar under the buttons; typing searches from the
// current page on, Enter and F3 go to the next match, Shift+F3 to the previous one, Esc closes the bar.
// The page with a match is shown as the paging keys show pages, scrolled so that the match is in view,
// with every match on it marked.
#include <QBoxLayout>
#include <QScrollBar>
#include <climits>

#include "FindBar.h"
#include "MainWindow.h"
#include "TextFinder.h"

namespace {
// Room kept around a match scrolled into view, in pixels.
constexpr int kMatchMargin = 24;
} // namespace

void TfrmDodEdidoPreview::ShowFindBar() {
  if (!FFindBar) {
    FFindBar = new TFindBar(this);
    static_cast<QBoxLayout*>(layout())->insertWidget(1, FFindBar);
    FFindBar->OnChanged = [this] { FindFrom(+1, false); };
    FFindBar->OnStep = [this](int direction) { FindStep(direction); };
    FFinder = std::make_unique<TTextFinder>([this](const TFoundText& found) { ShowFound(found); },
                                            [this] { ShowNotFound(); });
  }
  FFindBar->show();
  FFindBar->Edit->setFocus();
  FFindBar->Edit->selectAll();
}

void TfrmDodEdidoPreview::HideFindBar() {
  if (!FFindBar) return;
  FFinder->Stop();
  FFindBar->hide();
  FFindBar->Status->clear();
  FFoundPage = 0;
  ZVPreview1->PreviewImage()->SetHighlights({});
  ZVPreview1->setFocus();
}

bool TfrmDodEdidoPreview::FindSearching() const {
  return FFinder && FFinder->Searching();
}

void TfrmDodEdidoPreview::FindStep(int direction) {
  if (!FFindBar || !FFindBar->isVisible()) ShowFindBar();
  FindFrom(direction, true);
}

void TfrmDodEdidoPreview::FindFrom(int direction, bool step) {
  const int32_t page = ZVPreview1->PageNumber();
  const QString query = FFindBar->Edit->text();
  FFindBar->Status->clear();
  if (query.trimmed().isEmpty() || FReportPath.isEmpty() || !FZVPrinter) {
    FFinder->Stop();
    FFoundPage = 0;
    ZVPreview1->PreviewImage()->SetHighlights({});
    return;
  }
  // From the match shown while it is on the page shown; else from the page's start (or end, backwards).
  int from = direction > 0 ? INT_MIN : INT_MAX;
  if (FFoundPage == page) from = step ? FFoundStart + direction : FFoundStart;
  FFinder->Find(FReportPath, query, FFindBar->MatchCase->isChecked(), page, from, direction);
}

void TfrmDodEdidoPreview::ShowFound(const TFoundText& found) {
  if (!FFindBar || !FFindBar->isVisible()) return;
  if (found.Page != ZVPreview1->PageNumber()) GoToPage(found.Page);
  TZVPreviewImage* image = ZVPreview1->PreviewImage();
  std::vector<QRectF> boxes;
  QRectF current;
  for (size_t m = 0; m < found.Matches.size(); ++m) {
    const TTextMatch& match = found.Matches[m];
    for (int i = match.Start; i < match.Start + match.Length; ++i) {
      const TPageTextBox& b = found.Text->Boxes[static_cast<size_t>(i)];
      if (b.Empty()) continue;
      const QRectF box(QPointF(b.Left, b.Top), QPointF(b.Right, b.Bottom));
      boxes.push_back(box);
      if (m == found.Current) current = current.isNull() ? box : current.united(box);
    }
  }
  image->SetHighlights(std::move(boxes));
  FFoundPage = found.Page;
  FFoundStart = found.Matches[found.Current].Start;
  FFindBar->Status->clear();
  if (current.isNull()) return;
  // Into view: the match's place in the viewport, moved by the scroll positions where it is outside.
  const QRectF inView = image->PageToWidget(current).translated(image->pos());
  const QRect view = ZVPreview1->viewport()->rect();
  if (inView.top() < view.top() || inView.bottom() > view.bottom())
    ZVPreview1->SetVertPosition(ZVPreview1->VertPosition() + static_cast<int>(inView.top()) - kMatchMargin);
  if (inView.left() < view.left() || inView.right() > view.right())
    ZVPreview1->SetHorzPosition(ZVPreview1->HorzPosition() + static_cast<int>(inView.left()) - kMatchMargin);
}

void TfrmDodEdidoPreview::ShowNotFound() {
  if (!FFindBar || !FFindBar->isVisible()) return;
  FFoundPage = 0;
  ZVPreview1->PreviewImage()->SetHighlights({});
  FFindBar->Status->setText(QStringLiteral("Nie znaleziono"));
}

int TfrmDodEdidoPreview::FindKey(int key, Qt::KeyboardModifiers modifiers) {
  const bool ctrl = modifiers & Qt::ControlModifier, shift = modifiers & Qt::ShiftModifier;
  if (key == Qt::Key_F && ctrl) {
    ShowFindBar();
    return 1;
  }
  if (!FFindBar || !FFindBar->isVisible()) return 0;
  switch (key) {
  case Qt::Key_F3:
    FindStep(shift ? -1 : +1);
    return 1;
  case Qt::Key_Escape:
    HideFindBar();
    return 1;
  default:
    break;
  }
  if (!FFindBar->Edit->hasFocus()) return 0;
  switch (key) {
  case Qt::Key_Return:
  case Qt::Key_Enter:
    FindStep(shift ? -1 : +1);
    return 1;
  // Moving in the typed text, not on the page.
  case Qt::Key_Left:
  case Qt::Key_Right:
  case Qt::Key_Home:
  case Qt::Key_End:
    return ctrl ? 0 : -1;
  default:
    return 0;
  }
}
