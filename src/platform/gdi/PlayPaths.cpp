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

// Region data of the region records, at `at` with its byte count at `sizeAt`.
QPainterPath RecordRegion(TGdiDC& dc, ByteView rec, size_t sizeAt, size_t at) {
  uint32_t size = rec.U32(sizeAt);
  return dc.LogicalToOutput().map(
      ReadRegionData(rec.Sub(at, std::min<size_t>(size, rec.size() - std::min(at, rec.size())))));
}
} // namespace

bool PlayPathRecord(TPlayContext& ctx, uint32_t type, ByteView rec) {
  TGdiDC& dc = ctx.dc;
  switch (type) {
  case emr::BEGINPATH:
    dc.BeginPath();
    dc.CurrentPath().moveTo(dc.LogicalToOutput().map(dc.State().CurrentPos));
    return true;
  case emr::ENDPATH:
    dc.EndPath();
    return true;
  case emr::ABORTPATH:
    dc.AbortPath();
    return true;
  case emr::CLOSEFIGURE:
    if (dc.InPath()) dc.CurrentPath().closeSubpath();
    return true;
  case emr::FLATTENPATH: {
    QPainterPath& p = dc.CurrentPath();
    QPainterPath flat;
    for (const QPolygonF& poly : p.toSubpathPolygons())
      flat.addPolygon(poly);
    p = flat;
    return true;
  }
  case emr::WIDENPATH: {
    QPainterPathStroker stroker(dc.CurrentPen());
    dc.CurrentPath() = stroker.createStroke(dc.CurrentPath());
    return true;
  }
  case emr::FILLPATH:
  case emr::STROKEPATH:
  case emr::STROKEANDFILLPATH: {
    if (dc.InPath()) dc.EndPath();
    QPainterPath path = dc.TakePath();
    if (type != emr::STROKEPATH) {
      QPainterPath closed = path;
      closed.closeSubpath();
      dc.FillOutputPath(closed);
    }
    if (type != emr::FILLPATH) dc.StrokeOutputPath(path);
    return true;
  }
  case emr::FILLRGN:
    dc.FillOutputPath(RecordRegion(dc, rec, 24, 32), BrushAt(ctx, rec.U32(28)));
    return true;
  case emr::PAINTRGN:
    dc.FillOutputPath(RecordRegion(dc, rec, 24, 28));
    return true;
  case emr::FRAMERGN: {
    const TGdiBrush& brush = BrushAt(ctx, rec.U32(28));
    double w = std::max(1.0, std::abs(rec.I32(32)) * dc.LogicalScale());
    QPainterPath area = RecordRegion(dc, rec, 24, 40).simplified();
    if (!dc.Prepare()) return true;
    QPainterPathStroker stroker;
    stroker.setWidth(2 * w);
    dc.Painter().fillPath(stroker.createStroke(area).intersected(area), dc.MakeBrush(brush));
    return true;
  }
  case emr::INVERTRGN: {
    QPainterPath area = RecordRegion(dc, rec, 24, 28);
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
