// The About box laid out from its fonts' metrics. The designed box (373 x 250) holds each label in a
// line of a designed height; a font whose lines are taller moves the rows below down by the difference,
// and texts wider than the designed column widen the box, so labels neither overlap nor get cut.
#include <algorithm>
#include <initializer_list>

#include "AboutBox.h"

namespace {

constexpr int DesignWidth = 373, DesignHeight = 250;
constexpr int Column = 82;      // left edge of the texts
constexpr int RightMargin = 11; // the memory amount and the OK button end here from the right
constexpr int BevelMargin = 15; // the line and the system text end here from the right
constexpr int LabelGap = 8;     // at least this between the memory label and its value
constexpr int NameWidth = 238;

int LineHeight(const QLabel* label) {
  return label->sizeHint().height();
}

} // namespace

void TAboutBox::LayOut() {
  for (QLabel* label : {Company, Version, Copyright, URL, EMAIL, Label3, PhysMem})
    label->resize(label->sizeHint());

  // Width: the widest single text, the memory line with its value, the engraved name.
  int width = DesignWidth;
  for (QLabel* label : {Company, Version, Copyright, URL, EMAIL})
    width = std::max(width, Column + label->width() + BevelMargin);
  width = std::max(width, Column + Label3->width() + LabelGap + PhysMem->width() + RightMargin);
  const int nameWidth = std::max(NameWidth, ProductName2->sizeHint().width());
  width = std::max(width, Column + 2 + nameWidth + BevelMargin);
  const int okWidth = std::max(61, BitBtn1->sizeHint().width());

  // Rows: designed top and height; `shift` is how far the taller lines above have pushed them.
  const int osWidth = width - Column - BevelMargin;
  const int osHeight = std::max(29, OS->heightForWidth(osWidth));
  const int nameHeight = std::max(31, ProductName2->sizeHint().height());
  int shift = 0;
  auto place = [&](int designTop, int designHeight, int height) {
    const int top = designTop + shift;
    shift += std::max(0, height - designHeight);
    return top;
  };
  Company->move(Column, place(19, 15, LineHeight(Company)));
  const int nameTop = place(34, 31, nameHeight);
  ProductName1->setGeometry(Column, nameTop + 2, nameWidth, nameHeight);
  ProductName3->setGeometry(Column + 1, nameTop + 1, nameWidth, nameHeight);
  ProductName2->setGeometry(Column + 2, nameTop, nameWidth, nameHeight);
  Version->move(Column, place(67, 14, LineHeight(Version)));
  Copyright->move(Column, place(86, 14, LineHeight(Copyright)));
  URL->move(Column, place(109, 14, LineHeight(URL)));
  EMAIL->move(Column, place(134, 14, LineHeight(EMAIL)));
  Bevel1->setGeometry(Column, place(158, 2, 2), width - Column - BevelMargin, 2);
  OS->setGeometry(Column, place(167, 29, osHeight), osWidth, osHeight);
  const int memoryTop = place(196, 14, std::max(LineHeight(Label3), LineHeight(PhysMem)));
  Label3->move(Column, memoryTop);
  PhysMem->move(width - RightMargin - PhysMem->width(), memoryTop);
  const int okHeight = std::max(26, BitBtn1->sizeHint().height());
  BitBtn1->setGeometry(width - RightMargin - okWidth, place(219, 26, okHeight), okWidth, okHeight);
  setFixedSize(width, DesignHeight + shift);
}
