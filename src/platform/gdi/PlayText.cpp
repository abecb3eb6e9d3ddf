// Text records: EXTTEXTOUTW/A, POLYTEXTOUTW/A and SMALLTEXTOUT.
#include "PlayRecords.h"
#include "RecordQt.h"
#include "TextOut.h"
#include "platform/rtl/CodePages.h"

namespace {
// One EMRTEXT structure of a text record.
TTextRun ReadEmrText(TGdiDC& dc, const EmrTextView& t) {
  TTextRun run;
  run.Ref = ToQt(t.Reference());
  uint32_t count = t.Count();
  run.Options = t.Options();
  run.Rect = ToQt(t.Rect());
  run.HasRect = !run.Rect.isNull() && (run.Options & (ETO_OPAQUE | ETO_CLIPPED));
  if (count == 0) return run;
  bool pdy = (run.Options & ETO_PDY) != 0;
  // Some writers leave out the advances (offset 0) or cut them short: then the font's spacing is used.
  std::vector<int32_t> dx;
  if (t.HasDx()) {
    Span<int32_t> all = t.Dx();
    dx.assign(all.begin(), all.end());
  }
  if (t.Wide()) {
    Span<char16_t> text = t.Utf16();
    run.Text.resize(count);
    uint32_t i = 0;
    for (char16_t c : text)
      run.Text[i++] = QChar(c);
    for (i = 0; i < count && !dx.empty(); ++i) {
      run.Dx.push_back(dx[pdy ? 2 * i : i]);
      if (pdy) run.Dy.push_back(dx[2 * i + 1]);
    }
  } else {
    // The advances are per byte: a character of several bytes takes their sum.
    Span<uint8_t> text = t.Ansi();
    uint8_t charSet = dc.State().Font ? dc.State().Font->font.CharSet : 0;
    TCodePageText decoded =
        DecodeCodePageText(std::string_view(reinterpret_cast<const char*>(text.bytes().data()), count),
                           CodePageOfCharSet(charSet), dx, pdy);
    run.Text = QString::fromUtf16(decoded.Text.data(), static_cast<qsizetype>(decoded.Text.size()));
    run.Dx.assign(decoded.Dx.begin(), decoded.Dx.end());
    run.Dy.assign(decoded.Dy.begin(), decoded.Dy.end());
  }
  return run;
}

void PlaySmallTextOut(TGdiDC& dc, ByteView rec) {
  SmallTextOutView v(rec);
  TTextRun run;
  run.Ref = ToQt(v.Reference());
  uint32_t count = v.Count();
  run.Options = v.Options();
  if (v.HasRect()) {
    run.Rect = ToQt(v.Rect());
    run.HasRect = true;
  }
  if (!v.Wide()) {
    Span<uint8_t> text = v.Ansi();
    uint8_t charSet = dc.State().Font ? dc.State().Font->font.CharSet : 0;
    run.Text = DecodeAnsiText(reinterpret_cast<const char*>(text.bytes().data()), count, charSet);
  } else {
    for (char16_t c : v.Utf16())
      run.Text.append(QChar(c));
  }
  DrawTextRun(dc, run);
}
} // namespace

bool PlayTextRecord(TPlayContext& ctx, uint32_t type, ByteView rec) {
  TGdiDC& dc = ctx.dc;
  switch (type) {
  case EMR_EXTTEXTOUTW:
  case EMR_EXTTEXTOUTA:
    DrawTextRun(dc, ReadEmrText(dc, ExtTextOutView(rec).Text()));
    return true;
  case EMR_POLYTEXTOUTW:
  case EMR_POLYTEXTOUTA: {
    PolyTextOutView v(rec);
    v.CheckTexts();
    for (uint32_t i = 0; i < v.Count(); ++i)
      DrawTextRun(dc, ReadEmrText(dc, v.Text(i)));
    return true;
  }
  case EMR_SMALLTEXTOUT:
    PlaySmallTextOut(dc, rec);
    return true;
  default:
    return false;
  }
}
