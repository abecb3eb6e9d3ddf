#include "Regions.h"

#include <QRegion>
#include <vector>

QPainterPath ReadRegionData(ByteView data) {
  // RGNDATAHEADER: dwSize, iType, nCount, nRgnSize, rcBound; then nCount RECTLs.
  uint32_t headerSize = data.U32(0);
  uint32_t count = data.U32(8);
  if (headerSize < 32) headerSize = 32;
  data.Check(headerSize, static_cast<size_t>(count) * 16);
  // Rectangles of real region data are banded, but nothing guarantees it: unite them pairwise, which
  // stays fast for long lists and is right for any order.
  std::vector<QRegion> parts;
  parts.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    size_t off = headerSize + static_cast<size_t>(i) * 16;
    int32_t l = data.I32(off), t = data.I32(off + 4), r = data.I32(off + 8), b = data.I32(off + 12);
    if (r > l && b > t) parts.emplace_back(QRect(QPoint(l, t), QPoint(r - 1, b - 1)));
  }
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
