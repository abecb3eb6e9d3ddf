#pragma once
// A virtual printer whose pages are images: jobs run through the same printer object and device context
// as on a real queue, and the printed pages can be looked at. Pages of the tests show a black bar whose
// place tells the page number.
#include <QImage>
#include <QPainter>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "../gdi/GdiTestSupport.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/printer/VirtualPrinter.h"
#include "store/ZVPageList.h"

class TRasterPrinter : public TVirtualPrinter {
 public:
  using TVirtualPrinter::TVirtualPrinter;
  TGdiDC* Handle() override { return FDC.get(); }
  std::vector<QImage> Pages; // the pages of the last job

 protected:
  bool StartJob(int32_t index, const std::string& title) override {
    if (!TVirtualPrinter::StartJob(index, title)) return false;
    FIndex = index;
    Pages.clear();
    BeginPage();
    return true;
  }
  void StartNextPage() override {
    EndPage();
    TVirtualPrinter::StartNextPage();
    BeginPage();
  }
  void EndJob() override {
    EndPage();
    TVirtualPrinter::EndJob();
  }
  void AbortJob() override {
    EndPage();
    TVirtualPrinter::AbortJob();
  }

 private:
  void BeginPage() {
    const int dpi = QueryDeviceCaps(FIndex, LOGPIXELSX);
    FImage = QImage(QueryDeviceCaps(FIndex, HORZRES), QueryDeviceCaps(FIndex, VERTRES), QImage::Format_RGB32);
    FImage.setDotsPerMeterX(static_cast<int>(dpi / 0.0254 + 0.5));
    FImage.setDotsPerMeterY(static_cast<int>(dpi / 0.0254 + 0.5));
    FImage.fill(Qt::white);
    FPainter = std::make_unique<QPainter>(&FImage);
    FDC = std::make_unique<TGdiDC>(*FPainter);
  }
  void EndPage() {
    FDC.reset();
    FPainter.reset();
    Pages.push_back(FImage);
  }

  int32_t FIndex = 0;
  QImage FImage;
  std::unique_ptr<QPainter> FPainter;
  std::unique_ptr<TGdiDC> FDC;
};

namespace raster {

// A4 at 60 dpi: 496 x 702 pixels, 12 of them unprintable on every side.
inline TVirtualQueue Queue(const std::string& name = "Raster") {
  TVirtualQueue q;
  q.Name = name;
  q.Dpi = 60;
  q.Papers = {{9, 210, 297}};
  q.Defaults.dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES;
  q.Defaults.dmPaperSize = 9;
  return q;
}

// Makes the raster printer the application-wide printer (and every new one) for the fixture's life.
struct Installed {
  explicit Installed(std::vector<TVirtualQueue> queues = {Queue()}, std::string def = "Raster")
      : Spool(std::make_shared<TVirtualSpool>()) {
    EnsureGuiApplication();
    auto spool = Spool;
    SetPrinterFactory([queues, def, spool]() -> std::unique_ptr<TPrinter> {
      return std::make_unique<TRasterPrinter>(queues, def, spool);
    });
    SetApplicationPrinter(nullptr);
  }
  ~Installed() {
    SetPrinterFactory(nullptr);
    SetApplicationPrinter(nullptr);
  }
  TRasterPrinter& Printer() { return dynamic_cast<TRasterPrinter&>(::Printer()); }
  std::shared_ptr<TVirtualSpool> Spool;
};

constexpr int PageWidth = 794, PageHeight = 1123; // A4 at 96 dpi

// Page n: a black bar from x = 40 n to 40 n + 20, y 40 to 80.
inline TMetafile NumberedPage(int n) {
  TEmfWriter w(PageWidth, PageHeight, 96);
  w.SelectObject(emf::BLACK_BRUSH);
  w.SelectObject(emf::NULL_PEN);
  w.Rectangle(40 * n, 40, 40 * n + 20, 80);
  return w.ToMetafile();
}

// The page number a printed page shows (0 when it shows no bar).
inline int PageShown(const QImage& page) {
  const double scale = static_cast<double>(page.width()) / PageWidth;
  const int y = static_cast<int>(60 * scale);
  for (int x = 0; x < page.width(); ++x)
    if (qGray(page.pixel(x, y)) < 128) return static_cast<int>(x / scale / 40 + 0.5);
  return 0;
}

inline std::string Report(const std::string& name, int pages) {
  const std::string path = std::string(ZVP_TEST_OUTPUT_DIR) + "/printing-" + name;
  std::filesystem::remove(path);
  TZVPageList list;
  list.SetFixedDate(46000.5);
  list.SetStream(std::make_unique<TZVStream>(1 << 20));
  for (int p = 1; p <= pages; ++p)
    list.AddPage(NumberedPage(p));
  list.Finish();
  list.SaveToFile(path);
  return path;
}

} // namespace raster
