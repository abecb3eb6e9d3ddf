#pragma once
// Drawing one run of text the way ExtTextOut does: reference point and alignment, optional advance
// array, opaque and clipping rectangle, background, underline and strike-out, escapement.
#include <QRectF>
#include <QString>
#include <vector>

#include "DeviceContext.h"

struct TTextRun {
  QPointF Ref;                // logical units (ignored with TA_UPDATECP: the current position is used)
  QString Text;               // UTF-16 text, or glyph indices with ETO_GLYPH_INDEX
  std::vector<double> Dx, Dy; // advances in logical units; empty for the font's own spacing
  uint32_t Options = 0;       // ETO_*
  bool HasRect = false;
  QRectF Rect; // logical units, for ETO_OPAQUE / ETO_CLIPPED
};

bool DrawTextRun(TGdiDC& dc, const TTextRun& run);

// Text in the code page that a font's character set implies (EXTTEXTOUTA, TextOutA).
QString DecodeAnsiText(const char* bytes, size_t length, uint8_t charSet);
