#pragma once
// The mapping from logical to device units that a device context applies: mapping mode, window and
// viewport extents and origins. The writer keeps one to compute the device-unit bounds of what it records.
#include <cstdint>

#include "platform/metafile/Metafile.h"

class TEmfMapping {
 public:
  // Device: the reference device in pixels and in millimetres (the fixed metric and English modes scale
  // by them, as GDI does).
  TEmfMapping(TEmfSize devicePixels, TEmfSize deviceMillimetres);

  // Unknown modes are ignored. Extents apply only in the isotropic and anisotropic modes; zero extents are
  // refused, as the host refuses them.
  void SetMapMode(int32_t mode);
  void SetWindowExt(int32_t cx, int32_t cy);
  void SetViewportExt(int32_t cx, int32_t cy);
  void SetWindowOrg(int32_t x, int32_t y);
  void SetViewportOrg(int32_t x, int32_t y);
  int32_t MapMode() const { return FMode; }

  double ToDeviceX(double x) const;
  double ToDeviceY(double y) const;
  // Device units per logical unit, as magnitudes (for pen widths and text heights).
  double ScaleX() const;
  double ScaleY() const;

 private:
  // Viewport extent after the isotropic correction.
  TEmfSize EffectiveViewportExt() const;
  void SetFixedExtents(int32_t unitsPerMillimetreTimes100);

  TEmfSize FDevice, FMillimetres;
  int32_t FMode = 1;
  TEmfSize FWindowExt{1, 1}, FViewportExt{1, 1};
  TEmfSize FWindowOrg, FViewportOrg; // points; TEmfSize has the right shape
};
