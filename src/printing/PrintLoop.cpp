#include "PrintLoop.h"

#include "PrnEmf.h"
#include "platform/printer/Printer.h"

int32_t PrintReport(TZVPrinter& Report, const TPrintChoice& Choice) {
  TPrinter& printer = Printer();
  printer.SetPrinterIndex(Choice.PrinterIndex);
  printer.Title = Choice.Title;
  printer.BeginDoc();
  int32_t printed = 0;
  try {
    const int32_t copies = Choice.NumCopies < 1 ? 1 : Choice.NumCopies;
    bool first = true;
    for (int32_t copy = 1; copy <= copies; ++copy)
      for (int32_t p = 1; p <= Report.PageCount(); ++p) {
        if (Choice.FromPage != 0 && (p < Choice.FromPage || p > Choice.ToPage)) continue;
        if (!first) printer.NewPage();
        first = false;
        ++printed;
        std::unique_ptr<TMetafile> page = Report.GetPage(p);
        if (!page) throw Exception("No report is open");
        if (Choice.PlayWholeMetafile)
          PlayMetafilePage(*page);
        else
          PrintMetafilePage(*page);
      }
  } catch (...) {
    if (printer.Printing()) printer.Abort();
    throw;
  }
  printer.EndDoc();
  return printed;
}
