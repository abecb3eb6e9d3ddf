// Records that change the context's state: mapping, world transform, modes, colours, saved levels.
#include <cmath>

#include "Mapping.h"
#include "PlayRecords.h"
#include "RecordQt.h"

namespace {
QTransform ReadXForm(const XFormView& view) {
  XForm x = view.Transform();
  const double v[6] = {x.eM11, x.eM12, x.eM21, x.eM22, x.eDx, x.eDy};
  for (double d : v)
    if (!std::isfinite(d)) throw EBadRecord("transform is not finite", ERROR_INVALID_PARAMETER);
  return QTransform(v[0], v[1], v[2], v[3], v[4], v[5]);
}

bool Degenerate(const QTransform& t) {
  return std::fabs(t.m11() * t.m22() - t.m12() * t.m21()) < 1e-12;
}
} // namespace

bool PlayStateRecord(TPlayContext& ctx, uint32_t type, ByteView rec) {
  TGdiDC& dc = ctx.dc;
  TDCState& s = dc.State();
  switch (type) {
  case EMR_SETMAPMODE:
    ApplyMapMode(s, ValueRecordView(rec).SignedValue(), dc.ReferencePixels(), dc.ReferenceMillimetres());
    break;
  case EMR_SETWINDOWEXTEX:
  case EMR_SETVIEWPORTEXTEX: {
    if (s.MapMode != MM_ISOTROPIC && s.MapMode != MM_ANISOTROPIC) return true;
    SizeL ext = SizeRecordView(rec).Extent();
    int32_t x = ext.cx, y = ext.cy;
    if (x == 0 || y == 0) throw EBadRecord("extent of zero", ERROR_INVALID_PARAMETER);
    (type == EMR_SETWINDOWEXTEX ? s.WindowExt : s.ViewportExt) = QSizeF(x, y);
    break;
  }
  case EMR_SETWINDOWORGEX:
    s.WindowOrg = ToQt(PointRecordView(rec).Point());
    break;
  case EMR_SETVIEWPORTORGEX:
    s.ViewportOrg = ToQt(PointRecordView(rec).Point());
    break;
  case EMR_SCALEVIEWPORTEXTEX:
  case EMR_SCALEWINDOWEXTEX: {
    if (s.MapMode != MM_ISOTROPIC && s.MapMode != MM_ANISOTROPIC) return true;
    ScaleExtView v(rec);
    int32_t xn = v.XNum(), xd = v.XDenom(), yn = v.YNum(), yd = v.YDenom();
    if (xd == 0 || yd == 0 || xn == 0 || yn == 0) throw EBadRecord("scale of zero", ERROR_INVALID_PARAMETER);
    QSizeF& ext = type == EMR_SCALEWINDOWEXTEX ? s.WindowExt : s.ViewportExt;
    ext = QSizeF(ext.width() * xn / xd, ext.height() * yn / yd);
    break;
  }
  case EMR_SETWORLDTRANSFORM: {
    QTransform t = ReadXForm(XFormView(rec));
    if (Degenerate(t)) throw EBadRecord("singular transform", ERROR_INVALID_PARAMETER);
    s.World = t;
    break;
  }
  case EMR_MODIFYWORLDTRANSFORM: {
    XFormView v(rec);
    QTransform t = ReadXForm(v);
    uint32_t mode = v.Mode();
    QTransform result;
    if (mode == MWT_IDENTITY)
      result = QTransform();
    else if (mode == MWT_LEFTMULTIPLY)
      result = t * s.World;
    else if (mode == MWT_RIGHTMULTIPLY)
      result = s.World * t;
    else if (mode == MWT_SET)
      result = t;
    else
      throw EBadRecord("unknown transform mode", ERROR_INVALID_PARAMETER);
    if (Degenerate(result)) throw EBadRecord("singular transform", ERROR_INVALID_PARAMETER);
    s.World = result;
    break;
  }
  case EMR_SAVEDC:
    if (!dc.SaveDC()) throw EBadRecord("too many saved levels", ERROR_INVALID_PARAMETER);
    return true;
  case EMR_RESTOREDC:
    if (!dc.RestoreDC(ValueRecordView(rec).SignedValue()))
      throw EBadRecord("no such saved level", ERROR_INVALID_PARAMETER);
    return true;
  case EMR_SETBKMODE:
    s.BkMode = ValueRecordView(rec).Value();
    return true;
  case EMR_SETPOLYFILLMODE:
    s.PolyFillMode = ValueRecordView(rec).Value();
    return true;
  case EMR_SETROP2:
    s.Rop2 = ValueRecordView(rec).Value();
    return true;
  case EMR_SETSTRETCHBLTMODE:
    s.StretchBltMode = ValueRecordView(rec).Value();
    return true;
  case EMR_SETTEXTALIGN:
    s.TextAlign = ValueRecordView(rec).Value();
    return true;
  case EMR_SETTEXTCOLOR:
    s.TextColor = ValueRecordView(rec).Value() & 0xFFFFFF;
    return true;
  case EMR_SETBKCOLOR:
    s.BkColor = ValueRecordView(rec).Value() & 0xFFFFFF;
    return true;
  case EMR_SETARCDIRECTION:
    s.ArcDirection = ValueRecordView(rec).Value();
    return true;
  case EMR_SETMITERLIMIT: {
    // Stored as a float by most writers, as an integer by a few.
    ValueRecordView v(rec);
    float f = v.FloatValue();
    uint32_t u = v.Value();
    s.MiterLimit = (std::isfinite(f) && f >= 1 && f < 1000) ? f : (u >= 1 && u < 1000 ? u : 10);
    return true;
  }
  case EMR_SETBRUSHORGEX:
    s.BrushOrg = ToQt(PointRecordView(rec).Point());
    return true;
  case EMR_MOVETOEX:
    s.CurrentPos = ToQt(PointRecordView(rec).Point());
    if (dc.InPath()) dc.CurrentPath().moveTo(dc.LogicalToOutput().map(s.CurrentPos));
    return true;
  default:
    return false;
  }
  dc.TransformChanged();
  return true;
}

bool PlayObjectRecord(TPlayContext& ctx, uint32_t type, ByteView rec) {
  TDCState& s = ctx.dc.State();
  auto store = [&](TGdiObject object) {
    uint32_t index = ValueRecordView(rec).Value();
    if (!ctx.table.Put(index, std::make_shared<TGdiObject>(std::move(object))))
      throw EBadRecord("object index " + std::to_string(index) + " outside the handle table",
                       ERROR_INVALID_HANDLE);
  };
  switch (type) {
  case EMR_CREATEPEN:
    store(ReadCreatePen(rec));
    return true;
  case EMR_EXTCREATEPEN:
    store(ReadExtCreatePen(rec));
    return true;
  case EMR_CREATEBRUSHINDIRECT:
    store(ReadCreateBrush(rec));
    return true;
  case EMR_EXTCREATEFONTINDIRECTW:
    store(ReadCreateFont(rec));
    return true;
  case EMR_CREATEPALETTE:
    store(ReadCreatePalette(rec));
    return true;
  case EMR_SELECTOBJECT: {
    uint32_t index = ValueRecordView(rec).Value();
    TGdiObjectPtr o = ctx.table.Get(index);
    if (!o) throw EBadRecord("no object at index " + std::to_string(StockIndex(index)), ERROR_INVALID_HANDLE);
    switch (o->kind) {
    case TGdiObject::Pen:
      s.Pen = o;
      break;
    case TGdiObject::Brush:
      s.Brush = o;
      break;
    case TGdiObject::Font:
      s.Font = o;
      break;
    case TGdiObject::Palette:
      s.Palette = o;
      break;
    }
    return true;
  }
  case EMR_SELECTPALETTE: {
    TGdiObjectPtr o = ctx.table.Get(ValueRecordView(rec).Value());
    if (o && o->kind == TGdiObject::Palette) s.Palette = o;
    return true;
  }
  case EMR_DELETEOBJECT:
    // Deleting a stock object or an empty slot is harmless and common; the host ignores it too.
    ctx.table.Delete(ValueRecordView(rec).Value());
    return true;
  default:
    return false;
  }
}
