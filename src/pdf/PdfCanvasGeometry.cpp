// TPdfCanvas: the logical-to-PDF mapping and the figures PDF has no operator for.
#include <utility>

#include "pdf/PdfCanvas.h"
#include "pdf/PdfPage.h"

namespace {

// 4/3 * (sqrt(2) - 1) in single precision: control-point distance of a quarter-circle Bezier.
constexpr float Kappa = 0.5522848f;

// (v - org) * view / win + viewOrg. A zero window extent has no scale to give; the axis is then taken
// unscaled rather than divided by zero.
float MapAxis(double v, int32_t winOrg, int32_t winExt, int32_t viewExt, int32_t viewOrg) {
  long double d = static_cast<long double>(v) - winOrg;
  if (winExt != 0) d = d * viewExt / winExt;
  return static_cast<float>(d + viewOrg);
}

} // namespace

float TPdfCanvas::MapWindowX(double x) const {
  return MapAxis(x, FWinOrg.x, FWinSize.cx, FViewSize.cx, FViewOrg.x);
}

float TPdfCanvas::MapWindowY(double y) const {
  return MapAxis(y, FWinOrg.y, FWinSize.cy, FViewSize.cy, FViewOrg.y);
}

float TPdfCanvas::ToPdfX(double x) const {
  long double v = (static_cast<long double>(FWorldFactorX) * MapWindowX(x) + FWorldOffsetX) * FDevScale;
  return static_cast<float>(v + FOffsetXDef);
}

float TPdfCanvas::ToPdfY(double y) const {
  long double h = FPage ? FPage->PageHeight() : 0;
  long double v = (static_cast<long double>(FWorldFactorY) * MapWindowY(y) + FWorldOffsetY) * FDevScale;
  return static_cast<float>(h - FOffsetYDef - v);
}

void TPdfCanvas::SortRectEdges(TPdfIntRect& r) {
  if (r.Right < r.Left) std::swap(r.Left, r.Right);
  if (r.Bottom < r.Top) std::swap(r.Top, r.Bottom);
}

void TPdfCanvas::SortRectEdges(TPdfRect& r) {
  if (r.Left > r.Right) std::swap(r.Left, r.Right);
  if (r.Top > r.Bottom) std::swap(r.Top, r.Bottom);
}

TPdfRect TPdfCanvas::RectToPdf(const TPdfIntRect& r, bool sort) const {
  TPdfRect result{ToPdfX(r.Left), ToPdfY(r.Top), ToPdfX(r.Right), ToPdfY(r.Bottom)};
  if (sort) SortRectEdges(result);
  return result;
}

void TPdfCanvas::MoveToLogical(double x, double y) {
  MoveTo(ToPdfX(x), ToPdfY(y));
}

void TPdfCanvas::LineToLogical(double x, double y) {
  LineTo(ToPdfX(x), ToPdfY(y));
}

void TPdfCanvas::CurveToLogical(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3) {
  CurveToC(ToPdfX(x1), ToPdfY(y1), ToPdfX(x2), ToPdfY(y2), ToPdfX(x3), ToPdfY(y3));
}

void TPdfCanvas::RoundRectLogical(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t cx, int32_t cy) {
  // The corners of the upper edge bend downwards in PDF space: a negative vertical size.
  RoundRect(ToPdfX(x1), ToPdfY(y1), ToPdfX(x2), ToPdfY(y2), FWorldFactorX * cx * FDevScale,
            FWorldFactorY * static_cast<float>(-cy) * FDevScale);
}

void TPdfCanvas::Ellipse(float x, float y, float width, float height) {
  float rx = width / 2, ry = height / 2;
  float cx = x + rx, cy = y + ry;
  MoveTo(x, cy);
  CurveToC(x, cy - Kappa * ry, cx - Kappa * rx, y, cx, y);
  CurveToC(cx + Kappa * rx, y, x + width, cy - Kappa * ry, x + width, cy);
  CurveToC(x + width, cy + Kappa * ry, cx + Kappa * rx, y + height, cx, y + height);
  CurveToC(cx - Kappa * rx, y + height, x, cy + Kappa * ry, x, cy);
}

void TPdfCanvas::RoundRect(float x1, float y1, float x2, float y2, float cx, float cy) {
  float rx = cx / 2, ry = cy / 2;
  MoveTo(x1 + rx, y1);
  LineTo(x2 - rx, y1);
  CurveToC(x2 - rx + Kappa * rx, y1, x2, y1 + ry - Kappa * ry, x2, y1 + ry);
  LineTo(x2, y2 - ry);
  CurveToC(x2, y2 - ry + Kappa * ry, x2 - rx + Kappa * rx, y2, x2 - rx, y2);
  LineTo(x1 + rx, y2);
  CurveToC(x1 + rx - Kappa * rx, y2, x1, y2 - ry + Kappa * ry, x1, y2 - ry);
  LineTo(x1, y1 + ry);
  CurveToC(x1, y1 + ry - Kappa * ry, x1 + rx - Kappa * rx, y1, x1 + rx, y1);
  Closepath();
}
