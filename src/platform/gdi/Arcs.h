#pragma once
// Elliptic arcs the way GDI defines them: on the ellipse inscribed in a rectangle, from the point where a
// ray from the centre through `start` meets it to where the ray through `end` meets it.
#include <QPainterPath>

// Appends the arc to `path` (with a line from the path's current point when `connect`, else a move).
// `clockwise` follows the context's arc direction as it appears on the device.
void AddGdiArc(QPainterPath& path, const QRectF& box, QPointF start, QPointF end, bool clockwise,
               bool connect);
// The point where the arc ends.
QPointF ArcEndPoint(const QRectF& box, QPointF end);
