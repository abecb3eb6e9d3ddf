// The main window: start with a report, the missing-file box, paging and zoom buttons and keys,
// scrolling keys, a failed open, closing.
#include <QFile>
#include <QFileDialog>
#include <QScrollBar>
#include <QTest>

#include "MainWindow.h"
#include "ViewerTestSupport.h"

using namespace viewer_test;

namespace {

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { EnsureApplication(); }

  // A shown window started with `argument`, its start-up handler run.
  std::unique_ptr<TfrmDodEdidoPreview> Start(const QString& argument) {
    auto window = std::make_unique<TfrmDodEdidoPreview>(QStringList{"zvpview", argument});
    window->show();
    QCoreApplication::processEvents();
    return window;
  }

  TVirtualPrinters printers;
  TModalRecorder boxes;
};

TEST_F(MainWindowTest, StartWithAReportShowsItsFirstPage) {
  const QString path = QString::fromStdString(SamplePath("faktura.zvp"));
  auto w = Start(path);
  EXPECT_EQ(w->windowTitle(), "Podglad zachowanego raportu - " + path + " - 3 stron");
  EXPECT_EQ(w->Panel2->text(), "Str. 1/3");
  EXPECT_FALSE(w->btnPrevPage->isEnabled());
  EXPECT_TRUE(w->btnNextPage->isEnabled());
  EXPECT_TRUE(w->btnPrint->isEnabled());
  EXPECT_TRUE(w->btnSave->isEnabled());
  EXPECT_TRUE(w->ZVPreview1->PreviewImage()->ImageOK());
  EXPECT_EQ(w->ZVPreview1->ZoomState, zvZoomToFit);
  EXPECT_TRUE(boxes.Seen.empty());
}

TEST_F(MainWindowTest, MissingFileShowsTheBoxAndKeepsTheOpenReport) {
  const QString path = QString::fromStdString(SamplePath("faktura.zvp"));
  auto w = Start(path);
  const QString caption = w->windowTitle();
  w->OpenReport("/nie/ma/takiego.zvp");
  ASSERT_EQ(boxes.Seen.size(), 1u);
  EXPECT_EQ(boxes.Seen[0].Title, "Błąd");
  EXPECT_EQ(boxes.Seen[0].Text, "Brak pliku: /nie/ma/takiego.zvp");
  EXPECT_EQ(w->windowTitle(), caption);
  EXPECT_EQ(w->Panel2->text(), "Str. 1/3");
}

TEST_F(MainWindowTest, DamagedReportKeepsTheOneThatWasOpen) {
  const std::string damaged = std::string(ZVP_TEST_OUTPUT_DIR) + "/viewer-damaged.zvp";
  {
    QFile source(QString::fromStdString(SamplePath("zestawienie.zvp")));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    QFile out(QString::fromStdString(damaged));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(source.read(200)); // the header and a piece of the first page
  }
  auto w = Start(QString::fromStdString(SamplePath("faktura.zvp")));
  const QString caption = w->windowTitle();
  w->btnNextPageClick();
  EXPECT_THROW(w->OpenReport(QString::fromStdString(damaged)), Exception);
  EXPECT_EQ(w->windowTitle(), caption);
  EXPECT_EQ(w->Panel2->text(), "Str. 2/3");
  w->btnNextPageClick();
  EXPECT_EQ(w->Panel2->text(), "Str. 3/3");
  EXPECT_TRUE(w->ZVPreview1->PreviewImage()->ImageOK());
}

TEST_F(MainWindowTest, DamagedReportAsFirstReportLeavesNoPagesBehind) {
  const std::string damaged = std::string(ZVP_TEST_OUTPUT_DIR) + "/viewer-damaged-first.zvp";
  {
    QFile source(QString::fromStdString(SamplePath("zestawienie.zvp")));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    QByteArray bytes = source.readAll();
    // Page 1's metafile signature spoiled: the header reads, the paper recognition fails.
    const qsizetype emf = bytes.indexOf(QByteArray(" EMF", 4));
    ASSERT_GT(emf, 0);
    bytes[emf] = 'X';
    QFile out(QString::fromStdString(damaged));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes);
  }
  auto w = Start(QString());
  EXPECT_THROW(w->OpenReport(QString::fromStdString(damaged)), Exception);
  EXPECT_EQ(w->windowTitle(), "Podgląd raportu");
  EXPECT_EQ(w->Panel2->text(), "Str. 1/0");
  EXPECT_FALSE(w->btnNextPage->isEnabled());
  EXPECT_FALSE(w->ZVPreview1->PreviewImage()->ImageOK());
}

TEST_F(MainWindowTest, ErrorsReachingTheEventLoopGoToTheErrorBox) {
  auto w = Start(QString());
  boxes.Seen.clear();
  QMetaObject::invokeMethod(
      w.get(), [] { throw EReadError(); }, Qt::QueuedConnection);
  QCoreApplication::processEvents();
  ASSERT_EQ(boxes.Seen.size(), 1u);
  EXPECT_EQ(boxes.Seen[0].Text, "Stream read error");
  EXPECT_EQ(boxes.Seen[0].Icon, QMessageBox::Critical);
}

TEST_F(MainWindowTest, NoReportCounterAndButtons) {
  auto w = Start(QString());
  EXPECT_EQ(w->windowTitle(), "Podgląd raportu");
  EXPECT_EQ(w->Panel2->text(), "Str. 1/0");
  EXPECT_FALSE(w->btnPrevPage->isEnabled());
  EXPECT_FALSE(w->btnNextPage->isEnabled());
}

TEST_F(MainWindowTest, PageButtonsStopAtTheEnds) {
  auto w = Start(QString::fromStdString(SamplePath("faktura.zvp")));
  w->btnNextPage->click();
  EXPECT_EQ(w->Panel2->text(), "Str. 2/3");
  w->btnNextPage->click();
  EXPECT_EQ(w->Panel2->text(), "Str. 3/3");
  EXPECT_FALSE(w->btnNextPage->isEnabled());
  w->btnNextPageClick();
  EXPECT_EQ(w->Panel2->text(), "Str. 3/3");
  w->btnPrevPage->click();
  w->btnPrevPage->click();
  EXPECT_EQ(w->Panel2->text(), "Str. 1/3");
  EXPECT_FALSE(w->btnPrevPage->isEnabled());
}

TEST_F(MainWindowTest, ZoomButtonsStepByTenWithinTheLimits) {
  auto w = Start(QString::fromStdString(SamplePath("faktura.zvp")));
  struct Case {
    int32_t From;
    bool In;
    int32_t Expected;
  } cases[] = {{100, true, 110}, {1995, true, 1995}, {1990, true, 2000}, {20, false, 10},
               {10, false, 10},  {11, false, 11},    {12, false, 2}};
  for (const Case& c : cases) {
    w->ZVPreview1->SetZoom(c.From);
    (c.In ? w->btnZoomIn : w->btnZoomOut)->click();
    EXPECT_EQ(w->ZVPreview1->Zoom(), c.Expected) << c.From << (c.In ? " in" : " out");
  }
}

TEST_F(MainWindowTest, PageKeysWithAndWithoutCtrl) {
  auto w = Start(QString::fromStdString(SamplePath("zestawienie.zvp")));
  QWidget* focus = w->btnOpen;
  QTest::keyClick(focus, Qt::Key_PageDown, Qt::ControlModifier);
  EXPECT_EQ(w->Panel2->text(), "Str. 5/5");
  EXPECT_FALSE(w->btnNextPage->isEnabled());
  QTest::keyClick(focus, Qt::Key_PageUp);
  EXPECT_EQ(w->Panel2->text(), "Str. 4/5");
  QTest::keyClick(focus, Qt::Key_PageUp, Qt::ControlModifier);
  EXPECT_EQ(w->Panel2->text(), "Str. 1/5");
  QTest::keyClick(focus, Qt::Key_PageDown);
  EXPECT_EQ(w->Panel2->text(), "Str. 2/5");
}

TEST_F(MainWindowTest, ArrowHomeAndEndScroll) {
  auto w = Start(QString::fromStdString(SamplePath("faktura.zvp")));
  TZVPreview& p = *w->ZVPreview1;
  p.SetZoom(300);
  QWidget* focus = w->btnOpen;
  QTest::keyClick(focus, Qt::Key_Down);
  QTest::keyClick(focus, Qt::Key_Down);
  EXPECT_EQ(p.VertPosition(), 20);
  QTest::keyClick(focus, Qt::Key_Up);
  EXPECT_EQ(p.VertPosition(), 10);
  QTest::keyClick(focus, Qt::Key_Right);
  EXPECT_EQ(p.HorzPosition(), 10);
  QTest::keyClick(focus, Qt::Key_Left);
  QTest::keyClick(focus, Qt::Key_Left);
  EXPECT_EQ(p.HorzPosition(), 0); // clamped
  QTest::keyClick(focus, Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(p.VertPosition(), p.verticalScrollBar()->maximum());
  EXPECT_GT(p.VertPosition(), 0);
  QTest::keyClick(focus, Qt::Key_Home);
  EXPECT_EQ(p.VertPosition(), 0);
}

TEST_F(MainWindowTest, ClosingLetsGoOfTheReport) {
  auto w = Start(QString::fromStdString(SamplePath("faktura.zvp")));
  w->btnClose->click();
  EXPECT_EQ(w->ZVPrinter(), nullptr);
  EXPECT_EQ(w->ZVPreview1->ZVPrinter(), nullptr);
}

TEST_F(MainWindowTest, OpenDialogOpensTheChosenReport) {
  const QString path = QString::fromStdString(SamplePath("zestawienie.zvp"));
  TModalRecorder answer([&](QDialog& dialog) {
    static_cast<QFileDialog&>(dialog).selectFile(path);
    return int(QDialog::Accepted);
  });
  auto w = Start(QString::fromStdString(SamplePath("faktura.zvp")));
  w->btnOpen->click();
  ASSERT_EQ(answer.Seen.size(), 1u);
  EXPECT_EQ(answer.Seen[0].Title, "Ładowanie reportu");
  EXPECT_EQ(w->Panel2->text(), "Str. 1/5");
}

} // namespace
