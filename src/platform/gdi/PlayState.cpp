// Records that change the context's state: mapping, world transform, modes, colours, saved levels.
#include <cmath>

#include "Mapping.h"
#include "PlayRecords.h"
#include "RecordReader.h"

namespace {
QTransform ReadXForm(ByteView rec, size_t off) {
  double v[6];
  for (int i = 0; i < 6; ++i) {
    v[i] = rec.F32(off + 4 * i);
    if (!std::isfinite(v[i])) throw EBadRecord("transform is not finite", ERROR_INVALID_PARAMETER);
  }
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
  case emr::SETMAPMODE:
    ApplyMapMode(s, rec.I32(8), dc.ReferencePixels(), dc.ReferenceMillimetres());
    break;
  case emr::SETWINDOWEXTEX:
  case emr::SETVIEWPORTEXTEX: {
    if (s.MapMode != MM_ISOTROPIC && s.MapMode != MM_ANISOTROPIC) return true;
    int32_t x = rec.I32(8), y = rec.I32(12);
    if (x == 0 || y == 0) throw EBadRecord("extent of zero", ERROR_INVALID_PARAMETER);
    (type == emr::SETWINDOWEXTEX ? s.WindowExt : s.ViewportExt) = QSizeF(x, y);
    break;
  }
  case emr::SETWINDOWORGEX:
    s.WindowOrg = ReadPointL(rec, 8);
    break;
  case emr::SETVIEWPORTORGEX:
    s.ViewportOrg = ReadPointL(rec, 8);
    break;
  case emr::SCALEVIEWPORTEXTEX:
  case emr::SCALEWINDOWEXTEX: {
    if (s.MapMode != MM_ISOTROPIC && s.MapMode != MM_ANISOTROPIC) return true;
    int32_t xn = rec.I32(8), xd = rec.I32(12), yn = rec.I32(16), yd = rec.I32(20);
    if (xd == 0 || yd == 0 || xn == 0 || yn == 0) throw EBadRecord("scale of zero", ERROR_INVALID_PARAMETER);
    QSizeF& ext = type == emr::SCALEWINDOWEXTEX ? s.WindowExt : s.ViewportExt;
    ext = QSizeF(ext.width() * xn / xd, ext.height() * yn / yd);
    break;
  }
  case emr::SETWORLDTRANSFORM: {
    QTransform t = ReadXForm(rec, 8);
    if (Degenerate(t)) throw EBadRecord("singular transform", ERROR_INVALID_PARAMETER);
    s.World = t;
    break;
  }
  case emr::MODIFYWORLDTRANSFORM: {
    QTransform t = ReadXForm(rec, 8);
    uint32_t mode = rec.U32(32);
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
  case emr::SAVEDC:
    if (!dc.SaveDC()) throw EBadRecord("too many saved levels", ERROR_INVALID_PARAMETER);
    return true;
  case emr::RESTOREDC:
    if (!dc.RestoreDC(rec.I32(8))) throw EBadRecord("no such saved level", ERROR_INVALID_PARAMETER);
    return true;
  case emr::SETBKMODE:
    s.BkMode = rec.U32(8);
    return true;
  case emr::SETPOLYFILLMODE:
    s.PolyFillMode = rec.U32(8);
    return true;
  case emr::SETROP2:
    s.Rop2 = rec.U32(8);
    return true;
  case emr::SETSTRETCHBLTMODE:
    s.StretchBltMode = rec.U32(8);
    return true;
  case emr::SETTEXTALIGN:
    s.TextAlign = rec.U32(8);
    return true;
  case emr::SETTEXTCOLOR:
    s.TextColor = rec.U32(8) & 0xFFFFFF;
    return true;
  case emr::SETBKCOLOR:
    s.BkColor = rec.U32(8) & 0xFFFFFF;
    return true;
  case emr::SETARCDIRECTION:
    s.ArcDirection = rec.U32(8);
    return true;
  case emr::SETMITERLIMIT: {
    // Stored as a float by most writers, as an integer by a few.
    float f = rec.F32(8);
    uint32_t u = rec.U32(8);
    s.MiterLimit = (std::isfinite(f) && f >= 1 && f < 1000) ? f : (u >= 1 && u < 1000 ? u : 10);
    return true;
  }
  case emr::SETBRUSHORGEX:
    s.BrushOrg = ReadPointL(rec, 8);
    return true;
  case emr::MOVETOEX:
    s.CurrentPos = ReadPointL(rec, 8);
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
    uint32_t index = rec.U32(8);
    if (!ctx.table.Put(index, std::make_shared<TGdiObject>(std::move(object))))
      throw EBadRecord("object index " + std::to_string(index) + " outside the handle table",
                       ERROR_INVALID_HANDLE);
  };
  switch (type) {
  case emr::CREATEPEN:
    store(ReadCreatePen(rec));
    return true;
  case emr::EXTCREATEPEN:
    store(ReadExtCreatePen(rec));
    return true;
  case emr::CREATEBRUSHINDIRECT:
    store(ReadCreateBrush(rec));
    return true;
  case emr::EXTCREATEFONTINDIRECTW:
    store(ReadCreateFont(rec));
    return true;
  case emr::CREATEPALETTE:
    store(ReadCreatePalette(rec));
    return true;
  case emr::SELECTOBJECT: {
    uint32_t index = rec.U32(8);
    TGdiObjectPtr o = ctx.table.Get(index);
    if (!o)
      throw EBadRecord("no object at index " + std::to_string(index & ~STOCK_FLAG), ERROR_INVALID_HANDLE);
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
  case emr::SELECTPALETTE: {
    TGdiObjectPtr o = ctx.table.Get(rec.U32(8));
    if (o && o->kind == TGdiObject::Palette) s.Palette = o;
    return true;
  }
  case emr::DELETEOBJECT:
    // Deleting a stock object or an empty slot is harmless and common; the host ignores it too.
    ctx.table.Delete(rec.U32(8));
    return true;
  default:
    return false;
  }
}
