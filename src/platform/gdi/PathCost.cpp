#include "PathCost.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {
double Distance(QPointF a, QPointF b) {
  return std::hypot(a.x() - b.x(), a.y() - b.y());
}

// A cubic flattened to a tolerance of a fraction of a pixel needs about the square root of its control
// polygon's length in segments.
size_t CurveSegments(QPointF p0, QPointF p1, QPointF p2, QPointF p3) {
  double length = Distance(p0, p1) + Distance(p1, p2) + Distance(p2, p3);
  if (!std::isfinite(length)) return 1'000'000;
  return size_t(std::clamp(std::ceil(std::sqrt(length * 2)), 1.0, 1e6));
}
} // namespace

size_t FlattenedEdges(const QPainterPath& path) {
  size_t edges = 0;
  const int n = path.elementCount();
  for (int i = 0; i < n; ++i) {
    const QPainterPath::Element& e = path.elementAt(i);
    if (e.type == QPainterPath::LineToElement) {
      ++edges;
    } else if (e.type == QPainterPath::CurveToElement && i > 0 && i + 2 < n) {
      edges += CurveSegments(path.elementAt(i - 1), e, path.elementAt(i + 1), path.elementAt(i + 2));
      i += 2;
    } else if (e.type == QPainterPath::MoveToElement) {
      ++edges; // the closing edge of a filled figure
    }
  }
  return edges;
}

double DashSegments(const QPainterPath& path, const QPen& pen) {
  if (pen.style() == Qt::SolidLine || pen.style() == Qt::NoPen) return 0;
  const QList<qreal> pattern = pen.dashPattern();
  // Qt's dash lengths are in pen widths (one pixel for thinner pens).
  double unit = std::max(1.0, pen.widthF()), period = 0;
  for (qreal d : pattern)
    period += std::max(0.0, double(d)) * unit;
  double length = 0;
  const int n = path.elementCount();
  for (int i = 1; i < n; ++i) {
    const QPainterPath::Element& e = path.elementAt(i);
    if (e.type != QPainterPath::MoveToElement) length += Distance(path.elementAt(i - 1), e);
  }
  if (!std::isfinite(length)) return 1e18;
  if (period <= 0) return length > 0 ? 1e18 : 0;
  return length / period * double(std::max<qsizetype>(1, pattern.size() / 2));
}

TRasterCost RasterCost(const QPainterPath& path, int rows, double halfWidth, int sides) {
  TRasterCost cost;
  // Only the rows the path may reach are counted.
  QRectF box = path.controlPointRect();
  double top = std::max(0.0, std::floor(box.top() - halfWidth));
  double bottom = std::min(double(rows), std::ceil(box.bottom() + halfWidth));
  if (!(bottom > top)) return cost; // also NaN
  const int64_t first = int64_t(top);
  rows = int(int64_t(bottom) - first);
  // Per row, by difference: edges starting (crossings) and the cells they add (a shallow edge covers
  // several pixels, so cells, of a row).
  std::vector<double> crossingStarts(size_t(rows) + 1, 0), cellStarts(size_t(rows) + 1, 0);
  auto edge = [&](QPointF a, QPointF b, int count) {
    double y0 = std::min(a.y(), b.y()) - halfWidth - double(first),
           y1 = std::max(a.y(), b.y()) + halfWidth - double(first);
    if (!(y1 > 0) || !(y0 < rows) || !std::isfinite(a.x()) || !std::isfinite(b.x())) return; // also NaN
    int64_t r0 = int64_t(std::max(0.0, std::floor(y0))), r1 = int64_t(std::min(double(rows), std::ceil(y1)));
    if (r1 <= r0) r1 = std::min<int64_t>(r0 + 1, rows);
    // A horizontal edge adds one cell; any other one a cell for every pixel it passes in a row.
    double dy = std::fabs(b.y() - a.y());
    double cellsPerRow =
        dy < 1.0 / 256 ? 1 : std::max(1.0, std::min(1e7, std::fabs(b.x() - a.x()) / std::max(1.0, dy)));
    crossingStarts[size_t(r0)] += count;
    crossingStarts[size_t(r1)] -= count;
    cellStarts[size_t(r0)] += count * cellsPerRow;
    cellStarts[size_t(r1)] -= count * cellsPerRow;
  };
  const int n = path.elementCount();
  QPointF start, last;
  for (int i = 0; i < n; ++i) {
    const QPainterPath::Element& e = path.elementAt(i);
    if (e.type == QPainterPath::MoveToElement) {
      if (i > 0) edge(last, start, sides); // the figure's closing edge
      start = last = e;
    } else if (e.type == QPainterPath::LineToElement) {
      edge(last, e, sides);
      last = e;
    } else if (e.type == QPainterPath::CurveToElement && i + 2 < n) {
      // A cubic crosses each row within its control points' span at most three times; twice is typical.
      QPointF c1 = e, c2 = path.elementAt(i + 1), end = path.elementAt(i + 2);
      double lo = std::min({last.y(), c1.y(), c2.y(), end.y()}),
             hi = std::max({last.y(), c1.y(), c2.y(), end.y()});
      double left = std::min({last.x(), c1.x(), c2.x(), end.x()}),
             right = std::max({last.x(), c1.x(), c2.x(), end.x()});
      edge(QPointF(left, lo), QPointF(right, hi), 2 * sides);
      last = end;
      i += 2;
    }
  }
  if (n > 0) edge(last, start, sides);
  double crossing = 0, cells = 0;
  for (int r = 0; r < rows; ++r) {
    crossing += crossingStarts[size_t(r)];
    cells += cellStarts[size_t(r)];
    cost.Crossings += crossing;
    cost.CellSquares += cells * cells;
  }
  return cost;
}
