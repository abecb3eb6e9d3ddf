// TPdfEnum::TextOut: an EMR_EXTTEXTOUTW/A record as PDF text in the font matching the metafile's, made to
// occupy the width the metafile laid out (word spacing, horizontal scaling or one position per
// character), with its opaque background, clip, underline and strike-out.
#include <cmath>
#include <string>
#include <vector>

#include "pdf/PdfCanvas.h"
#include "pdf/PdfEnum.h"
#include "pdf/PdfPage.h"
#include "pdf/PdfStream.h"
#include "pdf/PdfWrite.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/MathUtil.h"

using namespace emf;

namespace {

constexpr double Pi = 3.14159265358979323846;
// The largest font size a page accepts.
constexpr float MaxFontSize = 2000;

float AxisSign(float worldFactor, int32_t viewExt, int32_t winExt) {
  bool negative = (worldFactor < 0) != ((viewExt < 0) != (winExt < 0));
  return negative ? -1.0f : 1.0f;
}

int32_t Clamp32(double v) {
  if (!(v > -2147483648.0)) return INT32_MIN;
  if (!(v < 2147483647.0)) return INT32_MAX;
  return static_cast<int32_t>(v);
}

double Abs(int32_t v) {
  return std::fabs(static_cast<double>(v));
}

// The string of the record and its horizontal advances (none when the record has none): UTF-16 units, or
// the bytes of an A record in the code page of the font's character set, whose advances per byte are summed
// per character. A symbol font's bytes are read as 1252: its PDF font writes them back through that table.
TCodePageText RecordText(const EmrTextView& t, uint8_t charSet) {
  std::vector<int32_t> all;
  if (t.OffDx() != 0 && t.HasDx()) {
    Span<int32_t> dx = t.Dx();
    all.assign(dx.begin(), dx.end());
  }
  const bool pairs = (t.Options() & ETO_PDY) != 0;
  if (!t.Wide()) {
    Span<uint8_t> bytes = t.Ansi();
    std::string raw(bytes.begin(), bytes.end());
    const int codePage = CodePageOfCharSet(charSet);
    return DecodeCodePageText(raw, codePage == 0 ? 1252 : codePage, all, pairs);
  }
  TCodePageText text;
  Span<char16_t> units = t.Utf16();
  text.Text.assign(units.begin(), units.end());
  for (size_t i = 0; i < all.size(); i += pairs ? 2 : 1)
    text.Dx.push_back(all[i]);
  return text;
}

} // namespace

void TPdfEnum::TextOut(const ExtTextOutView& R) {
  EmrTextView t = R.Text();
  if (t.Count() == 0) return;
  TPdfEnumDCState& s = State();
  const TLogFontW& lf = s.Font.LogFont;
  // Everything the record holds is read before anything is written.
  TCodePageText decoded = RecordText(t, lf.lfCharSet);
  const std::u16string& text = decoded.Text;
  std::vector<int32_t>& dx = decoded.Dx;
  const uint32_t options = t.Options();
  const RectL rcl = t.Rect();
  const RectL bounds = R.Bounds();
  const PointL reference = t.Reference();
  if (text.empty()) return;

  TPdfCanvas& c = *Canvas;
  // The directions logical x and y run on the page: the world transform's and the window/viewport
  // mapping's signs together. Text itself always runs rightwards and upright on the page.
  const float xSign = AxisSign(c.FWorldFactorX, c.FViewSize.cx, c.FWinSize.cx);
  const float ySign = AxisSign(c.FWorldFactorY, c.FViewSize.cy, c.FWinSize.cy);
  const float hscale = std::fabs(c.FWorldFactorY * c.FFactorY * c.FDevScale);
  const float wscale = std::fabs(c.FWorldFactorX * c.FFactorX * c.FDevScale);
  // Points per logical unit along the baseline: the advances run along the escapement, so turned text
  // under a mapping that scales x and y differently is as long as the axis it runs along makes it.
  const double escapement = s.Font.Angle * Pi / 180;
  const float bscale =
      static_cast<float>(std::hypot(wscale * std::cos(escapement), hscale * std::sin(escapement)));
  const double h = lf.lfHeight < 0 ? Abs(lf.lfHeight) : std::fabs(static_cast<double>(s.Font.EmHeight));
  const float ASize = static_cast<float>(h * hscale);
  // A size the page cannot take leaves the text out rather than the whole page.
  if (!(ASize <= MaxFontSize)) return;
  if (!c.SetFont(lf, ASize) && !c.Page()->Font()) return;

  TPdfCanvasRenderMetaFileTextPositioning mode = c.fUseMetaFileTextPositioning;
  // Measuring needs a scale along the baseline; a quarter-turned world has none (eM11 = 0).
  double measured = 0;
  if (!(options & ETO_GLYPH_INDEX) && wscale != 0 && bscale != 0)
    measured = static_cast<double>(RoundEven(static_cast<double>(c.UnicodeTextWidth(text.c_str())) / bscale));
  double width = 0;
  if (!dx.empty()) {
    int64_t sum = 0;
    for (int32_t d : dx)
      sum += d;
    width = static_cast<double>(sum);
    if (width < static_cast<double>(bounds.right) - bounds.left) dx.clear();
  }
  if (dx.empty()) {
    width = measured;
    if (mode == tpExactTextCharacterPositining) mode = tpSetTextJustification;
  }

  int spaces = 0;
  float hScale = 100;
  if (measured != 0) {
    for (char16_t ch : text)
      if (ch == u' ') ++spaces;
    if (mode == tpSetTextJustification && !(spaces > 0 && spaces <= width - measured))
      mode = tpKerningFromAveragePosition;
    if (mode == tpExactTextCharacterPositining && s.Font.Angle != 0) mode = tpKerningFromAveragePosition;
    if (mode == tpSetTextJustification) {
      c.SetWordSpace(static_cast<float>((width - measured) * bscale / spaces));
    } else if (mode == tpKerningFromAveragePosition) {
      hScale = static_cast<float>(width * 100 / measured);
      if ((c.fKerningHScaleBottom <= hScale && hScale <= c.fKerningHScaleTop) || s.Font.Angle != 0 ||
          !(hScale > 0))
        hScale = 100;
      else
        c.SetHorizontalScaling(hScale);
    }
  } else {
    mode = tpSetTextJustification;
  }

  const double fullWidth = width;
  double xOff = 0, yOff = 0;
  switch (s.TextAlign & TA_CENTER) {
  case TA_CENTER:
    xOff = width / 2;
    break;
  case TA_RIGHT:
    xOff = width;
    break;
  default:
    break;
  }
  switch (s.TextAlign & TA_BASELINE) {
  case TA_BASELINE:
    yOff = 0; // the reference point is on the baseline itself
    break;
  case TA_BOTTOM:
    yOff = std::fabs(static_cast<double>(s.Font.Descent));
    break;
  default:
    yOff = -std::fabs(static_cast<double>(s.Font.Ascent));
    break;
  }
  // The offsets as logical distances: on a mirrored axis they point the other way.
  xOff *= xSign;
  yOff *= ySign;

  const bool updateCP = (s.TextAlign & TA_UPDATECP) != 0;
  const double x = updateCP ? s.CurrentPoint.x : reference.x;
  const double y = updateCP ? s.CurrentPoint.y : reference.y;

  const bool clipped = rcl.left < rcl.right && rcl.top < rcl.bottom;
  // The background is the background colour, as the metafile's device paints it (for ETO_OPAQUE, or in
  // the OPAQUE background mode); white is never painted, so nothing drawn before on the page is covered.
  bool opaque = s.BkColor != 0xFFFFFF && ((options & ETO_OPAQUE) || s.BkMode == static_cast<int32_t>(OPAQUE));
  TPdfIntRect background;
  if (opaque) {
    if (clipped) {
      background = {rcl.left, rcl.top, rcl.right, rcl.bottom};
    } else {
      // The text's cell: from its start to its end, from the ascent above the baseline to the descent
      // below it.
      const double left = x - xOff, baseline = y - yOff;
      background = {Clamp32(left), Clamp32(baseline - std::fabs(double(s.Font.Ascent)) * ySign),
                    Clamp32(left + std::trunc(fullWidth) * xSign),
                    Clamp32(baseline + std::fabs(double(s.Font.Descent)) * ySign)};
    }
    TPdfCanvas::SortRectEdges(background);
  }

  const bool clipBox = !clipped && s.HasClipBox;
  if (clipped) {
    c.GSave();
    c.NewPath();
    c.MoveToLogical(rcl.left, rcl.top);
    c.LineToLogical(rcl.left, rcl.bottom);
    c.LineToLogical(rcl.right, rcl.bottom);
    c.LineToLogical(rcl.right, rcl.top);
    c.Closepath();
    c.Clip();
    if (opaque) {
      FillBackground(background);
      opaque = false;
    } else {
      c.NewPath();
    }
    c.FNewPath = false;
  } else if (clipBox) {
    TPdfBox box = GetClipRect();
    c.GSave();
    c.Rectangle(box.Left, box.Top, box.Width, box.Height);
    c.Clip();
    c.NewPath();
    c.FNewPath = false;
  }
  if (opaque) {
    FillBackground(background);
    c.FNewPath = false;
  }

  SelectFillColor(s.TextColor);
  c.SetRightToLeftText((options & ETO_RTLREADING) != 0);
  c.BeginText();
  TPdfWrite& w = c.Contents()->Writer();
  // The escapement turns counter-clockwise in logical units: a mapping that mirrors one axis turns it
  // the other way on the page.
  const float angle = static_cast<float>(s.Font.Angle * Pi / 180) * xSign * ySign;
  const float cosA = std::cos(angle), sinA = std::sin(angle);
  double tx = x - xOff, ty = y - yOff;
  if (s.Font.Angle != 0) {
    c.SetTextMatrix(cosA, sinA, -sinA, cosA,
                    c.ToPdfX(x - static_cast<double>(RoundEven(xOff * cosA + yOff * sinA))),
                    c.ToPdfY(y - static_cast<double>(RoundEven(yOff * cosA - xOff * sinA))));
  } else {
    c.MoveTextPoint(c.ToPdfX(tx), c.ToPdfY(ty));
  }
  if (options & ETO_GLYPH_INDEX) {
    std::vector<uint16_t> glyphs(text.begin(), text.end());
    w.AddGlyphs(glyphs.data(), static_cast<int>(glyphs.size()), &c);
  } else if (mode == tpExactTextCharacterPositining) {
    for (size_t k = 0; k < text.size(); ++k) {
      const char16_t one[2] = {text[k], 0};
      w.AddUnicodeHexText(one, false, &c);
      if (k + 1 == text.size()) break;
      tx += k < dx.size() ? dx[k] : 0;
      c.EndText();
      c.BeginText();
      c.MoveTextPoint(c.ToPdfX(tx), c.ToPdfY(ty));
    }
  } else {
    w.AddUnicodeHexText(text.c_str(), false, &c);
  }
  c.EndText();

  // Decoration offsets and widths in logical units: points through the text's own scales. Without a
  // scale (a quarter-turned world) there is nothing to draw them with.
  if (hscale != 0 && wscale != 0) {
    const TPdfTextLine line{x, y, xOff, yOff, fullWidth * xSign, cosA, sinA, ASize / 15 / wscale};
    if (lf.lfUnderline) DrawTextDecoration(line, ySign * ASize / 8 / hscale);
    if (lf.lfStrikeOut) DrawTextDecoration(line, -ySign * ASize / 3 / hscale);
  }

  if (clipped || clipBox) {
    c.GRestore();
    // Colours, dash and width set inside the saved state are no longer in force.
    fFillColor = -1;
    fStrokeColor = -1;
    fPenStyle = -1;
    fPenWidth = -1.0f;
  }
  if (mode == tpKerningFromAveragePosition && hScale != 100) c.SetHorizontalScaling(100);
  if (mode == tpSetTextJustification && spaces > 0) c.SetWordSpace(0);
  c.FNewPath = false;

  if (updateCP) {
    // The current position moves past the text as it does on the metafile's own device.
    switch (s.TextAlign & TA_CENTER) {
    case TA_LEFT:
      s.CurrentPoint.x = static_cast<int32_t>(s.CurrentPoint.x + std::lround(width));
      break;
    case TA_RIGHT:
      s.CurrentPoint.x = static_cast<int32_t>(s.CurrentPoint.x - std::lround(width));
      break;
    default:
      break;
    }
  }
}

void TPdfEnum::DrawTextDecoration(const TPdfTextLine& L, double o) {
  TPdfEnumDCState& s = State();
  const TPdfEnumPen saved = s.Pen;
  s.Pen = {false, s.TextColor, static_cast<int32_t>(PS_SOLID), L.PenWidth, {}, false};
  NeedPen();
  if (L.Sin == 0 && L.Cos == 1) {
    Canvas->MoveToLogical(L.X - L.XOff, L.Y - L.YOff + o);
    Canvas->LineToLogical(L.X - L.XOff + L.FullWidth, L.Y - L.YOff + o);
  } else {
    Canvas->MoveToLogical(L.X - L.XOff * L.Cos + (o - L.YOff) * L.Sin,
                          L.Y + (o - L.YOff) * L.Cos + L.XOff * L.Sin);
    Canvas->LineToLogical(L.X + (L.FullWidth - L.XOff) * L.Cos + (o - L.YOff) * L.Sin,
                          L.Y + (o - L.YOff) * L.Cos - (L.FullWidth - L.XOff) * L.Sin);
  }
  Canvas->Stroke();
  s.Pen = saved;
  NeedPen();
}

void TPdfEnum::FillBackground(const TPdfIntRect& Rect) {
  TPdfEnumDCState& s = State();
  const TPdfEnumBrush brush = s.Brush;
  s.Brush = {false, s.BkColor, static_cast<int32_t>(BS_SOLID)};
  FillRectangle(Rect);
  s.Brush = brush;
}
