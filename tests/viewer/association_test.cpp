// File association on the XDG desktop and the first-run notice.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "FileAssociation.h"
#include "MainWindow.h"
#include "ViewerTestSupport.h"

using namespace viewer_test;

namespace {

QString ReadText(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

class AssociationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureApplication();
    paths = {home.path() + "/data", home.path() + "/config", {home.path() + "/system"}};
  }
  QTemporaryDir home;
  TAssociationPaths paths;
};

TEST_F(AssociationTest, FirstRegistrationIsNewAndWritesEveryEntry) {
  EXPECT_TRUE(RegisterFileAssociation("/opt/zvp/zvpview", paths, false));
  const QString entry = ReadText(paths.DesktopEntry());
  EXPECT_TRUE(entry.contains("\nExec=/opt/zvp/zvpview \"%f\"\n")) << entry.toStdString();
  EXPECT_TRUE(entry.contains("\nIcon=zvpview\n"));
  EXPECT_TRUE(entry.contains("\nMimeType=application/x-zvp;\n"));
  EXPECT_TRUE(entry.contains("\nNoDisplay=true\n"));
  const QString mime = ReadText(paths.MimePackage());
  EXPECT_TRUE(mime.contains("<glob pattern=\"*.zvp\"/>"));
  EXPECT_TRUE(mime.contains("type=\"application/x-zvp\""));
  EXPECT_TRUE(mime.contains("<match type=\"little32\" offset=\"0\" value=\"0x01340003\"/>"));
  EXPECT_EQ(QImage(paths.Icon(48)).size(), QSize(48, 48));
  EXPECT_TRUE(
      ReadText(paths.MimeApps()).contains("[Default Applications]\napplication/x-zvp=zvpview.desktop\n"));
  // Written again, with the new place of the program, but no longer new.
  EXPECT_FALSE(RegisterFileAssociation("/usr/local/bin/zvpview", paths, false));
  EXPECT_TRUE(ReadText(paths.DesktopEntry()).contains("\nExec=/usr/local/bin/zvpview \"%f\"\n"));
}

TEST_F(AssociationTest, SystemWideInstallCountsAsRegisteredAndKeepsItsMenuEntryVisible) {
  QDir().mkpath(paths.DataDirs[0] + "/applications");
  QFile system(paths.DataDirs[0] + "/applications/zvpview.desktop");
  ASSERT_TRUE(system.open(QIODevice::WriteOnly));
  system.write("[Desktop Entry]\nType=Application\nName=zvpview\nExec=zvpview %f\n");
  system.close();
  EXPECT_FALSE(RegisterFileAssociation("/usr/bin/zvpview", paths, false));
  const QString entry = ReadText(paths.DesktopEntry());
  EXPECT_TRUE(entry.contains("\nExec=/usr/bin/zvpview \"%f\"\n")) << entry.toStdString();
  EXPECT_FALSE(entry.contains("NoDisplay")) << "the per-user entry would hide the installed one";
}

TEST_F(AssociationTest, ExecLineQuotesPathsWithBlanksAndReservedCharacters) {
  struct Case {
    const char* Path;
    const char* Exec;
  } cases[] = {
      {"/opt/zvp/zvpview", "/opt/zvp/zvpview \"%f\""},
      {"/home/jan/Moje programy/zvpview", "\"/home/jan/Moje programy/zvpview\" \"%f\""},
      {"/opt/a$b/zvpview", "\"/opt/a\\\\$b/zvpview\" \"%f\""},
      {"/opt/a\\b/zvpview", "\"/opt/a\\\\\\\\b/zvpview\" \"%f\""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(DesktopExecValue(QString::fromUtf8(c.Path)), QString::fromUtf8(c.Exec)) << c.Path;
}

TEST_F(AssociationTest, OtherDefaultsInMimeappsListStay) {
  QDir().mkpath(paths.ConfigHome);
  QFile f(paths.MimeApps());
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("[Added Associations]\ntext/plain=edit.desktop;\n\n[Default Applications]\n"
          "application/x-zvp=old.desktop\nimage/png=view.desktop\n");
  f.close();
  RegisterFileAssociation("/opt/zvp/zvpview", paths, false);
  EXPECT_EQ(ReadText(paths.MimeApps()),
            "[Added Associations]\ntext/plain=edit.desktop;\n\n[Default Applications]\n"
            "application/x-zvp=zvpview.desktop\nimage/png=view.desktop\n");
}

TEST_F(AssociationTest, UnwritableHomeRaisesTheRegistryErrorWithThePath) {
  // A file where the applications folder should be.
  QDir().mkpath(paths.DataHome);
  QFile blocker(paths.DataHome + "/applications");
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  try {
    RegisterFileAssociation("/opt/zvp/zvpview", paths, false);
    FAIL() << "no error";
  } catch (const ERegistryException& e) {
    EXPECT_EQ(e.Message(), "Failed to set data for '" + paths.DesktopEntry().toStdString() + "'");
  }
  EXPECT_TRUE(
      RegisterFileAssociation("/opt/zvp/zvpview", {home.path() + "/other", paths.ConfigHome, {}}, false));
}

// The window tests judge the per-user entry alone, whatever this machine has installed.
class NoSystemInstall {
 public:
  NoSystemInstall() : FOld(qgetenv("XDG_DATA_DIRS")) { qputenv("XDG_DATA_DIRS", FEmpty.path().toUtf8()); }
  ~NoSystemInstall() { qputenv("XDG_DATA_DIRS", FOld); }

 private:
  QTemporaryDir FEmpty;
  QByteArray FOld;
};

TEST_F(AssociationTest, StartWithoutArgumentShowsTheNoticeOnlyTheFirstTime) {
  NoSystemInstall noSystem;
  TVirtualPrinters printers;
  QDir(XdgDataHome()).removeRecursively();
  TModalRecorder boxes;
  for (int start = 0; start < 2; ++start) {
    TfrmDodEdidoPreview w(QStringList{"zvpview"});
    w.show();
    QCoreApplication::processEvents();
  }
  ASSERT_EQ(boxes.Seen.size(), 1u);
  EXPECT_EQ(boxes.Seen[0].Title, "Informacja");
  EXPECT_EQ(boxes.Seen[0].Icon, QMessageBox::NoIcon);
  EXPECT_TRUE(boxes.Seen[0].Text.startsWith(
      "Niniejszy program umożliwia oglądanie i oddrukowanie plików z raportami (*.zvp)\n"));
  EXPECT_TRUE(QFile::exists(AssociationPaths().DesktopEntry()));
}

TEST_F(AssociationTest, StartWithoutArgumentAfterASystemWideInstallShowsNoNotice) {
  QTemporaryDir system;
  QDir().mkpath(system.path() + "/applications");
  QFile entry(system.path() + "/applications/zvpview.desktop");
  ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
  entry.close();
  const QByteArray old = qgetenv("XDG_DATA_DIRS");
  qputenv("XDG_DATA_DIRS", system.path().toUtf8());
  TVirtualPrinters printers;
  QDir(XdgDataHome()).removeRecursively();
  TModalRecorder boxes;
  {
    TfrmDodEdidoPreview w(QStringList{"zvpview"});
    w.show();
    QCoreApplication::processEvents();
  }
  qputenv("XDG_DATA_DIRS", old);
  EXPECT_TRUE(boxes.Seen.empty());
  EXPECT_TRUE(QFile::exists(AssociationPaths().DesktopEntry()))
      << "the per-user association is still written";
}

TEST_F(AssociationTest, StartWithAReportWritesNothing) {
  TVirtualPrinters printers;
  QDir(XdgDataHome()).removeRecursively();
  TModalRecorder boxes;
  TfrmDodEdidoPreview w(QStringList{"zvpview", QString::fromStdString(SamplePath("faktura.zvp"))});
  w.show();
  QCoreApplication::processEvents();
  EXPECT_TRUE(boxes.Seen.empty());
  EXPECT_FALSE(QFile::exists(AssociationPaths().DesktopEntry()));
}

} // namespace
