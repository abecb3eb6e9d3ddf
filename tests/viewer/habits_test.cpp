// The habits of other document viewers, as events sent to the real window: the wheel (pages past the
// page's edge, zoom with Ctrl around the mouse), the added keys, Ctrl+G, the command keys and dropped
// files. Whatever changes the page leaves the counter and the page buttons as the paging keys would.
#include <QDropEvent>
#include <QFileDialog>
#include <QInputDialog>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>
#include <QUrl>
#include <QWheelEvent>

#include "MainWindow.h"
#include "ViewerTestSupport.h"

using namespace viewer_test;

namespace {

constexpr int Notch = 120;

class HabitsTest : public ::testing::Test {
 protected:
  void SetUp() override { EnsureApplication(); }

  std::unique_ptr<TfrmDodEdidoPreview> Start(const char* sample) {
    auto window = std::make_unique<TfrmDodEdidoPreview>(
        QStringList{"zvpview", sample ? QString::fromStdString(SamplePath(sample)) : QString()});
    window->show();
    QCoreApplication::processEvents();
    return window;
  }

  // A wheel turned `delta` eighths of a degree (positive: away from the user) over `at` in the page view.
  static void Wheel(TfrmDodEdidoPreview& w, int delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                    QPointF at = QPointF(100, 100)) {
    QWidget* view = w.ZVPreview1->viewport();
    QWheelEvent e(at, view->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, modifiers,
                  Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(view, &e);
  }

  // The counter and the page buttons agree with the page shown.
  static void ExpectPageInfo(TfrmDodEdidoPreview& w, int32_t page, const std::string& where) {
    const int32_t count = w.ZVPrinter()->PageCount();
    EXPECT_EQ(w.ZVPreview1->PageNumber(), page) << where;
    EXPECT_EQ(w.ZVPreview1->PreviewImage()->PageNumber(), page) << where;
    EXPECT_EQ(w.Panel2->text(), QStringLiteral("Str. %1/%2").arg(page).arg(count)) << where;
    EXPECT_EQ(w.btnPrevPage->isEnabled(), page > 1) << where;
    EXPECT_EQ(w.btnNextPage->isEnabled(), page < count) << where;
  }

  TVirtualPrinters printers;
  TModalRecorder boxes;
};

// Where the view stands before the event.
enum class TScroll { Fitted, Top, Bottom };

struct TWheelCase {
  const char* Name;
  int32_t Page;   // before
  int32_t Zoom;   // 0: fitted to the page
  TScroll Scroll; // for a zoomed page
  int Delta;
  Qt::KeyboardModifiers Modifiers;
  int32_t ExpectedPage;
  int ExpectedZoomChange;
  TScroll ExpectedScroll; // Top/Bottom: at that edge; Fitted: nothing to scroll
};

TEST_F(HabitsTest, WheelTurnsPagesPastTheEdgeAndZoomsWithCtrl) {
  const TWheelCase cases[] = {
      {"fitted, down", 2, 0, TScroll::Fitted, -Notch, Qt::NoModifier, 3, 0, TScroll::Fitted},
      {"fitted, up", 2, 0, TScroll::Fitted, Notch, Qt::NoModifier, 1, 0, TScroll::Fitted},
      {"fitted, down on the last page", 5, 0, TScroll::Fitted, -Notch, Qt::NoModifier, 5, 0, TScroll::Fitted},
      {"fitted, up on the first page", 1, 0, TScroll::Fitted, Notch, Qt::NoModifier, 1, 0, TScroll::Fitted},
      {"fitted, two notches at once", 2, 0, TScroll::Fitted, -2 * Notch, Qt::NoModifier, 3, 0,
       TScroll::Fitted},
      {"fitted, half a notch", 2, 0, TScroll::Fitted, -Notch / 2, Qt::NoModifier, 2, 0, TScroll::Fitted},
      {"zoomed, down at the top scrolls", 2, 200, TScroll::Top, -Notch, Qt::NoModifier, 2, 0,
       TScroll::Bottom /* moved down: checked below */},
      {"zoomed, down at the bottom", 2, 200, TScroll::Bottom, -Notch, Qt::NoModifier, 3, 0, TScroll::Top},
      {"zoomed, up at the top", 2, 200, TScroll::Top, Notch, Qt::NoModifier, 1, 0, TScroll::Bottom},
      {"zoomed, up at the bottom scrolls", 2, 200, TScroll::Bottom, Notch, Qt::NoModifier, 2, 0,
       TScroll::Top /* moved up: checked below */},
      {"zoomed, down at the bottom of the last page", 5, 200, TScroll::Bottom, -Notch, Qt::NoModifier, 5, 0,
       TScroll::Bottom},
      {"Ctrl, away: zoom in", 3, 0, TScroll::Fitted, Notch, Qt::ControlModifier, 3, 10, TScroll::Fitted},
      {"Ctrl, towards: zoom out", 3, 200, TScroll::Top, -Notch, Qt::ControlModifier, 3, -10, TScroll::Top},
      {"Ctrl, two notches", 3, 200, TScroll::Top, 2 * Notch, Qt::ControlModifier, 3, 20, TScroll::Top},
      {"Ctrl at the bottom turns no page", 2, 200, TScroll::Bottom, -Notch, Qt::ControlModifier, 2, -10,
       TScroll::Fitted /* not checked */},
  };
  auto w = Start("zestawienie.zvp");
  TZVPreview& p = *w->ZVPreview1;
  QScrollBar& bar = *p.verticalScrollBar();
  for (const TWheelCase& c : cases) {
    w->ZVPreview1->ZoomToFit();
    if (c.Zoom) p.SetZoom(c.Zoom);
    w->FormShortCut(Qt::Key_PageUp, Qt::ControlModifier);
    for (int32_t i = 1; i < c.Page; ++i)
      w->btnNextPageClick();
    if (c.Scroll == TScroll::Bottom) p.SetVertPosition(bar.maximum());
    const int32_t zoomBefore = p.Zoom();
    const TZVZoomState stateBefore = p.ZoomState;
    const int before = p.VertPosition();
    Wheel(*w, c.Delta, c.Modifiers);

    ExpectPageInfo(*w, c.ExpectedPage, c.Name);
    EXPECT_EQ(p.Zoom(), zoomBefore + c.ExpectedZoomChange) << c.Name;
    EXPECT_EQ(p.ZoomState, c.ExpectedZoomChange ? zvZoomOther : stateBefore) << c.Name;
    if (c.Modifiers != Qt::NoModifier) continue;
    if (c.ExpectedScroll == TScroll::Fitted) {
      EXPECT_EQ(bar.maximum(), 0) << c.Name;
    } else if (c.ExpectedPage == c.Page && c.Page != 5) {
      // The page scrolled instead of turning.
      EXPECT_NE(p.VertPosition(), before) << c.Name;
    } else {
      EXPECT_GT(bar.maximum(), 0) << c.Name;
      EXPECT_EQ(p.VertPosition(), c.ExpectedScroll == TScroll::Top ? 0 : bar.maximum()) << c.Name;
    }
  }
}

TEST_F(HabitsTest, HalfNotchesAddUpAndAReversalStartsAgain) {
  auto w = Start("zestawienie.zvp");
  Wheel(*w, -Notch / 2);
  ExpectPageInfo(*w, 1, "first half");
  Wheel(*w, -Notch / 2);
  ExpectPageInfo(*w, 2, "second half");
  Wheel(*w, -Notch / 2);
  Wheel(*w, Notch / 2); // the other way: what was collected is dropped
  Wheel(*w, -Notch / 2);
  ExpectPageInfo(*w, 2, "reversed");
}

TEST_F(HabitsTest, WheelOverThePageReachesThePreview) {
  auto w = Start("zestawienie.zvp");
  TZVPreviewImage& image = *w->ZVPreview1->PreviewImage();
  const QPointF at(image.width() / 2, image.height() / 2);
  QWheelEvent e(at, image.mapToGlobal(at), QPoint(), QPoint(0, -Notch), Qt::NoButton, Qt::NoModifier,
                Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(&image, &e);
  ExpectPageInfo(*w, 2, "over the page");
}

TEST_F(HabitsTest, ScrollingToTheBottomDoesNotTurnThePageInTheSameMove) {
  auto w = Start("zestawienie.zvp");
  TZVPreview& p = *w->ZVPreview1;
  p.SetZoom(200);
  p.SetVertPosition(p.verticalScrollBar()->maximum() - 1);
  Wheel(*w, -Notch);
  ExpectPageInfo(*w, 1, "reached the bottom");
  EXPECT_EQ(p.VertPosition(), p.verticalScrollBar()->maximum());
  Wheel(*w, -Notch);
  ExpectPageInfo(*w, 2, "past the bottom");
}

TEST_F(HabitsTest, ZoomingWithCtrlKeepsThePointUnderTheMouse) {
  auto w = Start("faktura.zvp");
  w->resize(832, 446);
  TZVPreview& p = *w->ZVPreview1;
  TZVPreviewImage& image = *p.PreviewImage();
  p.SetZoom(150);
  p.SetHorzPosition(200);
  p.SetVertPosition(300);
  const QPointF at(250, 120);
  for (int delta : {Notch, Notch, -Notch, -Notch, -Notch}) {
    const QPointF before = (at - QPointF(image.pos())) / QSizeF(image.size()).width();
    const int32_t zoom = p.Zoom();
    Wheel(*w, delta, Qt::ControlModifier, at);
    ASSERT_EQ(p.Zoom(), zoom + (delta > 0 ? 10 : -10));
    const QPointF after = (at - QPointF(image.pos())) / QSizeF(image.size()).width();
    EXPECT_NEAR(after.x(), before.x(), 0.005) << zoom;
    EXPECT_NEAR(after.y(), before.y(), 0.005) << zoom;
  }
}

TEST_F(HabitsTest, ZoomAroundAPointIgnoresRefusedZooms) {
  auto w = Start("faktura.zvp");
  TZVPreview& p = *w->ZVPreview1;
  p.SetZoom(300);
  p.SetVertPosition(123);
  for (int32_t z : {1, 2001}) {
    p.ZoomAround(z, QPointF(10, 10));
    EXPECT_EQ(p.Zoom(), 300) << z;
    EXPECT_EQ(p.VertPosition(), 123) << z;
  }
}

struct TKeyCase {
  const char* Name;
  int32_t Page;
  int32_t Zoom; // 0: fitted
  int Key;
  Qt::KeyboardModifiers Modifiers;
  int32_t ExpectedPage;
  int ExpectedZoomChange;
};

TEST_F(HabitsTest, KeysPageAndZoom) {
  const TKeyCase cases[] = {
      {"Ctrl+Home", 3, 0, Qt::Key_Home, Qt::ControlModifier, 1, 0},
      {"Ctrl+End", 2, 0, Qt::Key_End, Qt::ControlModifier, 5, 0},
      {"Ctrl+End zoomed", 2, 200, Qt::Key_End, Qt::ControlModifier, 5, 0},
      {"Home alone stays on the page", 3, 200, Qt::Key_Home, Qt::NoModifier, 3, 0},
      {"End alone stays on the page", 3, 200, Qt::Key_End, Qt::NoModifier, 3, 0},
      {"Ctrl+plus", 2, 100, Qt::Key_Plus, Qt::ControlModifier, 2, 10},
      {"Ctrl+Shift+plus", 2, 100, Qt::Key_Plus, Qt::ControlModifier | Qt::ShiftModifier, 2, 10},
      {"Ctrl+equals", 2, 100, Qt::Key_Equal, Qt::ControlModifier, 2, 10},
      {"Ctrl+minus", 2, 100, Qt::Key_Minus, Qt::ControlModifier, 2, -10},
      {"Ctrl+minus at 10", 2, 10, Qt::Key_Minus, Qt::ControlModifier, 2, 0},
      {"Ctrl+plus at 2000", 2, 2000, Qt::Key_Plus, Qt::ControlModifier, 2, 0},
      {"Ctrl+Page Down still jumps", 2, 0, Qt::Key_PageDown, Qt::ControlModifier, 5, 0},
      {"Page Up still steps", 2, 200, Qt::Key_PageUp, Qt::NoModifier, 1, 0},
      {"minus alone does nothing", 2, 100, Qt::Key_Minus, Qt::NoModifier, 2, 0},
  };
  auto w = Start("zestawienie.zvp");
  TZVPreview& p = *w->ZVPreview1;
  QWidget* focus = w->btnOpen;
  for (const TKeyCase& c : cases) {
    p.ZoomToFit();
    if (c.Zoom) p.SetZoom(c.Zoom);
    w->FormShortCut(Qt::Key_PageUp, Qt::ControlModifier);
    for (int32_t i = 1; i < c.Page; ++i)
      w->btnNextPageClick();
    p.SetVertPosition(p.verticalScrollBar()->maximum() / 2);
    const int32_t zoom = p.Zoom();
    QTest::keyClick(focus, static_cast<Qt::Key>(c.Key), c.Modifiers);
    ExpectPageInfo(*w, c.ExpectedPage, c.Name);
    EXPECT_EQ(p.Zoom(), zoom + c.ExpectedZoomChange) << c.Name;
    if (c.Key == Qt::Key_Home) EXPECT_EQ(p.VertPosition(), 0) << c.Name;
    if (c.Key == Qt::Key_End) EXPECT_EQ(p.VertPosition(), p.verticalScrollBar()->maximum()) << c.Name;
  }
  EXPECT_TRUE(boxes.Seen.empty());
}

TEST_F(HabitsTest, CtrlGAsksForThePageAndShowsIt) {
  auto w = Start("zestawienie.zvp");
  int32_t answer = 4;
  QString label;
  int minimum = 0, maximum = 0, offered = 0;
  TModalRecorder dialogs([&](QDialog& dialog) {
    auto& input = static_cast<QInputDialog&>(dialog);
    label = input.labelText();
    minimum = input.intMinimum();
    maximum = input.intMaximum();
    offered = input.intValue();
    input.setIntValue(answer);
    return int(QDialog::Accepted);
  });
  w->btnNextPageClick();
  QTest::keyClick(w->btnOpen, Qt::Key_G, Qt::ControlModifier);
  ASSERT_EQ(dialogs.Seen.size(), 1u);
  EXPECT_EQ(dialogs.Seen[0].Title, "Przejdź do strony");
  EXPECT_EQ(label, "Numer strony (1–5):");
  EXPECT_EQ(minimum, 1);
  EXPECT_EQ(maximum, 5);
  EXPECT_EQ(offered, 2);
  ExpectPageInfo(*w, 4, "Ctrl+G 4");

  // A value outside the report cannot be typed in; one at the limit goes there.
  answer = 99;
  QTest::keyClick(w->btnOpen, Qt::Key_G, Qt::ControlModifier);
  ExpectPageInfo(*w, 5, "Ctrl+G 99");
}

TEST_F(HabitsTest, CtrlGCancelledOrWithoutAReportChangesNothing) {
  TModalRecorder dialogs; // cancels
  auto w = Start("zestawienie.zvp");
  w->btnNextPageClick();
  QTest::keyClick(w->btnOpen, Qt::Key_G, Qt::ControlModifier);
  ASSERT_EQ(dialogs.Seen.size(), 1u);
  ExpectPageInfo(*w, 2, "cancelled");

  auto empty = Start(nullptr);
  dialogs.Seen.clear();
  QTest::keyClick(empty->btnOpen, Qt::Key_G, Qt::ControlModifier);
  EXPECT_TRUE(dialogs.Seen.empty());
  EXPECT_EQ(empty->Panel2->text(), "Str. 1/0");
}

TEST_F(HabitsTest, CommandKeysRunTheButtonsCommands) {
  struct Case {
    Qt::Key Key;
    const char* Title;
  } cases[] = {
      {Qt::Key_O, "Ładowanie reportu"}, {Qt::Key_S, "Zapisanie raportu"}, {Qt::Key_P, "Wybierz drukarkę"}};
  auto w = Start("faktura.zvp");
  for (const Case& c : cases) {
    TModalRecorder dialogs;
    QTest::keyClick(w->btnOpen, c.Key, Qt::ControlModifier);
    ASSERT_EQ(dialogs.Seen.size(), 1u) << c.Title;
    EXPECT_EQ(dialogs.Seen[0].Title, c.Title);
  }
  // A disabled button's key does nothing.
  w->btnPrint->setEnabled(false);
  w->btnSave->setEnabled(false);
  TModalRecorder dialogs;
  QTest::keyClick(w->btnOpen, Qt::Key_P, Qt::ControlModifier);
  QTest::keyClick(w->btnOpen, Qt::Key_S, Qt::ControlModifier);
  EXPECT_TRUE(dialogs.Seen.empty());
}

// Sends a drag of `paths` over the window and drops it; true when the window took the drag.
bool Drop(TfrmDodEdidoPreview& w, const QStringList& paths) {
  QMimeData data;
  QList<QUrl> urls;
  for (const QString& path : paths)
    urls << (path.contains(QLatin1String("://")) ? QUrl(path) : QUrl::fromLocalFile(path));
  data.setUrls(urls);
  const QPointF at(300, 200);
  QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&w, &enter);
  if (!enter.isAccepted()) return false;
  QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&w, &drop);
  QCoreApplication::processEvents();
  return drop.isAccepted();
}

TEST_F(HabitsTest, DroppedReportOpensLikeTheOpenButton) {
  auto w = Start("faktura.zvp");
  const QString other = QString::fromStdString(SamplePath("zestawienie.zvp"));
  EXPECT_TRUE(Drop(*w, {QStringLiteral("/tmp/notatki.txt"), other}));
  EXPECT_EQ(w->windowTitle(), "Podglad zachowanego raportu - " + other + " - 5 stron");
  ExpectPageInfo(*w, 1, "dropped");
  EXPECT_EQ(w->ZVPreview1->ZoomState, zvZoomToFit);
  EXPECT_TRUE(boxes.Seen.empty());
}

TEST_F(HabitsTest, DropsThatAreNoReportsAreRefused) {
  auto w = Start("faktura.zvp");
  const QString caption = w->windowTitle();
  for (const QStringList& paths :
       {QStringList{"/tmp/faktura.pdf"}, QStringList{"https://example.org/raport.zvp"}, QStringList{}}) {
    EXPECT_FALSE(Drop(*w, paths)) << paths.join(' ').toStdString();
    EXPECT_EQ(w->windowTitle(), caption);
  }
}

TEST_F(HabitsTest, DroppedReportErrorsAreTheOpenButtonsErrors) {
  auto w = Start("faktura.zvp");
  const QString caption = w->windowTitle();
  EXPECT_TRUE(Drop(*w, {QStringLiteral("/nie/ma/takiego.ZVP")}));
  ASSERT_EQ(boxes.Seen.size(), 1u);
  EXPECT_EQ(boxes.Seen[0].Title, "Błąd");
  EXPECT_EQ(boxes.Seen[0].Text, "Brak pliku: /nie/ma/takiego.ZVP");

  const QString damaged = QString::fromUtf8(ZVP_TEST_OUTPUT_DIR) + "/viewer-dropped-damaged.zvp";
  {
    QFile out(damaged);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("ZVP? not a report at all");
  }
  boxes.Seen.clear();
  EXPECT_TRUE(Drop(*w, {damaged}));
  ASSERT_EQ(boxes.Seen.size(), 1u);
  EXPECT_EQ(boxes.Seen[0].Icon, QMessageBox::Critical);
  EXPECT_FALSE(boxes.Seen[0].Text.isEmpty());
  EXPECT_EQ(w->windowTitle(), caption);
  EXPECT_EQ(w->Panel2->text(), "Str. 1/3");
}

} // namespace
