// The print and save commands of the main window and the enabling of their buttons.
#include <QApplication>
#include <QFileDialog>

#include "MainWindow.h"
#include "ModalHook.h"
#include "ZVApplication.h"
#include "printing/PrintLoop.h"
#include "printing/dialog/SelectPrinterDialog.h"
#include "store/printer/ZVExportFilter.h"

namespace {

// "Text|pattern;pattern|..." as Qt name filters, the text shown as it is and the patterns taking either
// case.
QStringList NameFilters(const std::string& filterString) {
  const QStringList parts = QString::fromStdString(filterString).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QStringList patterns;
    for (const QString& p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts))
      patterns << p << p.toLower();
    patterns.removeDuplicates();
    filters << parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
  }
  return filters;
}

} // namespace

void TfrmDodEdidoPreview::UpdateAUpdate() {
  btnPrint->setEnabled(gPrawoDruku);
  btnSave->setEnabled(gPrawoDruku);
}

void TfrmDodEdidoPreview::btnPrintClick() {
  if (!FZVPrinter) return;
  TfrmSelectPrinter dialog(QApplication::activeWindow());
  dialog.IDOsoby = gIDOsoby;
  dialog.PrawoDruku = gPrawoDruku;
  dialog.ZVPrinter = FZVPrinter.get();
  dialog.PrinterIndex = FZVPrinter->PrinterIndex();
  dialog.OnError = ShowErrorBox;
  if (ExecModal(dialog) == QDialog::Accepted) PrintPages(dialog);
}

void TfrmDodEdidoPreview::PrintPages(TfrmSelectPrinter& dialog) {
  TPrintChoice choice;
  choice.PrinterIndex = dialog.cbPrinters->currentIndex();
  choice.NumCopies = dialog.NumCopies;
  choice.FromPage = dialog.FromPage;
  choice.ToPage = dialog.ToPage;
  choice.PlayWholeMetafile = gPlayWholeMetafile;
  choice.Title = FReportPath.toStdString();
  if (TZVPrinter* report = ZVPreview1->ZVPrinter()) PrintReport(*report, choice);
}

void TfrmDodEdidoPreview::btnSaveClick() {
  QFileDialog dialog(QApplication::activeWindow(), QStringLiteral("Zapisanie raportu"));
  // The dialog asks before an existing file is replaced.
  dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  const QStringList filters = NameFilters(ExportFilterLibrary().SaveDialogFilterString());
  dialog.setNameFilters(filters);
  dialog.setDefaultSuffix(QStringLiteral("ZVP"));
  if (ExecModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty() || !FZVPrinter) return;
  const std::string file = dialog.selectedFiles().constFirst().toStdString();
  const qsizetype index = filters.indexOf(dialog.selectedNameFilter()) + 1;
  if (index <= 1) {
    FZVPrinter->Save(file);
    return;
  }
  const auto& entries = ExportFilterLibrary().Filters();
  if (index - 2 >= static_cast<qsizetype>(entries.size())) return;
  std::unique_ptr<TZVExportFilter> filter = entries[index - 2].ExportFilterClass.Create(file);
  FZVPrinter->ExportToFilter(*filter);
}
