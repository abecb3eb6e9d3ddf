// Text records: EXTTEXTOUTW/A, POLYTEXTOUTW/A and SMALLTEXTOUT.
#include "PlayRecords.h"
#include "RecordReader.h"
#include "TextOut.h"

namespace {
// One EMRTEXT structure at `at`; offsets inside it count from the start of the record.
TTextRun ReadEmrText(TGdiDC& dc, ByteView rec, size_t at, bool wide) {
  TTextRun run;
  run.Ref = ReadPointL(rec, at);
  uint32_t count = rec.U32(at + 8);
  uint32_t offString = rec.U32(at + 12);
  run.Options = rec.U32(at + 16);
  run.Rect = ReadRectL(rec, at + 20);
  run.HasRect = !run.Rect.isNull() && (run.Options & (ETO_OPAQUE | ETO_CLIPPED));
  uint32_t offDx = rec.U32(at + 36);
  if (count == 0) return run;
  if (wide) {
    ByteView text = rec.Sub(offString, static_cast<size_t>(count) * 2);
    run.Text.resize(count);
    for (uint32_t i = 0; i < count; ++i)
      run.Text[i] = QChar(text.U16(2 * i));
  } else {
    ByteView text = rec.Sub(offString, count);
    uint8_t charSet = dc.State().Font ? dc.State().Font->font.CharSet : 0;
    run.Text = DecodeAnsiText(reinterpret_cast<const char*>(text.data()), count, charSet);
  }
  bool pdy = (run.Options & ETO_PDY) != 0;
  size_t entries = static_cast<size_t>(count) * (pdy ? 2 : 1);
  // Some writers leave out the advances (offset 0) or cut them short: then the font's spacing is used.
  if (offDx != 0 && rec.Has(offDx, entries * 4)) {
    for (uint32_t i = 0; i < count; ++i) {
      run.Dx.push_back(rec.I32(offDx + (pdy ? 8 : 4) * i));
      if (pdy) run.Dy.push_back(rec.I32(offDx + 8 * i + 4));
    }
    // A decoded multi-byte string has fewer characters than bytes: keep advances per character.
    if (!wide && static_cast<uint32_t>(run.Text.size()) != count) {
      run.Dx.clear();
      run.Dy.clear();
    }
  }
  return run;
}

void PlaySmallTextOut(TGdiDC& dc, ByteView rec) {
  TTextRun run;
  run.Ref = ReadPointL(rec, 8);
  uint32_t count = rec.U32(16);
  run.Options = rec.U32(20);
  size_t at = 36;
  if (!(run.Options & ETO_NO_RECT)) {
    run.Rect = ReadRectL(rec, at);
    run.HasRect = true;
    at += 16;
  }
  if (run.Options & ETO_SMALL_CHARS) {
    ByteView text = rec.Sub(at, count);
    uint8_t charSet = dc.State().Font ? dc.State().Font->font.CharSet : 0;
    run.Text = DecodeAnsiText(reinterpret_cast<const char*>(text.data()), count, charSet);
  } else {
    ByteView text = rec.Sub(at, static_cast<size_t>(count) * 2);
    for (uint32_t i = 0; i < count; ++i)
      run.Text.append(QChar(text.U16(2 * i)));
  }
  DrawTextRun(dc, run);
}
} // namespace

bool PlayTextRecord(TPlayContext& ctx, uint32_t type, ByteView rec) {
  TGdiDC& dc = ctx.dc;
  switch (type) {
  case emr::EXTTEXTOUTW:
  case emr::EXTTEXTOUTA:
    DrawTextRun(dc, ReadEmrText(dc, rec, 36, type == emr::EXTTEXTOUTW));
    return true;
  case emr::POLYTEXTOUTW:
  case emr::POLYTEXTOUTA: {
    uint32_t strings = rec.U32(36);
    rec.Check(40, static_cast<size_t>(strings) * 40);
    for (uint32_t i = 0; i < strings; ++i)
      DrawTextRun(dc, ReadEmrText(dc, rec, 40 + 40 * static_cast<size_t>(i), type == emr::POLYTEXTOUTW));
    return true;
  }
  case emr::SMALLTEXTOUT:
    PlaySmallTextOut(dc, rec);
    return true;
  default:
    return false;
  }
}
