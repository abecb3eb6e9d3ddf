#include "BandedRegion.h"

#include <QTransform>
#include <algorithm>
#include <cmath>

namespace {
struct TSpan {
  double left, right;
  bool operator==(const TSpan&) const = default;
};

// One input of the sweep: its rectangles by top, and those crossing the current band.
struct TSweepInput {
  std::vector<QRectF> rects;
  size_t next = 0;
  std::vector<QRectF> active;

  explicit TSweepInput(std::vector<QRectF> r) : rects(std::move(r)) {
    std::sort(rects.begin(), rects.end(), [](const QRectF& a, const QRectF& b) { return a.top() < b.top(); });
  }
  // Brings the active set to the band starting at y and returns its x intervals, merged.
  void Advance(double y, std::vector<TSpan>& spans) {
    std::erase_if(active, [y](const QRectF& r) { return r.bottom() <= y; });
    while (next < rects.size() && rects[next].top() <= y)
      active.push_back(rects[next++]);
    spans.clear();
    for (const QRectF& r : active)
      spans.push_back({r.left(), r.right()});
    std::sort(spans.begin(), spans.end(), [](const TSpan& a, const TSpan& b) { return a.left < b.left; });
    size_t out = 0;
    for (const TSpan& s : spans) {
      if (out > 0 && s.left <= spans[out - 1].right)
        spans[out - 1].right = std::max(spans[out - 1].right, s.right);
      else
        spans[out++] = s;
    }
    spans.resize(out);
  }
};

bool Keeps(TBandedRegion::TOp op, bool a, bool b) {
  switch (op) {
  case TBandedRegion::And:
    return a && b;
  case TBandedRegion::Or:
    return a || b;
  case TBandedRegion::Xor:
    return a != b;
  case TBandedRegion::Diff:
    return a && !b;
  }
  return false;
}

// Where a op b holds, over two lists of disjoint sorted intervals.
void CombineSpans(const std::vector<TSpan>& a, const std::vector<TSpan>& b, TBandedRegion::TOp op,
                  std::vector<double>& xs, std::vector<TSpan>& out) {
  out.clear();
  xs.clear();
  for (const TSpan& s : a)
    xs.insert(xs.end(), {s.left, s.right});
  for (const TSpan& s : b)
    xs.insert(xs.end(), {s.left, s.right});
  std::sort(xs.begin(), xs.end());
  xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
  size_t ia = 0, ib = 0;
  for (size_t i = 0; i + 1 < xs.size(); ++i) {
    double x0 = xs[i], x1 = xs[i + 1];
    while (ia < a.size() && a[ia].right <= x0)
      ++ia;
    while (ib < b.size() && b[ib].right <= x0)
      ++ib;
    bool inA = ia < a.size() && a[ia].left <= x0, inB = ib < b.size() && b[ib].left <= x0;
    if (!Keeps(op, inA, inB)) continue;
    if (!out.empty() && out.back().right == x0)
      out.back().right = x1;
    else
      out.push_back({x0, x1});
  }
}

bool Usable(const QRectF& r) {
  return std::isfinite(r.left()) && std::isfinite(r.top()) && std::isfinite(r.right()) &&
         std::isfinite(r.bottom()) && r.width() > 0 && r.height() > 0;
}

std::vector<QRectF> UsableRects(std::span<const QRectF> rects) {
  std::vector<QRectF> out;
  out.reserve(rects.size());
  for (const QRectF& r : rects) {
    QRectF n = r.normalized();
    if (Usable(n)) out.push_back(n);
  }
  return out;
}

// The sweep: one band between each pair of consecutive edges of either input.
std::optional<std::vector<QRectF>> Sweep(std::vector<QRectF> a, std::vector<QRectF> b, TBandedRegion::TOp op,
                                         size_t maxRects) {
  std::vector<double> ys;
  ys.reserve(2 * (a.size() + b.size()));
  for (const auto* list : {&a, &b})
    for (const QRectF& r : *list)
      ys.insert(ys.end(), {r.top(), r.bottom()});
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

  // Overlapping input makes the active sets long while the result stays small; beyond this much work the
  // region is not worth its exact shape.
  const size_t workLimit = 32 * std::max<size_t>(maxRects, 1024);
  size_t work = 0;
  TSweepInput inA(std::move(a)), inB(std::move(b));
  std::vector<TSpan> spansA, spansB, band, last;
  std::vector<double> xs;
  std::vector<QRectF> out;
  double lastBottom = 0;
  for (size_t k = 0; k + 1 < ys.size(); ++k) {
    double y0 = ys[k], y1 = ys[k + 1];
    inA.Advance(y0, spansA);
    inB.Advance(y0, spansB);
    work += inA.active.size() + inB.active.size() + 1;
    if (work > workLimit) return std::nullopt;
    CombineSpans(spansA, spansB, op, xs, band);
    if (band.empty()) {
      last.clear();
      continue;
    }
    if (!last.empty() && lastBottom == y0 && band == last) {
      // The same intervals as the band above: that band grows.
      for (size_t i = out.size() - band.size(); i < out.size(); ++i)
        out[i].setBottom(y1);
    } else {
      if (out.size() + band.size() > maxRects) return std::nullopt;
      for (const TSpan& s : band)
        out.emplace_back(QPointF(s.left, y0), QPointF(s.right, y1));
      last = band;
    }
    lastBottom = y1;
  }
  return out;
}
} // namespace

TBandedRegion::TBandedRegion(const QRectF& rect) {
  QRectF n = rect.normalized();
  if (Usable(n)) FRects.push_back(n);
}

std::optional<TBandedRegion> TBandedRegion::Union(std::span<const QRectF> rects, size_t maxRects) {
  std::optional<std::vector<QRectF>> swept = Sweep(UsableRects(rects), {}, Or, maxRects);
  if (!swept) return std::nullopt;
  TBandedRegion r;
  r.FRects = std::move(*swept);
  return r;
}

std::optional<TBandedRegion> TBandedRegion::Combine(const TBandedRegion& a, const TBandedRegion& b, TOp op,
                                                    size_t maxRects) {
  if (b.FRects.size() == 1 && op != Xor) {
    // One rectangle (a clip rectangle) changes only the bands beside it: the others are copied.
    const QRectF& r = b.FRects.front();
    std::vector<QRectF> above, beside, below;
    for (const QRectF& rect : a.FRects) {
      if (rect.bottom() <= r.top())
        above.push_back(rect);
      else if (rect.top() >= r.bottom())
        below.push_back(rect);
      else
        beside.push_back(rect);
    }
    std::optional<std::vector<QRectF>> middle = Sweep(std::move(beside), b.FRects, op, maxRects);
    if (!middle) return std::nullopt;
    TBandedRegion out;
    if (op == And) {
      out.FRects = std::move(*middle);
    } else {
      if (above.size() + middle->size() + below.size() > maxRects) return std::nullopt;
      out.FRects = std::move(above);
      out.FRects.insert(out.FRects.end(), middle->begin(), middle->end());
      out.FRects.insert(out.FRects.end(), below.begin(), below.end());
    }
    return out;
  }
  std::optional<std::vector<QRectF>> swept = Sweep(a.FRects, b.FRects, op, maxRects);
  if (!swept) return std::nullopt;
  TBandedRegion r;
  r.FRects = std::move(*swept);
  return r;
}

QRectF TBandedRegion::BoundingRect() const {
  if (FRects.empty()) return QRectF();
  double l = FRects.front().left(), r = FRects.front().right();
  for (const QRectF& rect : FRects) {
    l = std::min(l, rect.left());
    r = std::max(r, rect.right());
  }
  return QRectF(QPointF(l, FRects.front().top()), QPointF(r, FRects.back().bottom()));
}

QPainterPath TBandedRegion::ToPath() const {
  QPainterPath path;
  for (const QRectF& r : FRects)
    path.addRect(r);
  return path;
}

TBandedRegion TBandedRegion::Translated(QPointF delta) const {
  TBandedRegion r = *this;
  for (QRectF& rect : r.FRects)
    rect.translate(delta);
  return r;
}

std::optional<TBandedRegion> TBandedRegion::Mapped(const QTransform& t) const {
  if (t.m12() != 0 || t.m21() != 0 || t.m13() != 0 || t.m23() != 0) return std::nullopt;
  if (t.m11() > 0 && t.m22() > 0) {
    TBandedRegion r = *this;
    for (QRectF& rect : r.FRects)
      rect = t.mapRect(rect);
    return r;
  }
  // A mirroring transform reverses the order of bands or intervals: sort again.
  std::vector<QRectF> mapped;
  mapped.reserve(FRects.size());
  for (const QRectF& rect : FRects)
    mapped.push_back(t.mapRect(rect));
  return Union(mapped, mapped.size() + 1);
}
