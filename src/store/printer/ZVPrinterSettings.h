#pragma once
// TZVPrinterSettings: a report's own printer choices, handed to a report printer in one call.
#include <cstdint>
#include <string>

#include "ZVPaper.h"
#include "platform/printer/PrinterTypes.h"

class TZVPrinter;

class TZVPrinterSettings {
 public:
  int32_t Copies = 1;
  bool Duplex = true;
  TZVDuplexMode DuplexMode = tzdNone;
  int32_t FirstPage = 0, LastPage = 0;
  TPrinterOrientation Orientation = poPortrait;
  TZVBin OutputBin = TZVBin::Auto;
  TZVPaperSize PaperSize = TZVPaperSize::Letter;
  int32_t PrinterIndex = -1;
  std::string Title;

  // Sets printer index, paper size, copies, duplex, orientation and output bin (each through the report
  // printer's guarded setter), then the title. DuplexMode and the page range are not passed on.
  void ApplySettings(TZVPrinter& APrinter) const;
};
