#pragma once
// Button pictures: the desktop icon theme's picture when it has one, else a small built-in drawing.
#include <QIcon>

enum class TGlyph {
  Print,
  Pdf,
  PrevPage,
  NextPage,
  ZoomIn,
  ZoomOut,
  Open,
  Save,
  PrinterSetup,
  DefaultPrinter
};

QIcon ButtonGlyph(TGlyph glyph);
