// TPdfEnum::ScaleMatrix: the canvas mapping of the current window, viewport, mapping mode and world
// transform.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "pdf/PdfCanvas.h"
#include "pdf/PdfDocument.h"
#include "pdf/PdfEnum.h"
#include "platform/rtl/MathUtil.h"

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

bool IsMetricMode(int32_t mode) {
  return mode >= MM_LOMETRIC && mode <= MM_ISOTROPIC;
}

// Rounds to the nearest integer, halves away from zero, within the 32-bit range.
int32_t RoundAway(double v) {
  if (!(v > -2147483648.0)) return INT32_MIN;
  if (!(v < 2147483647.0)) return INT32_MAX;
  return static_cast<int32_t>(std::lround(v));
}

int32_t Times(int32_t v, int32_t factor) {
  return static_cast<int32_t>(std::clamp<int64_t>(static_cast<int64_t>(v) * factor, INT32_MIN, INT32_MAX));
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
  if (IsMetricMode(s.MapMode) && c.FPrinterPxPerInch.x == 0 && c.Doc())
    c.FPrinterPxPerInch = c.Doc()->PrinterPxPerInch();
  const TPdfIntPoint P = c.FPrinterPxPerInch;
  switch (s.MapMode) {
  case MM_TEXT:
    c.FViewSize = {1, 1};
    c.FWinSize = {1, 1};
    break;
  case MM_LOMETRIC:
  case MM_ISOTROPIC:
    c.FViewSize = {P.x, -P.y};
    c.FWinSize = {Times(s.WindowExt.cx, 10), Times(s.WindowExt.cy, 10)};
    break;
  case MM_HIMETRIC:
    c.FViewSize = {P.x, -P.y};
    c.FWinSize = {Times(s.WindowExt.cx, 100), Times(s.WindowExt.cy, 100)};
    break;
  case MM_LOENGLISH:
    c.FViewSize = {P.x, -P.y};
    c.FWinSize = {MulDiv(1000, s.WindowExt.cx, 254), MulDiv(1000, s.WindowExt.cy, 254)};
    break;
  case MM_HIENGLISH:
    c.FViewSize = {P.x, -P.y};
    c.FWinSize = {MulDiv(10000, s.WindowExt.cx, 254), MulDiv(10000, s.WindowExt.cy, 254)};
    break;
  case MM_TWIPS:
    c.FViewSize = {P.x, -P.y};
    c.FWinSize = {MulDiv(14400, s.WindowExt.cx, 254), MulDiv(14400, s.WindowExt.cy, 254)};
    break;
  default:
    break;
  }
  if (s.MapMode == MM_ISOTROPIC && P.x != 0 && P.y != 0 && c.FWinSize.cx != 0 && c.FWinSize.cy != 0) {
    float sx = std::fabs(static_cast<float>(c.FViewSize.cx) * s.WindowExt.cx /
                         (static_cast<float>(P.x) * c.FWinSize.cx));
    float sy = std::fabs(static_cast<float>(c.FViewSize.cy) * s.WindowExt.cy /
                         (static_cast<float>(P.y) * c.FWinSize.cy));
    if (sx > 0 && sy > 0) {
      if (sy >= sx) {
        int32_t before = c.FViewSize.cy;
        c.FViewSize.cy = RoundAway(static_cast<double>(before) * sx / sy);
        if (c.FViewSize.cy == 0) c.FViewSize.cy = before < 0 ? -1 : 1;
      } else {
        int32_t before = c.FViewSize.cx;
        c.FViewSize.cx = RoundAway(static_cast<double>(before) * sy / sx);
        if (c.FViewSize.cx == 0) c.FViewSize.cx = before < 0 ? -1 : 1;
      }
    }
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
