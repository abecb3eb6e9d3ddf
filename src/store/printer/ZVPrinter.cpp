#include "ZVPrinter.h"

#include <cmath>

#include "platform/printer/MessagePump.h"
#include "platform/rtl/MathUtil.h"

std::function<std::unique_ptr<TZVPreviewInterface>()> PreviewInterfaceClass;

namespace {

constexpr long double ScreenFactor = ScreenPixelsPerInch / 254.0L;

int32_t Nearest(long double v) {
  return static_cast<int32_t>(RoundEven(v));
}

// Sets a flag back whatever happens to the code between.
template <typename F> struct TFinally {
  F Action;
  ~TFinally() { Action(); }
};
template <typename F> TFinally(F) -> TFinally<F>;

} // namespace

TZVPrinter::TZVPrinter() {
  FPrinterOK = !::Printer().Printers().empty();
  aPrinter = NewPrinter();
  aPrinterSettings = std::make_unique<TPrinterSettings>();
  if (FPrinterOK) {
    // Follow the application-wide printer's choice before the settings read the printer, so that what
    // they read is the printer selected. A system without a default printer starts on its first one.
    int32_t index = 0;
    try {
      index = ::Printer().PrinterIndex();
    } catch (const EPrinter&) {
    }
    if (index >= 0 && index < static_cast<int32_t>(aPrinter->Printers().size()))
      aPrinter->SetPrinterIndex(index);
    aPrinterSettings->SetPrinter(aPrinter.get());
    ProcessMessages();
  }
  FTopWaste = aPrinterSettings->TopOffset();
  FLeftWaste = aPrinterSettings->LeftOffset();
}

TZVPrinter::~TZVPrinter() {
  try {
    if (FStatus != mpReady) Cleanup();
  } catch (...) {
    // Freeing must not fail; the stream and the job go with their owners.
  }
  if (FClient) FClient->DetachZVPrinter(this);
}

void TZVPrinter::Load(const std::string& Filename) {
  if (FStatus != mpReady) Cleanup();
  PageList.LoadFromFile(Filename);
  FPageCount = PageList.PageCount();
  FXFactor = FYFactor = ScreenFactor;
  if (FPageCount > 0) RecognisePaper();
  aStream = PageList.Stream();
  FStatus = mpFinished;
  OnPrintSetup = nullptr;
  OnExportToFilter = nullptr;
  FReportLoaded = true;
}

// Compares the first page with the paper table in units of 4 mm, both ways round; every match goes through
// the guarded setters, so the last offered match wins and an unmatched page keeps the old settings.
void TZVPrinter::RecognisePaper() {
  long double width, height;
  {
    std::unique_ptr<TMetafile> page = PageList.GetPage(1);
    if (!page) return;
    width = page->Width();
    height = page->Height();
  }
  // Both divided by XFactor, which equals YFactor here.
  const long double w = std::trunc(width / FXFactor / 40);
  const long double h = std::trunc(height / FXFactor / 40);
  for (int r = Ordinal(TZVPaperSize::Letter); r <= Ordinal(TZVPaperSize::ESheet); ++r) {
    const TPaperDimension& row = PaperDimension(PaperSizeAt(r));
    const long double tw = std::trunc(row.Width / 4), th = std::trunc(row.Height / 4);
    if (w == tw && h == th) {
      SetPaperSize(PaperSizeAt(r));
      SetOrientation(poPortrait);
    }
    if (h == tw && w == th) {
      SetPaperSize(PaperSizeAt(r));
      SetOrientation(poLandscape);
    }
  }
}

std::unique_ptr<TMetafile> TZVPrinter::GetPage(int32_t Value) {
  if ((FStatus == mpBusy || FStatus == mpFinished) && Value >= 1 && Value <= FPageCount)
    return PageList.GetPage(Value);
  return nullptr;
}

void TZVPrinter::Save(const std::string& Filename) {
  if (FStatus == mpFinished) PageList.SaveToFile(Filename);
}

void TZVPrinter::ExportToFilter(TZVExportFilter& aFilter) {
  if (OnExportToFilter) OnExportToFilter(aFilter);
}

void TZVPrinter::PrintSetup() {
  if (OnPrintSetup) OnPrintSetup();
}

void TZVPrinter::Cleanup() {
  if (FStatus == mpBusy) {
    Cancel();
    FCanvas.reset();
    if (aPrinter->Printing()) aPrinter->Abort(); // a job left open would keep the printer busy
  }
  if (aStream) {
    PageList.SetStream(nullptr);
    aStream = nullptr;
  }
  PageList.Clear();
  FStatus = mpReady;
}

int32_t TZVPrinter::PrinterIndex() {
  return aPrinter->PrinterIndex();
}

void TZVPrinter::SetPrinterIndex(int32_t Value) {
  if (!FPrinterOK) return;
  aPrinter->SetPrinterIndex(Value);
  std::string device, driver, port;
  aPrinter->GetPrinter(device, driver, port);
  aPrinter->SetPrinter(device, driver, port, nullptr);
  aPrinterSettings->ReadSettings();
}

int32_t TZVPrinter::XPos(long double Value) const {
  return Nearest((Value - FLeftWaste) * FXFactor);
}
int32_t TZVPrinter::YPos(long double Value) const {
  return Nearest((Value - FTopWaste) * FYFactor);
}
int32_t TZVPrinter::XSize(long double Value) const {
  return Nearest(Value * FXFactor);
}
int32_t TZVPrinter::YSize(long double Value) const {
  return Nearest(Value * FYFactor);
}

// The settings report table sizes unturned (or the stored custom size), so landscape swaps them here.
int32_t TZVPrinter::PaperWidthValue() const {
  return Orientation() == poLandscape ? aPrinterSettings->PaperLength() : aPrinterSettings->PaperWidth();
}

int32_t TZVPrinter::PaperLengthValue() const {
  return Orientation() == poLandscape ? aPrinterSettings->PaperWidth() : aPrinterSettings->PaperLength();
}

int32_t TZVPrinter::LeftWaste() const {
  return FDestination == zvdPrinter ? aPrinterSettings->LeftOffset() : 0;
}

int32_t TZVPrinter::TopWaste() const {
  return FDestination == zvdPrinter ? aPrinterSettings->TopOffset() : 0;
}

void TZVPrinter::SetPageNumber(int32_t Value) {
  if (FPageNumber < 1 || FPageNumber > FPageCount) return;
  FPage.reset();
  FPage = GetPage(Value);
  FPageNumber = Value;
}

void TZVPrinter::SetAvailablePages(int32_t Value) {
  FAvailablePages = Value;
  if (FClient) FClient->PostMessage(ZVM_PAGEAVAILABLE, static_cast<uintptr_t>(Value), 0);
}

void TZVPrinter::SetProgress(int32_t Value) {
  FProgress = Value;
  if (FClient) FClient->PostMessage(ZVM_PROGRESS, static_cast<uintptr_t>(Value), 0);
}

void TZVPrinter::SetShowingPreview(bool Value) {
  TFinally store{[&] { FShowingPreview = Value; }};
  if (FShowingPreview && !Value) {
    if (FStatus == mpBusy) Cancel();
    if (AfterPreview) AfterPreview(*this);
  }
}

// --- Production ---

void TZVPrinter::BeginDoc() {
  if (FStatus != mpReady) throw EZVError("ZVPrinter not ready");
  FCanvas.reset();
  FAvailablePages = 0;
  FCancelled = false;
  if (FDestination == zvdPrinter) {
    aPrinter->PrinterIndex(); // no printer: the printer's own error, before anything changes
    aPrinterSettings->ApplySettings();
  }
  FTopWaste = TopWaste();
  FLeftWaste = LeftWaste();
  FPageNumber = 0;
  FPageCount = 0;
  if (FDestination == zvdMetafile) {
    auto stream = std::make_unique<TZVStream>(100000);
    aStream = stream.get();
    PageList.SetStream(std::move(stream));
    PageList.Clear();
    FXFactor = FYFactor = ScreenFactor;
  } else {
    FXFactor = aPrinter->GetDeviceCaps(LOGPIXELSX) / 254.0L;
    FYFactor = aPrinter->GetDeviceCaps(LOGPIXELSY) / 254.0L;
  }
  FStatus = mpBusy;
}

bool TZVPrinter::InRange(int32_t page) const {
  return (FFirstPage == 0 || page >= FFirstPage) && (FLastpage == 0 || page <= FLastpage);
}

void TZVPrinter::OpenPage() {
  FPagePrinted = FDestination == zvdPrinter && InRange(FPageNumber);
  if (FPagePrinted) {
    if (!aPrinter->Printing()) {
      aPrinter->Title = FTitle;
      aPrinter->BeginDoc();
    }
    FXFactor = aPrinter->GetDeviceCaps(LOGPIXELSX) / 254.0L;
    FYFactor = aPrinter->GetDeviceCaps(LOGPIXELSY) / 254.0L;
    // The page is recorded at printer resolution over the printable area and drawn there when it closes.
    FCanvas = std::make_unique<TEmfWriter>(std::max(1, aPrinter->GetDeviceCaps(HORZRES)),
                                           std::max(1, aPrinter->GetDeviceCaps(VERTRES)),
                                           std::max(1, aPrinter->GetDeviceCaps(LOGPIXELSX)));
    return;
  }
  FXFactor = FYFactor = ScreenFactor;
  FCanvas = std::make_unique<TEmfWriter>(std::max(1, XSize(PaperWidthValue())),
                                         std::max(1, YSize(PaperLengthValue())), ScreenPixelsPerInch);
}

void TZVPrinter::ClosePage() {
  if (!FCanvas) return;
  const TMetafile page = FCanvas->ToMetafile();
  FCanvas.reset();
  if (FDestination == zvdMetafile)
    PageList.AddPage(page);
  else if (FPagePrinted)
    aPrinter->StretchDraw({0, 0, page.Width(), page.Height()}, page);
}

void TZVPrinter::NewPage() {
  if (FStatus != mpBusy) throw EZVError("Illegal call to NewPage");
  if (FPageNumber > 0) {
    ClosePage();
    if (FPagePrinted && FPageNumber != FLastpage) aPrinter->NewPage();
    SetAvailablePages(FAvailablePages + 1);
  }
  ++FPageCount;
  ++FPageNumber;
  OpenPage();
}

void TZVPrinter::EndDoc() {
  if (FStatus != mpBusy) return;
  if (FDestination == zvdMetafile) {
    if (FPageCount > 0) ClosePage();
  } else {
    ClosePage();
    if (aPrinter->Printing()) aPrinter->EndDoc();
  }
  FStatus = mpFinished;
  ProcessMessages();
  SetAvailablePages(FAvailablePages + 1);
  if (FDestination == zvdMetafile)
    PageList.Finish();
  else if (AfterPrint)
    AfterPrint(*this);
}

void TZVPrinter::AbortDoc() {
  if (FDestination == zvdPrinter) {
    FCanvas.reset();
    if (aPrinter->Printing()) aPrinter->Abort();
  } else {
    ClosePage();
    // The header must count every page kept, or a saved aborted report would show only its first page.
    if (PageList.Stream()) PageList.Finish();
  }
  FStatus = mpFinished;
}

void TZVPrinter::Preview() {
  if (OnPreview) {
    OnPreview(*this);
  } else if (PreviewInterfaceClass) {
    FPreviewControl = PreviewInterfaceClass()->Show(*this);
  }
}

void TZVPrinter::PreviewModal() {
  if (OnPreview) {
    OnPreview(*this);
  } else if (PreviewInterfaceClass) {
    PreviewInterfaceClass()->ShowModal(*this);
  }
}

void TZVPrinter::Print() {
  if (FMaster && !FReportLoaded) {
    FMaster->PostMessage(ZVM_PRINT, 0, 0);
    return;
  }
  if (FStatus != mpFinished || !FPrinterOK) return;
  aPrinter->Title = FTitle;
  if (aPrinter->Printing()) aPrinter->Abort();
  aPrinterSettings->ApplySettings();
  aPrinter->BeginDoc();
  const int32_t first = FFirstPage ? FFirstPage : 1;
  const int32_t last = FLastpage ? FLastpage : FPageCount;
  try {
    for (int32_t p = first; p <= last; ++p) {
      ProcessMessages();
      SetPageNumber(p);
      if (std::unique_ptr<TMetafile> page = GetPage(p))
        aPrinter->StretchDraw({0, 0, aPrinter->GetDeviceCaps(HORZRES), aPrinter->GetDeviceCaps(VERTRES)},
                              *page);
      if (p != last) aPrinter->NewPage();
      if (FCancelled) {
        aPrinter->Abort();
        break;
      }
    }
  } catch (...) {
    // A page that fails must not leave the printer in its printing state.
    if (aPrinter->Printing()) aPrinter->Abort();
    throw;
  }
  if (aPrinter->Printing()) aPrinter->EndDoc();
}

void TZVPrinter::ClosePreview() {
  if (FMaster) FMaster->SendMessage(ZVM_CLOSEPREVIEW, 0, reinterpret_cast<intptr_t>(this));
}
