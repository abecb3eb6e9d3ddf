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

// Labels of the box, each inside the box and clear of every other one (the engraved name's three labels
// overlap by design and are taken as one).
void ExpectNothingOverlaps(const TAboutBox& box, const std::string& where) {
  const std::vector<QWidget*> parts = {box.ProgramIcon, box.Company, box.ProductName2, box.Version,
                                       box.Copyright,   box.URL,     box.EMAIL,        box.Bevel1,
                                       box.OS,          box.Label3,  box.PhysMem,      box.BitBtn1};
  for (size_t i = 0; i < parts.size(); ++i) {
    const QRect r = parts[i]->geometry();
    EXPECT_TRUE(box.rect().contains(r)) << where << ": " << i;
    if (auto* label = qobject_cast<QLabel*>(parts[i]);
        label && !label->wordWrap() && label->pixmap().isNull())
      EXPECT_GE(r.width(), label->fontMetrics().horizontalAdvance(label->text())) << where << ": " << i;
    for (size_t j = i + 1; j < parts.size(); ++j)
      EXPECT_FALSE(r.intersects(parts[j]->geometry())) << where << ": " << i << " and " << j;
  }
  if (box.OS->wordWrap()) EXPECT_GE(box.OS->height(), box.OS->heightForWidth(box.OS->width())) << where;
}

TEST_F(AboutTest, BoxIsLaidOutFromItsFonts) {
  struct Case {
    const char* Name;
    QString Memory;
    QString Os;
    QString Company;
  } cases[] = {
      {"as it comes", QString(), QString(), QString()},
      {"a large memory", QStringLiteral("1,048,576,000 MB"), QString(), QString()},
      {"a long system line", QString(),
       QStringLiteral("Debian GNU/Linux 12 (bookworm) with a rather long description of its edition "
                      "(Build 6.1.0-18-amd64-with-a-long-suffix)"),
       QString()},
      {"a long company name", QString(), QString(),
       QStringLiteral("Przedsiębiorstwo Produkcyjno-Handlowo-Usługowe Zevrin spółka z o.o.")},
  };
  for (const Case& c : cases) {
    TAboutBox box;
    if (!c.Memory.isEmpty()) box.PhysMem->setText(c.Memory);
    if (!c.Os.isEmpty()) box.OS->setText(c.Os);
    box.Company->setText(c.Company.isEmpty() ? QStringLiteral("Zevrin") : c.Company);
    box.Version->setText(QStringLiteral("Wersja 2.00"));
    box.LayOut();
    ExpectNothingOverlaps(box, c.Name);
    EXPECT_GE(box.width(), 373) << c.Name;
    EXPECT_GE(box.height(), 250) << c.Name;
    // The memory amount ends at the designed distance from the right edge.
    EXPECT_EQ(box.PhysMem->geometry().right() + 1, box.width() - 11) << c.Name;
  }
}

TEST_F(AboutTest, ExecutedBoxHasNoOverlaps) {
  TAboutDialog about = MakeViewerAboutDialog();
  bool checked = false;
  TModalRecorder recorder([&](QDialog& box) {
    ExpectNothingOverlaps(static_cast<TAboutBox&>(box), "executed");
    checked = true;
    return int(QDialog::Accepted);
  });
  about.Execute();
  EXPECT_TRUE(checked);
}

} // namespace
