#include "ButtonGlyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

const char* ThemeName(TGlyph glyph) {
  switch (glyph) {
  case TGlyph::Print:
    return "document-print";
  case TGlyph::Pdf:
    return "application-pdf";
  case TGlyph::PrevPage:
    return "go-previous";
  case TGlyph::NextPage:
    return "go-next";
  case TGlyph::ZoomIn:
    return "zoom-in";
  case TGlyph::ZoomOut:
    return "zoom-out";
  case TGlyph::Open:
    return "document-open";
  case TGlyph::Save:
    return "document-save-as";
  case TGlyph::PrinterSetup:
    return "document-properties";
  case TGlyph::DefaultPrinter:
    return "printer";
  }
  return "";
}

void DrawArrow(QPainter& p, bool left) {
  QPainterPath arrow;
  const qreal tip = left ? 2 : 14, back = left ? 9 : 7, tail = left ? 14 : 2;
  arrow.moveTo(tip, 8);
  arrow.lineTo(back, 2);
  arrow.lineTo(back, 5);
  arrow.lineTo(tail, 5);
  arrow.lineTo(tail, 11);
  arrow.lineTo(back, 11);
  arrow.lineTo(back, 14);
  arrow.closeSubpath();
  p.setBrush(QColor(40, 110, 40));
  p.drawPath(arrow);
}

void DrawLens(QPainter& p, bool plus) {
  p.setBrush(Qt::white);
  p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
  p.setPen(QPen(Qt::black, 2));
  p.drawLine(QPointF(9.5, 9.5), QPointF(14.5, 14.5));
  p.setPen(QPen(Qt::black, 1.2));
  p.drawLine(QPointF(3.5, 6), QPointF(8.5, 6));
  if (plus) p.drawLine(QPointF(6, 3.5), QPointF(6, 8.5));
}

void DrawPrinter(QPainter& p) {
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4.5, 1.5, 7, 5));
  p.setBrush(QColor(150, 150, 150));
  p.drawRect(QRectF(1.5, 6.5, 13, 6));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4.5, 10.5, 7, 4));
}

void DrawFallback(QPainter& p, TGlyph glyph) {
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::black, 1));
  switch (glyph) {
  case TGlyph::Print:
  case TGlyph::DefaultPrinter:
    DrawPrinter(p);
    if (glyph == TGlyph::DefaultPrinter) {
      p.setBrush(QColor(40, 110, 40));
      p.drawEllipse(QRectF(10.5, 9.5, 5, 5));
    }
    break;
  case TGlyph::Pdf:
    p.setBrush(QColor(190, 30, 30));
    p.drawRect(QRectF(2.5, 1.5, 11, 13));
    p.setPen(QPen(Qt::white, 1.5));
    p.drawLine(QPointF(5, 5), QPointF(11, 5));
    p.drawLine(QPointF(5, 8), QPointF(11, 8));
    p.drawLine(QPointF(5, 11), QPointF(9, 11));
    break;
  case TGlyph::PrevPage:
  case TGlyph::NextPage:
    DrawArrow(p, glyph == TGlyph::PrevPage);
    break;
  case TGlyph::ZoomIn:
  case TGlyph::ZoomOut:
    DrawLens(p, glyph == TGlyph::ZoomIn);
    break;
  case TGlyph::Open:
    p.setBrush(QColor(230, 190, 80));
    p.drawRect(QRectF(1.5, 4.5, 13, 9));
    p.drawRect(QRectF(1.5, 2.5, 5, 2));
    break;
  case TGlyph::Save:
    p.setBrush(QColor(50, 80, 160));
    p.drawRect(QRectF(1.5, 1.5, 13, 13));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 1.5, 7, 5));
    break;
  case TGlyph::PrinterSetup:
    DrawPrinter(p);
    p.setBrush(QColor(60, 60, 200));
    p.drawEllipse(QRectF(9.5, 0.5, 6, 6));
    break;
  }
}

} // namespace

QIcon ButtonGlyph(TGlyph glyph) {
  const QIcon themed = QIcon::fromTheme(QString::fromLatin1(ThemeName(glyph)));
  if (!themed.isNull()) return themed;
  QPixmap picture(16, 16);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  DrawFallback(painter, glyph);
  painter.end();
  // The disabled picture comes from Qt's own greying of the normal one.
  return QIcon(picture);
}
