// What the viewer keeps between runs: the window's size and place, the zoom mode, and the page each
// report was last shown at; a missing, damaged or odd settings file gives the defaults and no error.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>

#include "MainWindow.h"
#include "ViewerSettings.h"
#include "ViewerTestSupport.h"

using namespace viewer_test;

namespace {

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureApplication();
    QDir().mkpath(XdgConfigHome() + "/zvpview");
  }

  std::unique_ptr<TfrmDodEdidoPreview> Start(const QString& report = QString()) {
    auto window = std::make_unique<TfrmDodEdidoPreview>(QStringList{"zvpview", report});
    window->show();
    QCoreApplication::processEvents();
    return window;
  }
  static QString Sample(const char* name) { return QString::fromStdString(SamplePath(name)); }
  static void WriteSettings(const QByteArray& bytes) {
    QFile file(TViewerSettings::FilePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
  }

  TVirtualPrinters printers;
  TModalRecorder boxes;
};

TEST_F(SettingsTest, TheFileLivesInTheXdgConfigFolder) {
  EXPECT_EQ(TViewerSettings::FilePath(), XdgConfigHome() + "/zvpview/zvpview.conf");
}

TEST_F(SettingsTest, WindowSizeAndPlaceComeBack) {
  {
    auto w = Start();
    w->setGeometry(QRect(40, 50, 700, 500));
    QCoreApplication::processEvents();
    w->close();
  }
  ASSERT_TRUE(QFile::exists(TViewerSettings::FilePath()));
  auto w = Start();
  EXPECT_EQ(w->size(), QSize(700, 500));
  EXPECT_EQ(w->geometry().topLeft(), QPoint(40, 50));
}

TEST_F(SettingsTest, PlaceOffEveryScreenIsNotTakenBack) {
  WriteSettings("[window]\nposition=@Point(-20000 -20000)\nsize=@Size(600 400)\n");
  auto w = Start();
  EXPECT_EQ(w->size(), QSize(600, 400));
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_TRUE(screen.contains(w->geometry().topLeft())) << w->x() << "," << w->y();
}

TEST_F(SettingsTest, ZoomModeComesBack) {
  struct Case {
    const char* Name;
    std::function<void(TZVPreview&)> Choose;
    TZVZoomState State;
    int32_t Zoom; // 0: as fitted
  } cases[] = {
      {"fit page", [](TZVPreview& p) { p.ZoomToFit(); }, zvZoomToFit, 0},
      {"fit width", [](TZVPreview& p) { p.ZoomToWidth(); }, zvZoomToWidth, 0},
      {"150 per cent", [](TZVPreview& p) { p.SetZoom(150); }, zvZoomOther, 150},
      {"2000 per cent", [](TZVPreview& p) { p.SetZoom(2000); }, zvZoomOther, 2000},
  };
  for (const Case& c : cases) {
    int32_t chosen = 0;
    {
      auto w = Start(Sample("faktura.zvp"));
      c.Choose(*w->ZVPreview1);
      chosen = w->ZVPreview1->Zoom();
      w->close();
    }
    auto w = Start(Sample("faktura.zvp"));
    EXPECT_EQ(w->ZVPreview1->ZoomState, c.State) << c.Name;
    EXPECT_EQ(w->ZVPreview1->Zoom(), c.Zoom ? c.Zoom : chosen) << c.Name;
    // Without a report too.
    w->close();
    auto empty = Start();
    EXPECT_EQ(empty->ZVPreview1->ZoomState, c.State) << c.Name;
    empty->close();
  }
}

TEST_F(SettingsTest, ReportReopensAtItsLastPage) {
  {
    auto w = Start(Sample("zestawienie.zvp"));
    w->FormShortCut(Qt::Key_PageDown, Qt::NoModifier);
    w->FormShortCut(Qt::Key_PageDown, Qt::NoModifier);
    w->FormShortCut(Qt::Key_PageDown, Qt::NoModifier);
    w->close();
  }
  auto w = Start(Sample("zestawienie.zvp"));
  EXPECT_EQ(w->Panel2->text(), "Str. 4/5");
  EXPECT_EQ(w->ZVPreview1->PreviewImage()->PageNumber(), 4);
  EXPECT_TRUE(w->btnPrevPage->isEnabled());
  EXPECT_TRUE(w->btnNextPage->isEnabled());

  // Within a run: another report in between, then back.
  w->OpenReport(Sample("faktura.zvp"));
  EXPECT_EQ(w->Panel2->text(), "Str. 1/3");
  w->btnNextPageClick();
  w->OpenReport(Sample("zestawienie.zvp"));
  EXPECT_EQ(w->Panel2->text(), "Str. 4/5");
  w->OpenReport(Sample("faktura.zvp"));
  EXPECT_EQ(w->Panel2->text(), "Str. 2/3");
  // The same report under another name of its path.
  w->OpenReport(QString::fromStdString(SamplePath("../samples/zestawienie.zvp")));
  EXPECT_EQ(w->Panel2->text(), "Str. 4/5");
}

TEST_F(SettingsTest, OnlyTheNewestReportsAreKept) {
  TViewerSettings settings;
  for (int i = 0; i < TViewerSettings::MaxReports + 10; ++i)
    settings.SetLastPage(QStringLiteral("/raporty/r%1.zvp").arg(i), i + 1);
  settings.Save();
  const TViewerSettings read;
  EXPECT_EQ(read.LastPage("/raporty/r0.zvp"), 0);
  EXPECT_EQ(read.LastPage("/raporty/r9.zvp"), 0);
  EXPECT_EQ(read.LastPage("/raporty/r10.zvp"), 11);
  EXPECT_EQ(read.LastPage(QStringLiteral("/raporty/r%1.zvp").arg(TViewerSettings::MaxReports + 9)),
            TViewerSettings::MaxReports + 10);
}

// Settings files that are of no use: the window starts as without them, silently, and the next save
// leaves a file the viewer reads again.
TEST_F(SettingsTest, UselessSettingsGiveTheDefaults) {
  QByteArray noise(3000, '\0');
  for (int i = 0; i < noise.size(); ++i)
    noise[i] = static_cast<char>((i * 7919 + 13) % 251);
  const QByteArray oversized = "[view]\nzoom=150\n" + QByteArray(TViewerSettings::MaxFileSize, '#');
  struct Case {
    const char* Name;
    QByteArray Bytes;
  } cases[] = {
      {"noise", noise},
      {"zoom not a number", "[view]\nzoom=abc\n"},
      {"zoom beyond the limits", "[view]\nzoom=99999\n"},
      {"zoom below the limits", "[view]\nzoom=1\n"},
      {"a window too small", "[window]\nsize=@Size(5 5)\n"},
      {"a window too large", "[window]\nsize=@Size(99999 99999)\n"},
      {"a window size of noise", "[window]\nsize=@Size(abc)\nposition=@Point(1)\n"},
      {"a page count that is not there", "[reports]\nsize=999999999\n"},
      {"pages out of range", "[reports]\n1\\path=PATH\n1\\page=-4\n2\\path=PATH\n2\\page=x\nsize=2\n"},
      {"a remembered page the report lacks", "[reports]\n1\\path=PATH\n1\\page=9\nsize=1\n"},
      {"oversized", oversized},
      {"empty", ""},
  };
  const QString report = Sample("faktura.zvp");
  for (const Case& c : cases) {
    QByteArray bytes = c.Bytes;
    bytes.replace("PATH", QFileInfo(report).canonicalFilePath().toUtf8());
    WriteSettings(bytes);
    boxes.Seen.clear();
    {
      auto w = Start(report);
      EXPECT_TRUE(boxes.Seen.empty()) << c.Name;
      EXPECT_EQ(w->size(), QSize(832, 446)) << c.Name;
      EXPECT_EQ(w->ZVPreview1->ZoomState, zvZoomToFit) << c.Name;
      EXPECT_EQ(w->Panel2->text(), "Str. 1/3") << c.Name;
      w->ZVPreview1->SetZoom(120);
      w->close();
    }
    EXPECT_EQ(TViewerSettings().Zoom.Percent, 120) << c.Name;
  }
}

TEST_F(SettingsTest, MissingOrUnwritableSettingsAreNoError) {
  QFile::remove(TViewerSettings::FilePath());
  {
    auto w = Start(Sample("faktura.zvp"));
    EXPECT_EQ(w->ZVPreview1->ZoomState, zvZoomToFit);
    w->close();
  }
  // A folder where the file should be: nothing can be read or written.
  QFile::remove(TViewerSettings::FilePath());
  ASSERT_TRUE(QDir().mkpath(TViewerSettings::FilePath()));
  {
    auto w = Start(Sample("faktura.zvp"));
    EXPECT_EQ(w->ZVPreview1->ZoomState, zvZoomToFit);
    w->ZVPreview1->SetZoom(130);
    w->close();
  }
  EXPECT_TRUE(boxes.Seen.empty());
  EXPECT_TRUE(QFileInfo(TViewerSettings::FilePath()).isDir());
  QDir(TViewerSettings::FilePath()).removeRecursively();
}

TEST_F(SettingsTest, AWindowNeverShownLeavesTheSettingsAlone) {
  WriteSettings("[view]\nzoom=width\n");
  { TfrmDodEdidoPreview hidden(QStringList{"zvpview"}); }
  EXPECT_EQ(TViewerSettings().Zoom.State, zvZoomToWidth);
}

} // namespace
