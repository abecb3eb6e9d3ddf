// The PDF button: every page of the open report into "metafilepdf.pdf" in the current directory, each
// page also saved there as "meta<N>.emf", without asking, as the viewer always did. A file that cannot be
// written (the PDF included) is reported in the standard error box and leaves the earlier file as it was.
#include <string>

#include "MainWindow.h"
#include "pdf/PdfExport.h"
#include "store/printer/ZVPrinter.h"

void TfrmDodEdidoPreview::BitBtn1Click() {
  TZVPrinter* report = ZVPreview1->ZVPrinter();
  const int32_t pageCount = report ? report->PageCount() : 0;
  TPdfExportOptions options;
  options.OnPage = [](int32_t page, const TMetafile& metafile) {
    metafile.SaveToFile("meta" + std::to_string(page) + ".emf");
  };
  ExportPdf(
      pageCount, [report](int32_t page) { return report->GetPage(page); }, "metafilepdf.pdf", options);
}
