#include "PrnEmf.h"

#include <exception>
#include <optional>
#include <string>

#include "Excptn.h"
#include "platform/gdi/GdiConsts.h"
#include "platform/metafile/EmfRecordViews.h"
#include "platform/printer/Printer.h"
#include "platform/rtl/MathUtil.h"

namespace {

TGdiDC& PrinterDC() {
  TGdiDC* dc = Printer().Handle();
  if (!dc) throw EPrinter("Printer is not currently printing");
  return *dc;
}

TEmfRect PrinterPageRect(TGdiDC& dc, const TMetafile& metafile) {
  return MetafilePageRect(dc.GetDeviceCaps(HORZRES), metafile);
}

// The record's text at its reference point; false (with the last error set) when the record cannot hold
// what it claims.
bool TextRecordOut(TGdiDC& dc, const TEmfRecord& record) {
  std::optional<EmrTextView> text;
  try {
    text.emplace(ExtTextOutView(record.Data).Text());
  } catch (const EDamagedData&) {
    SetLastErrorMessage(ERROR_INVALID_DATA, "Text record " + std::to_string(record.Index) + " is too short");
    return false;
  }
  const PointL at = text->Reference();
  try {
    if (!text->Wide()) {
      const Span<uint8_t> chars = text->Ansi();
      return dc.TextOutA(at.x, at.y, reinterpret_cast<const char*>(chars.bytes().data()),
                         static_cast<int>(chars.size()));
    }
    const Span<char16_t> chars = text->Utf16();
    const std::u16string utf16(chars.begin(), chars.end()); // the record need not keep the text aligned
    return dc.TextOutW(at.x, at.y, utf16.data(), static_cast<int>(chars.size()));
  } catch (const EDamagedData&) {
    SetLastErrorMessage(ERROR_INVALID_DATA, "Text record " + std::to_string(record.Index) +
                                                " holds fewer characters than it counts");
    return false;
  }
}

} // namespace

TEmfRect MetafilePageRect(int32_t printableWidth, const TMetafile& metafile) {
  const int32_t width = metafile.Width();
  const int32_t height = width > 0 ? MulDiv(metafile.Height(), printableWidth, width) : 0;
  return {0, 0, printableWidth, height < 0 ? 0 : height};
}

int MetafileRecordProc(TGdiDC& dc, THandleTable& table, const TEmfRecord& record, int handleCount, void*) {
  bool ok;
  if (record.Type == EMR_EXTTEXTOUTA || record.Type == EMR_EXTTEXTOUTW)
    ok = TextRecordOut(dc, record);
  else
    ok = PlayEnhMetaFileRecord(dc, table, record, static_cast<unsigned>(handleCount));
  GDICheck(ok, "");
  return 1;
}

void PlayMetafileRecords(TGdiDC& dc, const TMetafile& metafile, const TEmfRect& rect) {
  // The failure leaves the enumeration by stopping it, so that the context is restored before it is
  // reported.
  std::exception_ptr failure;
  const bool ok = EnumEnhMetaFile(
      dc, metafile,
      [&](TGdiDC& d, THandleTable& t, const TEmfRecord& r, int n, void* data) {
        try {
          return MetafileRecordProc(d, t, r, n, data);
        } catch (const EGDIError&) {
          failure = std::current_exception();
          return 0;
        }
      },
      nullptr, rect);
  if (failure) std::rethrow_exception(failure);
  GDICheck(ok, "");
}

void PrintMetafilePage(const TMetafile& metafile) {
  TGdiDC& dc = PrinterDC();
  PlayMetafileRecords(dc, metafile, PrinterPageRect(dc, metafile));
}

void PlayMetafilePage(const TMetafile& metafile) {
  TGdiDC& dc = PrinterDC();
  PlayEnhMetaFile(dc, metafile, PrinterPageRect(dc, metafile));
}
