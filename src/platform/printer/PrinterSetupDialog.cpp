#include <QPrintDialog>

#include "QtPrinter.h"

bool ExecutePrinterSetupDialog(QWidget* parent) {
  auto* printer = dynamic_cast<TQtPrinter*>(&Printer());
  if (!printer) return false;
  QPrinter& qt = printer->QtPrinter();
  QPrintDialog dialog(&qt, parent);
  dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
  if (dialog.exec() != QDialog::Accepted) return false;

  // The dialog may have chosen another queue: take it with the choices made for it.
  TDevMode mode;
  mode.dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES | DM_DUPLEX;
  const QPageSize size = qt.pageLayout().pageSize();
  mode.dmPaperSize = static_cast<int16_t>(size.windowsId());
  if (mode.dmPaperSize == DMPAPER_USER) {
    const QSizeF mm = size.size(QPageSize::Millimeter);
    mode.dmFields |= DM_PAPERWIDTH | DM_PAPERLENGTH;
    mode.dmPaperWidth = static_cast<int16_t>(mm.width() * 10 + 0.5);
    mode.dmPaperLength = static_cast<int16_t>(mm.height() * 10 + 0.5);
  }
  mode.dmOrientation =
      qt.pageLayout().orientation() == QPageLayout::Landscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
  mode.dmCopies = static_cast<int16_t>(qt.copyCount());
  mode.dmDuplex = qt.duplex() == QPrinter::DuplexShortSide ? DMDUP_HORIZONTAL
                  : qt.duplex() == QPrinter::DuplexNone    ? DMDUP_SIMPLEX
                                                           : DMDUP_VERTICAL;
  printer->SetPrinter(qt.printerName().toStdString(), "", "", &mode);
  return true;
}
