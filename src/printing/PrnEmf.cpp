#include "PrnEmf.h"

#include <cstring>
#include <exception>
#include <string>

#include "Excptn.h"
#include "platform/gdi/GdiConsts.h"
#include "platform/printer/Printer.h"
#include "platform/rtl/MathUtil.h"

namespace {

constexpr uint32_t EMR_EXTTEXTOUTA = 83;
constexpr uint32_t EMR_EXTTEXTOUTW = 84;
// EMREXTTEXTOUT: the EMRTEXT part starts after type, size, bounds, graphics mode and the two scales.
constexpr size_t EmrTextAt = 36;

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
bool TextRecordOut(TGdiDC& dc, const TEmfRecord& record, bool wide) {
  const ByteView rec = record.Data;
  if (!rec.Has(EmrTextAt, 16)) {
    SetLastErrorMessage(ERROR_INVALID_DATA, "Text record " + std::to_string(record.Index) + " is too short");
    return false;
  }
  const int32_t x = rec.I32(EmrTextAt), y = rec.I32(EmrTextAt + 4);
  const uint32_t chars = rec.U32(EmrTextAt + 8), offString = rec.U32(EmrTextAt + 12);
  const size_t bytes = static_cast<size_t>(chars) * (wide ? 2 : 1);
  if (chars > 0x7FFFFFFF || !rec.Has(offString, bytes)) {
    SetLastErrorMessage(ERROR_INVALID_DATA, "Text record " + std::to_string(record.Index) +
                                                " holds fewer characters than it counts");
    return false;
  }
  const uint8_t* text = rec.data() + offString;
  if (!wide) return dc.TextOutA(x, y, reinterpret_cast<const char*>(text), static_cast<int>(chars));
  std::u16string utf16(chars, u'\0');
  std::memcpy(utf16.data(), text, bytes); // the record need not keep the text aligned
  return dc.TextOutW(x, y, utf16.data(), static_cast<int>(chars));
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
    ok = TextRecordOut(dc, record, record.Type == EMR_EXTTEXTOUTW);
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
