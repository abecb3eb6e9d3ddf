#pragma once
// The main window's row of buttons laid out for the font it is drawn with and the width it has. Each item
// keeps its designed place (left edge and width) while everything fits; an item whose text and picture
// need more grows, and pushes the items after it to the right by as much. An item that would cross the
// right edge starts a new row (never the first of a row), so every item stays whole and reachable.
#include <QLabel>
#include <QPushButton>
#include <QRect>
#include <vector>

struct TFlowItem {
  int Left = 0;   // designed left edge
  int Width = 0;  // designed width, the least it gets
  int Needed = 0; // what its content needs
};

struct TFlowResult {
  std::vector<QRect> Places; // in the order of the items
  int Rows = 1;
};

// Places `items` (in any order; the designed left edges order them) within `width`, each `height` high,
// rows `rowStep` apart. Designed gaps are kept, overlaps too within the first row.
TFlowResult FlowItems(const std::vector<TFlowItem>& items, int width, int height, int rowStep);

// The width at which a button shows its whole text and picture with the style's margins.
int NeededWidth(const QPushButton& button);
// The width at which a label shows its whole text inside its frame.
int NeededWidth(const QLabel& label);
