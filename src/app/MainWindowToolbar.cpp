// The main window's button row, laid out for its font and width.
#include <QEvent>
#include <algorithm>

#include "MainWindow.h"
#include "ToolbarFlow.h"

namespace {

constexpr int ButtonHeight = 25;
// One row: the bar's designed height (the buttons reach a pixel below it).
constexpr int SingleRowHeight = 24;

} // namespace

int& TfrmDodEdidoPreview::DesignLeft(QWidget* item) {
  for (TToolbarPlace& place : FToolbar)
    if (place.Widget == item) return place.Left;
  static int none = 0;
  return none;
}

void TfrmDodEdidoPreview::ArrangeToolbar() {
  // Resizes reach the window while it is being built.
  if (FToolbar.empty()) return;
  std::vector<TFlowItem> items;
  std::vector<QWidget*> shown;
  int widest = 0;
  for (const TToolbarPlace& place : FToolbar) {
    if (place.Widget->isHidden()) continue;
    int needed = 0;
    if (auto* button = qobject_cast<QPushButton*>(place.Widget))
      needed = NeededWidth(*button);
    else if (auto* label = qobject_cast<QLabel*>(place.Widget))
      needed = NeededWidth(*label);
    items.push_back({place.Left, place.Width, needed});
    shown.push_back(place.Widget);
    widest = std::max({widest, place.Width, needed});
  }
  const TFlowResult flow = FlowItems(items, width(), ButtonHeight, ButtonHeight);
  for (size_t i = 0; i < shown.size(); ++i) {
    QRect r = flow.Places[i];
    if (shown[i] == Panel2) r.setHeight(SingleRowHeight);
    shown[i]->setGeometry(r);
  }
  FToolbarRows = flow.Rows;
  Panel1->setFixedHeight(flow.Rows == 1 ? SingleRowHeight : flow.Rows * ButtonHeight);
  // Never so narrow that a button cannot have a row of its own.
  setMinimumWidth(widest);
}

void TfrmDodEdidoPreview::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  ArrangeToolbar();
}

void TfrmDodEdidoPreview::changeEvent(QEvent* e) {
  QWidget::changeEvent(e);
  if (e->type() == QEvent::FontChange || e->type() == QEvent::StyleChange) ArrangeToolbar();
}
