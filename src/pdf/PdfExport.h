#pragma once
// The PDF export of a report: every page metafile becomes one page of one new document, drawn by the
// metafile renderer in the viewer's configuration (outlines on, code page 1250, text laid out by word
// spacing with a 99..101 % scaling dead zone). Shared by the viewer's PDF button and `zvptool pdf`.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/metafile/Metafile.h"

struct TPdfExportOptions {
  // Deflate the streams; the viewer's export writes them uncompressed.
  bool Compress = false;
  // Called with each page after it is drawn; it may raise to stop the export (nothing is written then).
  std::function<void(int32_t Page, const TMetafile& Metafile)> OnPage;
};

// Draws pages 1..PageCount, fetched one at a time through GetPage (which raises or returns null for a page
// it cannot read), and saves the document as FileName, replacing that file only when the document is
// complete. Raises when a page cannot be fetched or drawn, or when the file cannot be written.
void ExportPdf(int32_t PageCount, const std::function<std::unique_ptr<TMetafile>(int32_t)>& GetPage,
               const std::string& FileName, const TPdfExportOptions& Options = {});
