// The button row: each button at least as wide as designed and wide enough for its text and picture,
// the designed places kept while they fit, and further rows when the window is narrow.
#include <QStyle>
#include <QStyleOptionButton>

#include "MainWindow.h"
#include "ToolbarFlow.h"
#include "ViewerTestSupport.h"

using namespace viewer_test;

namespace {

TEST(ToolbarFlowTest, PlacesItemsInRows) {
  struct Case {
    const char* Name;
    std::vector<TFlowItem> Items;
    int Width;
    std::vector<QRect> Places;
    int Rows;
  } cases[] = {
      {"everything fits as designed",
       {{0, 69, 40}, {71, 66, 50}, {140, 57, 30}},
       832,
       {{0, 0, 69, 25}, {71, 0, 66, 25}, {140, 0, 57, 25}},
       1},
      {"a wider item pushes the later ones, gaps kept",
       {{0, 69, 40}, {71, 66, 90}, {140, 57, 30}},
       832,
       {{0, 0, 69, 25}, {71, 0, 90, 25}, {164, 0, 57, 25}},
       1},
      {"items given out of order are ordered by their left edges",
       {{140, 57, 30}, {0, 69, 40}, {71, 66, 50}},
       832,
       {{140, 0, 57, 25}, {0, 0, 69, 25}, {71, 0, 66, 25}},
       1},
      {"a narrow width starts a second row",
       {{0, 69, 40}, {71, 66, 50}, {140, 57, 30}},
       150,
       {{0, 0, 69, 25}, {71, 0, 66, 25}, {0, 25, 57, 25}},
       2},
      {"an item exactly at the edge stays",
       {{0, 69, 40}, {71, 66, 50}},
       137,
       {{0, 0, 69, 25}, {71, 0, 66, 25}},
       1},
      {"designed overlaps stay in the first row",
       {{0, 69, 40}, {71, 66, 50}, {71, 104, 50}},
       832,
       {{0, 0, 69, 25}, {71, 0, 66, 25}, {71, 0, 104, 25}},
       1},
      {"a row per item when each is wider than half",
       {{0, 60, 60}, {60, 60, 60}, {120, 60, 60}},
       100,
       {{0, 0, 60, 25}, {0, 25, 60, 25}, {0, 50, 60, 25}},
       3},
      {"an item wider than the width still gets its own row",
       {{0, 50, 50}, {50, 200, 200}},
       100,
       {{0, 0, 50, 25}, {0, 25, 200, 25}},
       2},
      {"nothing", {}, 100, {}, 1},
  };
  for (const Case& c : cases) {
    const TFlowResult result = FlowItems(c.Items, c.Width, 25, 25);
    EXPECT_EQ(result.Places, c.Places) << c.Name;
    EXPECT_EQ(result.Rows, c.Rows) << c.Name;
  }
}

class ToolbarTest : public ::testing::Test {
 protected:
  void SetUp() override { EnsureApplication(); }

  std::unique_ptr<TfrmDodEdidoPreview> Start(int width) {
    auto window = std::make_unique<TfrmDodEdidoPreview>(
        QStringList{"zvpview", QString::fromStdString(SamplePath("faktura.zvp"))});
    window->show();
    QCoreApplication::processEvents();
    window->resize(width, window->height());
    QCoreApplication::processEvents();
    return window;
  }

  static std::vector<QPushButton*> Buttons(TfrmDodEdidoPreview& w) {
    return {w.btnPrint,   w.BitBtn1, w.btnPrevPage, w.btnNextPage, w.btnZoomIn,
            w.btnZoomOut, w.btnOpen, w.btnSave,     w.btnClose,    w.btnabout};
  }

  // The style's own room for a button's label at its present size holds the picture and the whole text.
  static void ExpectWholeText(const QPushButton& b) {
    QStyleOptionButton option;
    option.initFrom(&b);
    option.text = b.text();
    option.icon = b.icon();
    option.iconSize = b.iconSize();
    const QRect room = b.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &b);
    int content = b.fontMetrics().boundingRect(QRect(), Qt::TextShowMnemonic, b.text()).width();
    if (!b.icon().isNull()) content += b.iconSize().width() + 4;
    EXPECT_GE(room.width(), content) << b.text().toStdString();
  }

  // Every button whole, inside the window, not over another one, never narrower than designed.
  static void ExpectReachableAndWhole(TfrmDodEdidoPreview& w) {
    const std::vector<QPushButton*> buttons = Buttons(w);
    const std::map<QPushButton*, int> designed = {
        {w.btnPrint, 66},   {w.BitBtn1, 57}, {w.btnPrevPage, 104}, {w.btnNextPage, 85}, {w.btnZoomIn, 75},
        {w.btnZoomOut, 82}, {w.btnOpen, 65}, {w.btnSave, 75},      {w.btnClose, 75},    {w.btnabout, 74}};
    std::vector<QRect> taken = {w.Panel2->geometry()};
    for (QPushButton* b : buttons) {
      const std::string name = b->text().toStdString();
      ExpectWholeText(*b);
      EXPECT_GE(b->width(), designed.at(b)) << name;
      const QRect r = b->geometry();
      EXPECT_GE(r.left(), 0) << name;
      EXPECT_LE(r.right(), w.width() - 1) << name;
      EXPECT_LE(r.bottom(), w.Panel1->height()) << name;
      for (const QRect& other : taken)
        EXPECT_FALSE(r.intersects(other)) << name;
      taken.push_back(r);
    }
    EXPECT_EQ(w.ZVPreview1->y(), w.Panel1->height());
  }
};

TEST_F(ToolbarTest, DefaultSizeShowsEveryButtonWhole) {
  auto w = Start(832);
  ExpectReachableAndWhole(*w);
}

TEST_F(ToolbarTest, NarrowWindowWrapsTheRow) {
  for (int width : {500, 300, 160}) {
    auto w = Start(width);
    EXPECT_GT(w->ToolbarRows(), 1) << width;
    EXPECT_EQ(w->Panel1->height(), w->ToolbarRows() * 25) << width;
    ExpectReachableAndWhole(*w);
  }
}

TEST_F(ToolbarTest, WindowCannotGetNarrowerThanItsWidestButton) {
  auto w = Start(10);
  int widest = 0;
  for (QPushButton* b : Buttons(*w))
    widest = std::max(widest, b->width());
  EXPECT_GE(w->width(), widest);
  ExpectReachableAndWhole(*w);
}

TEST_F(ToolbarTest, SmallFontKeepsTheDesignedPlaces) {
  auto w = Start(1000);
  QFont tiny = w->font();
  tiny.setPixelSize(5);
  w->setFont(tiny);
  QCoreApplication::processEvents();
  const std::vector<std::pair<QWidget*, QRect>> designed = {
      {w->Panel2, {0, 0, 69, 24}},        {w->btnPrint, {71, 0, 66, 25}},
      {w->BitBtn1, {140, 0, 57, 25}},     {w->btnPrevPage, {198, 0, 104, 25}},
      {w->btnNextPage, {302, 0, 85, 25}}, {w->btnZoomIn, {388, 0, 75, 25}},
      {w->btnZoomOut, {463, 0, 82, 25}},  {w->btnOpen, {545, 0, 65, 25}},
      {w->btnSave, {610, 0, 75, 25}},     {w->btnClose, {685, 0, 75, 25}},
      {w->btnabout, {760, 0, 74, 25}}};
  for (const auto& [widget, place] : designed)
    EXPECT_EQ(widget->geometry(), place) << widget->objectName().toStdString();
  EXPECT_EQ(w->Panel1->height(), 24);
  EXPECT_EQ(w->ToolbarRows(), 1);
}

TEST_F(ToolbarTest, LongCounterWidensItsPanel) {
  auto w = Start(832);
  w->Panel2->setText(QStringLiteral("Str. 12345/67890"));
  w->ArrangeToolbar();
  EXPECT_GE(w->Panel2->contentsRect().width(), w->Panel2->fontMetrics().horizontalAdvance(w->Panel2->text()));
  ExpectReachableAndWhole(*w);
}

TEST_F(ToolbarTest, HiddenSaveButtonLeavesItsPlaceToAbout) {
  auto w = Start(1200);
  w->bCanSave = false;
  w->ArrangeButtons();
  EXPECT_TRUE(w->btnSave->isHidden());
  EXPECT_LT(w->btnabout->x(), w->btnClose->x());
  EXPECT_EQ(w->btnabout->x(), w->btnOpen->geometry().right() + 1);
}

} // namespace
