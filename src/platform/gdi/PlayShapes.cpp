// Lines, polygons, Béziers, arcs and closed figures; single pixels; gradients.
#include <QLinearGradient>
#include <algorithm>
#include <cmath>

#include "Arcs.h"
#include "PlayRecords.h"
#include "RecordQt.h"

namespace {
// Arcs run counter-clockwise on the device unless the context says otherwise; a mirroring mapping turns
// the logical direction round.
bool Clockwise(TGdiDC& dc) {
  const QTransform& f = dc.LogicalToOutput();
  bool mirrored = f.m11() * f.m22() - f.m12() * f.m21() < 0;
  return (dc.State().ArcDirection == AD_CLOCKWISE) != mirrored;
}

// Adds cubic Bézier segments (three points each) to the path from its current point.
void AddBeziers(QPainterPath& path, const QVector<QPointF>& pts, int from) {
  for (int i = from; i + 2 < pts.size(); i += 3)
    path.cubicTo(pts[i], pts[i + 1], pts[i + 2]);
}

// A figure continuing from the current position (the ...TO records): appended to the path being recorded
// or stroked on its own; the current position moves to its end.
void DrawFromCurrent(TGdiDC& dc, const QPainterPath& logical, QPointF end) {
  dc.State().CurrentPos = end;
  if (!dc.TransformUsable()) return;
  if (dc.InPath()) {
    QPainterPath out = dc.LogicalToOutput().map(logical);
    QPainterPath& path = dc.CurrentPath();
    if (path.elementCount() == 0)
      path = out;
    else
      path.connectPath(out);
  } else {
    dc.StrokeOutputPath(dc.LogicalToOutput().map(logical));
  }
}

void PlayPoly(TGdiDC& dc, uint32_t type, ByteView rec) {
  QVector<QPointF> pts = ToQt(PolyView(rec).Points());
  if (pts.isEmpty()) return;
  uint32_t base = IsPoint16Record(type) ? type - EMR_POLYBEZIER16 + EMR_POLYBEZIER : type;
  QPainterPath path;
  switch (base) {
  case EMR_POLYLINE:
  case EMR_POLYGON:
    path.addPolygon(QPolygonF(pts));
    if (base == EMR_POLYGON) {
      path.closeSubpath();
      dc.DrawFigure(path, true, true);
    } else {
      dc.DrawFigure(path, false, true);
    }
    return;
  case EMR_POLYBEZIER:
    path.moveTo(pts[0]);
    AddBeziers(path, pts, 1);
    dc.DrawFigure(path, false, true);
    return;
  case EMR_POLYLINETO:
    path.moveTo(dc.State().CurrentPos);
    for (QPointF p : pts)
      path.lineTo(p);
    DrawFromCurrent(dc, path, pts.back());
    return;
  case EMR_POLYBEZIERTO: {
    path.moveTo(dc.State().CurrentPos);
    AddBeziers(path, pts, 0);
    int used = pts.size() / 3 * 3;
    DrawFromCurrent(dc, path, used > 0 ? pts[used - 1] : dc.State().CurrentPos);
    return;
  }
  }
}

void PlayPolyPoly(TGdiDC& dc, uint32_t type, ByteView rec) {
  PolyPolyView v(rec);
  Span<uint32_t> counts = v.Counts();
  QVector<QPointF> pts = ToQt(v.Points());
  uint32_t total = v.PointCount();
  QPainterPath path;
  uint64_t used = 0;
  bool polygon = type == EMR_POLYPOLYGON || type == EMR_POLYPOLYGON16;
  for (uint32_t n : counts) {
    if (used + n > total) throw EBadRecord("polygon counts exceed the point count", ERROR_INVALID_PARAMETER);
    if (n > 0) {
      path.addPolygon(QPolygonF(pts.mid(static_cast<int>(used), static_cast<int>(n))));
      if (polygon) path.closeSubpath();
    }
    used += n;
  }
  dc.DrawFigure(path, polygon, true);
}

void PlayPolyDraw(TGdiDC& dc, ByteView rec) {
  PolyDrawView v(rec);
  uint32_t count = v.Count();
  QVector<QPointF> pts = ToQt(v.Points());
  Span<uint8_t> types = v.Types();
  QPainterPath path;
  path.moveTo(dc.State().CurrentPos);
  QPointF start = dc.State().CurrentPos;
  for (uint32_t i = 0; i < count; ++i) {
    uint8_t t = types[i];
    switch (t & ~PT_CLOSEFIGURE) {
    case PT_MOVETO:
      path.moveTo(pts[i]);
      start = pts[i];
      break;
    case PT_LINETO:
      path.lineTo(pts[i]);
      break;
    case PT_BEZIERTO:
      if (i + 2 < count) {
        path.cubicTo(pts[i], pts[i + 1], pts[i + 2]);
        i += 2;
        t = types[i];
      }
      break;
    default:
      throw EBadRecord("unknown point type", ERROR_INVALID_PARAMETER);
    }
    if (t & PT_CLOSEFIGURE) {
      path.closeSubpath();
      path.moveTo(start);
    }
  }
  DrawFromCurrent(dc, path, count > 0 ? pts.back() : dc.State().CurrentPos);
}

void PlayArcFamily(TGdiDC& dc, uint32_t type, ByteView rec) {
  ArcView v(rec);
  QRectF box = ToQt(v.Box()).normalized();
  QPointF start = ToQt(v.Start()), end = ToQt(v.End());
  bool cw = Clockwise(dc);
  QPainterPath path;
  switch (type) {
  case EMR_ARC:
    AddGdiArc(path, box, start, end, cw, false);
    dc.DrawFigure(path, false, true);
    return;
  case EMR_CHORD:
    AddGdiArc(path, box, start, end, cw, false);
    path.closeSubpath();
    dc.DrawFigure(path, true, true);
    return;
  case EMR_PIE:
    path.moveTo(box.center());
    AddGdiArc(path, box, start, end, cw, true);
    path.closeSubpath();
    dc.DrawFigure(path, true, true);
    return;
  case EMR_ARCTO:
    path.moveTo(dc.State().CurrentPos);
    AddGdiArc(path, box, start, end, cw, true);
    DrawFromCurrent(dc, path, path.currentPosition());
    return;
  }
}

void PlayAngleArc(TGdiDC& dc, ByteView rec) {
  AngleArcView v(rec);
  QPointF c = ToQt(v.Center());
  double r = v.Radius();
  float a0 = v.StartAngle(), sweep = v.SweepAngle();
  if (!std::isfinite(a0) || !std::isfinite(sweep) || r > 1e9)
    throw EBadRecord("bad arc", ERROR_INVALID_PARAMETER);
  QRectF box(c.x() - r, c.y() - r, 2 * r, 2 * r);
  QPainterPath path;
  path.moveTo(dc.State().CurrentPos);
  path.arcTo(box, a0, 0);
  path.arcTo(box, a0, std::fmod(sweep, 3600.0f));
  DrawFromCurrent(dc, path, path.currentPosition());
}

void PlaySetPixel(TGdiDC& dc, ByteView rec) {
  SetPixelView v(rec);
  QPointF p = dc.LogicalToOutput().map(ToQt(v.Pixel()));
  if (!dc.Prepare()) return;
  QRectF px(std::floor(p.x()), std::floor(p.y()), std::max(1.0, dc.LogicalScale()),
            std::max(1.0, dc.LogicalScale()));
  dc.Painter().fillRect(px, ColorRefToQColor(v.Color()));
}

QColor VertexColor(const TriVertex& v) {
  return QColor(v.red >> 8, v.green >> 8, v.blue >> 8);
}

void PlayGradientFill(TGdiDC& dc, ByteView rec) {
  GradientFillView v(rec);
  uint32_t mode = v.Mode();
  Span<TriVertex> vertices = v.Vertices();
  // Each rectangle or triangle is a gradient painted on its own: their number bounds the work.
  const uint64_t items = uint64_t(v.VertexCount()) + v.MeshCount();
  if (items > dc.Limits().GradientItems) {
    dc.NoteOverLimit("gradient of " + std::to_string(items) +
                     " vertices and shapes, more than a page may draw at once");
    return;
  }
  const QTransform& f = dc.LogicalToOutput();
  if (!dc.Prepare(false)) return;
  auto vertex = [&](uint32_t i) {
    if (i >= vertices.size()) throw EBadRecord("gradient vertex index out of range", ERROR_INVALID_PARAMETER);
    return vertices[i];
  };
  if (mode == GRADIENT_FILL_RECT_H || mode == GRADIENT_FILL_RECT_V) {
    for (GradientRect r : v.Rects()) {
      TriVertex v0 = vertex(r.upperLeft), v1 = vertex(r.lowerRight);
      QPointF p0(v0.x, v0.y), p1(v1.x, v1.y);
      QLinearGradient g(
          f.map(p0), f.map(mode == GRADIENT_FILL_RECT_H ? QPointF(p1.x(), p0.y()) : QPointF(p0.x(), p1.y())));
      g.setColorAt(0, VertexColor(v0));
      g.setColorAt(1, VertexColor(v1));
      QPainterPath box;
      box.addRect(QRectF(p0, p1).normalized());
      dc.Painter().fillPath(f.map(box), g);
    }
  } else if (mode ==
             GRADIENT_FILL_TRIANGLE) { // triangles, shaded by splitting each into small flat-coloured ones
    Span<GradientTriangle> triangles = v.Triangles();
    uint32_t nTri = static_cast<uint32_t>(triangles.size());
    int steps = static_cast<int>(std::clamp<uint32_t>(4000 / std::max<uint32_t>(nTri, 1), 1, 24));
    for (GradientTriangle tri : triangles) {
      QPointF p[3];
      double c[3][3];
      const uint32_t corners[3] = {tri.vertex1, tri.vertex2, tri.vertex3};
      for (int j = 0; j < 3; ++j) {
        TriVertex tv = vertex(corners[j]);
        p[j] = f.map(QPointF(tv.x, tv.y));
        QColor col = VertexColor(tv);
        c[j][0] = col.red();
        c[j][1] = col.green();
        c[j][2] = col.blue();
      }
      // Barycentric grid: point (i, j) is p0 + i/n (p1 - p0) + j/n (p2 - p0).
      auto at2 = [&](double i, double j) {
        return p[0] + (p[1] - p[0]) * (i / steps) + (p[2] - p[0]) * (j / steps);
      };
      auto colour = [&](double i, double j) {
        double a = i / steps, b = j / steps, w0 = 1 - a - b;
        return QColor::fromRgb(std::clamp(int(w0 * c[0][0] + a * c[1][0] + b * c[2][0] + 0.5), 0, 255),
                               std::clamp(int(w0 * c[0][1] + a * c[1][1] + b * c[2][1] + 0.5), 0, 255),
                               std::clamp(int(w0 * c[0][2] + a * c[1][2] + b * c[2][2] + 0.5), 0, 255));
      };
      dc.Painter().setRenderHint(QPainter::Antialiasing, false);
      for (int i = 0; i < steps; ++i)
        for (int j = 0; i + j < steps; ++j) {
          QPolygonF up{at2(i, j), at2(i + 1, j), at2(i, j + 1)};
          dc.Painter().setPen(Qt::NoPen);
          dc.Painter().setBrush(colour(i + 1.0 / 3, j + 1.0 / 3));
          dc.Painter().drawPolygon(up);
          if (i + j + 1 < steps) {
            QPolygonF down{at2(i + 1, j), at2(i + 1, j + 1), at2(i, j + 1)};
            dc.Painter().setBrush(colour(i + 2.0 / 3, j + 2.0 / 3));
            dc.Painter().drawPolygon(down);
          }
        }
    }
  } else {
    throw EBadRecord("unknown gradient mode", ERROR_INVALID_PARAMETER);
  }
}
} // namespace

bool PlayShapeRecord(TPlayContext& ctx, uint32_t type, ByteView rec) {
  TGdiDC& dc = ctx.dc;
  switch (type) {
  case EMR_POLYBEZIER:
  case EMR_POLYGON:
  case EMR_POLYLINE:
  case EMR_POLYBEZIERTO:
  case EMR_POLYLINETO:
  case EMR_POLYBEZIER16:
  case EMR_POLYGON16:
  case EMR_POLYLINE16:
  case EMR_POLYBEZIERTO16:
  case EMR_POLYLINETO16:
    PlayPoly(dc, type, rec);
    return true;
  case EMR_POLYPOLYLINE:
  case EMR_POLYPOLYGON:
  case EMR_POLYPOLYLINE16:
  case EMR_POLYPOLYGON16:
    PlayPolyPoly(dc, type, rec);
    return true;
  case EMR_POLYDRAW:
  case EMR_POLYDRAW16:
    PlayPolyDraw(dc, rec);
    return true;
  case EMR_LINETO: {
    QPointF to = ToQt(PointRecordView(rec).Point());
    QPainterPath path;
    path.moveTo(dc.State().CurrentPos);
    path.lineTo(to);
    DrawFromCurrent(dc, path, to);
    return true;
  }
  case EMR_RECTANGLE:
  case EMR_ELLIPSE: {
    QPainterPath path;
    QRectF r = ToQt(RectRecordView(rec).Rect()).normalized();
    if (type == EMR_RECTANGLE)
      path.addRect(r);
    else
      path.addEllipse(r);
    dc.DrawFigure(path, true, true);
    return true;
  }
  case EMR_ROUNDRECT: {
    QPainterPath path;
    RoundRectView v(rec);
    QRectF r = ToQt(v.Box()).normalized();
    path.addRoundedRect(r, std::fabs(v.Corner().cx) / 2.0, std::fabs(v.Corner().cy) / 2.0);
    dc.DrawFigure(path, true, true);
    return true;
  }
  case EMR_ARC:
  case EMR_CHORD:
  case EMR_PIE:
  case EMR_ARCTO:
    PlayArcFamily(dc, type, rec);
    return true;
  case EMR_ANGLEARC:
    PlayAngleArc(dc, rec);
    return true;
  case EMR_SETPIXELV:
    PlaySetPixel(dc, rec);
    return true;
  case EMR_GRADIENTFILL:
    PlayGradientFill(dc, rec);
    return true;
  default:
    return false;
  }
}
