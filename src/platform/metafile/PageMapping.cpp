#include "PageMapping.h"

#include <algorithm>
#include <cmath>

namespace emf {

TReferenceDevice::TReferenceDevice(double pixelsX, double pixelsY, double millimetresX, double millimetresY)
    : PixelsX(pixelsX > 0 ? pixelsX : 1280), PixelsY(pixelsY > 0 ? pixelsY : 1024),
      MillimetresX(millimetresX > 0 ? millimetresX : 320),
      MillimetresY(millimetresY > 0 ? millimetresY : 240) {}

bool MapModeExtents(int32_t mode, const TReferenceDevice& device, TPageSize& window, TPageSize& viewport) {
  double unitsPerMm = 0;
  switch (mode) {
  case MM_TEXT:
    window = viewport = TPageSize{1, 1};
    return true;
  case MM_ANISOTROPIC:
    return true; // keeps the extents it had
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
  default:
    return false;
  }
  window = TPageSize{device.MillimetresX * unitsPerMm, device.MillimetresY * unitsPerMm};
  viewport = TPageSize{device.PixelsX, -device.PixelsY};
  return true;
}

TPageSize PageScale(int32_t mode, const TPageSize& window, const TPageSize& viewport) {
  double sx = window.cx != 0 ? viewport.cx / window.cx : 1, sy = window.cy != 0 ? viewport.cy / window.cy : 1;
  if (mode == MM_ISOTROPIC && sx != 0 && sy != 0) {
    double m = std::min(std::fabs(sx), std::fabs(sy));
    sx = std::copysign(m, sx);
    sy = std::copysign(m, sy);
  }
  return {sx, sy};
}

TPageSize EffectiveViewportExt(int32_t mode, const TPageSize& window, const TPageSize& viewport) {
  if (mode != MM_ISOTROPIC || window.cx == 0 || window.cy == 0) return viewport;
  TPageSize s = PageScale(mode, window, viewport);
  return {s.cx * window.cx, s.cy * window.cy};
}

bool TPageMapping::SetMapMode(int32_t mode) {
  if (!MapModeExtents(mode, FDevice, FWindowExt, FViewportExt)) return false;
  FMode = mode;
  return true;
}

bool TPageMapping::SetWindowExt(double cx, double cy) {
  if (!ScalableMapMode(FMode) || cx == 0 || cy == 0) return false;
  FWindowExt = {cx, cy};
  return true;
}

bool TPageMapping::SetViewportExt(double cx, double cy) {
  if (!ScalableMapMode(FMode) || cx == 0 || cy == 0) return false;
  FViewportExt = {cx, cy};
  return true;
}

double TPageMapping::ToDeviceX(double x) const {
  double d = x - FWindowOrg.x;
  double v = EffectiveViewportExt(FMode, FWindowExt, FViewportExt).cx;
  return (FWindowExt.cx != 0 ? d * v / FWindowExt.cx : d) + FViewportOrg.x;
}

double TPageMapping::ToDeviceY(double y) const {
  double d = y - FWindowOrg.y;
  double v = EffectiveViewportExt(FMode, FWindowExt, FViewportExt).cy;
  return (FWindowExt.cy != 0 ? d * v / FWindowExt.cy : d) + FViewportOrg.y;
}

} // namespace emf
