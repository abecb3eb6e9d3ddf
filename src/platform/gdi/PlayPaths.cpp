// The path bracket and what uses the recorded path; painting with regions.
#include "PlayRecords.h"
#include "Regions.h"

namespace {
const TGdiBrush& BrushAt(TPlayContext& ctx, uint32_t index) {
  TGdiObjectPtr o = ctx.table.Get(index);
  if (!o || o->kind != TGdiObject::Brush)
    throw EBadRecord("no brush at index " + std::to_string(index), ERROR_INVALID_HANDLE);
  return o->brush;
}

// The region of a region record, in its own units.
TBandedRegion RecordRegion(TGdiDC& dc, const RegionRecordView& v) {
  TRegionArea region = ReadRegionData(v.Region(), dc.Limits().RegionRects);
  if (region.Simplified) dc.NoteOverLimit("region too complex, replaced by its bounding box");
  return std::move(region.Area);
}

QPainterPath ToOutput(TGdiDC& dc, const TBandedRegion& region) {
  return dc.LogicalToOutput().map(region.ToPath());
}

// The part of the area within `wx` of its left and right edges or `wy` of its top and bottom ones: the
// area less what stays of it when every point outside grows by that much.
std::optional<TBandedRegion> Frame(const TBandedRegion& area, double wx, double wy, size_t maxRects) {
  QRectF box = area.BoundingRect().adjusted(-wx - 1, -wy - 1, wx + 1, wy + 1);
  std::optional<TBandedRegion> outside =
      TBandedRegion::Combine(TBandedRegion(box), area, TBandedRegion::Diff, maxRects);
  if (!outside) return std::nullopt;
  std::vector<QRectF> grown;
  grown.reserve(outside->Rects().size());
  for (const QRectF& r : outside->Rects())
    grown.push_back(r.adjusted(-wx, -wy, wx, wy));
  std::optional<TBandedRegion> near = TBandedRegion::Union(grown, maxRects);
  if (!near) return std::nullopt;
  return TBandedRegion::Combine(area, *near, TBandedRegion::And, maxRects);
}
} // namespace

bool PlayPathRecord(TPlayContext& ctx, uint32_t type, ByteView rec) {
  TGdiDC& dc = ctx.dc;
  switch (type) {
  case EMR_BEGINPATH:
    dc.BeginPath();
    dc.CurrentPath().moveTo(dc.LogicalToOutput().map(dc.State().CurrentPos));
    return true;
  case EMR_ENDPATH:
    dc.EndPath();
    return true;
  case EMR_ABORTPATH:
    dc.AbortPath();
    return true;
  case EMR_CLOSEFIGURE:
    if (dc.InPath()) dc.CurrentPath().closeSubpath();
    return true;
  case EMR_FLATTENPATH: {
    QPainterPath& p = dc.CurrentPath();
    if (!dc.WithinEdgeLimit(p)) return true; // left as curves; drawing it meets the same limit
    QPainterPath flat;
    for (const QPolygonF& poly : p.toSubpathPolygons())
      flat.addPolygon(poly);
    p = flat;
    return true;
  }
  case EMR_WIDENPATH: {
    QPen pen = dc.CurrentPen();
    if (!dc.WithinEdgeLimit(dc.CurrentPath())) return true;
    dc.LimitDashes(dc.CurrentPath(), pen);
    QPainterPathStroker stroker(pen);
    dc.CurrentPath() = stroker.createStroke(dc.CurrentPath());
    return true;
  }
  case EMR_FILLPATH:
  case EMR_STROKEPATH:
  case EMR_STROKEANDFILLPATH: {
    if (dc.InPath()) dc.EndPath();
    QPainterPath path = dc.TakePath();
    if (type != EMR_STROKEPATH) {
      QPainterPath closed = path;
      closed.closeSubpath();
      dc.FillOutputPath(closed);
    }
    if (type != EMR_FILLPATH) dc.StrokeOutputPath(path);
    return true;
  }
  case EMR_FILLRGN: {
    RegionRecordView v(rec);
    dc.FillOutputPath(ToOutput(dc, RecordRegion(dc, v)), BrushAt(ctx, v.BrushIndex()));
    return true;
  }
  case EMR_PAINTRGN:
    dc.FillOutputPath(ToOutput(dc, RecordRegion(dc, RegionRecordView(rec))));
    return true;
  case EMR_FRAMERGN: {
    RegionRecordView v(rec);
    const TGdiBrush& brush = BrushAt(ctx, v.BrushIndex());
    if (!dc.TransformUsable()) return true;
    // At least one output pixel wide.
    double pixel = 1 / dc.LogicalScale();
    double wx = std::max(pixel, std::abs(double(v.FrameSize().cx))),
           wy = std::max(pixel, std::abs(double(v.FrameSize().cy)));
    TBandedRegion area = RecordRegion(dc, v);
    std::optional<TBandedRegion> frame = Frame(area, wx, wy, dc.Limits().RegionRects);
    if (!frame) {
      dc.NoteOverLimit("region frame too complex, not drawn");
      return true;
    }
    QPainterPath path = ToOutput(dc, *frame);
    if (!dc.Prepare()) return true;
    dc.Painter().fillPath(path, dc.MakeBrush(brush));
    return true;
  }
  case EMR_INVERTRGN: {
    QPainterPath area = ToOutput(dc, RecordRegion(dc, RegionRecordView(rec)));
    if (!dc.Prepare()) return true;
    dc.Painter().setCompositionMode(QPainter::RasterOp_NotDestination);
    dc.Painter().fillPath(area, Qt::black);
    dc.Painter().setCompositionMode(QPainter::CompositionMode_SourceOver);
    return true;
  }
  default:
    return false;
  }
}
