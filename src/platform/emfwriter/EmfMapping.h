#pragma once
// The mapping from logical to device units that a device context applies: mapping mode, window and
// viewport extents and origins. The writer keeps one to compute the device-unit bounds of what it records;
// the rules are the shared ones of platform/metafile/PageMapping.h.
#include <cstdint>

#include "platform/metafile/Metafile.h"
#include "platform/metafile/PageMapping.h"

class TEmfMapping {
 public:
  // Device: the reference device in pixels and in millimetres (the fixed metric and English modes scale
  // by them, as GDI does).
  TEmfMapping(TEmfSize devicePixels, TEmfSize deviceMillimetres);

  // Unknown modes are ignored. Extents apply only in the isotropic and anisotropic modes; zero extents are
  // refused, as the host refuses them.
  void SetMapMode(int32_t mode) { FMapping.SetMapMode(mode); }
  void SetWindowExt(int32_t cx, int32_t cy) { FMapping.SetWindowExt(cx, cy); }
  void SetViewportExt(int32_t cx, int32_t cy) { FMapping.SetViewportExt(cx, cy); }
  void SetWindowOrg(int32_t x, int32_t y) { FMapping.SetWindowOrg(x, y); }
  void SetViewportOrg(int32_t x, int32_t y) { FMapping.SetViewportOrg(x, y); }
  int32_t MapMode() const { return FMapping.MapMode(); }

  double ToDeviceX(double x) const { return FMapping.ToDeviceX(x); }
  double ToDeviceY(double y) const { return FMapping.ToDeviceY(y); }
  // Device units per logical unit, as magnitudes (for pen widths and text heights).
  double ScaleX() const;
  double ScaleY() const;

 private:
  emf::TPageMapping FMapping;
};
