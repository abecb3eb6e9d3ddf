// The About box: version texts, the system lines and the commit identifier shortcuts.
#include <QApplication>
#include <QClipboard>
#include <QLocale>
#include <QTest>

#include "AboutBox.h"
#include "AboutDialog.h"
#include "SystemInfo.h"
#include "ViewerTestSupport.h"

using namespace viewer_test;

namespace {

TVersionInfo Version(uint16_t a, uint16_t b, uint16_t c, uint16_t d, std::string hash = "") {
  return TVersionInfo(TVersionBlock{{a, b, c, d}, "", std::move(hash)});
}

class AboutTest : public ::testing::Test {
 protected:
  void SetUp() override { EnsureApplication(); }
};

TEST_F(AboutTest, VersionNumberTexts) {
  struct Case {
    TVersionNumber Number;
    int Numbers;
    const char* Text;
  } cases[] = {
      {{2, 0, 0, 0}, 0, "2.00"},      {{2, 0, 0, 0}, 3, "2.0.00"},  {{1, 5, 3, 0}, 3, "1.5.03"},
      {{10, 2, 3, 4}, 4, "10.2.3.4"}, {{10, 12, 0, 0}, 0, "10.12"}, {{0, 0, 5, 1}, 4, ""},
      {{1, 2, 3, 45}, 0, "1.02"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.Number.info(c.Numbers), c.Text) << c.Text;
}

TEST_F(AboutTest, VersionLineOfTheBox) {
  struct Case {
    TVersionInfo Info;
    bool Is3Numbers;
    const char* Label;
  } cases[] = {
      {Version(2, 0, 0, 0), false, "Wersja 2.00"},
      {Version(2, 0, 0, 0), true, "Wersja 2.0.00"},
      {Version(1, 2, 3, 45), false, "Wersja 1.02 (build: 45)"},
      {Version(0, 0, 5, 1), false, "Wersja  (build: 1)"},
      {TVersionInfo(std::nullopt), false, "Wersja "},
  };
  for (const Case& c : cases) {
    TAboutDialog about = MakeViewerAboutDialog();
    about.VersionInfo = c.Info;
    about.Is3Numbers = c.Is3Numbers;
    QString label, caption;
    TModalRecorder recorder([&](QDialog& box) {
      label = static_cast<TAboutBox&>(box).Version->text();
      caption = box.windowTitle();
      return int(QDialog::Accepted);
    });
    EXPECT_TRUE(about.Execute());
    EXPECT_EQ(label, QString::fromUtf8(c.Label));
    EXPECT_EQ(caption, "zvpview"); // an empty product name takes the application's
  }
}

TEST_F(AboutTest, CtrlHShowsAndCtrlCCopiesTheCommitId) {
  struct Case {
    std::string Hash;
    QString Shown;
  } cases[] = {{"0123abc", "0123abc"}, {"", "Niedostępny"}};
  for (const Case& c : cases) {
    TModalRecorder recorder;
    TAboutBox box;
    box.VersionInfo = Version(2, 0, 0, 0, c.Hash);
    QTest::keyClick(&box, Qt::Key_H, Qt::ControlModifier);
    ASSERT_EQ(recorder.Seen.size(), 1u);
    EXPECT_EQ(recorder.Seen[0].Title, "Commit ID");
    EXPECT_EQ(recorder.Seen[0].Text, "cHash: " + c.Shown);
    QTest::keyClick(&box, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), c.Shown);
    // Without Ctrl the keys do nothing.
    QTest::keyClick(&box, Qt::Key_H);
    EXPECT_EQ(recorder.Seen.size(), 1u);
  }
}

TEST_F(AboutTest, BuildCarriesTheProjectVersion) {
  EXPECT_EQ(AboutVersionText(TVersionInfo(), false), "2.00");
}

TEST_F(AboutTest, SystemLines) {
  EXPECT_EQ(
      OperatingSystemLine("PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nNAME=Debian\n", "6.1.0-18-amd64"),
      "Debian GNU/Linux 12 (bookworm) (Build 6.1.0-18-amd64)");
  EXPECT_EQ(OperatingSystemLine("NAME='Some OS'\nVERSION=\"3\"\n", "5.4"), "Some OS 3 (Build 5.4)");
  EXPECT_EQ(OperatingSystemLine("", "5.4"), "Linux (Build 5.4)");
  EXPECT_EQ(PhysicalMemoryText(8ull << 30, QLocale(QLocale::English)), "8,192 MB");
  EXPECT_EQ(PhysicalMemoryText(24ull << 30, QLocale(QLocale::Polish)),
            QString("24") + QChar(0xA0) + "576 MB");
  EXPECT_EQ(PhysicalMemoryText(512 * 1024, QLocale(QLocale::English)), " MB");
  EXPECT_GT(PhysicalMemoryBytes(), 0u);
}

} // namespace
