// Finding text in the real window: Ctrl+F, typing, Enter/F3/Shift+F3, Esc, the marks on the page and the
// page counter, on the sample reports.
#include <QElapsedTimer>
#include <QLayout>
#include <QTest>
#include <QThread>

#include "FindBar.h"
#include "MainWindow.h"
#include "ViewerTestSupport.h"

using namespace viewer_test;

namespace {

class FindTest : public ::testing::Test {
 protected:
  void SetUp() override { EnsureApplication(); }

  std::unique_ptr<TfrmDodEdidoPreview> Start(const char* sample) {
    auto window = std::make_unique<TfrmDodEdidoPreview>(
        QStringList{"zvpview", QString::fromStdString(SamplePath(sample))});
    window->show();
    QCoreApplication::processEvents();
    return window;
  }

  static void Key(TfrmDodEdidoPreview& w, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &w;
    QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
  }

  // Types into the find bar and lets the search run (on its thread and in slices of the event loop)
  // until it has shown a match or said there is none.
  static void Settle(TfrmDodEdidoPreview& w) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 20000) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
      if (!w.FindSearching()) {
        QCoreApplication::processEvents();
        return;
      }
      QThread::msleep(2);
    }
    ADD_FAILURE() << "the search never ended";
  }

  static void Type(TfrmDodEdidoPreview& w, const QString& text) {
    w.FindBar()->Edit->setText(text);
    Settle(w);
  }

  static void ExpectPage(TfrmDodEdidoPreview& w, int32_t page, const std::string& where) {
    const int32_t count = w.ZVPrinter()->PageCount();
    EXPECT_EQ(w.ZVPreview1->PageNumber(), page) << where;
    EXPECT_EQ(w.ZVPreview1->PreviewImage()->PageNumber(), page) << where;
    EXPECT_EQ(w.Panel2->text(), QStringLiteral("Str. %1/%2").arg(page).arg(count)) << where;
    EXPECT_EQ(w.btnPrevPage->isEnabled(), page > 1) << where;
    EXPECT_EQ(w.btnNextPage->isEnabled(), page < count) << where;
  }

  TModalRecorder boxes;
};

} // namespace

TEST_F(FindTest, TheBarAppearsOnlyWhenAskedForAndEscTakesItAndTheMarksAway) {
  auto w = Start("faktura.zvp");
  EXPECT_EQ(w->FindBar(), nullptr);
  EXPECT_EQ(w->layout()->count(), 2); // the buttons and the page, as always

  Key(*w, Qt::Key_F, Qt::ControlModifier);
  ASSERT_NE(w->FindBar(), nullptr);
  TFindBar& bar = *w->FindBar();
  EXPECT_TRUE(bar.isVisible());
  EXPECT_TRUE(bar.Edit->hasFocus());
  EXPECT_LT(bar.geometry().top(), w->ZVPreview1->geometry().top()); // under the buttons, over the page
  EXPECT_GT(bar.geometry().top(), w->Panel1->geometry().top());
  QStringList texts;
  for (QLabel* label : bar.findChildren<QLabel*>())
    texts << label->text();
  EXPECT_TRUE(texts.contains(QStringLiteral("Znajdź:")));
  EXPECT_EQ(bar.NextButton->text(), QStringLiteral("Następne"));
  EXPECT_EQ(bar.PreviousButton->text(), QStringLiteral("Poprzednie"));
  EXPECT_EQ(bar.MatchCase->text(), QStringLiteral("Wielkość liter"));

  Type(*w, QStringLiteral("Łożysko"));
  EXPECT_FALSE(w->ZVPreview1->PreviewImage()->Highlights().empty());
  Key(*w, Qt::Key_Escape);
  EXPECT_FALSE(bar.isVisible());
  EXPECT_TRUE(w->ZVPreview1->PreviewImage()->Highlights().empty());
}

TEST_F(FindTest, FindsFromTheCurrentPageOnwardsAndWraps) {
  auto w = Start("faktura.zvp");
  Key(*w, Qt::Key_F, Qt::ControlModifier);
  // "partia 3" stands only on page 2; the Polish pangram only on page 3; the footer of page 1 only there.
  struct TStep {
    QString typed;
    int32_t page;
    size_t marks; // matches marked on the page, each of them a box per character (spaces drawn included)
    size_t boxes;
  } steps[] = {
      {QStringLiteral("PARTIA   3"), 2, 12, 8}, // case and spaces folded; 8 of the 20 are cut by their column
      {QStringLiteral("Zażółć gęślą"), 3, 1, 12}, // Polish letters, upper case typed for lower
      {QStringLiteral("Strona 1 z 3"), 1, 1, 12}, // on from page 3, wrapping to page 1
      {QStringLiteral("oryginał"), 2, 1, 8},      // on from the match shown: page 1 has it only before that
  };
  for (const TStep& s : steps) {
    Type(*w, s.typed);
    const std::string where = s.typed.toStdString();
    ExpectPage(*w, s.page, where);
    EXPECT_TRUE(w->FindBar()->Status->text().isEmpty()) << where;
    EXPECT_EQ(w->ZVPreview1->PreviewImage()->Highlights().size(), s.marks * s.boxes) << where;
  }
}

TEST_F(FindTest, NextAndPreviousGoFromMatchToMatchAndCaseCanBeAskedFor) {
  auto w = Start("faktura.zvp");
  Key(*w, Qt::Key_F, Qt::ControlModifier);
  Type(*w, QStringLiteral("oryginał")); // once in the footer of every page
  ExpectPage(*w, 1, "typed");
  const int32_t order[] = {2, 3, 1};
  for (int32_t page : order) {
    Key(*w, Qt::Key_Return);
    Settle(*w);
    ExpectPage(*w, page, "Enter to page " + std::to_string(page));
  }
  Key(*w, Qt::Key_F3);
  Settle(*w);
  ExpectPage(*w, 2, "F3");
  Key(*w, Qt::Key_F3, Qt::ShiftModifier);
  Settle(*w);
  ExpectPage(*w, 1, "Shift+F3");
  Key(*w, Qt::Key_F3, Qt::ShiftModifier);
  Settle(*w);
  ExpectPage(*w, 3, "Shift+F3 wrapping backwards");

  // The match scrolled into view: its marks lie inside the visible part of the page.
  w->ZVPreview1->SetZoom(400);
  Type(*w, QStringLiteral("Strona 3 z 3"));
  const auto& marks = w->ZVPreview1->PreviewImage()->Highlights();
  ASSERT_FALSE(marks.empty());
  TZVPreviewImage* image = w->ZVPreview1->PreviewImage();
  const QRectF inView = image->PageToWidget(marks.front()).translated(image->pos());
  EXPECT_TRUE(QRectF(w->ZVPreview1->viewport()->rect()).contains(inView)) << "not scrolled into view";

  w->FindBar()->MatchCase->setChecked(true);
  Type(*w, QStringLiteral("ORYGINAŁ"));
  EXPECT_EQ(w->FindBar()->Status->text(), QStringLiteral("Nie znaleziono"));
  EXPECT_TRUE(w->ZVPreview1->PreviewImage()->Highlights().empty());
  ExpectPage(*w, 3, "nothing found: the page stays");
}
