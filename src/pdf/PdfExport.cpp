#include "pdf/PdfExport.h"

#include "pdf/PdfDocument.h"
#include "platform/fonts/FontService.h"
#include "platform/rtl/MathUtil.h"

void ExportPdf(int32_t PageCount, const std::function<std::unique_ptr<TMetafile>(int32_t)>& GetPage,
               const std::string& FileName, const TPdfExportOptions& Options) {
  if (PageCount <= 0) throw Exception("There are no pages to convert: no PDF document was written");
  TPdfDocumentGDI document(true, 1250, false, &TFontService::Instance());
  document.SetCompressionMethod(Options.Compress ? cmFlateDecode : cmNone);
  for (int32_t i = 1; i <= PageCount; ++i) {
    std::unique_ptr<TMetafile> metafile = GetPage(i);
    if (!metafile) throw EDamagedData("Page " + std::to_string(i) + " cannot be read");
    document.SetDefaultPageWidth(MulDiv(metafile->Width(), 72, document.ScreenLogPixels()));
    document.SetDefaultPageHeight(MulDiv(metafile->Height(), 72, document.ScreenLogPixels()));
    document.AddPage();
    document.Canvas()->RenderMetaFile(*metafile, 1.0f, 0.0f, 0.0f, tpSetTextJustification, 99.0f, 101.0f);
    if (Options.OnPage) Options.OnPage(i, *metafile);
  }
  if (!document.SaveToFile(FileName)) throw EFCreateError(FileName, "The PDF document could not be written");
}
