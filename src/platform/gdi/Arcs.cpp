#include "Arcs.h"

#include <cmath>

namespace {
constexpr double kPi = 3.14159265358979323846;

// Qt's parametric angle (degrees, counter-clockwise on a y-down device) of the ray through p.
double ParamAngle(const QRectF& box, QPointF p) {
  QPointF c = box.center();
  double rx = box.width() / 2, ry = box.height() / 2;
  if (rx <= 0 || ry <= 0) return 0;
  return std::atan2(-(p.y() - c.y()) / ry, (p.x() - c.x()) / rx) * 180 / kPi;
}
} // namespace

QPointF ArcEndPoint(const QRectF& box, QPointF end) {
  double a = ParamAngle(box, end) * kPi / 180;
  QPointF c = box.center();
  return QPointF(c.x() + box.width() / 2 * std::cos(a), c.y() - box.height() / 2 * std::sin(a));
}

void AddGdiArc(QPainterPath& path, const QRectF& box, QPointF start, QPointF end, bool clockwise,
               bool connect) {
  QRectF r = box.normalized();
  double a0 = ParamAngle(r, start), a1 = ParamAngle(r, end);
  double sweep = a1 - a0;
  if (clockwise) {
    while (sweep >= 0)
      sweep -= 360;
  } else {
    while (sweep <= 0)
      sweep += 360;
  }
  if (connect) {
    path.arcTo(r, a0, 0); // a line to the start of the arc
  } else {
    path.arcMoveTo(r, a0);
  }
  path.arcTo(r, a0, sweep);
}
