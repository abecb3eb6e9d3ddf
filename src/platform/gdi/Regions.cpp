#include "Regions.h"

#include <QRegion>
#include <vector>

QPainterPath ReadRegionData(const emf::RegionDataView& data) {
  emf::Span<emf::RectL> rects = data.Rects();
  // Rectangles of real region data are banded, but nothing guarantees it: unite them pairwise, which
  // stays fast for long lists and is right for any order.
  std::vector<QRegion> parts;
  parts.reserve(rects.size());
  for (emf::RectL r : rects)
    if (r.right > r.left && r.bottom > r.top)
      parts.emplace_back(QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)));
  while (parts.size() > 1) {
    size_t half = (parts.size() + 1) / 2;
    for (size_t i = 0; i + half < parts.size(); ++i)
      parts[i] = parts[i].united(parts[i + half]);
    parts.resize(half);
  }
  QPainterPath path;
  if (!parts.empty()) path.addRegion(parts.front());
  return path;
}
