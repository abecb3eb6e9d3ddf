// TPdfCanvas::RenderMetaFile: one metafile into the current page, through a fresh TPdfEnum.
#include <chrono>
#include <string>

#include "pdf/PdfCanvas.h"
#include "pdf/PdfDocument.h"
#include "pdf/PdfEnum.h"
#include "platform/metafile/Metafile.h"
#include "platform/metafile/PageBudget.h"
#include "platform/rtl/Exception.h"
#include "platform/text/EmfPlusPlayback.h"

namespace {

struct TPdfPoint {
  double x = 0, y = 0;
};

// The frame's top-left corner in pixels of the reference device.
TPdfPoint FrameOrigin(const TEnhMetaHeader& H) {
  TPdfPoint p;
  if (H.szlMillimeters.cx > 0)
    p.x = H.rclFrame.left * static_cast<double>(H.szlDevice.cx) / (H.szlMillimeters.cx * 100.0);
  if (H.szlMillimeters.cy > 0)
    p.y = H.rclFrame.top * static_cast<double>(H.szlDevice.cy) / (H.szlMillimeters.cy * 100.0);
  return p;
}

} // namespace

void TPdfCanvas::RenderMetaFile(const TMetafile& MF, float Scale, float XOff, float YOff,
                                TPdfCanvasRenderMetaFileTextPositioning TextPositioning,
                                float KerningHScaleBottom, float KerningHScaleTop) {
  TPdfEnum E(this);
  FDevScale = Scale * FFactor;
  // The picture frame's corner is the page's corner, as when a metafile is played into a rectangle: a
  // frame that does not start at the reference device's origin moves the drawing by its offset.
  const TPdfPoint frame = FrameOrigin(MF.Header());
  FOffsetXDef = XOff - static_cast<float>(frame.x) * FDevScale;
  FOffsetYDef = YOff - static_cast<float>(frame.y) * FDevScale;
  fUseMetaFileTextPositioning = TextPositioning;
  fKerningHScaleBottom = KerningHScaleBottom;
  fKerningHScaleTop = KerningHScaleTop;
  // The printer is asked only when a metric mapping mode needs its resolution (TPdfEnum::ScaleMatrix).
  FPrinterPxPerInch = FDoc ? FDoc->FPrinterPxPerInch : TPdfIntPoint{300, 300};
  // The extents of the text mode, (1, 1) both, as a device context starts: a metafile that sets only its
  // window extent in MM_ANISOTROPIC maps that extent onto one pixel per unit.
  E.State().WindowExt = {1, 1};
  E.State().ViewportExt = {1, 1};
  // A page drawn only with EMF+ records plays its strings as GDI records, in one more table entry.
  TEmfPlusPlayback plus(MF);
  E.MinHandleCount = plus.HandleCount();
  GSave();
  try {
    // Time is checked between records: a page that takes longer than any normal page could is abandoned.
    const auto deadline = std::chrono::steady_clock::now() + DefaultPageLimits().Deadline;
    bool late = false;
    MF.EnumerateRecords([&](const TEmfRecord& Record) {
      if ((Record.Index & 63) == 0 && std::chrono::steady_clock::now() > deadline) {
        late = true;
        return 0;
      }
      if (plus.Active() && Record.Type == emf::EMR_GDICOMMENT &&
          !plus.Translate(Record, [&](const TEmfRecord& played) { EmfRecordCallback(played, E); }))
        E.CountSkipped();
      return EmfRecordCallback(Record, E);
    });
    if (late)
      throw Exception("Drawing the page took longer than " +
                      std::to_string(DefaultPageLimits().Deadline.count() / 1000) + " s; it was abandoned");
  } catch (...) {
    GRestore();
    throw;
  }
  GRestore();
}
