// Clipping records: rectangles in logical units, regions in reference-device pixels, the path.
#include "PlayRecords.h"
#include "RecordReader.h"
#include "Regions.h"

namespace {
QPainterPath OutputRect(TGdiDC& dc, const QRectF& logical) {
  QPainterPath p;
  p.addRect(logical.normalized());
  return dc.LogicalToOutput().map(p);
}
} // namespace

bool PlayClipRecord(TPlayContext& ctx, uint32_t type, ByteView rec) {
  TGdiDC& dc = ctx.dc;
  switch (type) {
  case emr::INTERSECTCLIPRECT:
    if (!dc.TransformUsable()) return true;
    dc.CombineClip(OutputRect(dc, ReadRectL(rec, 8)), RGN_AND);
    return true;
  case emr::EXCLUDECLIPRECT:
    if (!dc.TransformUsable()) return true;
    dc.CombineClip(OutputRect(dc, ReadRectL(rec, 8)), RGN_DIFF);
    return true;
  case emr::OFFSETCLIPRGN: {
    TDCState& s = dc.State();
    if (!s.HasClip) return true;
    const QTransform& f = dc.LogicalToOutput();
    QPointF delta = f.map(ReadPointL(rec, 8)) - f.map(QPointF(0, 0));
    s.Clip.translate(delta);
    dc.CombineClip(s.Clip, RGN_COPY);
    return true;
  }
  case emr::EXTSELECTCLIPRGN: {
    uint32_t size = rec.U32(8), mode = rec.U32(12);
    if (mode < RGN_AND || mode > RGN_COPY) throw EBadRecord("unknown region mode", ERROR_INVALID_PARAMETER);
    if (size == 0 || !rec.Has(16, 32)) {
      if (mode != RGN_COPY) throw EBadRecord("region missing", ERROR_INVALID_PARAMETER);
      dc.ResetClip();
      return true;
    }
    QPainterPath region = ReadRegionData(rec.Sub(16, std::min<size_t>(size, rec.size() - 16)));
    dc.CombineClip(dc.PlaybackTransform().map(region), mode);
    return true;
  }
  case emr::SETMETARGN:
    dc.SetMetaRegion();
    return true;
  case emr::SELECTCLIPPATH: {
    uint32_t mode = rec.U32(8);
    if (mode < RGN_AND || mode > RGN_COPY) throw EBadRecord("unknown region mode", ERROR_INVALID_PARAMETER);
    QPainterPath path = dc.TakePath();
    path.closeSubpath();
    path.setFillRule(dc.State().PolyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    dc.CombineClip(path.simplified(), mode);
    return true;
  }
  default:
    return false;
  }
}
