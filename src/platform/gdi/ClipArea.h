#pragma once
// TClipArea: a clip in output coordinates. It stays a list of banded rectangles while it is made of
// rectangles (the usual case: clip rectangles and regions), combining in linear time; only a clip path
// brings in path booleans, bounded by the page's clip budget. Copies share the area, so saved states cost
// nothing and an area restored unchanged is recognised as the one already set on the painter.
#include <QPainterPath>
#include <cstdint>
#include <memory>

#include "BandedRegion.h"
#include "platform/metafile/PageBudget.h"

class TClipArea {
 public:
  TClipArea() = default; // none: no clipping
  explicit TClipArea(TBandedRegion rects);
  // A single axis-parallel rectangle is kept as one.
  explicit TClipArea(const QPainterPath& path);

  bool None() const { return !FData; }
  bool IsRects() const { return FData && FData->IsRects; }
  const TBandedRegion& Rects() const { return FData->Rects; }
  // The area as a path (built once for rectangles).
  const QPainterPath& Path() const;
  QRectF BoundingRect() const;
  // The same area object (not merely an equal one).
  bool SameAs(const TClipArea& other) const { return FData == other.FData; }
  TClipArea Translated(QPointF delta) const;

  // a op b, op one of RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF. Sets `simplified` when the result went over the
  // limits and was replaced by a bounding box.
  static TClipArea Combine(const TClipArea& a, const TClipArea& b, uint32_t op, const TPageLimits& limits,
                           bool& simplified);

 private:
  struct TData {
    bool IsRects = false;
    TBandedRegion Rects;
    mutable bool PathMade = false;
    mutable QPainterPath Path;
  };
  std::shared_ptr<const TData> FData;
};
