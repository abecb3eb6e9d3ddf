#pragma once
// TPrinter: one printer object of the host, with the rules every back end shares: the printer list in the
// platform's order, the default-printer rule, the device mode, one job holding consecutive pages, and the
// error texts. A back end (the CUPS queues through Qt, or the virtual printer of the tests) supplies the
// queues, their capabilities and the drawing surface.
//
// Errors are raised as EPrinter with the host's texts:
//   "There is no default printer currently selected"  reading PrinterIndex with no printer or default
//   "Printer index out of range"                       PrinterIndex outside -1 .. count - 1
//   "Printing in progress"                             changing the printer, or BeginDoc, during a job
//   "Printer is not currently printing"                NewPage, EndDoc, Abort outside a job
//
// Ownership: the device mode that GetPrinter returns belongs to the printer object and stays valid until
// the next SetPrinter or change of index. Not thread-safe; the GUI thread owns its printers.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "PrinterTypes.h"
#include "platform/metafile/Metafile.h"
#include "platform/rtl/Exception.h"

class TGdiDC;

class EPrinter : public Exception {
  using Exception::Exception;
};

class TPrinter {
 public:
  virtual ~TPrinter() = default;
  TPrinter(const TPrinter&) = delete;
  TPrinter& operator=(const TPrinter&) = delete;

  // Names of the installed printers, listed once on first use.
  const std::vector<std::string>& Printers();
  // Selects the default printer (compared without regard to case) when none is selected yet.
  int32_t PrinterIndex();
  // -1 selects the default printer. A new index resets the device mode to the driver's defaults.
  void SetPrinterIndex(int32_t Value);

  // Names and device mode of the selected printer; null device mode when no printer can be selected.
  TDevMode* GetPrinter(std::string& ADevice, std::string& ADriver, std::string& APort);
  // Selects the printer named ADevice and makes ADeviceMode current (copied); null means the driver's
  // defaults. An unknown name raises "Printer selected is not valid".
  void SetPrinter(const std::string& ADevice, const std::string& ADriver, const std::string& APort,
                  const TDevMode* ADeviceMode);

  // The job: BeginDoc starts the job named Title and its first page. When the spooler refuses the job the
  // object stays idle and the next NewPage or EndDoc reports "Printer is not currently printing".
  std::string Title;
  void BeginDoc();
  void NewPage();
  void EndDoc();
  void Abort();
  bool Printing() const { return FPrinting; }
  bool Aborted() const { return FAborted; }
  int32_t PageNumber() const { return FPageNumber; }

  // The device context of the current page while a job runs (null otherwise, and on back ends without
  // one). Its coordinates start at the printable area's corner.
  virtual TGdiDC* Handle() { return nullptr; }
  // The canvas's stretch-draw of a page metafile onto the current page, in device pixels.
  void StretchDraw(const TEmfRect& Rect, const TMetafile& Metafile);

  // Device queries of the selected printer with its current device mode.
  int32_t GetDeviceCaps(int Index);
  // DeviceCapabilities(DC_PAPERS): the paper codes the selected printer offers.
  std::vector<uint16_t> PaperCodes();
  // The driver of the selected printer: a path whose file-name part names it, or a plain model name.
  std::string DriverPath();

 protected:
  TPrinter() = default;

  // --- The back end ---
  virtual std::vector<std::string> QueryPrinters() = 0;
  // Name of the system's default printer, empty when there is none.
  virtual std::string QueryDefaultPrinter() = 0;
  // The driver's default device mode of printer `index`; its dmFields are the fields the driver supports.
  virtual TDevMode DriverDefaults(int32_t index) = 0;
  // Makes `mode` current on printer `index` (called after every selection and SetPrinter).
  virtual void ApplyMode(int32_t index, const TDevMode& mode) = 0;
  virtual std::string QueryPort(int32_t index) = 0;
  virtual std::string QueryDriver(int32_t index) = 0;
  virtual std::vector<uint16_t> QueryPaperCodes(int32_t index) = 0;
  virtual int32_t QueryDeviceCaps(int32_t index, int capIndex) = 0;
  // False when the spooler refuses the job.
  virtual bool StartJob(int32_t index, const std::string& title) = 0;
  virtual void StartNextPage() = 0;
  virtual void EndJob() = 0;
  virtual void AbortJob() = 0;
  virtual void DrawMetafile(const TEmfRect& rect, const TMetafile& metafile) = 0;

 private:
  int32_t SelectedIndex();
  void Select(int32_t index);
  void RequirePrinting() const;

  bool FListed = false;
  std::vector<std::string> FPrinters;
  int32_t FIndex = -1;
  TDevMode FDevMode;
  bool FHasDevMode = false;
  bool FPrinting = false;
  bool FAborted = false;
  int32_t FPageNumber = 0;
};

// The application-wide printer object and new private ones, made by the installed factory. Without a
// factory (a headless program) printers come from a back end that lists none.
using TPrinterFactory = std::function<std::unique_ptr<TPrinter>()>;
void SetPrinterFactory(TPrinterFactory Factory);
std::unique_ptr<TPrinter> NewPrinter();
TPrinter& Printer();
// Replaces the application-wide printer (null: made anew by the factory on next use).
void SetApplicationPrinter(std::unique_ptr<TPrinter> APrinter);
