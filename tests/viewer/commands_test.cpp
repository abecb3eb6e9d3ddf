// The print and save commands with the printer selection dialog, on virtual printers.
#include <QFile>
#include <QFileDialog>
#include <cstring>
#include <filesystem>

#include "MainWindow.h"
#include "ViewerTestSupport.h"
#include "platform/emfwriter/EmfWriter.h"
#include "printing/PrintLoop.h"
#include "printing/dialog/SelectPrinterDialog.h"
#include "store/ZVPageList.h"

using namespace viewer_test;

namespace {

QByteArray FileBytes(const std::string& path) {
  QFile f(QString::fromStdString(path));
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class CommandsTest : public ::testing::Test {
 protected:
  void SetUp() override { EnsureApplication(); }

  std::unique_ptr<TfrmDodEdidoPreview> Start(const char* sample) {
    auto window = std::make_unique<TfrmDodEdidoPreview>(
        QStringList{"zvpview", QString::fromStdString(SamplePath(sample))});
    window->show();
    QCoreApplication::processEvents();
    return window;
  }

  // The report pages that each printed page shows, matched against a job printing every page once.
  std::vector<int> PrintedPages(TZVPrinter& report, size_t job) {
    const size_t reference = printers.Printed().Jobs.size();
    TPrintChoice all;
    PrintReport(report, all);
    const auto& pages = printers.Printed().Jobs.at(reference);
    std::vector<int> numbers;
    for (const QImage& printed : printers.Printed().Jobs.at(job)) {
      int found = 0;
      for (size_t i = 0; i < pages.size(); ++i)
        if (pages[i] == printed) found = int(i) + 1;
      numbers.push_back(found);
    }
    return numbers;
  }

  TVirtualPrinters printers{{"Biuro", "Magazyn"}, "Biuro"};
};

TEST_F(CommandsTest, PrintsTwoCopiesOfPagesTwoToThreeInOneJob) {
  TModalRecorder answer([](QDialog& dialog) {
    auto& d = static_cast<TfrmSelectPrinter&>(dialog);
    d.FormShow();
    d.cbPrinters->setCurrentIndex(1);
    d.RangeRb->setChecked(true);
    d.FromEdt->setText("2");
    d.ToEdt->setText("3");
    d.CopiesSe->setValue(2);
    d.BitBtn1Click();
    return int(QDialog::Accepted);
  });
  auto w = Start("zestawienie.zvp");
  w->btnPrint->click();
  ASSERT_EQ(printers.Spool().Jobs.size(), 1u);
  EXPECT_EQ(printers.Spool().Jobs[0].Printer, "Magazyn");
  EXPECT_TRUE(printers.Spool().Jobs[0].Ended);
  EXPECT_EQ(PrintedPages(*w->ZVPrinter(), 0), (std::vector<int>{2, 3, 2, 3}));
}

TEST_F(CommandsTest, CancelPrintsNothing) {
  TModalRecorder answer([](QDialog&) { return int(QDialog::Rejected); });
  auto w = Start("zestawienie.zvp");
  w->btnPrint->click();
  EXPECT_EQ(answer.Seen.size(), 1u);
  EXPECT_TRUE(printers.Spool().Jobs.empty());
}

TEST_F(CommandsTest, PrinterDialogShowsTheReportAndKeepsDigitsOnly) {
  auto w = Start("zestawienie.zvp");
  TfrmSelectPrinter d;
  d.ZVPrinter = w->ZVPrinter();
  d.PrinterIndex = 0;
  d.FormShow();
  EXPECT_EQ(d.windowTitle(), "Wybierz drukarkę");
  EXPECT_EQ(d.AllPagesRb->text(), "Wszystkie 5 stron(y)");
  EXPECT_EQ(d.FromEdt->text(), "1");
  EXPECT_EQ(d.ToEdt->text(), "5");
  EXPECT_FALSE(d.FromEdt->isEnabled());
  EXPECT_EQ(d.CopiesSe->value(), 1); // NumCopies 0 starts at 1
  EXPECT_EQ(d.StatusLbl->text(), "Proszę czekać...");
  EXPECT_EQ(d.cbPrinters->count(), 2);
  d.RangeRb->setChecked(true);
  EXPECT_TRUE(d.FromEdt->isEnabled() && d.ToEdt->isEnabled());
  d.FromEdt->setText("4a");
  EXPECT_EQ(d.FromEdt->text(), "");
  d.ToEdt->setText("x");
  EXPECT_EQ(d.ToEdt->text(), "");
  // Empty edits leave the range open at that end.
  d.BitBtn1Click();
  EXPECT_EQ(d.FromPage, 1);
  EXPECT_EQ(d.ToPage, 5);
  d.AllPagesRb->setChecked(true);
  d.BitBtn1Click();
  EXPECT_EQ(d.FromPage, 0);
  EXPECT_EQ(d.ToPage, 0);
}

TEST_F(CommandsTest, DefaultButtonSelectsTheDefaultPrinter) {
  TVirtualPrinters other({"Biuro", "Magazyn"}, "Magazyn");
  auto w = Start("faktura.zvp");
  TfrmSelectPrinter d;
  d.ZVPrinter = w->ZVPrinter();
  d.PrinterIndex = 0;
  d.FormShow();
  d.BitBtn3Click();
  EXPECT_EQ(d.cbPrinters->currentIndex(), 1);
}

// A report of three pages whose second page holds a record that cannot be played.
std::string ReportWithBadPage() {
  const std::string path = std::string(ZVP_TEST_OUTPUT_DIR) + "/viewer-bad-page.zvp";
  std::filesystem::remove(path);
  TZVPageList list;
  list.SetStream(std::make_unique<TZVStream>(1 << 20));
  for (int p = 1; p <= 3; ++p) {
    TEmfWriter w(794, 1123, 96);
    w.TextOut(40, 40, "Strona " + std::to_string(p));
    TMetafile page = w.ToMetafile();
    if (p == 2) {
      std::vector<uint8_t> bytes = page.Bytes();
      // EMR_SELECTOBJECT of handle 50, which no record created, before EMR_EOF (the last 20 bytes).
      const uint8_t select[12] = {37, 0, 0, 0, 12, 0, 0, 0, 50, 0, 0, 0};
      bytes.insert(bytes.end() - 20, select, select + 12);
      auto bump = [&](size_t at, uint32_t by) {
        uint32_t v;
        std::memcpy(&v, &bytes[at], 4);
        v += by;
        std::memcpy(&bytes[at], &v, 4);
      };
      bump(48, 12); // nBytes
      bump(52, 1);  // nRecords
      page.LoadFromBytes(bytes);
    }
    list.AddPage(page);
  }
  list.Finish();
  list.SaveToFile(path);
  return path;
}

TEST_F(CommandsTest, PageThatFailsToPrintAbortsTheJobAndShowsTheError) {
  TModalRecorder answer([](QDialog& dialog) {
    auto& d = static_cast<TfrmSelectPrinter&>(dialog);
    d.FormShow();
    d.BitBtn1Click();
    return int(QDialog::Accepted);
  });
  auto w = std::make_unique<TfrmDodEdidoPreview>(
      QStringList{"zvpview", QString::fromStdString(ReportWithBadPage())});
  w->show();
  QCoreApplication::processEvents();
  w->btnPrint->click();
  ASSERT_EQ(answer.Seen.size(), 2u);
  EXPECT_EQ(answer.Seen[1].Icon, QMessageBox::Critical);
  EXPECT_TRUE(answer.Seen[1].Text.startsWith(" GDI")) << answer.Seen[1].Text.toStdString();
  ASSERT_EQ(printers.Spool().Jobs.size(), 1u);
  EXPECT_TRUE(printers.Spool().Jobs[0].Aborted);
  EXPECT_EQ(printers.Spool().Jobs[0].Pages.size(), 2u);
  EXPECT_FALSE(Printer().Printing());
}

// Saves through the Save dialog answered with `target`; what was shown, the Save dialog first.
std::vector<TSeenDialog> SaveAs(TfrmDodEdidoPreview& w, const std::string& target) {
  TModalRecorder answer([&](QDialog& dialog) {
    static_cast<QFileDialog&>(dialog).selectFile(QString::fromStdString(target));
    return int(QDialog::Accepted);
  });
  w.btnSave->click();
  EXPECT_FALSE(answer.Seen.empty());
  if (!answer.Seen.empty()) {
    EXPECT_EQ(answer.Seen[0].Title, "Zapisanie raportu");
  }
  return answer.Seen;
}

TEST_F(CommandsTest, SaveWritesAByteIdenticalCopy) {
  auto w = Start("zestawienie.zvp");
  const std::string copy = std::string(ZVP_TEST_OUTPUT_DIR) + "/viewer-copy.zvp";
  QFile::remove(QString::fromStdString(copy));
  EXPECT_EQ(SaveAs(*w, copy).size(), 1u);
  EXPECT_EQ(FileBytes(copy), FileBytes(SamplePath("zestawienie.zvp")));
}

TEST_F(CommandsTest, SaveRefusesTheOpenReport) {
  const std::string open = std::string(ZVP_TEST_OUTPUT_DIR) + "/viewer-open.zvp";
  QFile::remove(QString::fromStdString(open));
  ASSERT_TRUE(QFile::copy(QString::fromStdString(SamplePath("faktura.zvp")), QString::fromStdString(open)));
  const QByteArray before = FileBytes(open);
  auto w = std::make_unique<TfrmDodEdidoPreview>(QStringList{"zvpview", QString::fromStdString(open)});
  w->show();
  QCoreApplication::processEvents();
  const std::vector<TSeenDialog> seen = SaveAs(*w, open);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[1].Icon, QMessageBox::Critical);
  EXPECT_TRUE(seen[1].Text.startsWith("Cannot create file \"" + QString::fromStdString(open) + "\"."))
      << seen[1].Text.toStdString();
  EXPECT_EQ(FileBytes(open), before);
}

} // namespace
