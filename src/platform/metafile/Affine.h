#pragma once
#include <cmath>

// An affine map of the plane in the order metafiles store one (XFORM): x' = x * m11 + y * m21 + dx,
// y' = x * m12 + y * m22 + dy.
struct TAffine {
  double m11 = 1, m12 = 0, m21 = 0, m22 = 1, dx = 0, dy = 0;
  double Det() const { return m11 * m22 - m12 * m21; }
  bool Finite() const {
    for (double v : {m11, m12, m21, m22, dx, dy})
      if (!std::isfinite(v)) return false;
    return true;
  }
  void Map(double x, double y, double& ox, double& oy) const {
    ox = x * m11 + y * m21 + dx;
    oy = x * m12 + y * m22 + dy;
  }
};

// `first` applied, then `second`.
inline TAffine Then(const TAffine& first, const TAffine& second) {
  return {first.m11 * second.m11 + first.m12 * second.m21,
          first.m11 * second.m12 + first.m12 * second.m22,
          first.m21 * second.m11 + first.m22 * second.m21,
          first.m21 * second.m12 + first.m22 * second.m22,
          first.dx * second.m11 + first.dy * second.m21 + second.dx,
          first.dx * second.m12 + first.dy * second.m22 + second.dy};
}
