#include "Regions.h"

#include <vector>

TRegionArea ReadRegionData(const emf::RegionDataView& data, size_t maxRects) {
  emf::Span<emf::RectL> rects = data.Rects();
  // Rectangles of real region data are banded, but nothing guarantees it: any order and any overlap unite
  // in one sweep.
  std::vector<QRectF> parts;
  parts.reserve(rects.size());
  QRectF bounds;
  for (emf::RectL r : rects)
    if (r.right > r.left && r.bottom > r.top) {
      parts.emplace_back(QPointF(r.left, r.top), QPointF(r.right, r.bottom));
      bounds = bounds.isNull() ? parts.back() : bounds.united(parts.back());
    }
  TRegionArea out;
  if (std::optional<TBandedRegion> united = TBandedRegion::Union(parts, maxRects)) {
    out.Area = std::move(*united);
  } else {
    out.Area = TBandedRegion(bounds);
    out.Simplified = true;
  }
  return out;
}
