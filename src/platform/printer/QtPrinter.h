#pragma once
// TQtPrinter: the printer object over the system's print queues (CUPS, through Qt Print Support). Jobs
// are drawn through a GDI device context over a QPainter on the QPrinter page. Needs a QGuiApplication.
//
// Where Qt offers no choice the device mode says so: paper sources exist only on Windows, so
// DM_DEFAULTSOURCE is never supported here; duplex is supported where the queue offers more than
// one-sided printing, copies where the queue can make them.
#include <QPrinter>
#include <QPrinterInfo>
#include <memory>

#include "Printer.h"

class QPainter;
class TGdiDC;

class TQtPrinter : public TPrinter {
 public:
  TQtPrinter();
  ~TQtPrinter() override;
  // Painting on the queue begins with the first page drawn, so a job without pages reaches no printer.
  TGdiDC* Handle() override;
  // The QPrinter of the selected queue (made on first use).
  QPrinter& QtPrinter();

 protected:
  std::vector<std::string> QueryPrinters() override;
  std::string QueryDefaultPrinter() override;
  TDevMode DriverDefaults(int32_t index) override;
  void ApplyMode(int32_t index, const TDevMode& mode) override;
  std::string QueryPort(int32_t index) override;
  std::string QueryDriver(int32_t index) override;
  std::vector<uint16_t> QueryPaperCodes(int32_t index) override;
  int32_t QueryDeviceCaps(int32_t index, int capIndex) override;
  bool StartJob(int32_t index, const std::string& title) override;
  void StartNextPage() override;
  void EndJob() override;
  void AbortJob() override;
  void DrawMetafile(const TEmfRect& rect, const TMetafile& metafile) override;

 private:
  QPrinterInfo Info(int32_t index);
  QPrinter& PrinterFor(int32_t index);
  void BeginPainting();
  void FinishPainting();
  void CancelHeldJob();

  int32_t FQueue = -1; // the queue FPrinter was made for
  std::unique_ptr<QPrinter> FPrinter;
  std::unique_ptr<QPainter> FPainter;
  std::unique_ptr<TGdiDC> FDC;
  bool FJobPending = false; // a job was started and nothing drawn yet
};

// Makes the system's queues the program's printers (NewPrinter, Printer()).
void InstallQtPrinters();

// The printer setup dialog on the application-wide printer: the choices made are taken into its
// selected printer and device mode. False when cancelled (or when the printers are not the system's).
bool ExecutePrinterSetupDialog(QWidget* parent = nullptr);
