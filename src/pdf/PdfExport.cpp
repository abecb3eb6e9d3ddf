#include "pdf/PdfExport.h"

#include <cmath>

#include "pdf/PdfDocument.h"
#include "platform/fonts/FontService.h"
#include "platform/rtl/MathUtil.h"

namespace {

// A page recorded for a printer (at least twice the screen's resolution: 300, 600, 1200 dpi) is drawn at
// the screen's resolution: its pixels would otherwise make a page many times the paper's size. Screens
// of a little more than 96 dpi keep their pixel size.
float ReferenceScale(const TMetafile& MF, int32_t ScreenPixelsPerInch) {
  const TEnhMetaHeader& h = MF.Header();
  if (h.szlDevice.cx <= 0 || h.szlMillimeters.cx <= 0) return 1.0f;
  const double dpi = std::round(h.szlDevice.cx * 25.4 / h.szlMillimeters.cx);
  return dpi >= 2.0 * ScreenPixelsPerInch ? static_cast<float>(ScreenPixelsPerInch / dpi) : 1.0f;
}

int32_t ScaledPixels(int32_t Pixels, float Scale) {
  return static_cast<int32_t>(std::lround(Pixels * static_cast<double>(Scale)));
}

} // namespace

void ExportPdf(int32_t PageCount, const std::function<std::unique_ptr<TMetafile>(int32_t)>& GetPage,
               const std::string& FileName, const TPdfExportOptions& Options) {
  if (PageCount <= 0) throw Exception("There are no pages to convert: no PDF document was written");
  TPdfDocumentGDI document(true, 1250, false, &TFontService::Instance());
  document.SetCompressionMethod(Options.Compress ? cmFlateDecode : cmNone);
  for (int32_t i = 1; i <= PageCount; ++i) {
    std::unique_ptr<TMetafile> metafile = GetPage(i);
    if (!metafile) throw EDamagedData("Page " + std::to_string(i) + " cannot be read");
    const float scale = ReferenceScale(*metafile, document.ScreenLogPixels());
    document.SetDefaultPageWidth(
        MulDiv(ScaledPixels(metafile->Width(), scale), 72, document.ScreenLogPixels()));
    document.SetDefaultPageHeight(
        MulDiv(ScaledPixels(metafile->Height(), scale), 72, document.ScreenLogPixels()));
    document.AddPage();
    document.Canvas()->RenderMetaFile(*metafile, scale, 0.0f, 0.0f, tpSetTextJustification, 99.0f, 101.0f);
    if (Options.OnPage) Options.OnPage(i, *metafile);
  }
  if (!document.SaveToFile(FileName)) throw EFCreateError(FileName, "The PDF document could not be written");
}
