#pragma once
// The one window/viewport mapping of the project (plain C++): page space (logical units) to the pixels of
// a reference device, as the eight mapping modes define it. The QPainter player (platform/gdi/Mapping),
// the EMF writer (platform/emfwriter/EmfMapping) and the PDF renderer take their extents and scales from
// here.
//
// The rules, as GDI applies them:
//  - MM_TEXT: window and viewport extents 1:1.
//  - MM_LOMETRIC, MM_HIMETRIC, MM_LOENGLISH, MM_HIENGLISH, MM_TWIPS and MM_ISOTROPIC (which starts out as
//    MM_LOMETRIC): the window extent is the device's size in the mode's units, the viewport extent its size
//    in pixels with y growing upwards (negative).
//  - MM_ANISOTROPIC keeps the extents it had. Only MM_ISOTROPIC and MM_ANISOTROPIC take extents set by
//    the metafile; the other modes ignore them.
//  - MM_ISOTROPIC: the viewport extent of the axis with the larger scale is shrunk so that both axes have
//    the same scale magnitude; the signs of both extents are kept.
//  - A zero window extent gives the axis a scale of 1 (it cannot be divided by).
#include <cstdint>

#include "EmfRecordTypes.h"

namespace emf {

struct TPageSize {
  double cx = 1, cy = 1;
};
struct TPagePoint {
  double x = 0, y = 0;
};

// A reference device; sizes that are not positive take 1280 x 1024 pixels over 320 x 240 mm.
struct TReferenceDevice {
  double PixelsX = 1280, PixelsY = 1024, MillimetresX = 320, MillimetresY = 240;
  TReferenceDevice() = default;
  TReferenceDevice(double pixelsX, double pixelsY, double millimetresX, double millimetresY);
};

// True for the modes whose extents the metafile sets (isotropic, anisotropic).
constexpr bool ScalableMapMode(int32_t mode) {
  return mode == MM_ISOTROPIC || mode == MM_ANISOTROPIC;
}
// The extents SetMapMode gives `mode` on `device` (see above); MM_ANISOTROPIC leaves them alone. False,
// with nothing changed, for a number that is no mapping mode.
bool MapModeExtents(int32_t mode, const TReferenceDevice& device, TPageSize& window, TPageSize& viewport);
// Device units per page unit on each axis, signed, after the isotropic rule.
TPageSize PageScale(int32_t mode, const TPageSize& window, const TPageSize& viewport);
// The viewport extent after the isotropic rule (the extents as given in the other modes).
TPageSize EffectiveViewportExt(int32_t mode, const TPageSize& window, const TPageSize& viewport);

// The mapping state of one device context.
class TPageMapping {
 public:
  explicit TPageMapping(const TReferenceDevice& device = TReferenceDevice()) : FDevice(device) {}

  // Unknown modes are ignored (false).
  bool SetMapMode(int32_t mode);
  // Ignored (false) outside the isotropic and anisotropic modes and for a zero extent.
  bool SetWindowExt(double cx, double cy);
  bool SetViewportExt(double cx, double cy);
  void SetWindowOrg(double x, double y) { FWindowOrg = {x, y}; }
  void SetViewportOrg(double x, double y) { FViewportOrg = {x, y}; }

  int32_t MapMode() const { return FMode; }
  const TReferenceDevice& Device() const { return FDevice; }
  const TPageSize& WindowExt() const { return FWindowExt; }
  const TPageSize& ViewportExt() const { return FViewportExt; }
  const TPagePoint& WindowOrg() const { return FWindowOrg; }
  const TPagePoint& ViewportOrg() const { return FViewportOrg; }

  // Signed scales (device units per page unit).
  TPageSize Scale() const { return PageScale(FMode, FWindowExt, FViewportExt); }
  // (v - window origin) * viewport extent / window extent + viewport origin, multiplying before dividing
  // (exact for whole extents that divide evenly).
  double ToDeviceX(double x) const;
  double ToDeviceY(double y) const;

 private:
  TReferenceDevice FDevice;
  int32_t FMode = MM_TEXT;
  TPageSize FWindowExt, FViewportExt;
  TPagePoint FWindowOrg, FViewportOrg;
};

} // namespace emf
