#pragma once
// Elliptic arcs as GDI defines them, as cubic Bezier segments (at most a quarter turn each), in the
// metafile's logical coordinates. Plain geometry: no canvas, no rounding.
#include <vector>

struct TArcPoint {
  double x = 0, y = 0;
};

struct TArcBezier {
  TArcPoint c1, c2, to;
};

struct TArcCurves {
  TArcPoint Start;                // where the arc begins
  std::vector<TArcBezier> Curves; // from Start on
  TArcPoint End() const { return Curves.empty() ? Start : Curves.back().to; }
};

// The arc of the ellipse with centre (cx, cy) and radii (rx, ry) on a y-down plane, from the parametric
// angle a0 over sweep (radians; positive runs counter-clockwise as seen with y down). |sweep| is limited to
// one full turn; a non-finite value gives no curves.
TArcCurves EllipseArc(double cx, double cy, double rx, double ry, double a0, double sweep);

// GDI's ARC, CHORD, PIE and ARCTO geometry: the ellipse inscribed in the box (edges in any order), from the
// point where the ray from its centre through `start` meets it to where the ray through `end` does,
// counter-clockwise unless `clockwise` (both as seen with y down). Equal rays give the whole ellipse.
// An empty box gives no curves.
TArcCurves GdiArc(double left, double top, double right, double bottom, TArcPoint start, TArcPoint end,
                  bool clockwise);
