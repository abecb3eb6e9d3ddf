#include "ToolbarFlow.h"

#include <QStyle>
#include <QStyleOptionButton>
#include <algorithm>
#include <numeric>

namespace {

// The style puts this much between a button's picture and its text.
constexpr int IconSpacing = 4;
// Room for the pressed button's shift and for glyphs that reach past their advance.
constexpr int Slack = 2;

} // namespace

TFlowResult FlowItems(const std::vector<TFlowItem>& items, int width, int height, int rowStep) {
  std::vector<size_t> order(items.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return items[a].Left < items[b].Left; });
  TFlowResult result;
  result.Places.resize(items.size());
  int row = 0;
  bool rowEmpty = true;
  int right = 0;       // right edge of the previous item as placed
  int designRight = 0; // and as designed
  for (size_t i : order) {
    const TFlowItem& item = items[i];
    const int w = std::max(item.Width, item.Needed);
    const int gap = item.Left - designRight;
    // The first row keeps the designed places (and overlaps); later rows start at the left edge.
    int x = rowEmpty ? (row == 0 ? item.Left : 0) : right + (row == 0 ? gap : std::max(gap, 0));
    if (!rowEmpty && x + w > width) {
      ++row;
      x = 0;
    }
    result.Places[i] = QRect(x, row * rowStep, w, height);
    rowEmpty = false;
    right = x + w;
    designRight = item.Left + item.Width;
  }
  result.Rows = row + 1;
  return result;
}

int NeededWidth(const QPushButton& button) {
  QStyleOptionButton option;
  option.initFrom(&button);
  option.text = button.text();
  option.icon = button.icon();
  option.iconSize = button.iconSize();
  option.features = button.isDefault() ? QStyleOptionButton::DefaultButton : QStyleOptionButton::None;
  if (button.autoDefault()) option.features |= QStyleOptionButton::AutoDefaultButton;
  option.rect = QRect(0, 0, 1000, std::max(button.height(), 1));
  const QRect contents = button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button);
  int needed = button.fontMetrics().boundingRect(QRect(), Qt::TextShowMnemonic, button.text()).width();
  if (!button.icon().isNull()) needed += button.iconSize().width() + IconSpacing;
  return needed + option.rect.width() - contents.width() + Slack;
}

int NeededWidth(const QLabel& label) {
  return label.sizeHint().width() + Slack;
}
