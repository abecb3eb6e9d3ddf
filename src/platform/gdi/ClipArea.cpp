#include "ClipArea.h"

#include "GdiConsts.h"

namespace {
// The rectangle a path traces when it is one closed axis-parallel rectangle (as addRect and a mapped
// clip rectangle make it).
std::optional<QRectF> SingleRect(const QPainterPath& path) {
  int n = path.elementCount();
  if (n != 5 && n != 4) return std::nullopt;
  if (path.elementAt(0).type != QPainterPath::MoveToElement) return std::nullopt;
  for (int i = 1; i < n; ++i)
    if (path.elementAt(i).type != QPainterPath::LineToElement) return std::nullopt;
  QPointF p[4];
  for (int i = 0; i < 4; ++i)
    p[i] = path.elementAt(i);
  if (n == 5 && QPointF(path.elementAt(4)) != p[0]) return std::nullopt;
  bool horizontalFirst =
      p[0].y() == p[1].y() && p[1].x() == p[2].x() && p[2].y() == p[3].y() && p[3].x() == p[0].x();
  bool verticalFirst =
      p[0].x() == p[1].x() && p[1].y() == p[2].y() && p[2].x() == p[3].x() && p[3].y() == p[0].y();
  if (!horizontalFirst && !verticalFirst) return std::nullopt;
  return QRectF(p[0], p[2]).normalized();
}

TBandedRegion::TOp RegionOp(uint32_t op) {
  switch (op) {
  case RGN_AND:
    return TBandedRegion::And;
  case RGN_OR:
    return TBandedRegion::Or;
  case RGN_XOR:
    return TBandedRegion::Xor;
  default:
    return TBandedRegion::Diff;
  }
}

// What stands in for a result too costly to compute: the bounding box of everything it may cover.
QRectF ResultBounds(const QRectF& a, const QRectF& b, uint32_t op) {
  if (op == RGN_AND) return a.intersected(b);
  if (op == RGN_DIFF) return a;
  return a.united(b);
}

QPainterPath PathBoolean(const QPainterPath& a, const QPainterPath& b, uint32_t op) {
  switch (op) {
  case RGN_AND:
    return a.intersected(b);
  case RGN_OR:
    return a.united(b);
  case RGN_XOR:
    return a.united(b).subtracted(a.intersected(b));
  default:
    return a.subtracted(b);
  }
}
} // namespace

TClipArea::TClipArea(TBandedRegion rects) {
  auto d = std::make_shared<TData>();
  d->IsRects = true;
  d->Rects = std::move(rects);
  FData = std::move(d);
}

TClipArea::TClipArea(const QPainterPath& path) {
  auto d = std::make_shared<TData>();
  if (std::optional<QRectF> r = SingleRect(path)) {
    d->IsRects = true;
    d->Rects = TBandedRegion(*r);
  } else {
    d->Path = path;
    d->PathMade = true;
  }
  FData = std::move(d);
}

const QPainterPath& TClipArea::Path() const {
  static const QPainterPath none;
  if (!FData) return none;
  if (!FData->PathMade) {
    FData->Path = FData->Rects.ToPath();
    FData->PathMade = true;
  }
  return FData->Path;
}

QRectF TClipArea::BoundingRect() const {
  if (!FData) return QRectF();
  return FData->IsRects ? FData->Rects.BoundingRect() : FData->Path.boundingRect();
}

TClipArea TClipArea::Translated(QPointF delta) const {
  if (!FData) return *this;
  if (FData->IsRects) return TClipArea(FData->Rects.Translated(delta));
  return TClipArea(FData->Path.translated(delta));
}

TClipArea TClipArea::Combine(const TClipArea& a, const TClipArea& b, uint32_t op, const TPageLimits& limits,
                             bool& simplified) {
  if (a.IsRects() && b.IsRects()) {
    if (std::optional<TBandedRegion> r =
            TBandedRegion::Combine(a.Rects(), b.Rects(), RegionOp(op), limits.RegionRects))
      return TClipArea(std::move(*r));
  } else {
    // Path booleans cost far more than linear time in the elements (and their crossings); cutting by a
    // single rectangle stays cheap.
    bool byRect = op == RGN_AND && ((a.IsRects() && a.Rects().Rects().size() == 1) ||
                                    (b.IsRects() && b.Rects().Rects().size() == 1));
    size_t elements = size_t(a.Path().elementCount()) + size_t(b.Path().elementCount());
    if (byRect || elements <= limits.ClipPathElements) return TClipArea(PathBoolean(a.Path(), b.Path(), op));
  }
  simplified = true;
  return TClipArea(TBandedRegion(ResultBounds(a.BoundingRect(), b.BoundingRect(), op)));
}
