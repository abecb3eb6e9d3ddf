// TPdfEnum: the object table (pens, brushes, fonts) and object selection.
#include <algorithm>
#include <cmath>

#include "pdf/PdfCanvas.h"
#include "pdf/PdfEnum.h"
#include "pdf/PdfMetafileFontMetrics.h"

using namespace emf;

namespace {

int16_t ToInt16(int32_t v) {
  return static_cast<int16_t>(std::clamp<int32_t>(v, INT16_MIN, INT16_MAX));
}

} // namespace

TPdfEnumHandleEntry* TPdfEnum::Entry(uint32_t Index) {
  if (Index < 1 || Index > obj.size()) return nullptr;
  return &obj[Index - 1];
}

bool TPdfEnum::HandleObjectRecord(const TEmfRecord& R) {
  switch (R.Type) {
  case EMR_CREATEPEN: {
    CreatePenView v(R.Data);
    if (TPdfEnumHandleEntry* e = Entry(v.Index())) {
      *e = TPdfEnumHandleEntry{};
      e->Kind = OBJ_PEN;
      e->Pen = {false,
                static_cast<int32_t>(v.Color()),
                static_cast<int32_t>(v.Style()),
                static_cast<float>(v.Width()),
                {},
                false};
    }
    return true;
  }
  case EMR_EXTCREATEPEN: {
    ExtCreatePenView v(R.Data);
    if (TPdfEnumHandleEntry* e = Entry(v.Index())) {
      *e = TPdfEnumHandleEntry{};
      e->Kind = OBJ_PEN;
      int32_t style = static_cast<int32_t>(v.Style() & PS_STYLE_MASK);
      // A pen painted with a hollow brush leaves no mark.
      if (v.BrushStyle() == BS_NULL) style = PS_NULL;
      e->Pen = {false, static_cast<int32_t>(v.Color()), style, static_cast<float>(v.Width()), {}, false};
      if (style == PS_USERSTYLE) {
        // A device takes at most 16 entries; more are not a pattern any writer meant.
        Span<uint32_t> entries = v.StyleEntries();
        for (size_t k = 0; k < entries.size() && k < 16; ++k)
          e->Pen.UserStyle.push_back(entries[k]);
        e->Pen.Cosmetic = (v.Style() & PS_TYPE_MASK) == PS_COSMETIC;
      }
    }
    return true;
  }
  case EMR_CREATEBRUSHINDIRECT: {
    CreateBrushView v(R.Data);
    if (TPdfEnumHandleEntry* e = Entry(v.Index())) {
      *e = TPdfEnumHandleEntry{};
      e->Kind = OBJ_BRUSH;
      e->Brush = {v.Style() == BS_NULL, static_cast<int32_t>(v.Color()), static_cast<int32_t>(v.Style())};
    }
    return true;
  }
  case EMR_EXTCREATEFONTINDIRECTW:
    CreateFont(CreateFontView(R.Data));
    return true;
  case EMR_DELETEOBJECT:
    if (TPdfEnumHandleEntry* e = Entry(ValueRecordView(R.Data).Value())) *e = TPdfEnumHandleEntry{};
    return true;
  case EMR_SELECTOBJECT:
    SelectObjectFromIndex(ValueRecordView(R.Data).Value());
    return true;
  default:
    return false;
  }
}

void TPdfEnum::CreateFont(const CreateFontView& R) {
  TPdfEnumHandleEntry* e = Entry(R.Index());
  if (!e) return;
  const LogFontView& f = R.Font();
  TLogFontW lf;
  lf.lfHeight = f.Height();
  lf.lfWidth = f.Width();
  lf.lfEscapement = f.Escapement();
  lf.lfOrientation = f.Orientation();
  lf.lfWeight = f.Weight();
  lf.lfItalic = f.Italic();
  lf.lfUnderline = f.Underline();
  lf.lfStrikeOut = f.StrikeOut();
  lf.lfCharSet = f.CharSet();
  lf.lfOutPrecision = f.OutPrecision();
  lf.lfClipPrecision = f.ClipPrecision();
  lf.lfQuality = f.Quality();
  lf.lfPitchAndFamily = f.PitchAndFamily();
  lf.SetFaceName(f.FaceName());

  TMetafileFontMetrics tm = MetafileFontMetrics(lf);
  *e = TPdfEnumHandleEntry{};
  e->Kind = OBJ_FONT;
  e->Font.LogFont = lf;
  e->Font.LogFont.lfPitchAndFamily = tm.PitchAndFamily;
  int32_t angle = lf.lfOrientation != 0 ? lf.lfOrientation / 10 : lf.lfEscapement / 10;
  e->Font.Angle = ToInt16(angle % 360);
  e->Font.Ascent = ToInt16(tm.Ascent);
  e->Font.Descent = ToInt16(tm.Descent);
  e->Font.EmHeight = ToInt16(tm.Height - tm.InternalLeading);
}

void TPdfEnum::SelectObjectFromIndex(uint32_t iObject) {
  TPdfEnumDCState& s = State();
  if (iObject & STOCK_OBJECT) {
    uint32_t n = StockIndex(iObject);
    static constexpr int32_t BrushColors[] = {0xFFFFFF, 0xAAAAAA, 0x808080, 0x666666, 0x000000};
    if (n <= 4) {
      s.Brush.Color = BrushColors[n];
      s.Brush.Null = false;
      s.Brush.Style = BS_SOLID;
    } else if (n == 5) {
      s.Brush.Null = true;
    } else if (n == 6 || n == 7) {
      // The stock pens are solid and one pixel wide whatever pen was selected before.
      int32_t color = n == 6 ? 0xFFFFFF : 0x000000;
      if (fInLined && (s.Pen.Color != color || s.Pen.Width != 0 || s.Pen.Style != PS_SOLID)) {
        fInLined = false;
        if (!s.Pen.Null) Canvas->Stroke();
      }
      s.Pen = {false, color, PS_SOLID, 0, {}, false};
    } else if (n == 8) {
      s.Pen.Style = PS_NULL;
      s.Pen.Null = true;
    }
    return;
  }
  TPdfEnumHandleEntry* e = Entry(iObject);
  if (!e) return;
  switch (e->Kind) {
  case OBJ_PEN:
    if (fInLined &&
        (e->Pen.Color != s.Pen.Color || e->Pen.Width != s.Pen.Width || e->Pen.Style != s.Pen.Style)) {
      fInLined = false;
      if (!s.Pen.Null) Canvas->Stroke();
    }
    s.Pen = e->Pen;
    s.Pen.Null = e->Pen.Width < 0 || (e->Pen.Style & PS_STYLE_MASK) == PS_NULL;
    break;
  case OBJ_BRUSH:
    s.Brush = e->Brush;
    break;
  case OBJ_FONT:
    s.Font = e->Font;
    break;
  default:
    break;
  }
}
