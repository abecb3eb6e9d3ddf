#include "VirtualPrinter.h"

#include <cmath>

TVirtualPrinter::TVirtualPrinter(std::vector<TVirtualQueue> queues, std::string defaultPrinter,
                                 std::shared_ptr<TVirtualSpool> spool)
    : FQueues(std::move(queues)), FDefault(std::move(defaultPrinter)), FSpool(std::move(spool)) {}

std::vector<std::string> TVirtualPrinter::QueryPrinters() {
  std::vector<std::string> names;
  for (const auto& q : FQueues)
    names.push_back(q.Name);
  return names;
}

void TVirtualPrinter::ApplyMode(int32_t, const TDevMode& mode) {
  FMode = mode;
  FSpool->ModesApplied.push_back(mode);
}

std::vector<uint16_t> TVirtualPrinter::QueryPaperCodes(int32_t index) {
  std::vector<uint16_t> codes;
  for (const auto& p : FQueues.at(index).Papers)
    codes.push_back(static_cast<uint16_t>(p.Code));
  return codes;
}

void TVirtualPrinter::SheetMm(int32_t index, double& width, double& height) const {
  width = 210;
  height = 297;
  if (FMode.dmPaperSize == DMPAPER_USER) {
    width = FMode.dmPaperWidth / 10.0;
    height = FMode.dmPaperLength / 10.0;
  } else {
    for (const auto& p : FQueues.at(index).Papers)
      if (p.Code == FMode.dmPaperSize) {
        width = p.WidthMm;
        height = p.HeightMm;
      }
  }
  if (FMode.dmOrientation == DMORIENT_LANDSCAPE) std::swap(width, height);
}

int32_t TVirtualPrinter::QueryDeviceCaps(int32_t index, int capIndex) {
  const TVirtualQueue& q = FQueues.at(index);
  double width, height;
  SheetMm(index, width, height);
  auto px = [&](double mm) { return static_cast<int32_t>(std::lround(mm * q.Dpi / 25.4)); };
  switch (capIndex) {
  case LOGPIXELSX:
  case LOGPIXELSY:
    return q.Dpi;
  case PHYSICALWIDTH:
    return px(width);
  case PHYSICALHEIGHT:
    return px(height);
  case PHYSICALOFFSETX:
  case PHYSICALOFFSETY:
    return px(q.MarginMm);
  case HORZRES:
    return px(width) - 2 * px(q.MarginMm);
  case VERTRES:
    return px(height) - 2 * px(q.MarginMm);
  default:
    return 0;
  }
}

bool TVirtualPrinter::StartJob(int32_t index, const std::string& title) {
  if (FQueues.at(index).RefusesJobs) return false;
  FSpool->Jobs.push_back({FQueues[index].Name, title, FMode, {TVirtualPage{}}, false, false});
  return true;
}

void TVirtualPrinter::StartNextPage() {
  CurrentJob().Pages.emplace_back();
}
void TVirtualPrinter::EndJob() {
  CurrentJob().Ended = true;
}
void TVirtualPrinter::AbortJob() {
  CurrentJob().Aborted = true;
}

void TVirtualPrinter::DrawMetafile(const TEmfRect& rect, const TMetafile& metafile) {
  CurrentJob().Pages.back().Drawings.push_back({rect, metafile});
}
