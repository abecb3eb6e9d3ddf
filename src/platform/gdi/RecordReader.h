#pragma once
// Small readers for the geometry inside metafile records; all go through the record's bounds-checked view.
#include <QPointF>
#include <QRectF>
#include <QVector>

#include "platform/rtl/ByteView.h"

inline QPointF ReadPointL(ByteView rec, size_t off) {
  return QPointF(rec.I32(off), rec.I32(off + 4));
}
inline QPointF ReadPointS(ByteView rec, size_t off) {
  return QPointF(rec.I16(off), rec.I16(off + 2));
}
// A RECTL (left, top, right, bottom) as given, not normalised.
inline QRectF ReadRectL(ByteView rec, size_t off) {
  return QRectF(QPointF(rec.I32(off), rec.I32(off + 4)), QPointF(rec.I32(off + 8), rec.I32(off + 12)));
}
// `count` points of 32-bit (POINTL) or 16-bit (POINTS) coordinates at `off`; raises EDamagedData when the
// record is shorter than the count says.
inline QVector<QPointF> ReadPoints(ByteView rec, size_t off, uint32_t count, bool shortPoints) {
  size_t size = shortPoints ? 4 : 8;
  rec.Check(off, static_cast<size_t>(count) * size);
  QVector<QPointF> points;
  points.reserve(count);
  for (uint32_t i = 0; i < count; ++i)
    points.push_back(shortPoints ? ReadPointS(rec, off + i * size) : ReadPointL(rec, off + i * size));
  return points;
}
