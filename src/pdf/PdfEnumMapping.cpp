// TPdfEnum::ScaleMatrix: the canvas mapping of the current window, viewport, mapping mode and world
// transform.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "pdf/PdfCanvas.h"
#include "pdf/PdfEnum.h"
#include "platform/metafile/PageMapping.h"

using namespace emf;

namespace {

// a x b, a applied first.
XForm Multiply(const XForm& a, const XForm& b) {
  XForm r;
  r.eM11 = a.eM11 * b.eM11 + a.eM12 * b.eM21;
  r.eM12 = a.eM11 * b.eM12 + a.eM12 * b.eM22;
  r.eM21 = a.eM21 * b.eM11 + a.eM22 * b.eM21;
  r.eM22 = a.eM21 * b.eM12 + a.eM22 * b.eM22;
  r.eDx = a.eDx * b.eM11 + a.eDy * b.eM21 + b.eDx;
  r.eDy = a.eDx * b.eM12 + a.eDy * b.eM22 + b.eDy;
  return r;
}

bool IsFinite(const XForm& x) {
  return std::isfinite(x.eM11) && std::isfinite(x.eM12) && std::isfinite(x.eM21) && std::isfinite(x.eM22) &&
         std::isfinite(x.eDx) && std::isfinite(x.eDy);
}

// Rounds to the nearest integer, halves away from zero, within the 32-bit range.
int32_t RoundAway(double v) {
  if (!(v > -2147483648.0)) return INT32_MIN;
  if (!(v < 2147483647.0)) return INT32_MAX;
  return static_cast<int32_t>(std::lround(v));
}

} // namespace

void TPdfEnum::ScaleMatrix(const XForm* Custom, uint32_t iMode) {
  EndLineIfInLined();
  TPdfEnumDCState& s = State();
  TPdfCanvas& c = *Canvas;
  c.FViewSize = s.ViewportExt;
  c.FViewOrg = s.ViewportOrg;
  c.FWinSize = s.WindowExt;
  c.FWinOrg = s.WindowOrg;
  // The extents in force, as a device context on the metafile's reference device has them: the metric
  // modes and MM_ISOTROPIC got theirs from EMR_SETMAPMODE, MM_ISOTROPIC shrinks one viewport axis.
  if (s.MapMode == MM_TEXT) {
    c.FViewSize = {1, 1};
    c.FWinSize = {1, 1};
  } else {
    TPageSize view = EffectiveViewportExt(s.MapMode, {double(s.WindowExt.cx), double(s.WindowExt.cy)},
                                          {double(s.ViewportExt.cx), double(s.ViewportExt.cy)});
    c.FViewSize = {RoundAway(view.cx), RoundAway(view.cy)};
    if (c.FViewSize.cx == 0) c.FViewSize.cx = s.ViewportExt.cx < 0 ? -1 : 1;
    if (c.FViewSize.cy == 0) c.FViewSize.cy = s.ViewportExt.cy < 0 ? -1 : 1;
  }
  c.FFactorX = c.FWinSize.cx == 0 ? 1.0f : std::fabs(static_cast<float>(c.FViewSize.cx) / c.FWinSize.cx);
  c.FFactorY = c.FWinSize.cy == 0 ? 1.0f : std::fabs(static_cast<float>(c.FViewSize.cy) / c.FWinSize.cy);

  // A transform with an infinite or undefined term cannot place anything; it is not taken.
  if (Custom && IsFinite(*Custom)) {
    switch (iMode) {
    case MWT_IDENTITY:
      s.WorldXForm = XForm{};
      break;
    case MWT_LEFTMULTIPLY:
      s.WorldXForm = Multiply(*Custom, s.WorldXForm);
      break;
    case MWT_RIGHTMULTIPLY:
      s.WorldXForm = Multiply(s.WorldXForm, *Custom);
      break;
    case MWT_SET:
      s.WorldXForm = *Custom;
      break;
    default:
      break;
    }
  }
  c.FWorldFactorX = s.WorldXForm.eM11;
  c.FWorldFactorY = s.WorldXForm.eM22;
  c.FWorldOffsetX = s.WorldXForm.eDx;
  c.FWorldOffsetY = s.WorldXForm.eDy;
}
