#include "EmfMapping.h"

#include <cmath>
#include <cstdlib>

#include "EmfConstants.h"

using namespace emf;

TEmfMapping::TEmfMapping(TEmfSize devicePixels, TEmfSize deviceMillimetres)
    : FDevice(devicePixels), FMillimetres(deviceMillimetres) {}

// Fixed modes map a unit of known length onto the device with y growing upwards.
void TEmfMapping::SetFixedExtents(int32_t unitsPerMillimetreTimes100) {
  FWindowExt = {static_cast<int32_t>(int64_t(FMillimetres.cx) * unitsPerMillimetreTimes100 / 100),
                static_cast<int32_t>(int64_t(FMillimetres.cy) * unitsPerMillimetreTimes100 / 100)};
  FViewportExt = {FDevice.cx, -FDevice.cy};
}

void TEmfMapping::SetMapMode(int32_t mode) {
  switch (mode) {
  case MM_TEXT:
    FWindowExt = FViewportExt = {1, 1};
    break;
  case MM_LOMETRIC:
    SetFixedExtents(1000);
    break; // 0.1 mm
  case MM_HIMETRIC:
    SetFixedExtents(10000);
    break; // 0.01 mm
  case MM_LOENGLISH:
    SetFixedExtents(394);
    break; // 0.01 inch
  case MM_HIENGLISH:
    SetFixedExtents(3937);
    break; // 0.001 inch
  case MM_TWIPS:
    SetFixedExtents(5669);
    break; // 1/1440 inch
  case MM_ISOTROPIC:
  case MM_ANISOTROPIC:
    break; // keep the current extents
  default:
    return;
  }
  FMode = mode;
}

void TEmfMapping::SetWindowExt(int32_t cx, int32_t cy) {
  if ((FMode == MM_ISOTROPIC || FMode == MM_ANISOTROPIC) && cx != 0 && cy != 0) FWindowExt = {cx, cy};
}
void TEmfMapping::SetViewportExt(int32_t cx, int32_t cy) {
  if ((FMode == MM_ISOTROPIC || FMode == MM_ANISOTROPIC) && cx != 0 && cy != 0) FViewportExt = {cx, cy};
}
void TEmfMapping::SetWindowOrg(int32_t x, int32_t y) {
  FWindowOrg = {x, y};
}
void TEmfMapping::SetViewportOrg(int32_t x, int32_t y) {
  FViewportOrg = {x, y};
}

TEmfSize TEmfMapping::EffectiveViewportExt() const {
  TEmfSize v = FViewportExt;
  if (FMode != MM_ISOTROPIC) return v;
  // Both axes take the smaller of the two scales, keeping their signs.
  double sx = std::abs(double(v.cx) / FWindowExt.cx), sy = std::abs(double(v.cy) / FWindowExt.cy);
  if (sx < sy)
    v.cy = (v.cy < 0 ? -1 : 1) * static_cast<int32_t>(std::lround(sx * std::abs(FWindowExt.cy)));
  else
    v.cx = (v.cx < 0 ? -1 : 1) * static_cast<int32_t>(std::lround(sy * std::abs(FWindowExt.cx)));
  return v;
}

double TEmfMapping::ToDeviceX(double x) const {
  return (x - FWindowOrg.cx) * EffectiveViewportExt().cx / FWindowExt.cx + FViewportOrg.cx;
}
double TEmfMapping::ToDeviceY(double y) const {
  return (y - FWindowOrg.cy) * EffectiveViewportExt().cy / FWindowExt.cy + FViewportOrg.cy;
}
double TEmfMapping::ScaleX() const {
  return std::abs(double(EffectiveViewportExt().cx) / FWindowExt.cx);
}
double TEmfMapping::ScaleY() const {
  return std::abs(double(EffectiveViewportExt().cy) / FWindowExt.cy);
}
