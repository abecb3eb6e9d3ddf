// Clipping records: rectangles in logical units, regions in reference-device pixels, the path.
#include "PlayRecords.h"
#include "RecordQt.h"
#include "Regions.h"

namespace {
// Small enough to simplify in a few milliseconds whatever its shape.
constexpr int kSimplifiedClipElements = 200;

TClipArea OutputRect(TGdiDC& dc, const QRectF& logical) {
  QPainterPath p;
  p.addRect(logical.normalized());
  return TClipArea(dc.LogicalToOutput().map(p));
}
} // namespace

bool PlayClipRecord(TPlayContext& ctx, uint32_t type, ByteView rec) {
  TGdiDC& dc = ctx.dc;
  switch (type) {
  case EMR_INTERSECTCLIPRECT:
    if (!dc.TransformUsable()) return true;
    dc.CombineClip(OutputRect(dc, ToQt(RectRecordView(rec).Rect())), RGN_AND);
    return true;
  case EMR_EXCLUDECLIPRECT:
    if (!dc.TransformUsable()) return true;
    dc.CombineClip(OutputRect(dc, ToQt(RectRecordView(rec).Rect())), RGN_DIFF);
    return true;
  case EMR_OFFSETCLIPRGN: {
    TDCState& s = dc.State();
    if (s.Clip.None()) return true;
    const QTransform& f = dc.LogicalToOutput();
    QPointF delta = f.map(ToQt(PointRecordView(rec).Point())) - f.map(QPointF(0, 0));
    dc.CombineClip(s.Clip.Translated(delta), RGN_COPY);
    return true;
  }
  case EMR_EXTSELECTCLIPRGN: {
    RegionRecordView v(rec);
    uint32_t mode = v.Mode();
    if (mode < RGN_AND || mode > RGN_COPY) throw EBadRecord("unknown region mode", ERROR_INVALID_PARAMETER);
    if (!v.HasRegion()) {
      if (mode != RGN_COPY) throw EBadRecord("region missing", ERROR_INVALID_PARAMETER);
      dc.ResetClip();
      return true;
    }
    TRegionArea region = ReadRegionData(v.Region(), dc.Limits().RegionRects);
    if (region.Simplified) dc.NoteOverLimit("region too complex, replaced by its bounding box");
    if (std::optional<TBandedRegion> mapped = region.Area.Mapped(dc.PlaybackTransform()))
      dc.CombineClip(TClipArea(std::move(*mapped)), mode);
    else
      dc.CombineClip(TClipArea(dc.PlaybackTransform().map(region.Area.ToPath())), mode);
    return true;
  }
  case EMR_SETMETARGN:
    dc.SetMetaRegion();
    return true;
  case EMR_SELECTCLIPPATH: {
    uint32_t mode = ValueRecordView(rec).Value();
    if (mode < RGN_AND || mode > RGN_COPY) throw EBadRecord("unknown region mode", ERROR_INVALID_PARAMETER);
    QPainterPath path = dc.TakePath();
    path.closeSubpath();
    path.setFillRule(dc.State().PolyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    // Simplifying costs time in the crossings of the path's edges, quadratic in its elements: a large path
    // clips as it is, with its fill rule.
    if (path.elementCount() <= kSimplifiedClipElements) path = path.simplified();
    dc.CombineClip(TClipArea(path), mode);
    return true;
  }
  default:
    return false;
  }
}
