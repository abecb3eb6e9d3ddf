// TPdfEnum: GDI comments that ask for outline entries, bookmarks and links in the PDF.
#include <string>

#include "pdf/PdfCanvas.h"
#include "pdf/PdfCodePages.h"
#include "pdf/PdfDocument.h"
#include "pdf/PdfEnum.h"

void TPdfEnum::HandleComment(TPdfGDIComment Kind, const uint8_t* P, size_t Len) {
  try {
    const char* text = reinterpret_cast<const char*>(P);
    TPdfDocument* doc = Canvas->Doc();
    switch (Kind) {
    case pgcOutline:
      if (Len > 1)
        doc->CreateOutline(Utf8ToUtf16(std::string_view(text + 1, Len - 1)), P[0],
                           Canvas->ToPdfY(State().CurrentPoint.y));
      break;
    case pgcBookmark:
      doc->CreateBookMark(Canvas->ToPdfY(State().CurrentPoint.y), std::string(text, Len));
      break;
    case pgcLink:
      if (Len > 16) {
        ByteView v(P, Len);
        TPdfIntRect r{v.I32(0), v.I32(4), v.I32(8), v.I32(12)};
        doc->CreateLink(Canvas->RectToPdf(r, true), std::string(text + 16, Len - 16));
      }
      break;
    }
  } catch (const Exception&) {
    // A comment that cannot be honoured is only a comment.
  }
}
