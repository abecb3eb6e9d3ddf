#pragma once
// TVirtualPrinter: a printer back end whose queues and capabilities are chosen by the caller and whose
// jobs are recorded, so that printing can be tested deterministically. The same TPrinter rules run on it
// as on the real queues.
//
// Geometry follows the current device mode: the sheet is the paper of dmPaperSize (or dmPaperWidth x
// dmPaperLength for DMPAPER_USER), turned for landscape, at Dpi; the unprintable margin is Margin on every
// side.
#include <memory>
#include <string>
#include <vector>

#include "Printer.h"

struct TVirtualPaper {
  int16_t Code;
  double WidthMm, HeightMm;
};

struct TVirtualQueue {
  std::string Name;
  std::string Driver = "/usr/share/ppd/virtual/Virtual.ppd";
  std::string Port = "virtual:/";
  TDevMode Defaults;                 // dmFields: the fields the driver supports
  std::vector<TVirtualPaper> Papers; // offered papers, in the driver's order
  int32_t Dpi = 300;
  double MarginMm = 5;
  bool RefusesJobs = false;
};

// What reached the printer: each job with its pages, each page with the metafiles drawn on it.
struct TVirtualDrawing {
  TEmfRect Rect;
  TMetafile Metafile;
};
struct TVirtualPage {
  std::vector<TVirtualDrawing> Drawings;
};
struct TVirtualJob {
  std::string Printer;
  std::string Title;
  TDevMode Mode; // the device mode in force when the job started
  std::vector<TVirtualPage> Pages;
  bool Ended = false, Aborted = false;
};
struct TVirtualSpool {
  std::vector<TVirtualJob> Jobs;
  std::vector<TDevMode> ModesApplied; // every device mode made current, in order
};

class TVirtualPrinter : public TPrinter {
 public:
  // Jobs are recorded into `spool`, which may be shared by several printer objects.
  TVirtualPrinter(std::vector<TVirtualQueue> queues, std::string defaultPrinter,
                  std::shared_ptr<TVirtualSpool> spool);
  const TVirtualSpool& Spool() const { return *FSpool; }
  const TVirtualQueue& Queue(int32_t index) const { return FQueues.at(index); }

 protected:
  std::vector<std::string> QueryPrinters() override;
  std::string QueryDefaultPrinter() override { return FDefault; }
  TDevMode DriverDefaults(int32_t index) override { return FQueues.at(index).Defaults; }
  void ApplyMode(int32_t index, const TDevMode& mode) override;
  std::string QueryPort(int32_t index) override { return FQueues.at(index).Port; }
  std::string QueryDriver(int32_t index) override { return FQueues.at(index).Driver; }
  std::vector<uint16_t> QueryPaperCodes(int32_t index) override;
  int32_t QueryDeviceCaps(int32_t index, int capIndex) override;
  bool StartJob(int32_t index, const std::string& title) override;
  void StartNextPage() override;
  void EndJob() override;
  void AbortJob() override;
  void DrawMetafile(const TEmfRect& rect, const TMetafile& metafile) override;

  // The sheet of the current mode in millimetres, turned for landscape.
  void SheetMm(int32_t index, double& width, double& height) const;
  TVirtualJob& CurrentJob() { return FSpool->Jobs.back(); }

 private:
  std::vector<TVirtualQueue> FQueues;
  std::string FDefault;
  std::shared_ptr<TVirtualSpool> FSpool;
  TDevMode FMode;
};
