#pragma once
// TZVPrinter: one report and its printer. It owns the page list with its page stream, a printer-settings
// object and a private printer object. In the viewer it loads a saved report (recognising paper size and
// orientation from the first page), hands out pages by number, saves the report, and carries the printer
// index and paper settings that the preview and the printer dialog use. For the report producer it also
// receives pages (BeginDoc, NewPage, EndDoc) and records them into the page list or prints them.
//
// Errors: misuse raises EZVError ("ZVPrinter not ready", "Illegal call to NewPage"); the page list's and
// printer's errors pass through. Pages handed out belong to the caller. GUI thread only; the client and
// master windows hear from it through posted messages.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "PrinterSettings.h"
#include "platform/emfwriter/EmfWriter.h"
#include "platform/metafile/Metafile.h"
#include "store/ZVPageList.h"

class TZVPrinter;
class TZVExportFilter;

class EZVError : public Exception {
  using Exception::Exception;
};

enum TZVPrinterStatus { mpReady, mpBusy, mpFinished };
enum TZVPrinterDestination { zvdMetafile, zvdPrinter };

constexpr uint32_t WM_USER = 1024;
// Messages to the client (the preview): wParam is the progress in percent, or the available pages.
constexpr uint32_t ZVM_PROGRESS = WM_USER;
constexpr uint32_t ZVM_PAGEAVAILABLE = WM_USER + 1;
// Messages to the master (the report component's window): print request, close of the preview.
constexpr uint32_t ZVM_PRINT = WM_USER + 2;
constexpr uint32_t ZVM_CLOSEPREVIEW = WM_USER + 4;

// The screen's resolution: a reference of 96 pixels per inch, so page sizes do not depend on the monitor.
constexpr int32_t ScreenPixelsPerInch = 96;

// A window that a report printer talks to. Posted messages are handled later by the window's event loop.
class TZVWindow {
 public:
  virtual ~TZVWindow() = default;
  virtual void PostMessage(uint32_t Msg, uintptr_t WParam, intptr_t LParam) = 0;
  virtual void SendMessage(uint32_t Msg, uintptr_t WParam, intptr_t LParam) {
    PostMessage(Msg, WParam, LParam);
  }
  // The report printer that this window shows is being destroyed (the preview lets go of it).
  virtual void DetachZVPrinter(TZVPrinter*) {}
};

// Opens a preview window of a report printer (the preview module installs one).
class TZVPreviewInterface {
 public:
  virtual ~TZVPreviewInterface() = default;
  virtual TZVWindow* Show(TZVPrinter&) { return nullptr; }
  virtual TZVWindow* ShowModal(TZVPrinter&) { return nullptr; }
};
extern std::function<std::unique_ptr<TZVPreviewInterface>()> PreviewInterfaceClass;

using TZVNotifyEvent = std::function<void(TZVPrinter& Sender)>;
using TZVAfterPrintEvent = TZVNotifyEvent;
using TZVAfterPreviewEvent = TZVNotifyEvent;
using TZVExportToFilterEvent = std::function<void(TZVExportFilter& aFilter)>;
using TZVPrintSetupEvent = std::function<void()>;

class TZVPrinter {
 public:
  TZVPrinter();
  ~TZVPrinter();
  TZVPrinter(const TZVPrinter&) = delete;
  TZVPrinter& operator=(const TZVPrinter&) = delete;

  // --- The viewer's side ---
  void Load(const std::string& Filename);
  // A new page metafile owned by the caller, or null outside 1 .. PageCount or without a report.
  std::unique_ptr<TMetafile> GetPage(int32_t Value);
  // Writes the report as a saved-report file; does nothing unless a report is complete.
  void Save(const std::string& Filename);
  void ExportToFilter(TZVExportFilter& aFilter);
  void PrintSetup();
  void Cleanup();

  int32_t PrinterIndex();
  void SetPrinterIndex(int32_t Value);
  const std::vector<std::string>& Printers() { return aPrinter->Printers(); }
  bool PrinterOK() const { return FPrinterOK; }
  TPrinterSettings& Settings() { return *aPrinterSettings; }

  // --- Geometry (lengths in tenths of a millimetre, results in device pixels) ---
  int32_t XPos(long double Value) const;
  int32_t YPos(long double Value) const;
  int32_t XSize(long double Value) const;
  int32_t YSize(long double Value) const;
  // The page in the current orientation.
  int32_t PaperWidthValue() const;
  int32_t PaperLengthValue() const;

  // --- Settings forwarded to the printer settings ---
  int32_t Copies() const { return aPrinterSettings->Copies(); }
  void SetCopies(int32_t v) { aPrinterSettings->SetCopies(v); }
  bool Duplex() const { return aPrinterSettings->Duplex(); }
  void SetDuplex(bool v) { aPrinterSettings->SetDuplex(v); }
  TZVBin OutputBin() const { return aPrinterSettings->OutputBin(); }
  void SetOutputBin(TZVBin v) { aPrinterSettings->SetOutputBin(v); }
  TPrinterOrientation Orientation() const { return aPrinterSettings->Orientation(); }
  void SetOrientation(TPrinterOrientation v) { aPrinterSettings->SetOrientation(v); }
  TZVPaperSize PaperSize() const { return aPrinterSettings->PaperSize(); }
  void SetPaperSize(TZVPaperSize v) { aPrinterSettings->SetPaperSize(v); }
  int32_t PaperWidth() const { return aPrinterSettings->PaperWidth(); }
  void SetPaperWidth(int32_t v) { aPrinterSettings->SetPaperWidth(v); }
  int32_t PaperLength() const { return aPrinterSettings->PaperLength(); }
  void SetPaperLength(int32_t v) { aPrinterSettings->SetPaperLength(v); }

  // --- State ---
  TZVPrinterStatus Status() const { return FStatus; }
  int32_t PageCount() const { return FPageCount; }
  void SetPageCount(int32_t v) { FPageCount = v; }
  int32_t PageNumber() const { return FPageNumber; }
  void SetPageNumber(int32_t Value);
  TMetafile* Page() const { return FPage.get(); }
  int32_t AvailablePages() const { return FAvailablePages; }
  void SetAvailablePages(int32_t Value);
  int32_t Progress() const { return FProgress; }
  void SetProgress(int32_t Value);
  bool ShowingPreview() const { return FShowingPreview; }
  void SetShowingPreview(bool Value);
  bool ReportLoaded() const { return FReportLoaded; }
  void SetReportLoaded(bool v) { FReportLoaded = v; }
  bool Compression() const { return PageList.Compression(); }
  void SetCompression(bool v) { PageList.SetCompression(v); }
  bool Cancelled() const { return FCancelled; }
  void SetCancelled(bool v) { FCancelled = v; }
  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& v) { FTitle = v; }
  long double XFactor() const { return FXFactor; }
  void SetXFactor(long double v) { FXFactor = v; }
  long double YFactor() const { return FYFactor; }
  void SetYFactor(long double v) { FYFactor = v; }
  TZVPrinterDestination Destination() const { return FDestination; }
  void SetDestination(TZVPrinterDestination v) { FDestination = v; }
  int32_t FirstPage() const { return FFirstPage; }
  void SetFirstPage(int32_t v) { FFirstPage = v; }
  int32_t LastPage() const { return FLastpage; }
  void SetLastPage(int32_t v) { FLastpage = v; }
  // The unprintable margins when printing directly, else 0.
  int32_t LeftWaste() const;
  int32_t TopWaste() const;
  TZVWindow* Client() const { return FClient; }
  void SetClient(TZVWindow* v) { FClient = v; }
  TZVWindow* Master() const { return FMaster; }
  void SetMaster(TZVWindow* v) { FMaster = v; }
  TZVWindow* PreviewControl() const { return FPreviewControl; }

  TZVAfterPrintEvent AfterPrint;
  TZVAfterPreviewEvent AfterPreview;
  TZVExportToFilterEvent OnExportToFilter;
  TZVNotifyEvent OnPreview;
  TZVPrintSetupEvent OnPrintSetup;

  // --- The producer's side ---
  // The recording canvas of the page being produced (null between pages).
  TEmfWriter* Canvas() const { return FCanvas.get(); }
  void BeginDoc();
  void NewPage();
  void EndDoc();
  void AbortDoc();
  void Cancel() { FCancelled = true; }
  void Preview();
  void PreviewModal();
  // Prints the finished report on the private printer with the settings applied.
  void Print();
  void ClosePreview();

  // The page list (the producer may fix its header date).
  TZVPageList& Pages() { return PageList; }

 private:
  void RecognisePaper();
  bool InRange(int32_t page) const;
  void ClosePage();
  void OpenPage();

  std::unique_ptr<TPrinter> aPrinter;
  std::unique_ptr<TPrinterSettings> aPrinterSettings;
  TZVStream* aStream = nullptr; // the page list owns it
  int32_t FAvailablePages = 0;
  bool FCancelled = false;
  std::unique_ptr<TEmfWriter> FCanvas;
  TZVPrinterDestination FDestination = zvdMetafile;
  int32_t FFirstPage = 0, FLastpage = 0;
  int32_t FLeftWaste = 0, FTopWaste = 0;
  TZVWindow* FClient = nullptr;
  TZVWindow* FMaster = nullptr;
  std::unique_ptr<TMetafile> FPage;
  int32_t FPageCount = 0;
  int32_t FPageNumber = 0;
  bool FPrinterOK = false;
  int32_t FProgress = 0;
  std::string FTitle;
  bool FShowingPreview = false;
  TZVPrinterStatus FStatus = mpReady;
  long double FXFactor = 1.0L, FYFactor = 1.0L;
  TZVPageList PageList;
  TZVWindow* FPreviewControl = nullptr;
  bool FReportLoaded = false;
  bool FPagePrinted = false; // the open page goes to the printer
};
