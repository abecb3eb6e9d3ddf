#include "pdf/PdfArcs.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double Pi = 3.14159265358979323846;

// The point of the ellipse at parametric angle a (y up on the unit circle, y down on the plane).
TArcPoint At(double cx, double cy, double rx, double ry, double u, double v) {
  return {cx + rx * u, cy - ry * v};
}

} // namespace

TArcCurves EllipseArc(double cx, double cy, double rx, double ry, double a0, double sweep) {
  TArcCurves result;
  if (!std::isfinite(cx) || !std::isfinite(cy) || !std::isfinite(rx) || !std::isfinite(ry) ||
      !std::isfinite(a0) || !std::isfinite(sweep))
    return result;
  sweep = std::clamp(sweep, -2 * Pi, 2 * Pi);
  result.Start = At(cx, cy, rx, ry, std::cos(a0), std::sin(a0));
  int segments = std::max(1, static_cast<int>(std::ceil(std::fabs(sweep) / (Pi / 2) - 1e-9)));
  double step = sweep / segments;
  // Control distance of a cubic approximating an arc of `step` radians on the unit circle.
  double k = 4.0 / 3.0 * std::tan(step / 4);
  double a = a0;
  for (int i = 0; i < segments; ++i) {
    double b = a + step;
    double ca = std::cos(a), sa = std::sin(a), cb = std::cos(b), sb = std::sin(b);
    result.Curves.push_back({At(cx, cy, rx, ry, ca - k * sa, sa + k * ca),
                             At(cx, cy, rx, ry, cb + k * sb, sb - k * cb), At(cx, cy, rx, ry, cb, sb)});
    a = b;
  }
  return result;
}

TArcCurves GdiArc(double left, double top, double right, double bottom, TArcPoint start, TArcPoint end,
                  bool clockwise) {
  double l = std::min(left, right), r = std::max(left, right);
  double t = std::min(top, bottom), b = std::max(top, bottom);
  double rx = (r - l) / 2, ry = (b - t) / 2;
  if (!(rx > 0) || !(ry > 0)) return {};
  double cx = l + rx, cy = t + ry;
  // Parametric angles of the rays (y up).
  double a0 = std::atan2(-(start.y - cy) / ry, (start.x - cx) / rx);
  double a1 = std::atan2(-(end.y - cy) / ry, (end.x - cx) / rx);
  double sweep = a1 - a0;
  if (clockwise) {
    while (sweep >= 0)
      sweep -= 2 * Pi;
  } else {
    while (sweep <= 0)
      sweep += 2 * Pi;
  }
  return EllipseArc(cx, cy, rx, ry, a0, sweep);
}
