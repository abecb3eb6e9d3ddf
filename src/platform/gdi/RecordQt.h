#pragma once
// The record views' plain values (platform/metafile/EmfRecordViews.h) as Qt geometry for the player.
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QTransform>
#include <QVector>

#include "platform/metafile/EmfRecordViews.h"

inline QPointF ToQt(emf::PointL p) {
  return QPointF(p.x, p.y);
}
inline QSizeF ToQt(emf::SizeL s) {
  return QSizeF(s.cx, s.cy);
}
// A RECTL (left, top, right, bottom) as given, not normalised.
inline QRectF ToQt(const emf::RectL& r) {
  return QRectF(QPointF(r.left, r.top), QPointF(r.right, r.bottom));
}
// The points of a span; its count has been checked against the record, so the vector is no larger than
// the record's bytes allow.
inline QVector<QPointF> ToQt(const emf::PointSpan& points) {
  QVector<QPointF> out;
  out.reserve(static_cast<qsizetype>(points.size()));
  for (emf::PointL p : points)
    out.push_back(ToQt(p));
  return out;
}
