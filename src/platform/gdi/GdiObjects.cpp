#include "GdiObjects.h"

#include "GdiConsts.h"
#include "platform/metafile/EmfRecordViews.h"

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
  if (index & STOCK_OBJECT) return StockObject(index);
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
  index = StockIndex(index);
  if (index >= sizeof(stock) / sizeof(stock[0])) return nullptr;
  return stock[index];
}

TGdiObject ReadCreatePen(ByteView rec) {
  CreatePenView v(rec);
  TGdiObject o;
  o.kind = TGdiObject::Pen;
  o.pen.Style = v.Style();
  o.pen.Width = v.Width();
  o.pen.Color = v.Color();
  return o;
}

TGdiObject ReadExtCreatePen(ByteView rec) {
  ExtCreatePenView v(rec);
  TGdiObject o;
  o.kind = TGdiObject::Pen;
  o.pen.Style = v.Style();
  o.pen.Width = v.Width();
  o.pen.Color = v.Color();
  if (v.BrushStyle() == BS_NULL) o.pen.Style = (o.pen.Style & ~PS_STYLE_MASK) | PS_NULL;
  uint32_t entries = v.StyleEntryCount();
  if ((o.pen.Style & PS_STYLE_MASK) == PS_USERSTYLE && entries > 0 && entries <= 16) {
    for (uint32_t dash : v.StyleEntries())
      o.pen.Dashes.push_back(dash);
  }
  if (!o.pen.Geometric()) o.pen.Width = 0; // cosmetic pens are one pixel wide
  return o;
}

TGdiObject ReadCreateBrush(ByteView rec) {
  CreateBrushView v(rec);
  TGdiObject o;
  o.kind = TGdiObject::Brush;
  o.brush.Style = v.Style();
  o.brush.Color = v.Color();
  o.brush.Hatch = v.Hatch();
  if (o.brush.Style != BS_SOLID && o.brush.Style != BS_NULL && o.brush.Style != BS_HATCHED)
    o.brush.Style = BS_SOLID;
  return o;
}

TGdiObject ReadCreateFont(ByteView rec) {
  LogFontView v = CreateFontView(rec).Font();
  TGdiObject o;
  o.kind = TGdiObject::Font;
  TGdiFont& f = o.font;
  f.Height = v.Height();
  f.Width = v.Width();
  f.Escapement = v.Escapement();
  f.Orientation = v.Orientation();
  f.Weight = v.Weight();
  f.Italic = v.Italic() != 0;
  f.Underline = v.Underline() != 0;
  f.StrikeOut = v.StrikeOut() != 0;
  f.CharSet = v.CharSet();
  f.PitchAndFamily = v.PitchAndFamily();
  // The face name is 32 UTF-16 units, NUL-terminated when shorter; records cut short keep what they have.
  for (char16_t c : v.FaceNameUnits())
    f.FaceName.append(QChar(c));
  return o;
}

TGdiObject ReadCreatePalette(ByteView rec) {
  CreatePaletteView v(rec);
  TGdiObject o;
  o.kind = TGdiObject::Palette;
  // PALETTEENTRY: R, G, B, flags; records cut short keep the entries they have.
  for (uint32_t e : v.PresentEntries())
    o.palette.Colors.push_back(((e & 0xFF) << 16) | (e & 0xFF00) | ((e >> 16) & 0xFF));
  return o;
}
