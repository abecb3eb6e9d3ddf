#include "EmfPlusLayer.h"

#include <algorithm>
#include <cmath>

using namespace emfplus;

namespace {
constexpr size_t kMaxSavedStates = 4096;

TAffine FromMatrix(const Matrix& m) {
  return {m.m11, m.m12, m.m21, m.m22, m.dx, m.dy};
}

bool IsSpace(char16_t c) {
  return c == u' ' || c == u'\t' || c == 0xA0;
}
} // namespace

TEmfPlusLayer::TEmfPlusLayer(double deviceDpi) : FDpi(deviceDpi > 1 && deviceDpi < 100000 ? deviceDpi : 96) {}

void TEmfPlusLayer::Read(ByteView comment, const std::function<void(const TPlusString&)>& draw,
                         const std::function<void(const TPlusShape&)>& shape) {
  ForEachEmfPlusRecord(comment, [&](const TPlusRecord& record) {
    try {
      if (shape && Shape(record, shape)) return;
      Apply(record, draw);
    } catch (const EDamagedData&) {
      // One damaged EMF+ record is skipped; the next one is read.
    }
  });
}

double TEmfPlusLayer::UnitPixels(uint32_t unit) const {
  switch (unit) {
  case UnitPoint:
    return FDpi / 72;
  case UnitInch:
    return FDpi;
  case UnitDocument:
    return FDpi / 300;
  case UnitMillimeter:
    return FDpi / 25.4;
  default: // world, display (a screen's pixels) and pixel
    return 1;
  }
}

TAffine TEmfPlusLayer::PageToDevice() const {
  const double k = UnitPixels(FState.PageUnit) * FState.PageScale;
  return {k, 0, 0, k, 0, 0};
}

void TEmfPlusLayer::Apply(const TPlusRecord& record, const std::function<void(const TPlusString&)>& draw) {
  switch (record.Type) {
  case Header: {
    HeaderView header(record.Data);
    const double dpi = header.DpiX();
    if (dpi > 1 && dpi < 100000) FDpi = dpi;
    break;
  }
  case Object:
    ReadObject(record);
    break;
  case SetWorldTransform:
  case ResetWorldTransform:
  case MultiplyWorldTransform:
  case TranslateWorldTransform:
  case ScaleWorldTransform:
  case RotateWorldTransform:
  case SetPageTransform:
    Transform(record);
    break;
  case Save:
  case BeginContainerNoParams:
    Push(record.Data.U32(0));
    break;
  case BeginContainer: {
    // The destination rectangle (in the flags' unit) receives the source rectangle (world units).
    const ByteView d = record.Data;
    const double dx = d.F32(0), dy = d.F32(4), dw = d.F32(8), dh = d.F32(12);
    const double sx = d.F32(16), sy = d.F32(20), sw = d.F32(24), sh = d.F32(28);
    const uint32_t index = d.U32(32);
    Push(index);
    if (!(sw != 0 && sh != 0)) break;
    const double unit = UnitPixels(record.Flags & 0xFF) / (UnitPixels(FState.PageUnit) * FState.PageScale);
    const double kx = dw / sw * unit, ky = dh / sh * unit;
    TAffine box{kx, 0, 0, ky, dx * unit - sx * kx, dy * unit - sy * ky};
    TAffine world = Then(box, FState.World);
    if (world.Finite() && std::fabs(world.Det()) > 1e-18) FState.World = world;
    break;
  }
  case Restore:
  case EndContainer:
    Pop(record.Data.U32(0));
    break;
  case DrawString: {
    DrawStringView v(record.Flags, record.Data);
    Span<char16_t> text = v.Text();
    if (text.empty() || text.size() > kMaxPlusStringUnits) break;
    TPlusString s;
    if (!FontOf(v.FontId(), s.Font)) break;
    s.Text.assign(text.begin(), text.end());
    s.Argb = ColorOf(v.ColorBrush(), v.Brush());
    s.ToDevice = Then(FState.World, PageToDevice());
    s.Layout = v.LayoutRect();
    if (const uint32_t f = v.FormatId(); f < 64 && FFormats[f].Valid) {
      s.Alignment = FFormats[f].Alignment;
      s.LineAlignment = FFormats[f].LineAlignment;
      s.FormatFlags = FFormats[f].Flags;
    }
    for (float c : {s.Layout.x, s.Layout.y, s.Layout.width, s.Layout.height})
      if (!std::isfinite(c)) return;
    draw(s);
    break;
  }
  case DrawDriverString: {
    DrawDriverStringView v(record.Flags, record.Data);
    Span<uint16_t> glyphs = v.Glyphs();
    if (glyphs.empty() || glyphs.size() > kMaxPlusStringUnits) break;
    TPlusString s;
    if (!FontOf(v.FontId(), s.Font)) break;
    s.Positioned = true;
    s.GlyphIndices = !(v.Options() & DriverCmapLookup);
    for (uint16_t g : glyphs)
      s.Text += static_cast<char16_t>(g);
    const size_t positions = (v.Options() & DriverRealizedAdvance) ? 1 : glyphs.size();
    for (size_t i = 0; i < positions; ++i) {
      PointF p = v.Position(i);
      if (!std::isfinite(p.x) || !std::isfinite(p.y)) return;
      s.Positions.push_back(p);
    }
    s.Argb = ColorOf(v.ColorBrush(), v.Brush());
    TAffine world = FState.World;
    if (v.HasMatrix()) {
      TAffine m = FromMatrix(v.Transform());
      if (!m.Finite() || std::fabs(m.Det()) < 1e-18) break;
      world = Then(m, world);
    }
    s.ToDevice = Then(world, PageToDevice());
    draw(s);
    break;
  }
  default:
    break;
  }
}

void TEmfPlusLayer::Transform(const TPlusRecord& record) {
  const ByteView d = record.Data;
  const bool append = record.Flags & FlagAppend;
  TAffine m;
  switch (record.Type) {
  case SetWorldTransform: {
    TAffine w = FromMatrix(ReadMatrix(d, 0));
    if (w.Finite()) FState.World = w;
    return;
  }
  case ResetWorldTransform:
    FState.World = TAffine();
    return;
  case SetPageTransform: {
    const double scale = d.F32(0);
    if (!(std::isfinite(scale) && scale > 1e-9 && scale < 1e9)) return;
    FState.PageUnit = record.Flags & 0xFF;
    FState.PageScale = scale;
    return;
  }
  case MultiplyWorldTransform:
    m = FromMatrix(ReadMatrix(d, 0));
    break;
  case TranslateWorldTransform:
    m = {1, 0, 0, 1, d.F32(0), d.F32(4)};
    break;
  case ScaleWorldTransform:
    m = {d.F32(0), 0, 0, d.F32(4), 0, 0};
    break;
  case RotateWorldTransform: {
    const double a = d.F32(0) * M_PI / 180, c = std::cos(a), s = std::sin(a);
    m = {c, s, -s, c, 0, 0};
    break;
  }
  default:
    return;
  }
  TAffine w = append ? Then(FState.World, m) : Then(m, FState.World);
  if (w.Finite()) FState.World = w;
}

void TEmfPlusLayer::ReadObject(const TPlusRecord& record) {
  ObjectView object(record.Flags, record.Data);
  if (object.Continued() || object.Id() >= 64) return;
  const uint8_t id = object.Id();
  FFonts[id].Valid = FFormats[id].Valid = FBrushes[id].Valid = FPens[id].Valid = false;
  FPaths[id] = TPathObject();
  switch (object.Kind()) {
  case ObjectFont: {
    FontView f(object.Body());
    Span<char16_t> name = f.FamilyName();
    TFontObject& font = FFonts[id];
    font.Family.assign(name.begin(), name.end());
    font.EmSize = f.EmSize();
    font.Unit = f.SizeUnit();
    font.Style = f.Style();
    font.Valid = std::isfinite(font.EmSize) && font.EmSize > 0 && font.EmSize < 1e7;
    break;
  }
  case ObjectStringFormat: {
    StringFormatView f(object.Body());
    FFormats[id] = {f.Flags(), f.Alignment(), f.LineAlignment(), true};
    break;
  }
  case ObjectPen: {
    PenView pen(object.Body());
    const double width = pen.Width();
    FPens[id] = {pen.Argb(), pen.Unit(), std::isfinite(width) && width > 0 && width < 1e6 ? width : 0, true};
    break;
  }
  case ObjectPath: {
    PathView path(object.Body());
    if (path.Count() > kMaxPlusShapePoints) break;
    TPathObject& p = FPaths[id];
    path.Points(p.Points);
    Span<uint8_t> types = path.Types();
    p.Types.assign(types.begin(), types.end());
    p.Valid = true;
    break;
  }
  case ObjectBrush: {
    BrushView b(object.Body());
    FBrushes[id] = {b.Argb(), true};
    break;
  }
  default:
    break;
  }
}

void TEmfPlusLayer::Push(uint32_t index) {
  if (FStack.size() < kMaxSavedStates) FStack.emplace_back(index, FState);
}

void TEmfPlusLayer::Pop(uint32_t index) {
  for (size_t i = FStack.size(); i-- > 0;)
    if (FStack[i].first == index) {
      FState = FStack[i].second;
      FStack.resize(i);
      return;
    }
}

bool TEmfPlusLayer::Shape(const TPlusRecord& record, const std::function<void(const TPlusShape&)>& shape) {
  const ByteView d = record.Data;
  const uint16_t flags = record.Flags;
  const bool compressed = flags & FlagCompressed;
  TPlusShape s;
  s.ToDevice = Then(FState.World, PageToDevice());
  auto rectangle = [&s](const RectF& r) {
    const PointF corners[] = {
        {r.x, r.y}, {r.x + r.width, r.y}, {r.x + r.width, r.y + r.height}, {r.x, r.y + r.height}};
    for (int i = 0; i < 4; ++i) {
      s.Points.push_back(corners[i]);
      s.Types.push_back(i == 0 ? PathStart : i == 3 ? PathLine | PathClose : PathLine);
    }
  };
  auto ellipse = [&s](const RectF& r) {
    // Four Bézier quarters, as drawing libraries approximate an ellipse.
    const float k = 0.5522847f, cx = r.x + r.width / 2, cy = r.y + r.height / 2, rx = r.width / 2,
                ry = r.height / 2;
    const PointF points[] = {{cx + rx, cy}, {cx + rx, cy + k * ry}, {cx + k * rx, cy + ry},
                             {cx, cy + ry}, {cx - k * rx, cy + ry}, {cx - rx, cy + k * ry},
                             {cx - rx, cy}, {cx - rx, cy - k * ry}, {cx - k * rx, cy - ry},
                             {cx, cy - ry}, {cx + k * rx, cy - ry}, {cx + rx, cy - k * ry},
                             {cx + rx, cy}};
    for (int i = 0; i < 13; ++i) {
      s.Points.push_back(points[i]);
      s.Types.push_back(i == 0 ? PathStart : i == 12 ? PathBezier | PathClose : PathBezier);
    }
  };
  auto fill = [&](bool colorBrush, uint32_t brush) {
    s.Fill = true;
    s.Argb = ColorOf(colorBrush, brush);
  };
  auto pen = [&](uint32_t id) {
    if (id >= 64 || !FPens[id].Valid) return false;
    s.Fill = false;
    s.Argb = FPens[id].Argb;
    const TPenObject& p = FPens[id];
    s.PenWidth = p.Unit == UnitWorld
                     ? p.Width
                     : p.Width * UnitPixels(p.Unit) / (UnitPixels(FState.PageUnit) * FState.PageScale);
    return true;
  };
  auto count = [](uint32_t n) {
    if (n > kMaxPlusShapePoints) throw EDamagedData("EMF+ shape of " + std::to_string(n) + " points");
    return n;
  };
  switch (record.Type) {
  case FillRects:
  case DrawRects: {
    const size_t at = record.Type == FillRects ? 8 : 4;
    const uint32_t n = count(d.U32(at - 4));
    CheckedArray(d, at, n, compressed ? 8 : 16, "EMF+ rectangles");
    if (record.Type == FillRects)
      fill(flags & FlagColorBrush, d.U32(0));
    else if (!pen(flags & 0xFF))
      return true;
    for (uint32_t i = 0; i < n; ++i)
      rectangle(ReadRect(d, at + i * (compressed ? 8 : 16), compressed));
    break;
  }
  case FillEllipse:
  case DrawEllipse:
    if (record.Type == FillEllipse)
      fill(flags & FlagColorBrush, d.U32(0));
    else if (!pen(flags & 0xFF))
      return true;
    ellipse(ReadRect(d, record.Type == FillEllipse ? 4 : 0, compressed));
    break;
  case FillPolygon:
  case DrawLines: {
    if (flags & FlagRelative) return true;
    const size_t at = record.Type == FillPolygon ? 8 : 4;
    ReadPoints(d, at, count(d.U32(at - 4)), compressed, s.Points);
    if (s.Points.empty()) return true;
    if (record.Type == FillPolygon)
      fill(flags & FlagColorBrush, d.U32(0));
    else if (!pen(flags & 0xFF))
      return true;
    s.Types.assign(s.Points.size(), PathLine);
    s.Types[0] = PathStart;
    if (record.Type == FillPolygon || (flags & FlagClosed)) s.Types.back() |= PathClose;
    break;
  }
  case FillPath:
  case DrawPath: {
    const uint8_t id = flags & 0xFF;
    if (id >= 64 || !FPaths[id].Valid) return true;
    if (record.Type == FillPath)
      fill(flags & FlagColorBrush, d.U32(0));
    else if (!pen(d.U32(0)))
      return true;
    s.Points = FPaths[id].Points;
    s.Types = FPaths[id].Types;
    break;
  }
  default:
    return false;
  }
  for (const PointF& p : s.Points)
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) return true;
  if (!s.Points.empty()) shape(s);
  return true;
}

bool TEmfPlusLayer::FontOf(uint8_t id, TPlusFont& font) const {
  if (id >= 64 || !FFonts[id].Valid) return false;
  const TFontObject& f = FFonts[id];
  font.Family = f.Family;
  // A font in world units scales with the world; one in a physical unit keeps its size on the page.
  font.EmWorld = f.Unit == UnitWorld
                     ? f.EmSize
                     : f.EmSize * UnitPixels(f.Unit) / (UnitPixels(FState.PageUnit) * FState.PageScale);
  font.Bold = f.Style & FontBold;
  font.Italic = f.Style & FontItalic;
  font.Underline = f.Style & FontUnderline;
  font.Strikeout = f.Style & FontStrikeout;
  return std::isfinite(font.EmWorld) && font.EmWorld > 0;
}

uint32_t TEmfPlusLayer::ColorOf(bool colorBrush, uint32_t brush) const {
  if (colorBrush) return brush;
  return brush < 64 && FBrushes[brush].Valid ? FBrushes[brush].Argb : 0xFF000000;
}

std::vector<TPlusGlyph> LayoutPlusString(const TPlusString& s, const TPlusFontMetrics& metrics) {
  std::vector<TPlusGlyph> glyphs;
  const double em = s.Font.EmWorld;
  const size_t n = s.Text.size();
  glyphs.reserve(n);
  if (s.Positioned) {
    double x = 0, y = 0;
    for (size_t i = 0; i < n; ++i) {
      if (i < s.Positions.size()) {
        x = s.Positions[i].x;
        y = s.Positions[i].y;
      }
      const double advance = metrics.Advance(s.Text[i]) * em;
      glyphs.push_back({s.Text[i], x, y, advance});
      x += advance;
    }
    return glyphs;
  }
  // Lines of the string: [begin, end) ranges of units with their widths.
  struct TLine {
    size_t Begin, End;
    double Width;
  };
  std::vector<double> advance(n);
  for (size_t i = 0; i < n; ++i)
    advance[i] = (s.Text[i] == u'\r' || s.Text[i] == u'\n') ? 0 : metrics.Advance(s.Text[i]) * em;
  const bool wrap = !(s.FormatFlags & FormatNoWrap) && s.Layout.width > 0;
  std::vector<TLine> lines;
  size_t begin = 0;
  while (begin <= n) {
    size_t end = begin, lastBreak = SIZE_MAX;
    double width = 0;
    while (end < n && s.Text[end] != u'\n') {
      if (wrap && !IsSpace(s.Text[end]) && width + advance[end] > s.Layout.width && lastBreak != SIZE_MAX) {
        end = lastBreak;
        break;
      }
      if (IsSpace(s.Text[end])) lastBreak = end + 1;
      width += advance[end];
      ++end;
    }
    // Trailing spaces take no room when the line is aligned.
    size_t visible = end;
    while (visible > begin && (IsSpace(s.Text[visible - 1]) || s.Text[visible - 1] == u'\r'))
      --visible;
    double shown = 0;
    for (size_t i = begin; i < visible; ++i)
      shown += advance[i];
    lines.push_back({begin, end, shown});
    if (end >= n) break;
    begin = s.Text[end] == u'\n' ? end + 1 : end;
    if (begin == n) break;
  }
  const double lineHeight = metrics.LineSpacing * em;
  const double total = lineHeight * static_cast<double>(lines.size());
  double top = s.Layout.y;
  if (s.LineAlignment == AlignCenter) top += (s.Layout.height - total) / 2;
  if (s.LineAlignment == AlignFar) top += s.Layout.height - total;
  for (size_t l = 0; l < lines.size(); ++l) {
    const TLine& line = lines[l];
    double x = s.Layout.x;
    if (s.Alignment == AlignCenter) x += (s.Layout.width - line.Width) / 2;
    if (s.Alignment == AlignFar) x += s.Layout.width - line.Width;
    const double baseline = top + lineHeight * static_cast<double>(l) + metrics.Ascent * em;
    for (size_t i = line.Begin; i < line.End; ++i) {
      glyphs.push_back({s.Text[i], x, baseline, advance[i]});
      x += advance[i];
    }
  }
  return glyphs;
}
