// Lines, polygons, Béziers, arcs and closed figures; single pixels; gradients.
#include <QLinearGradient>
#include <algorithm>
#include <cmath>

#include "Arcs.h"
#include "PlayRecords.h"
#include "RecordReader.h"

namespace {
bool IsShort(uint32_t type) {
  return type >= emr::POLYBEZIER16 && type <= emr::POLYDRAW16;
}

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
  bool s = IsShort(type);
  uint32_t count = rec.U32(24);
  QVector<QPointF> pts = ReadPoints(rec, 28, count, s);
  if (pts.isEmpty()) return;
  uint32_t base = s ? type - emr::POLYBEZIER16 + emr::POLYBEZIER : type;
  QPainterPath path;
  switch (base) {
  case emr::POLYLINE:
  case emr::POLYGON:
    path.addPolygon(QPolygonF(pts));
    if (base == emr::POLYGON) {
      path.closeSubpath();
      dc.DrawFigure(path, true, true);
    } else {
      dc.DrawFigure(path, false, true);
    }
    return;
  case emr::POLYBEZIER:
    path.moveTo(pts[0]);
    AddBeziers(path, pts, 1);
    dc.DrawFigure(path, false, true);
    return;
  case emr::POLYLINETO:
    path.moveTo(dc.State().CurrentPos);
    for (QPointF p : pts)
      path.lineTo(p);
    DrawFromCurrent(dc, path, pts.back());
    return;
  case emr::POLYBEZIERTO: {
    path.moveTo(dc.State().CurrentPos);
    AddBeziers(path, pts, 0);
    int used = pts.size() / 3 * 3;
    DrawFromCurrent(dc, path, used > 0 ? pts[used - 1] : dc.State().CurrentPos);
    return;
  }
  }
}

void PlayPolyPoly(TGdiDC& dc, uint32_t type, ByteView rec) {
  uint32_t polys = rec.U32(24), total = rec.U32(28);
  rec.Check(32, static_cast<size_t>(polys) * 4);
  QVector<QPointF> pts = ReadPoints(rec, 32 + static_cast<size_t>(polys) * 4, total, IsShort(type));
  QPainterPath path;
  uint64_t used = 0;
  bool polygon = type == emr::POLYPOLYGON || type == emr::POLYPOLYGON16;
  for (uint32_t i = 0; i < polys; ++i) {
    uint32_t n = rec.U32(32 + 4 * i);
    if (used + n > total) throw EBadRecord("polygon counts exceed the point count", ERROR_INVALID_PARAMETER);
    if (n > 0) {
      path.addPolygon(QPolygonF(pts.mid(static_cast<int>(used), static_cast<int>(n))));
      if (polygon) path.closeSubpath();
    }
    used += n;
  }
  dc.DrawFigure(path, polygon, true);
}

void PlayPolyDraw(TGdiDC& dc, uint32_t type, ByteView rec) {
  uint32_t count = rec.U32(24);
  bool s = type == emr::POLYDRAW16;
  QVector<QPointF> pts = ReadPoints(rec, 28, count, s);
  size_t typesAt = 28 + static_cast<size_t>(count) * (s ? 4 : 8);
  rec.Check(typesAt, count);
  QPainterPath path;
  path.moveTo(dc.State().CurrentPos);
  QPointF start = dc.State().CurrentPos;
  for (uint32_t i = 0; i < count; ++i) {
    uint8_t t = rec.U8(typesAt + i);
    switch (t & ~1u) {
    case 6: // PT_MOVETO
      path.moveTo(pts[i]);
      start = pts[i];
      break;
    case 2: // PT_LINETO
      path.lineTo(pts[i]);
      break;
    case 4: // PT_BEZIERTO
      if (i + 2 < count) {
        path.cubicTo(pts[i], pts[i + 1], pts[i + 2]);
        i += 2;
        t = rec.U8(typesAt + i);
      }
      break;
    default:
      throw EBadRecord("unknown point type", ERROR_INVALID_PARAMETER);
    }
    if (t & 1) { // PT_CLOSEFIGURE
      path.closeSubpath();
      path.moveTo(start);
    }
  }
  DrawFromCurrent(dc, path, count > 0 ? pts.back() : dc.State().CurrentPos);
}

void PlayArcFamily(TGdiDC& dc, uint32_t type, ByteView rec) {
  QRectF box = ReadRectL(rec, 8).normalized();
  QPointF start = ReadPointL(rec, 24), end = ReadPointL(rec, 32);
  bool cw = Clockwise(dc);
  QPainterPath path;
  switch (type) {
  case emr::ARC:
    AddGdiArc(path, box, start, end, cw, false);
    dc.DrawFigure(path, false, true);
    return;
  case emr::CHORD:
    AddGdiArc(path, box, start, end, cw, false);
    path.closeSubpath();
    dc.DrawFigure(path, true, true);
    return;
  case emr::PIE:
    path.moveTo(box.center());
    AddGdiArc(path, box, start, end, cw, true);
    path.closeSubpath();
    dc.DrawFigure(path, true, true);
    return;
  case emr::ARCTO:
    path.moveTo(dc.State().CurrentPos);
    AddGdiArc(path, box, start, end, cw, true);
    DrawFromCurrent(dc, path, path.currentPosition());
    return;
  }
}

void PlayAngleArc(TGdiDC& dc, ByteView rec) {
  QPointF c = ReadPointL(rec, 8);
  double r = rec.U32(16);
  float a0 = rec.F32(20), sweep = rec.F32(24);
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
  QPointF p = dc.LogicalToOutput().map(ReadPointL(rec, 8));
  if (!dc.Prepare()) return;
  QRectF px(std::floor(p.x()), std::floor(p.y()), std::max(1.0, dc.LogicalScale()),
            std::max(1.0, dc.LogicalScale()));
  dc.Painter().fillRect(px, ColorRefToQColor(rec.U32(16)));
}

QColor VertexColor(ByteView rec, size_t at) {
  return QColor(rec.U16(at + 8) >> 8, rec.U16(at + 10) >> 8, rec.U16(at + 12) >> 8);
}

void PlayGradientFill(TGdiDC& dc, ByteView rec) {
  uint32_t nVer = rec.U32(24), nTri = rec.U32(28), mode = rec.U32(32);
  rec.Check(36, static_cast<size_t>(nVer) * 16);
  size_t at = 36 + static_cast<size_t>(nVer) * 16;
  const QTransform& f = dc.LogicalToOutput();
  if (!dc.Prepare(false)) return;
  auto vertex = [&](uint32_t i) {
    if (i >= nVer) throw EBadRecord("gradient vertex index out of range", ERROR_INVALID_PARAMETER);
    return 36 + static_cast<size_t>(i) * 16;
  };
  if (mode == 0 || mode == 1) { // GRADIENT_FILL_RECT_H, _V
    rec.Check(at, static_cast<size_t>(nTri) * 8);
    for (uint32_t k = 0; k < nTri; ++k) {
      size_t v0 = vertex(rec.U32(at + 8 * k)), v1 = vertex(rec.U32(at + 8 * k + 4));
      QPointF p0 = ReadPointL(rec, v0), p1 = ReadPointL(rec, v1);
      QLinearGradient g(f.map(p0), f.map(mode == 0 ? QPointF(p1.x(), p0.y()) : QPointF(p0.x(), p1.y())));
      g.setColorAt(0, VertexColor(rec, v0));
      g.setColorAt(1, VertexColor(rec, v1));
      QPainterPath box;
      box.addRect(QRectF(p0, p1).normalized());
      dc.Painter().fillPath(f.map(box), g);
    }
  } else if (mode == 2) { // triangles, shaded by splitting each into small flat-coloured ones
    rec.Check(at, static_cast<size_t>(nTri) * 12);
    int steps = static_cast<int>(std::clamp<uint32_t>(4000 / std::max<uint32_t>(nTri, 1), 1, 24));
    for (uint32_t k = 0; k < nTri; ++k) {
      QPointF p[3];
      double c[3][3];
      for (int j = 0; j < 3; ++j) {
        size_t v = vertex(rec.U32(at + 12 * k + 4 * j));
        p[j] = f.map(ReadPointL(rec, v));
        QColor col = VertexColor(rec, v);
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
  case emr::POLYBEZIER:
  case emr::POLYGON:
  case emr::POLYLINE:
  case emr::POLYBEZIERTO:
  case emr::POLYLINETO:
  case emr::POLYBEZIER16:
  case emr::POLYGON16:
  case emr::POLYLINE16:
  case emr::POLYBEZIERTO16:
  case emr::POLYLINETO16:
    PlayPoly(dc, type, rec);
    return true;
  case emr::POLYPOLYLINE:
  case emr::POLYPOLYGON:
  case emr::POLYPOLYLINE16:
  case emr::POLYPOLYGON16:
    PlayPolyPoly(dc, type, rec);
    return true;
  case emr::POLYDRAW:
  case emr::POLYDRAW16:
    PlayPolyDraw(dc, type, rec);
    return true;
  case emr::LINETO: {
    QPointF to = ReadPointL(rec, 8);
    QPainterPath path;
    path.moveTo(dc.State().CurrentPos);
    path.lineTo(to);
    DrawFromCurrent(dc, path, to);
    return true;
  }
  case emr::RECTANGLE:
  case emr::ELLIPSE: {
    QPainterPath path;
    QRectF r = ReadRectL(rec, 8).normalized();
    if (type == emr::RECTANGLE)
      path.addRect(r);
    else
      path.addEllipse(r);
    dc.DrawFigure(path, true, true);
    return true;
  }
  case emr::ROUNDRECT: {
    QPainterPath path;
    QRectF r = ReadRectL(rec, 8).normalized();
    path.addRoundedRect(r, std::fabs(rec.I32(24)) / 2.0, std::fabs(rec.I32(28)) / 2.0);
    dc.DrawFigure(path, true, true);
    return true;
  }
  case emr::ARC:
  case emr::CHORD:
  case emr::PIE:
  case emr::ARCTO:
    PlayArcFamily(dc, type, rec);
    return true;
  case emr::ANGLEARC:
    PlayAngleArc(dc, rec);
    return true;
  case emr::SETPIXELV:
    PlaySetPixel(dc, rec);
    return true;
  case emr::GRADIENTFILL:
    PlayGradientFill(dc, rec);
    return true;
  default:
    return false;
  }
}
