#include "EmfPlusPlayback.h"

#include <algorithm>
#include <cmath>

#include "TextFonts.h"
#include "platform/emfwriter/EmfRecordBuilder.h"
#include "platform/metafile/EmfRecordViews.h"
#include "platform/metafile/PageBudget.h"
#include "platform/rtl/Utf8.h"

using namespace emf;

namespace {
// The strings are drawn in a space where the font's em is this many units: LOGFONT heights and advances
// are integers, and the world transform scales that space to the layer's.
constexpr double kTextEm = 256;

// Records that put something on the page.
bool Draws(uint32_t type) {
  auto in = [type](uint32_t first, uint32_t last) { return type >= first && type <= last; };
  return in(EMR_POLYBEZIER, EMR_POLYPOLYGON) || type == EMR_SETPIXELV || in(EMR_ANGLEARC, EMR_PIE) ||
         in(EMR_EXTFLOODFILL, EMR_POLYDRAW) || in(EMR_FILLPATH, EMR_STROKEPATH) ||
         in(EMR_FILLRGN, EMR_PAINTRGN) || in(EMR_BITBLT, EMR_STRETCHDIBITS) ||
         in(EMR_EXTTEXTOUTA, EMR_POLYDRAW16) || in(EMR_POLYTEXTOUTA, EMR_POLYTEXTOUTW) ||
         type == EMR_SMALLTEXTOUT || type == EMR_ALPHABLEND || type == EMR_TRANSPARENTBLT ||
         type == EMR_GRADIENTFILL;
}

double DeviceDpi(const TEnhMetaHeader& h) {
  return h.szlMillimeters.cx > 0 && h.szlDevice.cx > 0 ? h.szlDevice.cx * 25.4 / h.szlMillimeters.cx : 96;
}

int32_t Round32(double v) {
  return static_cast<int32_t>(std::clamp(std::round(v), -2147483647.0, 2147483647.0));
}

// Shapes are drawn in units of this part of a device pixel (GDI points are integers).
constexpr double kShapeUnitsPerPixel = 16;
// A colour this transparent or more is left out (GDI has no translucency); a more opaque one is drawn
// solid.
constexpr uint32_t kLeastAlpha = 0x80;

// The parts of the records that all shapes and strings share.
class TRecordPlayer {
 public:
  TRecordPlayer(const TEmfRecord& comment, const std::function<void(const TEmfRecord&)>& play)
      : FComment(comment), FPlay(play) {}
  void Play(TEmfRecordBuilder& b) {
    const std::vector<uint8_t>& record = b.Bytes();
    TEmfRecord r = FComment;
    r.Type = record[0] | record[1] << 8;
    r.Size = static_cast<uint32_t>(record.size());
    r.Data = ByteView(record.data(), record.size());
    FPlay(r);
  }
  void Simple(uint32_t type, std::initializer_list<int32_t> values) {
    TEmfRecordBuilder b(type);
    for (int32_t v : values)
      b.I32(v);
    Play(b);
  }
  // Saves the state and draws in device pixels scaled by `m` (MM_TEXT, origins at zero).
  void Begin(const TAffine& m) {
    Simple(EMR_SAVEDC, {});
    Simple(EMR_SETMAPMODE, {MM_TEXT});
    Simple(EMR_SETWINDOWORGEX, {0, 0});
    Simple(EMR_SETVIEWPORTORGEX, {0, 0});
    TEmfRecordBuilder b(EMR_SETWORLDTRANSFORM);
    for (double v : {m.m11, m.m12, m.m21, m.m22, m.dx, m.dy})
      b.F32(static_cast<float>(v));
    Play(b);
  }
  void End(uint32_t slot, uint32_t stock) {
    Simple(EMR_SELECTOBJECT, {static_cast<int32_t>(STOCK_OBJECT | stock)});
    Simple(EMR_DELETEOBJECT, {static_cast<int32_t>(slot)});
    Simple(EMR_RESTOREDC, {-1});
  }

 private:
  const TEmfRecord& FComment;
  const std::function<void(const TEmfRecord&)>& FPlay;
};

uint32_t ColorRef(uint32_t argb) {
  return (argb >> 16 & 0xFF) | (argb & 0xFF00) | (argb & 0xFF) << 16;
}

bool Usable(const TAffine& m) {
  for (double v : {m.m11, m.m12, m.m21, m.m22, m.dx, m.dy})
    if (std::fabs(v) > 3e38) return false; // as floats in the records
  return m.Finite() && std::fabs(m.Det()) > 1e-12;
}
} // namespace

TEmfPlusPlayback::TEmfPlusPlayback(const TMetafile& page)
    : FSlot(std::max<uint32_t>(1, page.Empty() ? 1 : page.Header().nHandles)),
      FDeviceDpi(page.Empty() ? 96 : DeviceDpi(page.Header())), FLayer(FDeviceDpi) {
  if (page.Empty()) return;
  bool plus = false, gdi = false;
  try {
    page.EnumerateRecords([&](const TEmfRecord& record) {
      if (Draws(record.Type)) gdi = true;
      if (record.Type == EMR_GDICOMMENT && emfplus::IsEmfPlusComment(record.Data)) plus = true;
      return gdi ? 0 : 1;
    });
  } catch (const EDamagedData&) {
    // A page whose records break off: what came before decides; the renderer meets the break itself.
  }
  FActive = plus && !gdi;
}

bool TEmfPlusPlayback::Translate(const TEmfRecord& comment,
                                 const std::function<void(const TEmfRecord&)>& play) {
  if (!FActive || comment.Type != EMR_GDICOMMENT) return true;
  const size_t limit = DefaultPageLimits().PlusItems;
  if (FItems > limit) return true; // already reported
  try {
    FLayer.Read(
        comment.Data,
        [&](const TPlusString& string) {
          if (++FItems <= limit) Emit(string, comment, play);
        },
        [&](const TPlusShape& shape) {
          if (++FItems <= limit) EmitShape(shape, comment, play);
        });
  } catch (const EDamagedData&) {
    return false;
  }
  return FItems <= limit;
}

void TEmfPlusPlayback::Emit(const TPlusString& s, const TEmfRecord& comment,
                            const std::function<void(const TEmfRecord&)>& play) {
  if ((s.Argb >> 24) < kLeastAlpha) return;
  TFontRequest request;
  request.FaceName = Utf16ToUtf8(s.Font.Family);
  request.Weight = s.Font.Bold ? 700 : 400;
  request.Italic = s.Font.Italic;
  const TTextFontFace& face = TextFontFace(request);
  TPlusFontMetrics metrics;
  metrics.Ascent = face.Ascent;
  metrics.Descent = face.Descent;
  metrics.LineSpacing = face.Ascent + face.Descent;
  metrics.Advance = [&face, &s](char32_t ch) {
    if (s.GlyphIndices) return face.Face ? face.Face->GlyphAdvance(static_cast<uint16_t>(ch)) / 1000.0 : 0.5;
    return NaturalAdvance(face, ch);
  };
  const std::vector<TPlusGlyph> glyphs = LayoutPlusString(s, metrics);
  if (glyphs.empty()) return;

  // Text space (an em of kTextEm units) to the layer's world, to its device pixels, to the page's.
  const double unit = s.Font.EmWorld / kTextEm, k = FDeviceDpi / FLayer.Dpi();
  const TAffine m = Then(Then(TAffine{unit, 0, 0, unit, 0, 0}, s.ToDevice), TAffine{k, 0, 0, k, 0, 0});
  if (!Usable(m)) return;

  // Renderers turn text by the font's escapement: the records get a world transform that only scales
  // (the baseline's length), and the turn goes into the font.
  const double scale = std::hypot(m.m11, m.m12);
  const double height = std::fabs(m.Det()) / scale / scale; // em height over em length
  const int32_t escapement = Round32(-std::atan2(m.m12, m.m11) * 1800 / M_PI);
  if (!(scale > 1e-9) || !(height > 0.01 && height < 100)) return;

  TRecordPlayer r(comment, play);
  r.Begin(TAffine{scale, 0, 0, scale, 0, 0});
  {
    TEmfRecordBuilder b(EMR_EXTCREATEFONTINDIRECTW);
    b.U32(FSlot).I32(-Round32(kTextEm * height)).I32(0).I32(escapement).I32(escapement);
    b.I32(s.Font.Bold ? 700 : 400);
    b.U8(s.Font.Italic).U8(s.Font.Underline).U8(s.Font.Strikeout).U8(DEFAULT_CHARSET).U8(0).U8(0).U8(0).U8(0);
    std::u16string name = s.Font.Family.substr(0, 31);
    name.resize(32, u'\0');
    b.Raw(name.data(), name.size() * 2);
    r.Play(b);
  }
  r.Simple(EMR_SELECTOBJECT, {static_cast<int32_t>(FSlot)});
  r.Simple(EMR_SETTEXTCOLOR, {static_cast<int32_t>(ColorRef(s.Argb))});
  r.Simple(EMR_SETBKMODE, {TRANSPARENT});
  r.Simple(EMR_SETTEXTALIGN, {TA_BASELINE | TA_LEFT | TA_NOUPDATECP});

  // One EXTTEXTOUTW per line (glyphs on one baseline), advances from where each next glyph starts.
  for (size_t begin = 0; begin < glyphs.size();) {
    size_t end = begin + 1;
    while (end < glyphs.size() && glyphs[end].Y == glyphs[begin].Y)
      ++end;
    std::u16string text;
    std::vector<int32_t> dx;
    const double x0 = glyphs[begin].X / unit, y0 = glyphs[begin].Y / unit;
    int32_t placed = 0;
    for (size_t i = begin; i < end; ++i) {
      const double next = i + 1 < end ? glyphs[i + 1].X : glyphs[i].X + glyphs[i].Advance;
      const int32_t at = Round32(next / unit - x0);
      dx.push_back(at - placed);
      placed = at;
      text += glyphs[i].Char == u'\r' || glyphs[i].Char == u'\n' ? u' ' : glyphs[i].Char;
    }
    TEmfRecordBuilder b(EMR_EXTTEXTOUTW);
    b.Rect(0, 0, -1, -1).U32(GM_ADVANCED).F32(0).F32(0);
    const uint32_t count = static_cast<uint32_t>(text.size());
    const uint32_t dxAt = 76 + (count * 2 + 3) / 4 * 4;
    double px, py;
    m.Map(x0, y0, px, py);
    b.I32(Round32(px / scale))
        .I32(Round32(py / scale))
        .U32(count)
        .U32(76)
        .U32(s.GlyphIndices ? ETO_GLYPH_INDEX : 0);
    b.Rect(0, 0, 0, 0).U32(dxAt);
    b.Raw(text.data(), text.size() * 2).Align4();
    for (int32_t d : dx)
      b.I32(d);
    r.Play(b);
    begin = end;
  }
  r.End(FSlot, SYSTEM_FONT);
}

void TEmfPlusPlayback::EmitShape(const TPlusShape& s, const TEmfRecord& comment,
                                 const std::function<void(const TEmfRecord&)>& play) {
  if ((s.Argb >> 24) < kLeastAlpha) return;
  // Points are mapped here, to logical units of 1/16 device pixel, and the records only scale them back:
  // a renderer that applies no turn or shear of a world transform still draws the shape in place.
  const double k = FDeviceDpi / FLayer.Dpi();
  const TAffine toPage = Then(s.ToDevice, TAffine{k, 0, 0, k, 0, 0});
  if (!Usable(toPage)) return;
  const TAffine m{1 / kShapeUnitsPerPixel, 0, 0, 1 / kShapeUnitsPerPixel, 0, 0};
  std::vector<std::pair<int32_t, int32_t>> points;
  points.reserve(s.Points.size());
  for (const emfplus::PointF& p : s.Points) {
    double x, y;
    toPage.Map(p.x, p.y, x, y);
    x *= kShapeUnitsPerPixel;
    y *= kShapeUnitsPerPixel;
    if (!(std::fabs(x) < 1e9 && std::fabs(y) < 1e9)) return;
    points.emplace_back(Round32(x), Round32(y));
  }

  TRecordPlayer r(comment, play);
  r.Begin(m);
  if (s.Fill) {
    TEmfRecordBuilder b(EMR_CREATEBRUSHINDIRECT);
    b.U32(FSlot).U32(BS_SOLID).U32(ColorRef(s.Argb)).U32(0);
    r.Play(b);
    r.Simple(EMR_SELECTOBJECT, {static_cast<int32_t>(FSlot)});
    r.Simple(EMR_SELECTOBJECT, {static_cast<int32_t>(STOCK_OBJECT | NULL_PEN)});
    r.Simple(EMR_SETPOLYFILLMODE, {ALTERNATE});
  } else {
    // The pen keeps its width in the mean scale of the layer's transform.
    const double width = s.PenWidth * std::sqrt(std::fabs(toPage.Det())) * kShapeUnitsPerPixel;
    const bool thin = !(width >= 1.5) || width > 1e7;
    TEmfRecordBuilder b(EMR_EXTCREATEPEN);
    b.U32(FSlot).U32(0).U32(0).U32(0).U32(0);
    b.U32(thin ? PS_COSMETIC | PS_SOLID : PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT | PS_JOIN_MITER);
    b.U32(thin ? 1 : static_cast<uint32_t>(Round32(width))).U32(BS_SOLID).U32(ColorRef(s.Argb)).U32(0).U32(0);
    r.Play(b);
    r.Simple(EMR_SELECTOBJECT, {static_cast<int32_t>(FSlot)});
    r.Simple(EMR_SELECTOBJECT, {static_cast<int32_t>(STOCK_OBJECT | NULL_BRUSH)});
  }
  r.Simple(EMR_BEGINPATH, {});
  // Runs of lines and of Bézier points become one POLYLINETO or POLYBEZIERTO each.
  for (size_t i = 0; i < points.size();) {
    const uint8_t type = s.Types[i] & emfplus::PathTypeMask;
    if (type == emfplus::PathStart || i == 0) {
      r.Simple(EMR_MOVETOEX, {points[i].first, points[i].second});
      if (s.Types[i] & emfplus::PathClose) r.Simple(EMR_CLOSEFIGURE, {});
      ++i;
      continue;
    }
    size_t end = i;
    while (end < points.size() && (s.Types[end] & emfplus::PathTypeMask) == type &&
           (end == i || !(s.Types[end - 1] & emfplus::PathClose)))
      ++end;
    size_t count = end - i;
    if (type == emfplus::PathBezier) count -= count % 3;
    if (count > 0 && (type == emfplus::PathLine || type == emfplus::PathBezier)) {
      TEmfRecordBuilder b(type == emfplus::PathLine ? EMR_POLYLINETO : EMR_POLYBEZIERTO);
      b.Rect(0, 0, -1, -1).U32(static_cast<uint32_t>(count));
      for (size_t j = i; j < i + count; ++j)
        b.I32(points[j].first).I32(points[j].second);
      r.Play(b);
    }
    if (s.Types[end - 1] & emfplus::PathClose) r.Simple(EMR_CLOSEFIGURE, {});
    i = end;
  }
  r.Simple(EMR_ENDPATH, {});
  r.Simple(s.Fill ? EMR_FILLPATH : EMR_STROKEPATH, {0, 0, -1, -1});
  r.End(FSlot, s.Fill ? WHITE_BRUSH : BLACK_PEN);
}
