// TPdfEnum: the stroke and fill state written for pens and brushes, cached so that consecutive records
// with the same pen and brush write no state operators.
#include <cmath>
#include <utility>
#include <vector>

#include "pdf/PdfCanvas.h"
#include "pdf/PdfEnum.h"

using namespace emf;

void TPdfEnum::SelectStrokeColor(int32_t Color) {
  if (Color == fStrokeColor) return;
  Canvas->SetRGBStrokeColor(Color);
  fStrokeColor = Color;
}

void TPdfEnum::SelectFillColor(int32_t Color) {
  if (Color == fFillColor) return;
  Canvas->SetRGBFillColor(Color);
  fFillColor = Color;
}

void TPdfEnum::WritePenWidth(float Width) {
  fPenWidth = Width;
  // A mirroring world transform gives a negative factor; a line width is never negative.
  Canvas->SetLineWidth(std::fabs(fPenWidth * Canvas->FFactorX));
}

void TPdfEnum::NeedPen() {
  const TPdfEnumPen& pen = State().Pen;
  if (pen.Null) {
    fStrokeColor = -1;
    fPenStyle = -1;
    fPenWidth = -1.0f;
    return;
  }
  SelectStrokeColor(pen.Color);
  if ((pen.Style & PS_STYLE_MASK) == PS_USERSTYLE) {
    // The pen's own lengths: a geometric pen's in logical units, a cosmetic pen's in pixels.
    const float perUnit = pen.Cosmetic
                              ? Canvas->FDevScale
                              : std::fabs(Canvas->FWorldFactorX * Canvas->FDevScale * Canvas->FFactorX);
    std::vector<float> dash;
    dash.reserve(pen.UserStyle.size());
    for (uint32_t length : pen.UserStyle)
      dash.push_back(static_cast<float>(length) * perUnit);
    if (fPenStyle != pen.Style || dash != fUserDash) {
      Canvas->SetDashPoints(dash);
      fUserDash = std::move(dash);
      fPenStyle = pen.Style;
    }
  } else if (pen.Style != fPenStyle) {
    switch (pen.Style & PS_STYLE_MASK) {
    case PS_DASH:
      Canvas->SetDash({4, 4}, 0);
      break;
    case PS_DOT:
      Canvas->SetDash({1, 1}, 0);
      break;
    case PS_DASHDOT:
      Canvas->SetDash({4, 1, 1, 1}, 0);
      break;
    case PS_DASHDOTDOT:
      Canvas->SetDash({4, 1, 1, 1, 1, 1}, 0);
      break;
    default:
      Canvas->SetDash({}, 0);
      break;
    }
    fPenStyle = pen.Style;
  }
  float w = Canvas->FWorldFactorX * pen.Width * Canvas->FDevScale;
  // A zero-width pen is one logical unit wide; its width is written again every time.
  if (w != fPenWidth) WritePenWidth(pen.Width == 0 ? Canvas->FWorldFactorX * Canvas->FDevScale : w);
}

void TPdfEnum::NeedBrushAndPen() {
  if (fInLined) {
    fInLined = false;
    Canvas->Stroke();
  }
  NeedPen();
  if (!State().Brush.Null) SelectFillColor(State().Brush.Color);
}

void TPdfEnum::FlushPenBrush() {
  const TPdfEnumDCState& s = State();
  if (s.Brush.Null) {
    if (s.Pen.Null)
      EndPathUnpainted();
    else
      Canvas->Stroke();
  } else {
    if (s.Pen.Null)
      Canvas->Fill();
    else
      Canvas->FillStroke();
  }
}

void TPdfEnum::EndLineIfInLined() {
  if (!fInLined) return;
  fInLined = false;
  if (!State().Pen.Null) Canvas->Stroke();
}

void TPdfEnum::PaintOrKeep() {
  if (Canvas->FNewPath) return;
  if (State().Pen.Null)
    EndPathUnpainted();
  else
    Canvas->Stroke();
}

void TPdfEnum::EndPathUnpainted() {
  // The "n" operator alone: a path bracket is opened only by the records that open one.
  bool inBracket = Canvas->FNewPath;
  Canvas->NewPath();
  Canvas->FNewPath = inBracket;
}

void TPdfEnum::FillRectangle(const TPdfIntRect& Rect) {
  if (State().Brush.Null) return;
  EndPathUnpainted();
  SelectFillColor(State().Brush.Color);
  TPdfRect r = Canvas->RectToPdf(Rect, true);
  Canvas->Rectangle(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
  Canvas->Fill();
}
