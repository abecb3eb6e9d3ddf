#include "Regions.h"

#include <QRegion>
#include <vector>

QPainterPath ReadRegionData(ByteView data) {
  // RGNDATAHEADER: dwSize, iType, nCount, nRgnSize, rcBound; then nCount RECTLs.
  uint32_t headerSize = data.U32(0);
  uint32_t count = data.U32(8);
  if (headerSize < 32) headerSize = 32;
  data.Check(headerSize, static_cast<size_t>(count) * 16);
  std::vector<QRect> rects;
  rects.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    size_t off = headerSize + static_cast<size_t>(i) * 16;
    int32_t l = data.I32(off), t = data.I32(off + 4), r = data.I32(off + 8), b = data.I32(off + 12);
    if (r > l && b > t) rects.emplace_back(QPoint(l, t), QPoint(r - 1, b - 1));
  }
  QRegion region;
  region.setRects(rects.data(), static_cast<int>(rects.size()));
  QPainterPath path;
  path.addRegion(region);
  return path;
}
