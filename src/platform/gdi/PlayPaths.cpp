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

// The region of a region record, mapped to output.
QPainterPath RecordRegion(TGdiDC& dc, const RegionRecordView& v) {
  return dc.LogicalToOutput().map(ReadRegionData(v.Region()));
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
    QPainterPath flat;
    for (const QPolygonF& poly : p.toSubpathPolygons())
      flat.addPolygon(poly);
    p = flat;
    return true;
  }
  case EMR_WIDENPATH: {
    QPainterPathStroker stroker(dc.CurrentPen());
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
    dc.FillOutputPath(RecordRegion(dc, v), BrushAt(ctx, v.BrushIndex()));
    return true;
  }
  case EMR_PAINTRGN:
    dc.FillOutputPath(RecordRegion(dc, RegionRecordView(rec)));
    return true;
  case EMR_FRAMERGN: {
    RegionRecordView v(rec);
    const TGdiBrush& brush = BrushAt(ctx, v.BrushIndex());
    double w = std::max(1.0, std::abs(v.FrameSize().cx) * dc.LogicalScale());
    QPainterPath area = RecordRegion(dc, v).simplified();
    if (!dc.Prepare()) return true;
    QPainterPathStroker stroker;
    stroker.setWidth(2 * w);
    dc.Painter().fillPath(stroker.createStroke(area).intersected(area), dc.MakeBrush(brush));
    return true;
  }
  case EMR_INVERTRGN: {
    QPainterPath area = RecordRegion(dc, RegionRecordView(rec));
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
