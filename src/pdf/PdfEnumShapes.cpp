// TPdfEnum: lines, polygons, curves, figures and arcs.
//
// Inside a path bracket (the canvas's FNewPath, opened by EMR_BEGINPATH) figures only add to the path,
// as they do on a metafile's own device; the bracket's closing record paints it.
#include <algorithm>
#include <cmath>

#include "pdf/PdfArcs.h"
#include "pdf/PdfCanvas.h"
#include "pdf/PdfEnum.h"

using namespace emf;

namespace {

constexpr double Pi = 3.14159265358979323846;

void MoveTo(TPdfCanvas& c, const PointL& p) {
  c.MoveToLogical(p.x, p.y);
}
void LineTo(TPdfCanvas& c, const PointL& p) {
  c.LineToLogical(p.x, p.y);
}
void CurveTo(TPdfCanvas& c, const PointL& a, const PointL& b, const PointL& d) {
  c.CurveToLogical(a.x, a.y, b.x, b.y, d.x, d.y);
}

void AddCurves(TPdfCanvas& c, const TArcCurves& arc) {
  for (const TArcBezier& b : arc.Curves)
    c.CurveToC(c.ToPdfX(b.c1.x), c.ToPdfY(b.c1.y), c.ToPdfX(b.c2.x), c.ToPdfY(b.c2.y), c.ToPdfX(b.to.x),
               c.ToPdfY(b.to.y));
}

TPdfIntPoint ToIntPoint(const TArcPoint& p) {
  return {static_cast<int32_t>(std::lround(std::clamp(p.x, -2147483648.0, 2147483647.0))),
          static_cast<int32_t>(std::lround(std::clamp(p.y, -2147483648.0, 2147483647.0)))};
}

// Malformed: a record whose point count is 0 draws nothing.
void RequirePoints(size_t n) {
  if (n == 0) throw EDamagedData("A figure without points");
}

} // namespace

bool TPdfEnum::HandleShapeRecord(const TEmfRecord& R) {
  switch (R.Type) {
  case EMR_POLYBEZIER:
  case EMR_POLYBEZIER16:
    PolyBezier(PolyView(R.Data), false);
    return true;
  case EMR_POLYBEZIERTO:
  case EMR_POLYBEZIERTO16:
    PolyBezier(PolyView(R.Data), true);
    return true;
  case EMR_POLYGON:
  case EMR_POLYGON16:
    Polygon(PolyView(R.Data));
    return true;
  case EMR_POLYLINE:
  case EMR_POLYLINE16:
    Polyline(PolyView(R.Data));
    return true;
  case EMR_POLYLINETO:
  case EMR_POLYLINETO16:
    PolylineTo(PolyView(R.Data));
    return true;
  case EMR_POLYPOLYLINE:
  case EMR_POLYPOLYGON:
  case EMR_POLYPOLYLINE16:
  case EMR_POLYPOLYGON16:
    PolyPoly(PolyPolyView(R.Data));
    return true;
  case EMR_POLYDRAW:
  case EMR_POLYDRAW16:
    PolyDraw(PolyDrawView(R.Data));
    return true;
  case EMR_SETPIXELV:
    SetPixel(SetPixelView(R.Data));
    return true;
  case EMR_LINETO: {
    PointL p = PointRecordView(R.Data).Point();
    TPdfEnumDCState& s = State();
    NeedPen();
    if (Canvas->FNewPath) {
      // Part of the open path: no painting.
      if (!s.PointEmitted) Canvas->MoveToLogical(s.CurrentPoint.x, s.CurrentPoint.y);
      LineTo(*Canvas, p);
      s.CurrentPoint = {p.x, p.y};
      s.PointEmitted = false;
      return true;
    }
    Canvas->MoveToLogical(s.CurrentPoint.x, s.CurrentPoint.y);
    LineTo(*Canvas, p);
    s.CurrentPoint = {p.x, p.y};
    s.PointEmitted = false;
    fInLined = true;
    if (!s.Pen.Null)
      Canvas->Stroke();
    else
      EndPathUnpainted();
    return true;
  }
  case EMR_ELLIPSE:
  case EMR_RECTANGLE: {
    RectL r = RectRecordView(R.Data).Rect();
    NeedBrushAndPen();
    TPdfRect box = Canvas->RectToPdf({r.left, r.top, r.right, r.bottom}, true);
    if (R.Type == EMR_ELLIPSE)
      Canvas->Ellipse(box.Left, box.Top, box.Right - box.Left, box.Bottom - box.Top);
    else
      Canvas->Rectangle(box.Left, box.Top, box.Right - box.Left, box.Bottom - box.Top);
    if (!Canvas->FNewPath) FlushPenBrush();
    return true;
  }
  case EMR_ROUNDRECT: {
    RoundRectView v(R.Data);
    TPdfIntRect r{v.Box().left, v.Box().top, v.Box().right, v.Box().bottom};
    TPdfCanvas::SortRectEdges(r);
    NeedBrushAndPen();
    Canvas->RoundRectLogical(r.Left, r.Top, r.Right, r.Bottom, v.Corner().cx, v.Corner().cy);
    if (!Canvas->FNewPath) FlushPenBrush();
    return true;
  }
  case EMR_ARC:
  case EMR_ARCTO:
  case EMR_CHORD:
  case EMR_PIE:
    Arc(R.Type, ArcView(R.Data));
    return true;
  case EMR_ANGLEARC:
    AngleArc(AngleArcView(R.Data));
    return true;
  case EMR_GRADIENTFILL:
    GradientFill(GradientFillView(R.Data));
    return true;
  default:
    return false;
  }
}

void TPdfEnum::PolyBezier(const PolyView& R, bool To) {
  PointSpan p = R.Points();
  RequirePoints(p.size());
  TPdfEnumDCState& s = State();
  if (!s.Pen.Null) NeedPen();
  size_t groups = To ? p.size() / 3 : (p.size() - 1) / 3;
  if (To) {
    if (!Canvas->FNewPath && !s.PointEmitted) Canvas->MoveToLogical(s.CurrentPoint.x, s.CurrentPoint.y);
    for (size_t g = 0; g < groups; ++g)
      CurveTo(*Canvas, p[3 * g], p[3 * g + 1], p[3 * g + 2]);
  } else {
    MoveTo(*Canvas, p[0]);
    for (size_t g = 0; g < groups; ++g)
      CurveTo(*Canvas, p[3 * g + 1], p[3 * g + 2], p[3 * g + 3]);
  }
  s.CurrentPoint = {p.back().x, p.back().y};
  s.PointEmitted = false;
  PaintOrKeep();
}

void TPdfEnum::Polygon(const PolyView& R) {
  TPdfEnumDCState& s = State();
  if (s.Brush.Null && s.Pen.Null) return;
  PointSpan p = R.Points();
  RequirePoints(p.size());
  NeedBrushAndPen();
  MoveTo(*Canvas, p[0]);
  for (size_t i = 1; i < p.size(); ++i)
    LineTo(*Canvas, p[i]);
  s.CurrentPoint = {p.back().x, p.back().y};
  s.PointEmitted = false;
  Canvas->Closepath();
  if (!Canvas->FNewPath) FlushPenBrush();
}

void TPdfEnum::Polyline(const PolyView& R) {
  TPdfEnumDCState& s = State();
  if (s.Brush.Null && s.Pen.Null) return;
  PointSpan p = R.Points();
  RequirePoints(p.size());
  NeedPen();
  MoveTo(*Canvas, p[0]);
  for (size_t i = 1; i < p.size(); ++i)
    LineTo(*Canvas, p[i]);
  s.CurrentPoint = {p.back().x, p.back().y};
  s.PointEmitted = false;
  PaintOrKeep();
}

void TPdfEnum::PolylineTo(const PolyView& R) {
  PointSpan p = R.Points();
  RequirePoints(p.size());
  TPdfEnumDCState& s = State();
  if (!s.Pen.Null) NeedPen();
  // Outside a bracket the lines are drawn at once, like those of EMR_POLYBEZIERTO.
  if (!(Canvas->FNewPath && s.PointEmitted)) Canvas->MoveToLogical(s.CurrentPoint.x, s.CurrentPoint.y);
  for (const PointL& q : p)
    LineTo(*Canvas, q);
  s.CurrentPoint = {p.back().x, p.back().y};
  s.PointEmitted = false;
  PaintOrKeep();
}

void TPdfEnum::PolyPoly(const PolyPolyView& R) {
  Span<uint32_t> counts = R.Counts();
  PointSpan p = R.Points();
  // Figures that run past the point array are malformed: nothing of the record is drawn.
  uint64_t total = 0;
  for (uint32_t n : counts)
    total += n;
  if (total > p.size()) throw EDamagedData("Poly-polygon figures run past their points");
  bool polygon = R.Type() == EMR_POLYPOLYGON || R.Type() == EMR_POLYPOLYGON16;
  TPdfEnumDCState& s = State();
  NeedBrushAndPen();
  bool inBracket = Canvas->FNewPath;
  if (!inBracket) EndPathUnpainted();
  size_t start = 0;
  for (uint32_t n : counts) {
    if (n == 0) continue;
    MoveTo(*Canvas, p[start]);
    for (size_t i = start + 1; i < start + n; ++i) {
      LineTo(*Canvas, p[i]);
      s.CurrentPoint = {p[i].x, p[i].y};
    }
    if (polygon) LineTo(*Canvas, p[start]);
    s.PointEmitted = false;
    start += n;
  }
  if (inBracket) return;
  if (!polygon) {
    if (s.Pen.Null)
      EndPathUnpainted();
    else
      Canvas->Stroke();
  } else {
    PaintPolyPolygon();
  }
}

void TPdfEnum::PaintPolyPolygon() {
  const TPdfEnumDCState& s = State();
  bool alternate = s.FillMode == ALTERNATE;
  if (!s.Brush.Null) {
    if (s.Pen.Null)
      alternate ? Canvas->EoFill() : Canvas->Fill();
    else
      alternate ? Canvas->EofillStroke() : Canvas->FillStroke();
  } else if (s.Pen.Null) {
    EndPathUnpainted();
  } else {
    Canvas->Stroke();
  }
}

void TPdfEnum::PolyDraw(const PolyDrawView& R) {
  PointSpan p = R.Points();
  Span<uint8_t> t = R.Types();
  RequirePoints(p.size());
  TPdfEnumDCState& s = State();
  if (!s.Pen.Null) NeedPen();
  // The figure starts at the current position unless its first point moves elsewhere.
  if ((t[0] & ~PT_CLOSEFIGURE) != PT_MOVETO && !(Canvas->FNewPath && s.PointEmitted))
    Canvas->MoveToLogical(s.CurrentPoint.x, s.CurrentPoint.y);
  size_t n = p.size();
  for (size_t i = 0; i < n; ++i) {
    uint8_t type = t[i];
    switch (type & ~PT_CLOSEFIGURE) {
    case PT_LINETO:
      LineTo(*Canvas, p[i]);
      break;
    case PT_BEZIERTO:
      if (i + 2 >= n) {
        i = n; // a curve without its three points ends the figure
        continue;
      }
      CurveTo(*Canvas, p[i], p[i + 1], p[i + 2]);
      i += 2;
      type = t[i];
      break;
    case PT_MOVETO:
      MoveTo(*Canvas, p[i]);
      s.CurrentPoint = {p[i].x, p[i].y};
      continue;
    default:
      i = n;
      continue;
    }
    if (type & PT_CLOSEFIGURE) {
      Canvas->LineToLogical(s.CurrentPoint.x, s.CurrentPoint.y);
      s.CurrentPoint = {p[i].x, p[i].y};
    }
  }
  s.CurrentPoint = {p.back().x, p.back().y};
  s.PointEmitted = false;
  PaintOrKeep();
}

void TPdfEnum::SetPixel(const SetPixelView& R) {
  TPdfEnumDCState& s = State();
  PointL p = R.Pixel();
  int32_t color = static_cast<int32_t>(R.Color());
  bool ownWidth = s.Pen.Width != 1;
  if (ownWidth) WritePenWidth(Canvas->FWorldFactorX * Canvas->FDevScale);
  if (color != s.Pen.Color) Canvas->SetRGBStrokeColor(color);
  s.CurrentPoint = {p.x, p.y};
  Canvas->Rectangle(Canvas->ToPdfX(p.x), Canvas->ToPdfY(p.y), 0.01f, 0.01f);
  Canvas->Stroke();
  s.PointEmitted = false;
  if (ownWidth) WritePenWidth(Canvas->FWorldFactorX * s.Pen.Width * Canvas->FDevScale);
  if (s.Pen.Color != color) Canvas->SetRGBStrokeColor(s.Pen.Color);
}

// Whether an arc that runs counter-clockwise in logical units runs clockwise on the page: the mapping
// mirrors one axis.
static bool MappingMirrors(const TPdfCanvas& c) {
  double sx = c.FWinSize.cx == 0 ? 1.0 : static_cast<double>(c.FViewSize.cx) / c.FWinSize.cx;
  double sy = c.FWinSize.cy == 0 ? 1.0 : static_cast<double>(c.FViewSize.cy) / c.FWinSize.cy;
  return sx * c.FWorldFactorX * sy * c.FWorldFactorY < 0;
}

void TPdfEnum::Arc(uint32_t Type, const ArcView& R) {
  TPdfEnumDCState& s = State();
  RectL box = R.Box();
  bool clockwise = (s.ArcDirection == static_cast<int32_t>(AD_CLOCKWISE)) != MappingMirrors(*Canvas);
  TArcCurves arc =
      GdiArc(box.left, box.top, box.right, box.bottom, {double(R.Start().x), double(R.Start().y)},
             {double(R.End().x), double(R.End().y)}, clockwise);
  switch (Type) {
  case EMR_ARC:
    if (arc.Curves.empty() || s.Pen.Null) return;
    NeedPen();
    Canvas->MoveToLogical(arc.Start.x, arc.Start.y);
    AddCurves(*Canvas, arc);
    PaintOrKeep();
    return;
  case EMR_ARCTO:
    if (arc.Curves.empty()) return;
    if (!s.Pen.Null) NeedPen();
    if (!(Canvas->FNewPath && s.PointEmitted)) Canvas->MoveToLogical(s.CurrentPoint.x, s.CurrentPoint.y);
    Canvas->LineToLogical(arc.Start.x, arc.Start.y);
    AddCurves(*Canvas, arc);
    s.CurrentPoint = ToIntPoint(arc.End());
    s.PointEmitted = false;
    PaintOrKeep();
    return;
  default: // EMR_CHORD, EMR_PIE
    if (arc.Curves.empty() || (s.Pen.Null && s.Brush.Null)) return;
    NeedBrushAndPen();
    if (Type == EMR_PIE) {
      Canvas->MoveToLogical((box.left + static_cast<double>(box.right)) / 2,
                            (box.top + static_cast<double>(box.bottom)) / 2);
      Canvas->LineToLogical(arc.Start.x, arc.Start.y);
    } else {
      Canvas->MoveToLogical(arc.Start.x, arc.Start.y);
    }
    AddCurves(*Canvas, arc);
    Canvas->Closepath();
    if (!Canvas->FNewPath) FlushPenBrush();
    return;
  }
}

void TPdfEnum::AngleArc(const AngleArcView& R) {
  TPdfEnumDCState& s = State();
  PointL c = R.Center();
  double r = R.Radius();
  double a0 = R.StartAngle() * Pi / 180, sweep = R.SweepAngle() * Pi / 180;
  TArcCurves arc = EllipseArc(c.x, c.y, r, r, a0, sweep);
  if (arc.Curves.empty()) return;
  if (!s.Pen.Null) NeedPen();
  if (!(Canvas->FNewPath && s.PointEmitted)) Canvas->MoveToLogical(s.CurrentPoint.x, s.CurrentPoint.y);
  Canvas->LineToLogical(arc.Start.x, arc.Start.y);
  AddCurves(*Canvas, arc);
  s.CurrentPoint = ToIntPoint(arc.End());
  s.PointEmitted = false;
  PaintOrKeep();
}
