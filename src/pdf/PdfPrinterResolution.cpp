// The printer resolution a document's metafiles are mapped with in their metric mapping modes.
#include "pdf/PdfDocument.h"

TPdfIntPoint TPdfDocument::PrinterPxPerInch() {
  if (FPrinterPxPerInch.x <= 0 || FPrinterPxPerInch.y <= 0) {
    TPdfIntPoint probed{300, 300};
    if (PrinterResolutionProbe) {
      try {
        TPdfIntPoint p = PrinterResolutionProbe();
        if (p.x > 0 && p.y > 0) probed = p;
      } catch (...) {
        // No printer to ask: the common resolution stands.
      }
    }
    FPrinterPxPerInch = probed;
  }
  return FPrinterPxPerInch;
}
