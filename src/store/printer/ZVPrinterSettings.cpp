#include "ZVPrinterSettings.h"

#include "ZVPrinter.h"

void TZVPrinterSettings::ApplySettings(TZVPrinter& APrinter) const {
  APrinter.SetPrinterIndex(PrinterIndex);
  APrinter.SetPaperSize(PaperSize);
  APrinter.SetCopies(Copies);
  APrinter.SetDuplex(Duplex);
  APrinter.SetOrientation(Orientation);
  APrinter.SetOutputBin(OutputBin);
  APrinter.SetTitle(Title);
}
