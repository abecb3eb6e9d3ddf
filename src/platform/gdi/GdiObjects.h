#pragma once
// The drawing objects a metafile creates (pens, brushes, fonts, palettes) and the handle table that holds
// them during playback. Objects are shared: a selected object stays usable after its handle is deleted.
#include <QColor>
#include <QImage>
#include <QRawFont>
#include <QString>
#include <QVector>
#include <cstdint>
#include <memory>
#include <vector>

#include "BitmapMemory.h"
#include "platform/rtl/ByteView.h"

// A COLORREF (0x00BBGGRR) as a Qt colour.
inline QColor ColorRefToQColor(uint32_t c) {
  return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

struct TGdiPen {
  uint32_t Style = 0;         // PS_* style, cap, join and type bits
  double Width = 1;           // logical units; 0 means one device pixel
  uint32_t Color = 0;         // COLORREF
  std::vector<double> Dashes; // PS_USERSTYLE entries, logical units
  bool Null() const;
  bool Geometric() const;
};

struct TGdiBrush {
  uint32_t Style = 0; // BS_*
  uint32_t Color = 0; // COLORREF
  uint32_t Hatch = 0;
  QImage Pattern; // BS_DIBPATTERN / monochrome brushes; for 1-bit images colours come from the DC
  std::shared_ptr<const void> PatternCharge; // the pattern's share of the page's bitmap memory
  bool Monochrome = false;
  // A monochrome pattern in the colours it was last drawn in: converted once, not on every fill.
  mutable QImage MonoPattern;
  mutable QRgb MonoFore = 0, MonoBack = 0;
  bool Null() const { return Style == 1; }
};

struct TGdiFont {
  int32_t Height = 0, Width = 0, Escapement = 0, Orientation = 0, Weight = 0;
  bool Italic = false, Underline = false, StrikeOut = false;
  uint8_t CharSet = 0, PitchAndFamily = 0;
  QString FaceName;
  // Resolved once, at an em of 1 pixel per unit; copies are resized for drawing.
  mutable bool Resolved = false;
  mutable QRawFont Raw;
  mutable double CellToEm = 1; // em height / cell height (ascent + descent)
  mutable double AvgCharWidthPerEm = 0.5;
  // The last size drawn at: consecutive texts in one font usually share it.
  mutable double SizedPixels = 0;
  mutable QRawFont Sized;
};

struct TGdiPalette {
  std::vector<uint32_t> Colors; // 0x00RRGGBB
};

struct TGdiObject {
  enum Kind { Pen, Brush, Font, Palette } kind = Pen;
  TGdiPen pen;
  TGdiBrush brush;
  TGdiFont font;
  TGdiPalette palette;
};
using TGdiObjectPtr = std::shared_ptr<const TGdiObject>;

// The handle table of one playback: index 0 is the metafile itself and never holds an object.
class THandleTable {
 public:
  explicit THandleTable(size_t count = 0) : FObjects(count) {}
  size_t Count() const { return FObjects.size(); }
  // False when the index is outside the table or 0.
  bool Put(uint32_t index, TGdiObjectPtr object);
  TGdiObjectPtr Get(uint32_t index) const;
  bool Delete(uint32_t index);
  void Clear() { FObjects.assign(FObjects.size(), nullptr); }
  // The decoded bitmaps alive during the playback: its blits and its pattern brushes.
  TBitmapMemory& Bitmaps() { return FBitmaps; }

 private:
  std::vector<TGdiObjectPtr> FObjects;
  TBitmapMemory FBitmaps;
};

// The stock objects, by index (0..19) or as records select them (with STOCK_OBJECT); null for unknown
// indices.
TGdiObjectPtr StockObject(uint32_t index);

// Record readers (record bytes from the type field on); they raise EDamagedData on short records.
TGdiObject ReadCreatePen(ByteView rec);
TGdiObject ReadExtCreatePen(ByteView rec);
TGdiObject ReadCreateBrush(ByteView rec);
TGdiObject ReadCreateFont(ByteView rec);
TGdiObject ReadCreatePalette(ByteView rec);
