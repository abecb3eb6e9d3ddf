#pragma once
// The part of a device context that SAVEDC saves and RESTOREDC brings back.
#include <QPainterPath>
#include <QPointF>
#include <QSizeF>
#include <QTransform>

#include "ClipArea.h"
#include "GdiConsts.h"
#include "GdiObjects.h"

struct TDCState {
  int32_t MapMode = MM_TEXT;
  QPointF WindowOrg{0, 0}, ViewportOrg{0, 0};
  QSizeF WindowExt{1, 1}, ViewportExt{1, 1};
  QTransform World; // logical to page space

  TGdiObjectPtr Pen = StockObject(BLACK_PEN);
  TGdiObjectPtr Brush = StockObject(WHITE_BRUSH);
  TGdiObjectPtr Font = StockObject(DEVICE_DEFAULT_FONT);
  TGdiObjectPtr Palette;

  uint32_t TextColor = 0, BkColor = 0xFFFFFF, BkMode = OPAQUE, TextAlign = 0;
  uint32_t PolyFillMode = ALTERNATE, Rop2 = R2_COPYPEN, StretchBltMode = 1;
  uint32_t ArcDirection = AD_COUNTERCLOCKWISE;
  double MiterLimit = 10;
  QPointF CurrentPos; // logical units
  QPointF BrushOrg;

  // Clipping, in output coordinates. The meta region is the clip set aside by SETMETARGN; what is drawn
  // is clipped by both.
  TClipArea Clip, MetaClip;
};
