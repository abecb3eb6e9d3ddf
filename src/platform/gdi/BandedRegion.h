#pragma once
// TBandedRegion: an area made of rectangles in y-x banded form, the way regions are stored: rows (bands)
// from top to bottom, each a list of disjoint x intervals from left to right, touching intervals merged and
// identical adjacent bands joined. Unions, intersections and differences are one sweep over both inputs,
// in time about the size of the inputs and the result, where path booleans on many rectangles take
// quadratic time or worse.
#include <QPainterPath>
#include <QRectF>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

class TBandedRegion {
 public:
  enum TOp { And, Or, Xor, Diff };

  TBandedRegion() = default;
  explicit TBandedRegion(const QRectF& rect);

  // The union of any rectangles, overlapping or in any order; empty ones are ignored. Nothing when the
  // result would hold more than `maxRects` rectangles or the sweep would cost far more than that.
  static std::optional<TBandedRegion> Union(std::span<const QRectF> rects, size_t maxRects);
  // `a` op `b`, with the same limit.
  static std::optional<TBandedRegion> Combine(const TBandedRegion& a, const TBandedRegion& b, TOp op,
                                              size_t maxRects);

  const std::vector<QRectF>& Rects() const { return FRects; }
  bool Empty() const { return FRects.empty(); }
  QRectF BoundingRect() const;
  // The rectangles as a path, in band order.
  QPainterPath ToPath() const;
  TBandedRegion Translated(QPointF delta) const;
  // Under a transform that only scales (either sign) and translates; nothing for one that rotates or
  // shears.
  std::optional<TBandedRegion> Mapped(const QTransform& transform) const;
  bool operator==(const TBandedRegion& other) const { return FRects == other.FRects; }

 private:
  std::vector<QRectF> FRects;
};
