// TPdfEnum: creation, the record dispatch, the state stack and the records that only change state.
#include "pdf/PdfEnum.h"

#include <cmath>

#include "pdf/PdfCanvas.h"
#include "pdf/PdfErrors.h"
#include "platform/metafile/PageMapping.h"

using namespace emf;

TPdfEnum::TPdfEnum(TPdfCanvas* ACanvas) : Canvas(ACanvas) {
  TPdfEnumDCState& s = DC[0];
  s.Brush.Null = true;
  s.HasClipBox = false;
  s.MapMode = MM_TEXT;
  s.FillMode = ALTERNATE;
  s.StretchMode = COLORONCOLOR;
  // A device context's background: opaque and white.
  s.BkMode = OPAQUE;
  s.BkColor = 0xFFFFFF;
}

int EmfRecordCallback(const TEmfRecord& R, TPdfEnum& Data) {
  Data.HandleRecord(R);
  return 1;
}

void TPdfEnum::HandleRecord(const TEmfRecord& R) {
  try {
    if (!HandleStateRecord(R) && !HandleObjectRecord(R) && !HandleShapeRecord(R) && !HandlePathRecord(R) &&
        !HandleClipRecord(R) && !HandleBitmapRecord(R)) {
      if (R.Type == EMR_EXTTEXTOUTW || R.Type == EMR_EXTTEXTOUTA)
        TextOut(ExtTextOutView(R.Data));
      else if (R.Type == EMR_GDICOMMENT)
        Comment(R.Data);
    }
  } catch (const EDamagedData&) {
    // The record's data does not fit its bytes; its handler checked that before writing anything.
    ++fSkippedRecords;
  }
  switch (R.Type) {
  case EMR_SETWINDOWEXTEX:
  case EMR_SETWINDOWORGEX:
  case EMR_SETVIEWPORTEXTEX:
  case EMR_SETVIEWPORTORGEX:
  case EMR_SETMAPMODE:
  case EMR_RESTOREDC:
    ScaleMatrix(nullptr, MWT_SET);
    break;
  default:
    break;
  }
}

void TPdfEnum::SaveDC() {
  if (nDC >= MaxDC - 1) throw EPdfInvalidOperation("SaveDC: more than 32 saved states");
  DC[nDC + 1] = DC[nDC];
  ++nDC;
}

void TPdfEnum::RestoreDC() {
  if (nDC <= 0) throw EPdfInvalidOperation("RestoreDC: no saved state");
  --nDC;
}

bool TPdfEnum::HandleStateRecord(const TEmfRecord& R) {
  TPdfEnumDCState& s = State();
  switch (R.Type) {
  case EMR_HEADER: {
    RecordView h(R.Data, 88);
    RectL bounds = h.RectAt(8);
    obj.assign(std::max<size_t>(R.Data.U16(56), MinHandleCount), TPdfEnumHandleEntry{});
    // The reference device the metric modes measure with: szlDevice and szlMillimeters.
    fDevice = TReferenceDevice(h.I32(72), h.I32(76), h.I32(80), h.I32(84));
    s.WindowOrg = s.ViewportOrg = TPdfIntPoint{};
    // The reference context: MM_TEXT, ALTERNATE, COLORONCOLOR.
    s.MapMode = MM_TEXT;
    s.FillMode = ALTERNATE;
    s.StretchMode = COLORONCOLOR;
    s.ArcDirection = AD_COUNTERCLOCKWISE;
    fInitTransformMatrix = XForm{};
    XForm identity;
    ScaleMatrix(&identity, MWT_SET);
    InitMetaRgn({bounds.left, bounds.top, bounds.right, bounds.bottom});
    return true;
  }
  case EMR_SETWINDOWEXTEX:
  case EMR_SETVIEWPORTEXTEX: {
    SizeL e = SizeRecordView(R.Data).Extent();
    // Only the scalable modes take extents, and never a zero one.
    if (ScalableMapMode(s.MapMode) && e.cx != 0 && e.cy != 0)
      (R.Type == EMR_SETWINDOWEXTEX ? s.WindowExt : s.ViewportExt) = {e.cx, e.cy};
    return true;
  }
  case EMR_SETWINDOWORGEX:
  case EMR_SETVIEWPORTORGEX: {
    PointL p = PointRecordView(R.Data).Point();
    (R.Type == EMR_SETWINDOWORGEX ? s.WindowOrg : s.ViewportOrg) = {p.x, p.y};
    return true;
  }
  case EMR_SETMAPMODE: {
    int32_t mode = ValueRecordView(R.Data).SignedValue();
    TPageSize window{double(s.WindowExt.cx), double(s.WindowExt.cy)};
    TPageSize viewport{double(s.ViewportExt.cx), double(s.ViewportExt.cy)};
    if (!MapModeExtents(mode, fDevice, window, viewport)) return true; // not a mapping mode
    s.MapMode = mode;
    s.WindowExt = {static_cast<int32_t>(std::lround(window.cx)),
                   static_cast<int32_t>(std::lround(window.cy))};
    s.ViewportExt = {static_cast<int32_t>(std::lround(viewport.cx)),
                     static_cast<int32_t>(std::lround(viewport.cy))};
    return true;
  }
  case EMR_SETBKMODE:
    s.BkMode = ValueRecordView(R.Data).SignedValue();
    return true;
  case EMR_SETPOLYFILLMODE:
    s.FillMode = ValueRecordView(R.Data).SignedValue();
    return true;
  case EMR_SETSTRETCHBLTMODE:
    s.StretchMode = ValueRecordView(R.Data).SignedValue();
    return true;
  case EMR_SETTEXTALIGN:
    s.TextAlign = ValueRecordView(R.Data).SignedValue();
    return true;
  case EMR_SETARCDIRECTION:
    s.ArcDirection = ValueRecordView(R.Data).SignedValue();
    return true;
  case EMR_SETTEXTCOLOR:
  case EMR_SETBKCOLOR: {
    int32_t c = ValueRecordView(R.Data).SignedValue();
    if (c == 0x1FFFFFFF) c = 0; // CLR_INVALID-like marker some writers use for black
    (R.Type == EMR_SETTEXTCOLOR ? s.TextColor : s.BkColor) = c;
    return true;
  }
  case EMR_MOVETOEX: {
    PointL p = PointRecordView(R.Data).Point();
    s.CurrentPoint = {p.x, p.y};
    if (Canvas->FNewPath) {
      Canvas->MoveToLogical(p.x, p.y);
      s.PointEmitted = true;
    } else {
      s.PointEmitted = false;
    }
    return true;
  }
  case EMR_SAVEDC:
    SaveDC();
    return true;
  case EMR_RESTOREDC:
    RestoreDC(); // always one level: the PDF state is not nested along with the metafile's
    return true;
  case EMR_SETWORLDTRANSFORM: {
    XForm x = XFormView(R.Data).Transform();
    ScaleMatrix(&x, MWT_SET);
    return true;
  }
  case EMR_MODIFYWORLDTRANSFORM: {
    XFormView v(R.Data);
    XForm x = v.Transform();
    ScaleMatrix(&x, v.Mode());
    return true;
  }
  case EMR_SETMITERLIMIT: {
    float limit = ValueRecordView(R.Data).FloatValue();
    if (limit > 0.1f) Canvas->SetMiterLimit(limit);
    return true;
  }
  default:
    return false;
  }
}

void TPdfEnum::Comment(ByteView R) {
  uint32_t cbData = ValueRecordView(R).Value();
  if (cbData <= 1) return;
  ByteView data = R.Sub(12, cbData); // raises when the data runs past the record
  if (data.U8(0) <= pgcLink)
    HandleComment(static_cast<TPdfGDIComment>(data.U8(0)), data.data() + 1, cbData - 1);
}
