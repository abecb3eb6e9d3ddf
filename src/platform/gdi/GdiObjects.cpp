#include "GdiObjects.h"

#include "GdiConsts.h"

bool TGdiPen::Null() const {
  return (Style & PS_STYLE_MASK) == PS_NULL;
}
bool TGdiPen::Geometric() const {
  return (Style & PS_GEOMETRIC) != 0;
}

bool THandleTable::Put(uint32_t index, TGdiObjectPtr object) {
  if (index == 0 || index >= FObjects.size()) return false;
  FObjects[index] = std::move(object);
  return true;
}

TGdiObjectPtr THandleTable::Get(uint32_t index) const {
  if (index & STOCK_FLAG) return StockObject(index & ~STOCK_FLAG);
  if (index == 0 || index >= FObjects.size()) return nullptr;
  return FObjects[index];
}

bool THandleTable::Delete(uint32_t index) {
  if (index == 0 || index >= FObjects.size() || !FObjects[index]) return false;
  FObjects[index].reset();
  return true;
}

namespace {
TGdiObjectPtr MakeBrush(uint32_t style, uint32_t color) {
  auto o = std::make_shared<TGdiObject>();
  o->kind = TGdiObject::Brush;
  o->brush.Style = style;
  o->brush.Color = color;
  return o;
}
TGdiObjectPtr MakePen(uint32_t style, uint32_t color) {
  auto o = std::make_shared<TGdiObject>();
  o->kind = TGdiObject::Pen;
  o->pen.Style = style;
  o->pen.Width = 0;
  o->pen.Color = color;
  return o;
}
TGdiObjectPtr MakeFont(const char* face, int height, int weight) {
  auto o = std::make_shared<TGdiObject>();
  o->kind = TGdiObject::Font;
  o->font.FaceName = QString::fromLatin1(face);
  o->font.Height = height;
  o->font.Weight = weight;
  return o;
}
} // namespace

TGdiObjectPtr StockObject(uint32_t index) {
  static const TGdiObjectPtr stock[] = {
      MakeBrush(BS_SOLID, 0xFFFFFF),
      MakeBrush(BS_SOLID, 0xC0C0C0),
      MakeBrush(BS_SOLID, 0x808080),
      MakeBrush(BS_SOLID, 0x404040),
      MakeBrush(BS_SOLID, 0),
      MakeBrush(BS_NULL, 0),
      MakePen(PS_SOLID, 0xFFFFFF),
      MakePen(PS_SOLID, 0),
      MakePen(PS_NULL, 0),
      nullptr,
      MakeFont("Courier New", 12, 400),
      MakeFont("Courier New", 12, 400),
      MakeFont("Arial", 12, 400),
      MakeFont("Arial", 16, 700),
      MakeFont("Arial", 16, 700),
      nullptr,
      MakeFont("Courier New", 16, 400),
      MakeFont("Arial", -11, 400),
      MakeBrush(BS_SOLID, 0xFFFFFF),
      MakePen(PS_SOLID, 0),
  };
  if (index >= sizeof(stock) / sizeof(stock[0])) return nullptr;
  return stock[index];
}

TGdiObject ReadCreatePen(ByteView rec) {
  TGdiObject o;
  o.kind = TGdiObject::Pen;
  o.pen.Style = rec.U32(12);
  o.pen.Width = rec.I32(16);
  o.pen.Color = rec.U32(24);
  return o;
}

TGdiObject ReadExtCreatePen(ByteView rec) {
  TGdiObject o;
  o.kind = TGdiObject::Pen;
  o.pen.Style = rec.U32(28);
  o.pen.Width = rec.U32(32);
  uint32_t brushStyle = rec.U32(36);
  o.pen.Color = rec.U32(40);
  if (brushStyle == BS_NULL) o.pen.Style = (o.pen.Style & ~PS_STYLE_MASK) | PS_NULL;
  uint32_t entries = rec.U32(48);
  if ((o.pen.Style & PS_STYLE_MASK) == PS_USERSTYLE && entries > 0 && entries <= 16) {
    for (uint32_t i = 0; i < entries; ++i)
      o.pen.Dashes.push_back(rec.U32(52 + 4 * i));
  }
  if (!o.pen.Geometric()) o.pen.Width = 0; // cosmetic pens are one pixel wide
  return o;
}

TGdiObject ReadCreateBrush(ByteView rec) {
  TGdiObject o;
  o.kind = TGdiObject::Brush;
  o.brush.Style = rec.U32(12);
  o.brush.Color = rec.U32(16);
  o.brush.Hatch = rec.U32(20);
  if (o.brush.Style != BS_SOLID && o.brush.Style != BS_NULL && o.brush.Style != BS_HATCHED)
    o.brush.Style = BS_SOLID;
  return o;
}

TGdiObject ReadCreateFont(ByteView rec) {
  TGdiObject o;
  o.kind = TGdiObject::Font;
  TGdiFont& f = o.font;
  f.Height = rec.I32(12);
  f.Width = rec.I32(16);
  f.Escapement = rec.I32(20);
  f.Orientation = rec.I32(24);
  f.Weight = rec.I32(28);
  f.Italic = rec.U8(32) != 0;
  f.Underline = rec.U8(33) != 0;
  f.StrikeOut = rec.U8(34) != 0;
  f.CharSet = rec.U8(35);
  f.PitchAndFamily = rec.U8(39);
  // The face name is 32 UTF-16 units, NUL-terminated when shorter; records cut short keep what they have.
  for (size_t i = 0; i < 32 && rec.Has(40 + 2 * i, 2); ++i) {
    char16_t c = rec.U16(40 + 2 * i);
    if (c == 0) break;
    f.FaceName.append(QChar(c));
  }
  return o;
}

TGdiObject ReadCreatePalette(ByteView rec) {
  TGdiObject o;
  o.kind = TGdiObject::Palette;
  // ihPal, then LOGPALETTE: version (16), count (16), entries (R, G, B, flags).
  uint32_t count = rec.U16(14);
  for (uint32_t i = 0; i < count && rec.Has(16 + 4 * i, 4); ++i) {
    uint32_t e = rec.U32(16 + 4 * i);
    o.palette.Colors.push_back(((e & 0xFF) << 16) | (e & 0xFF00) | ((e >> 16) & 0xFF));
  }
  return o;
}
