// The printer setup dialog on the application-wide printer, against a real CUPS scheduler
// (tests/printing/cups-start.sh): what is chosen in the dialog becomes the printer's selection and
// device mode; cancelling changes nothing. Skipped when no scheduler answers.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <functional>

#include "platform/printer/QtPrinter.h"

// The print-system library keeps a few strings of each queue's PPD cache for good; not ours to free.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libcups.so\nleak:libfontconfig.so\n";
}

namespace {

void EnsureApplication() {
  if (QApplication::instance()) return;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "setup_dialog_test";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);
}

// Runs the dialog, handing it to `act` once it is shown modally.
bool RunDialog(const std::function<void(QPrintDialog&)>& act) {
  std::function<void()> poll = [&] {
    if (auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget()))
      act(*dialog);
    else
      QTimer::singleShot(10, poll);
  };
  QTimer::singleShot(0, poll);
  return ExecutePrinterSetupDialog();
}

// The dialog's widgets by their object names; a missing one fails the test and cancels the dialog.
struct TDialogParts {
  QComboBox* Queues;
  QSpinBox* Copies;
  QRadioButton* DuplexShort;
};
bool FindParts(QPrintDialog& dialog, TDialogParts& parts) {
  parts = {dialog.findChild<QComboBox*>("printers"), dialog.findChild<QSpinBox*>("copies"),
           dialog.findChild<QRadioButton*>("duplexShort")};
  if (parts.Queues && parts.Copies && parts.DuplexShort) return true;
  ADD_FAILURE() << "the dialog lacks the queue list, the copies or the duplex choice";
  dialog.reject();
  return false;
}

class SetupDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureApplication();
    const QStringList queues = QPrinterInfo::availablePrinterNames();
    if (!queues.contains("PDF") || !queues.contains("Null"))
      GTEST_SKIP() << "the queues PDF and Null are missing (tests/printing/cups-start.sh makes them)";
    InstallQtPrinters();
  }

  static std::string Selected() { return Printer().Printers()[Printer().PrinterIndex()]; }
  static TDevMode Mode() {
    std::string device, driver, port;
    return *Printer().GetPrinter(device, driver, port);
  }
};

TEST_F(SetupDialog, AcceptedChoicesBecomeThePrintersSelection) {
  ASSERT_EQ(Selected(), "PDF"); // the default queue
  const bool accepted = RunDialog([](QPrintDialog& dialog) {
    TDialogParts parts;
    if (!FindParts(dialog, parts)) return;
    parts.Queues->setCurrentIndex(parts.Queues->findText("Null"));
    parts.Copies->setValue(3);
    parts.DuplexShort->setChecked(true);
    dialog.accept();
  });
  EXPECT_TRUE(accepted);
  EXPECT_EQ(Selected(), "Null");
  const TDevMode mode = Mode();
  EXPECT_EQ(mode.dmCopies, 3);
  EXPECT_EQ(mode.dmDuplex, DMDUP_HORIZONTAL);
  EXPECT_EQ(mode.dmPaperSize, 1); // the queue's own default, Letter
}

TEST_F(SetupDialog, CancellingChangesNothing) {
  const std::string before = Selected();
  const TDevMode mode = Mode();
  const bool accepted = RunDialog([](QPrintDialog& dialog) {
    TDialogParts parts;
    if (!FindParts(dialog, parts)) return;
    parts.Queues->setCurrentIndex(
        parts.Queues->findText(parts.Queues->currentText() == "PDF" ? "Null" : "PDF"));
    parts.Copies->setValue(5);
    dialog.reject();
  });
  EXPECT_FALSE(accepted);
  EXPECT_EQ(Selected(), before);
  EXPECT_EQ(Mode().dmCopies, mode.dmCopies);
}

} // namespace
