#include "Mapping.h"

#include <cmath>

void ApplyMapMode(TDCState& s, int32_t mode, QSize px, QSize mm) {
  if (mode < MM_TEXT || mode > MM_ANISOTROPIC) return;
  s.MapMode = mode;
  double unitsPerMm = 0;
  switch (mode) {
  case MM_TEXT:
    s.WindowExt = s.ViewportExt = QSizeF(1, 1);
    return;
  case MM_ANISOTROPIC:
    return; // keeps the extents it had
  case MM_LOMETRIC:
  case MM_ISOTROPIC:
    unitsPerMm = 10;
    break;
  case MM_HIMETRIC:
    unitsPerMm = 100;
    break;
  case MM_LOENGLISH:
    unitsPerMm = 100 / 25.4;
    break;
  case MM_HIENGLISH:
    unitsPerMm = 1000 / 25.4;
    break;
  case MM_TWIPS:
    unitsPerMm = 1440 / 25.4;
    break;
  }
  double mmW = mm.width() > 0 ? mm.width() : 320, mmH = mm.height() > 0 ? mm.height() : 240;
  double pxW = px.width() > 0 ? px.width() : 1280, pxH = px.height() > 0 ? px.height() : 1024;
  s.WindowExt = QSizeF(mmW * unitsPerMm, mmH * unitsPerMm);
  s.ViewportExt = QSizeF(pxW, -pxH);
}

QTransform PageToDevice(const TDCState& s) {
  double wx = s.WindowExt.width(), wy = s.WindowExt.height();
  double vx = s.ViewportExt.width(), vy = s.ViewportExt.height();
  double sx = wx != 0 ? vx / wx : 1, sy = wy != 0 ? vy / wy : 1;
  if (s.MapMode == MM_ISOTROPIC && sx != 0 && sy != 0) {
    double m = std::min(std::fabs(sx), std::fabs(sy));
    sx = std::copysign(m, sx);
    sy = std::copysign(m, sy);
  }
  // x_dev = (x - wox) * sx + vox
  return QTransform(sx, 0, 0, sy, s.ViewportOrg.x() - s.WindowOrg.x() * sx,
                    s.ViewportOrg.y() - s.WindowOrg.y() * sy);
}
