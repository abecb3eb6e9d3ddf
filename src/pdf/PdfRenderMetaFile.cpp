// TPdfCanvas::RenderMetaFile: one metafile into the current page, through a fresh TPdfEnum.
#include "pdf/PdfCanvas.h"
#include "pdf/PdfDocument.h"
#include "pdf/PdfEnum.h"
#include "platform/metafile/Metafile.h"

void TPdfCanvas::RenderMetaFile(const TMetafile& MF, float Scale, float XOff, float YOff,
                                TPdfCanvasRenderMetaFileTextPositioning TextPositioning,
                                float KerningHScaleBottom, float KerningHScaleTop) {
  const TPdfIntRect R{0, 0, MF.Width(), MF.Height()};
  TPdfEnum E(this);
  FOffsetXDef = XOff;
  FOffsetYDef = YOff;
  FDevScale = Scale * FFactor;
  fUseMetaFileTextPositioning = TextPositioning;
  fKerningHScaleBottom = KerningHScaleBottom;
  fKerningHScaleTop = KerningHScaleTop;
  // The printer is asked only when a metric mapping mode needs its resolution (TPdfEnum::ScaleMatrix).
  FPrinterPxPerInch = FDoc ? FDoc->FPrinterPxPerInch : TPdfIntPoint{300, 300};
  E.State().WindowExt = {R.Right, R.Bottom};
  E.State().ViewportExt = {R.Right, R.Bottom};
  GSave();
  try {
    MF.EnumerateRecords([&E](const TEmfRecord& Record) { return EmfRecordCallback(Record, E); });
  } catch (...) {
    GRestore();
    throw;
  }
  GRestore();
}
