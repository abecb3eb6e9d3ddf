#include "EmfWriter.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "EmfTextWidths.h"
#include "platform/rtl/Exception.h"

using namespace emf;

namespace {
constexpr TEmfRect EmptyRect{0, 0, -1, -1};

// Device coordinates can leave the 32-bit range under extreme mappings; the bounds saturate instead.
int32_t Saturated(double v) {
  return static_cast<int32_t>(std::clamp(v, double(INT32_MIN), double(INT32_MAX)));
}
int32_t Floor(double v) {
  return Saturated(std::floor(v));
}
int32_t Ceil(double v) {
  return Saturated(std::ceil(v));
}

// Whole millimetres of a page side, at least 1.
int32_t Millimetres(int32_t pixels, int32_t dpi) {
  const double mm = std::round(pixels * 25.4 / std::max(dpi, 1));
  return static_cast<int32_t>(std::clamp(mm, 1.0, 1e9));
}

void WriteRect(TEmfRecordBuilder& r, const TEmfRect& rect) {
  r.Rect(rect.left, rect.top, rect.right, rect.bottom);
}

// A UTF-16 name in a fixed field of `units` code units, cut to leave room for the terminating zero.
void WriteName(TEmfRecordBuilder& r, const std::u16string& name, size_t units) {
  size_t n = std::min(name.size(), units - 1);
  r.Raw(name.data(), n * 2).Zeros((units - n) * 2);
}
} // namespace

TEmfWriter::TEmfWriter(int32_t widthPx, int32_t heightPx, int32_t dpi)
    : FWidth(widthPx), FHeight(heightPx),
      FDpi(dpi), FMillimetres{Millimetres(widthPx, dpi), Millimetres(heightPx, dpi)}, FObjects(1),
      FState(TEmfMapping({widthPx, heightPx}, FMillimetres)) {
  // The frame must fit 32 bits in hundredths of a millimetre: a page side of up to 20 km.
  if (widthPx <= 0 || heightPx <= 0 || dpi <= 0 || widthPx > 1000000 || heightPx > 1000000 ||
      std::max(FMillimetres.cx, FMillimetres.cy) > INT32_MAX / 1000)
    throw Exception("EMF page size out of range: " + std::to_string(widthPx) + " x " +
                    std::to_string(heightPx) + " pixels at " + std::to_string(dpi) + " dpi");
}

void TEmfWriter::CheckOpen() const {
  if (FFinished) throw Exception("EMF writer: the page is already finished");
}

void TEmfWriter::Emit(TEmfRecordBuilder& record) {
  CheckOpen();
  const std::vector<uint8_t>& bytes = record.Bytes();
  FRecords.insert(FRecords.end(), bytes.begin(), bytes.end());
  FRecordCount++;
}

void TEmfWriter::EmitPoint(uint32_t type, int32_t x, int32_t y) {
  TEmfRecordBuilder r(type);
  r.I32(x).I32(y);
  Emit(r);
}

void TEmfWriter::EmitU32(uint32_t type, uint32_t value) {
  TEmfRecordBuilder r(type);
  r.U32(value);
  Emit(r);
}

void TEmfWriter::EmitRectRecord(uint32_t type, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  TEmfRecordBuilder r(type);
  r.Rect(left, top, right, bottom);
  Emit(r);
}

// ---- objects ----

uint32_t TEmfWriter::AllocateHandle(const TObject& object) {
  CheckOpen();
  auto free = std::find_if(FObjects.begin() + 1, FObjects.end(), [](const auto& o) { return !o; });
  size_t index = static_cast<size_t>(free - FObjects.begin());
  if (free == FObjects.end()) FObjects.emplace_back();
  if (index > 0xFFFF) throw Exception("EMF writer: too many objects");
  FObjects[index] = object;
  return static_cast<uint32_t>(index);
}

uint32_t TEmfWriter::CreatePen(uint32_t style, int32_t width, uint32_t color) {
  uint32_t handle = AllocateHandle({TKind::Pen, (style & 0xF) == PS_NULL, width, 0, false});
  TEmfRecordBuilder r(EMR_CREATEPEN);
  r.U32(handle).U32(style).I32(width).I32(0).U32(color);
  Emit(r);
  return handle;
}

uint32_t TEmfWriter::CreateBrush(uint32_t style, uint32_t color, uint32_t hatch) {
  uint32_t handle = AllocateHandle({TKind::Brush, style == BS_NULL, 0, 0, false});
  TEmfRecordBuilder r(EMR_CREATEBRUSHINDIRECT);
  r.U32(handle).U32(style).U32(color).U32(hatch);
  Emit(r);
  return handle;
}

uint32_t TEmfWriter::CreateFont(const TEmfFont& font) {
  uint32_t handle = AllocateHandle({TKind::Font, false, 0, font.Height, font.Weight >= 600});
  std::u16string face = Utf8ToUtf16(font.Face);
  TEmfRecordBuilder r(EMR_EXTCREATEFONTINDIRECTW);
  r.U32(handle);
  // LOGFONTW
  r.I32(font.Height).I32(font.Width).I32(font.Escapement).I32(font.Orientation).I32(font.Weight);
  r.U8(font.Italic).U8(font.Underline).U8(font.StrikeOut).U8(font.CharSet);
  r.U8(font.OutPrecision).U8(font.ClipPrecision).U8(font.Quality).U8(font.PitchAndFamily);
  WriteName(r, face, 32);
  // The rest of the ENUMLOGFONTEXDVW that GDI records: full name, style, script, empty design vector.
  WriteName(r, face, 64);
  WriteName(r, u"", 32);
  WriteName(r, u"", 32);
  r.U32(0x08007664).U32(0);
  Emit(r);
  return handle;
}

void TEmfWriter::SelectObject(uint32_t handle) {
  CheckOpen();
  if (handle & STOCK_OBJECT) {
    uint32_t stock = handle & ~STOCK_OBJECT;
    if (stock <= 5)
      FState.Brush = {TKind::Brush, stock == 5};
    else if (stock <= 8)
      FState.Pen = {TKind::Pen, stock == 8};
    else if (stock >= 10 && stock <= 17 && stock != 15)
      FState.Font = {TKind::Font, false, 0, -16, false};
    else if (stock != 15)
      throw Exception("EMF writer: no stock object " + std::to_string(stock));
  } else {
    if (handle == 0 || handle >= FObjects.size() || !FObjects[handle])
      throw Exception("EMF writer: handle " + std::to_string(handle) + " is not a live object");
    const TObject& object = *FObjects[handle];
    (object.Kind == TKind::Pen     ? FState.Pen
     : object.Kind == TKind::Brush ? FState.Brush
                                   : FState.Font) = object;
  }
  EmitU32(EMR_SELECTOBJECT, handle);
}

void TEmfWriter::DeleteObject(uint32_t handle) {
  CheckOpen();
  if (handle == 0 || handle >= FObjects.size() || !FObjects[handle])
    throw Exception("EMF writer: handle " + std::to_string(handle) + " is not a live object");
  FObjects[handle].reset();
  EmitU32(EMR_DELETEOBJECT, handle);
}

// ---- state ----

void TEmfWriter::SetTextAlign(uint32_t align) {
  EmitU32(EMR_SETTEXTALIGN, align);
  FState.TextAlign = align;
}
void TEmfWriter::SetTextColor(uint32_t color) {
  EmitU32(EMR_SETTEXTCOLOR, color);
}
void TEmfWriter::SetBkColor(uint32_t color) {
  EmitU32(EMR_SETBKCOLOR, color);
}
void TEmfWriter::SetBkMode(int32_t mode) {
  EmitU32(EMR_SETBKMODE, static_cast<uint32_t>(mode));
}
void TEmfWriter::SetMapMode(int32_t mode) {
  EmitU32(EMR_SETMAPMODE, static_cast<uint32_t>(mode));
  FState.Mapping.SetMapMode(mode);
}
void TEmfWriter::SetWindowExt(int32_t cx, int32_t cy) {
  EmitPoint(EMR_SETWINDOWEXTEX, cx, cy);
  FState.Mapping.SetWindowExt(cx, cy);
}
void TEmfWriter::SetWindowOrg(int32_t x, int32_t y) {
  EmitPoint(EMR_SETWINDOWORGEX, x, y);
  FState.Mapping.SetWindowOrg(x, y);
}
void TEmfWriter::SetViewportExt(int32_t cx, int32_t cy) {
  EmitPoint(EMR_SETVIEWPORTEXTEX, cx, cy);
  FState.Mapping.SetViewportExt(cx, cy);
}
void TEmfWriter::SetViewportOrg(int32_t x, int32_t y) {
  EmitPoint(EMR_SETVIEWPORTORGEX, x, y);
  FState.Mapping.SetViewportOrg(x, y);
}

void TEmfWriter::SaveDC() {
  TEmfRecordBuilder r(EMR_SAVEDC);
  Emit(r);
  FSaved.push_back(FState);
}

void TEmfWriter::RestoreDC(int32_t level) {
  TEmfRecordBuilder r(EMR_RESTOREDC);
  r.I32(level);
  Emit(r);
  int64_t keep = level < 0 ? static_cast<int64_t>(FSaved.size()) + level : int64_t(level) - 1;
  if (level == 0 || keep < 0 || keep >= static_cast<int64_t>(FSaved.size())) return;
  FState = FSaved[static_cast<size_t>(keep)];
  FSaved.erase(FSaved.begin() + keep, FSaved.end());
}

void TEmfWriter::IntersectClipRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  EmitRectRecord(EMR_INTERSECTCLIPRECT, left, top, right, bottom);
  TBox box = DeviceBox(left, top, right, bottom);
  box.right -= 1;
  box.bottom -= 1;
  if (FState.Clipping) {
    box.left = std::max(box.left, FState.ClipLeft);
    box.top = std::max(box.top, FState.ClipTop);
    box.right = std::min(box.right, FState.ClipRight);
    box.bottom = std::min(box.bottom, FState.ClipBottom);
  }
  FState.Clipping = true;
  FState.ClipLeft = box.left;
  FState.ClipTop = box.top;
  FState.ClipRight = box.right;
  FState.ClipBottom = box.bottom;
}

void TEmfWriter::ResetClip() {
  TEmfRecordBuilder r(EMR_EXTSELECTCLIPRGN);
  r.U32(0).U32(RGN_COPY);
  Emit(r);
  FState.Clipping = false;
}

// ---- bounds ----

TEmfWriter::TBox TEmfWriter::DeviceBox(double left, double top, double right, double bottom) const {
  const TEmfMapping& m = FState.Mapping;
  double x1 = m.ToDeviceX(left), x2 = m.ToDeviceX(right), y1 = m.ToDeviceY(top), y2 = m.ToDeviceY(bottom);
  return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

TEmfWriter::TBox TEmfWriter::PointsBox(std::span<const TPointL> points) const {
  TBox box = DeviceBox(points[0].x, points[0].y, points[0].x, points[0].y);
  for (const TPointL& p : points) {
    TBox b = DeviceBox(p.x, p.y, p.x, p.y);
    box = {std::min(box.left, b.left), std::min(box.top, b.top), std::max(box.right, b.right),
           std::max(box.bottom, b.bottom)};
  }
  return box;
}

// A pen of width w covers w / 2 device pixels on either side of its path (a cosmetic pen: one pixel).
double TEmfWriter::PenExtra() const {
  return std::floor(std::max(1.0, std::round(FState.Pen.PenWidth * FState.Mapping.ScaleX())) / 2);
}

std::optional<TEmfWriter::TBox> TEmfWriter::StrokeBox(std::span<const TPointL> points) const {
  if (FState.Pen.Null || points.empty()) return std::nullopt;
  TBox box = PointsBox(points);
  double e = PenExtra();
  return TBox{box.left - e, box.top - e, box.right + e, box.bottom + e};
}

// Filled shapes leave out their right and bottom edge; the outline runs along the last pixels inside.
std::optional<TEmfWriter::TBox> TEmfWriter::FillBox(TBox box) const {
  double e = FState.Pen.Null ? 0 : PenExtra();
  if (FState.Pen.Null && FState.Brush.Null) return std::nullopt;
  return TBox{box.left - e, box.top - e, box.right - 1 + e, box.bottom - 1 + e};
}

std::optional<TEmfWriter::TBox> TEmfWriter::Clipped(std::optional<TBox> box) const {
  if (!box || !FState.Clipping) return box;
  TBox b{std::max(box->left, FState.ClipLeft), std::max(box->top, FState.ClipTop),
         std::min(box->right, FState.ClipRight), std::min(box->bottom, FState.ClipBottom)};
  if (b.left > b.right || b.top > b.bottom) return std::nullopt;
  return b;
}

void TEmfWriter::AddBounds(const std::optional<TBox>& box) {
  auto b = Clipped(box);
  if (!b) return;
  if (!FBounds) {
    FBounds = b;
    return;
  }
  FBounds = TBox{std::min(FBounds->left, b->left), std::min(FBounds->top, b->top),
                 std::max(FBounds->right, b->right), std::max(FBounds->bottom, b->bottom)};
}

TEmfRect TEmfWriter::ToRect(const std::optional<TBox>& box) {
  return box ? TEmfRect{Floor(box->left), Floor(box->top), Ceil(box->right), Ceil(box->bottom)} : EmptyRect;
}

// ---- drawing ----

void TEmfWriter::MoveTo(int32_t x, int32_t y) {
  EmitPoint(EMR_MOVETOEX, x, y);
  FState.Current = {x, y};
}

void TEmfWriter::LineTo(int32_t x, int32_t y) {
  EmitPoint(EMR_LINETO, x, y);
  TPointL points[] = {FState.Current, {x, y}};
  AddBounds(StrokeBox(points));
  FState.Current = {x, y};
}

void TEmfWriter::Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  EmitRectRecord(EMR_RECTANGLE, left, top, right, bottom);
  AddBounds(FillBox(DeviceBox(left, top, right, bottom)));
}

void TEmfWriter::Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  EmitRectRecord(EMR_ELLIPSE, left, top, right, bottom);
  AddBounds(FillBox(DeviceBox(left, top, right, bottom)));
}

void TEmfWriter::EmitPoly(uint32_t type, std::span<const TPointL> points, bool compact, bool closed) {
  std::optional<TBox> box;
  if (!points.empty()) box = StrokeBox(points);
  if (!box && closed && !points.empty() && !FState.Brush.Null) box = FillBox(PointsBox(points)); // fill alone
  TEmfRecordBuilder r(type);
  WriteRect(r, ToRect(box));
  r.U32(static_cast<uint32_t>(points.size()));
  for (const TPointL& p : points) {
    if (compact) {
      if (p.x < INT16_MIN || p.x > INT16_MAX || p.y < INT16_MIN || p.y > INT16_MAX)
        throw Exception("EMF writer: point (" + std::to_string(p.x) + ", " + std::to_string(p.y) +
                        ") does not fit a 16-bit record");
      r.I16(static_cast<int16_t>(p.x)).I16(static_cast<int16_t>(p.y));
    } else {
      r.I32(p.x).I32(p.y);
    }
  }
  Emit(r);
  AddBounds(box);
}

void TEmfWriter::Polyline(std::span<const TPointL> points) {
  EmitPoly(EMR_POLYLINE, points, false, false);
}
void TEmfWriter::Polygon(std::span<const TPointL> points) {
  EmitPoly(EMR_POLYGON, points, false, true);
}
void TEmfWriter::Polyline16(std::span<const TPointL> points) {
  EmitPoly(EMR_POLYLINE16, points, true, false);
}
void TEmfWriter::Polygon16(std::span<const TPointL> points) {
  EmitPoly(EMR_POLYGON16, points, true, true);
}

// ---- text ----

double TEmfWriter::FontEmHeight(const TObject& font) const {
  if (font.FontHeight < 0) return -static_cast<double>(font.FontHeight);
  // A cell height holds ascent and descent.
  if (font.FontHeight > 0) return font.FontHeight * 1000.0 / (SANS_ASCENT + SANS_DESCENT);
  return FDpi / 6.0 / FState.Mapping.ScaleY(); // 12 points
}

int32_t TEmfWriter::TextWidth(std::string_view utf8) const {
  auto advances = SansAdvances(
      Utf8ToUtf16(utf8), static_cast<int32_t>(std::lround(FontEmHeight(FState.Font))), FState.Font.Bold);
  int64_t sum = 0;
  for (int32_t a : advances)
    sum += a;
  return static_cast<int32_t>(sum);
}

void TEmfWriter::TextOut(int32_t x, int32_t y, std::string_view utf8) {
  ExtTextOut(x, y, 0, nullptr, Utf8ToUtf16(utf8));
}

void TEmfWriter::ExtTextOut(int32_t x, int32_t y, uint32_t options, const TEmfRect* rect,
                            std::u16string_view text, std::optional<std::span<const int32_t>> advances) {
  CheckOpen();
  std::vector<int32_t> dx;
  if (advances) {
    if (advances->size() != text.size())
      throw Exception("EMF writer: " + std::to_string(advances->size()) + " advances for " +
                      std::to_string(text.size()) + " characters");
    dx.assign(advances->begin(), advances->end());
  } else {
    dx = SansAdvances(text, static_cast<int32_t>(std::lround(FontEmHeight(FState.Font))), FState.Font.Bold);
  }
  if (FState.TextAlign & TA_UPDATECP) {
    x = FState.Current.x;
    y = FState.Current.y;
  }
  int64_t width = 0;
  for (int32_t a : dx)
    width += a;

  // The text cell in device units; text runs rightwards on the device.
  const TEmfMapping& m = FState.Mapping;
  double em = FontEmHeight(FState.Font) * m.ScaleY();
  double w = static_cast<double>(width) * m.ScaleX();
  double left = m.ToDeviceX(x), top = m.ToDeviceY(y);
  uint32_t horizontal = FState.TextAlign & TA_CENTER, vertical = FState.TextAlign & TA_BASELINE;
  if (horizontal == TA_CENTER)
    left -= w / 2;
  else if (horizontal == TA_RIGHT)
    left -= w;
  double height = em * (SANS_ASCENT + SANS_DESCENT) / 1000.0;
  if (vertical == TA_BASELINE)
    top -= em * SANS_ASCENT / 1000.0;
  else if (vertical == TA_BOTTOM)
    top -= height;
  std::optional<TBox> box;
  if (!text.empty()) box = TBox{left, top, left + w - 1, top + height - 1};
  std::optional<TBox> area;
  if (rect) {
    TBox r = DeviceBox(rect->left, rect->top, rect->right, rect->bottom);
    area = TBox{r.left, r.top, r.right - 1, r.bottom - 1};
  }
  if (box && area && (options & ETO_CLIPPED)) {
    box = TBox{std::max(box->left, area->left), std::max(box->top, area->top),
               std::min(box->right, area->right), std::min(box->bottom, area->bottom)};
    if (box->left > box->right || box->top > box->bottom) box.reset();
  }
  if (area && (options & ETO_OPAQUE)) AddBounds(area);
  AddBounds(box);
  if (FState.TextAlign & TA_UPDATECP) {
    if (horizontal == TA_LEFT) FState.Current.x += static_cast<int32_t>(width);
    if (horizontal == TA_RIGHT) FState.Current.x -= static_cast<int32_t>(width);
  }

  TEmfRecordBuilder r(EMR_EXTTEXTOUTW);
  WriteRect(r, ToRect(box));
  // Hundredths of a millimetre per pixel, which GDI records for the compatible graphics mode.
  r.U32(GM_COMPATIBLE).F32(FMillimetres.cx * 100.0f / FWidth).F32(FMillimetres.cy * 100.0f / FHeight);
  const uint32_t offString = 76;
  const uint32_t offDx = offString + static_cast<uint32_t>((text.size() * 2 + 3) / 4 * 4);
  r.I32(x).I32(y).U32(static_cast<uint32_t>(text.size())).U32(offString).U32(options);
  WriteRect(r, rect ? *rect : EmptyRect);
  r.U32(offDx);
  r.Raw(text.data(), text.size() * 2).Align4();
  for (int32_t a : dx)
    r.I32(a);
  Emit(r);
}

// ---- bitmaps ----

void TEmfWriter::StretchDIBits(int32_t x, int32_t y, int32_t cx, int32_t cy, const TEmfDib& dib,
                               uint32_t rop) {
  TBox d = DeviceBox(x, y, int64_t(x) + cx, int64_t(y) + cy);
  std::optional<TBox> box;
  if (cx != 0 && cy != 0) box = TBox{d.left, d.top, d.right - 1, d.bottom - 1};
  const uint32_t info = static_cast<uint32_t>(dib.Info().size()),
                 bits = static_cast<uint32_t>(dib.Bits().size());
  TEmfRecordBuilder r(EMR_STRETCHDIBITS);
  WriteRect(r, ToRect(box));
  r.I32(x).I32(y).I32(0).I32(0).I32(dib.Width()).I32(dib.Height());
  r.U32(80).U32(info).U32(80 + info).U32(bits).U32(DIB_RGB_COLORS).U32(rop).I32(cx).I32(cy);
  r.Raw(dib.Info().data(), info).Raw(dib.Bits().data(), bits);
  Emit(r);
  AddBounds(box);
}

// ---- records the writer does not interpret ----

void TEmfWriter::Comment(std::span<const uint8_t> data) {
  TEmfRecordBuilder r(EMR_GDICOMMENT);
  r.U32(static_cast<uint32_t>(data.size())).Raw(data.data(), data.size());
  Emit(r);
}

void TEmfWriter::RawRecord(uint32_t type, std::span<const uint8_t> parameters) {
  TEmfRecordBuilder r(type);
  r.Raw(parameters.data(), parameters.size());
  Emit(r);
}

// ---- the end ----

std::vector<uint8_t> TEmfWriter::Finish() {
  TEmfRecordBuilder eof(EMR_EOF);
  eof.U32(0).U32(16).U32(20); // no palette; nSizeLast repeats the record size
  Emit(eof);
  FFinished = true;

  TEmfRect bounds = ToRect(FBounds);
  TEmfRecordBuilder h(EMR_HEADER);
  WriteRect(h, bounds);
  h.Rect(0, 0, FMillimetres.cx * 100, FMillimetres.cy * 100); // rclFrame
  h.U32(ENHMETA_SIGNATURE).U32(ENHMETA_VERSION);
  h.U32(static_cast<uint32_t>(108 + FRecords.size()));  // nBytes
  h.U32(FRecordCount + 1);                              // nRecords, the header included
  h.U16(static_cast<uint16_t>(FObjects.size())).U16(0); // nHandles counts entry 0
  h.U32(0).U32(0).U32(0);                               // no description, no palette
  h.I32(FWidth).I32(FHeight).I32(FMillimetres.cx).I32(FMillimetres.cy);
  h.U32(0).U32(0).U32(0); // no pixel format, no OpenGL
  h.I32(FMillimetres.cx * 1000).I32(FMillimetres.cy * 1000);

  std::vector<uint8_t> out = h.Bytes();
  out.insert(out.end(), FRecords.begin(), FRecords.end());
  FRecords.clear();
  FRecords.shrink_to_fit();
  return out;
}

TMetafile TEmfWriter::ToMetafile() {
  TMetafile metafile;
  metafile.LoadFromBytes(Finish());
  return metafile;
}
