#include "QtPrinter.h"

#include <QPageSize>
#include <QPainter>
#include <QPrintEngine>
#include <algorithm>
#include <cmath>
#include <cups/cups.h>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Player.h"

namespace {

// Qt's CUPS engine passes this property's name-value list to the scheduler with the job.
const auto CupsOptionsKey = QPrintEngine::PrintEnginePropertyKey(0xfe00);

std::string CupsOption(const std::string& queue, const char* option) {
  cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.c_str(), nullptr);
  if (!dest) return {};
  const char* value = cupsGetOption(option, dest->num_options, dest->options);
  std::string result = value ? value : "";
  cupsFreeDests(1, dest);
  return result;
}

int16_t TenthsMm(double mm) {
  return static_cast<int16_t>(std::lround(mm * 10));
}

int16_t DuplexCode(QPrinter::DuplexMode mode) {
  switch (mode) {
  case QPrinter::DuplexShortSide:
    return DMDUP_HORIZONTAL;
  case QPrinter::DuplexLongSide:
  case QPrinter::DuplexAuto:
    return DMDUP_VERTICAL;
  default:
    return DMDUP_SIMPLEX;
  }
}

} // namespace

TQtPrinter::TQtPrinter() = default;

TQtPrinter::~TQtPrinter() {
  // A job still open is abandoned, not printed.
  if (FPainter && FPainter->isActive()) AbortJob();
}

std::vector<std::string> TQtPrinter::QueryPrinters() {
  std::vector<std::string> names;
  for (const QString& name : QPrinterInfo::availablePrinterNames())
    names.push_back(name.toStdString());
  return names;
}

std::string TQtPrinter::QueryDefaultPrinter() {
  return QPrinterInfo::defaultPrinterName().toStdString();
}

QPrinterInfo TQtPrinter::Info(int32_t index) {
  return QPrinterInfo::printerInfo(QString::fromStdString(Printers().at(index)));
}

QPrinter& TQtPrinter::PrinterFor(int32_t index) {
  if (!FPrinter || FQueue != index) {
    FPrinter = std::make_unique<QPrinter>(Info(index), QPrinter::HighResolution);
    FQueue = index;
  }
  return *FPrinter;
}

QPrinter& TQtPrinter::QtPrinter() {
  return PrinterFor(PrinterIndex());
}

TDevMode TQtPrinter::DriverDefaults(int32_t index) {
  const QPrinterInfo info = Info(index);
  QPrinter probe(info, QPrinter::HighResolution);
  TDevMode mode;
  mode.dmFields = DM_ORIENTATION;
  if (!info.supportedPageSizes().isEmpty()) mode.dmFields |= DM_PAPERSIZE;
  if (info.supportsCustomPageSizes()) mode.dmFields |= DM_PAPERWIDTH | DM_PAPERLENGTH;
  if (probe.supportsMultipleCopies()) mode.dmFields |= DM_COPIES;
  for (QPrinter::DuplexMode d : info.supportedDuplexModes())
    if (d != QPrinter::DuplexNone) mode.dmFields |= DM_DUPLEX;
  const QPageSize size = info.defaultPageSize();
  mode.dmPaperSize = static_cast<int16_t>(size.isValid() ? size.windowsId() : 0);
  const QSizeF mm = size.size(QPageSize::Millimeter);
  mode.dmPaperWidth = TenthsMm(mm.width());
  mode.dmPaperLength = TenthsMm(mm.height());
  mode.dmDuplex = DuplexCode(info.defaultDuplexMode());
  return mode;
}

// Qt keeps A4 for a new QPrinter whatever the queue's default, so the page size is always set here.
void TQtPrinter::ApplyMode(int32_t index, const TDevMode& mode) {
  QPrinter& printer = PrinterFor(index);
  if (mode.dmFields & DM_PAPERSIZE) {
    QPageSize size;
    if (mode.dmPaperSize == DMPAPER_USER && mode.dmPaperWidth > 0 && mode.dmPaperLength > 0)
      size = QPageSize(QSizeF(mode.dmPaperWidth / 10.0, mode.dmPaperLength / 10.0), QPageSize::Millimeter);
    else if (mode.dmPaperSize != DMPAPER_USER)
      size = QPageSize(QPageSize::id(mode.dmPaperSize));
    if (size.isValid()) printer.setPageSize(size);
  }
  if (mode.dmFields & DM_ORIENTATION)
    printer.setPageOrientation(mode.dmOrientation == DMORIENT_LANDSCAPE ? QPageLayout::Landscape
                                                                        : QPageLayout::Portrait);
  if ((mode.dmFields & DM_COPIES) && printer.supportsMultipleCopies())
    printer.setCopyCount(std::max<int>(1, mode.dmCopies));
  if (mode.dmFields & DM_DUPLEX) {
    printer.setDuplex(mode.dmDuplex == DMDUP_HORIZONTAL ? QPrinter::DuplexShortSide
                      : mode.dmDuplex == DMDUP_VERTICAL ? QPrinter::DuplexLongSide
                                                        : QPrinter::DuplexNone);
  }
}

std::string TQtPrinter::QueryPort(int32_t index) {
  return CupsOption(Printers().at(index), "device-uri");
}

std::string TQtPrinter::QueryDriver(int32_t index) {
  std::string model = CupsOption(Printers().at(index), "printer-make-and-model");
  return model.empty() ? Info(index).makeAndModel().toStdString() : model;
}

std::vector<uint16_t> TQtPrinter::QueryPaperCodes(int32_t index) {
  std::vector<uint16_t> codes;
  for (const QPageSize& size : Info(index).supportedPageSizes())
    if (size.windowsId() > 0) codes.push_back(static_cast<uint16_t>(size.windowsId()));
  return codes;
}

int32_t TQtPrinter::QueryDeviceCaps(int32_t index, int capIndex) {
  QPrinter& printer = PrinterFor(index);
  const int dpi = printer.resolution();
  const QPageLayout layout = printer.pageLayout();
  const QRect full = layout.fullRectPixels(dpi), paint = layout.paintRectPixels(dpi);
  switch (capIndex) {
  case HORZRES:
    return paint.width();
  case VERTRES:
    return paint.height();
  case LOGPIXELSX:
  case LOGPIXELSY:
    return dpi;
  case PHYSICALWIDTH:
    return full.width();
  case PHYSICALHEIGHT:
    return full.height();
  case PHYSICALOFFSETX:
    return paint.left();
  case PHYSICALOFFSETY:
    return paint.top();
  default:
    return 0;
  }
}

bool TQtPrinter::StartJob(int32_t index, const std::string& title) {
  QPrinter& printer = PrinterFor(index);
  // Without a queue Qt silently turns the printer into a PDF writer with no file name.
  if (printer.outputFormat() != QPrinter::NativeFormat || printer.printerName().isEmpty())
    throw EPrinter("There is no default printer currently selected");
  printer.setDocName(QString::fromStdString(title));
  // Qt turns a job that ends without pages into a blank sheet; painting waits for the first page.
  FJobPending = true;
  return true;
}

TGdiDC* TQtPrinter::Handle() {
  if (FJobPending) BeginPainting();
  return FDC.get();
}

void TQtPrinter::BeginPainting() {
  FJobPending = false;
  FPainter = std::make_unique<QPainter>();
  if (!FPainter->begin(FPrinter.get())) {
    FPainter.reset();
    throw EPrinter("Printer is not currently printing");
  }
  FDC = std::make_unique<TGdiDC>(*FPainter);
}

void TQtPrinter::StartNextPage() {
  // The first page stays blank when nothing was drawn on it, as asked.
  if (FJobPending) BeginPainting();
  if (!FPrinter->newPage()) throw EPrinter("The printer could not start a new page");
}

void TQtPrinter::FinishPainting() {
  FDC.reset();
  if (FPainter) FPainter->end();
  FPainter.reset();
}

void TQtPrinter::EndJob() {
  FJobPending = false;
  FinishPainting();
}

void TQtPrinter::AbortJob() {
  FJobPending = false;
  if (!FPainter) return;
  // Qt cannot abandon a job once painting began: ending the painter hands the pages to the scheduler.
  // They are handed over held, so that nothing prints, and the held job is then cancelled.
  QPrintEngine* engine = FPrinter->printEngine();
  const QVariant options = engine->property(CupsOptionsKey);
  engine->setProperty(CupsOptionsKey, options.toStringList() << QStringLiteral("job-hold-until")
                                                             << QStringLiteral("indefinite"));
  FPrinter->abort();
  FinishPainting();
  engine->setProperty(CupsOptionsKey, options);
  CancelHeldJob();
}

void TQtPrinter::CancelHeldJob() {
  const std::string queue = FPrinter->printerName().toStdString();
  const std::string title = FPrinter->docName().toStdString();
  cups_job_t* jobs = nullptr;
  const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue.c_str(), 1, CUPS_WHICHJOBS_ACTIVE);
  int newest = 0;
  for (int i = 0; i < count; ++i)
    if (jobs[i].state == IPP_JSTATE_HELD && jobs[i].title && title == jobs[i].title)
      newest = std::max(newest, jobs[i].id);
  cupsFreeJobs(count, jobs);
  // Should the job not be found it stays held, which prints nothing either.
  if (newest > 0) cupsCancelJob2(CUPS_HTTP_DEFAULT, queue.c_str(), newest, 0);
}

void TQtPrinter::DrawMetafile(const TEmfRect& rect, const TMetafile& metafile) {
  if (FJobPending) BeginPainting();
  StretchDrawMetafile(*FPainter, rect, metafile);
}

void InstallQtPrinters() {
  SetPrinterFactory([]() -> std::unique_ptr<TPrinter> { return std::make_unique<TQtPrinter>(); });
  SetApplicationPrinter(nullptr);
}
