// The operator methods of TPdfCanvas.
#include "pdf/PdfCanvas.h"

#include <algorithm>

#include "pdf/PdfDocument.h"
#include "pdf/PdfErrors.h"
#include "pdf/PdfPage.h"
#include "pdf/PdfStream.h"
#include "pdf/PdfWrite.h"

TPdfCanvas::TPdfCanvas(TPdfDocument* APdfDoc) : FDoc(APdfDoc) {
  FFactor = 72.0f / (APdfDoc ? APdfDoc->ScreenLogPixels() : TPdfDocument::ScreenLogPixelsOfHost);
  FFactorX = FFactorY = FFactor;
}

void TPdfCanvas::SetPage(TPdfPage* APage) {
  FPage = APage;
  FPageFontList = nullptr;
  FContents = nullptr;
  if (APage) {
    if (TPdfDictionary* resources = APage->PdfDictionaryByName("Resources"))
      FPageFontList = resources->PdfDictionaryByName("Font");
    FContents = dynamic_cast<TPdfStream*>(APage->ValueByName("Contents"));
  }
  if (FDoc) FFactor = 72.0f / FDoc->ScreenLogPixels();
}

TPdfPage* TPdfCanvas::Page() const {
  if (!FPage) throw EPdfInvalidOperation("GetPage");
  return FPage;
}

TPdfDocument* TPdfCanvas::Doc() const {
  if (!FDoc) throw EPdfInvalidOperation("GetDoc");
  return FDoc;
}

TPdfWrite* TPdfCanvas::W() const {
  return FContents ? &FContents->Writer() : nullptr;
}

void TPdfCanvas::Operator(const char* Text) {
  if (TPdfWrite* w = W()) w->Add(Text);
}

void TPdfCanvas::Points(std::initializer_list<float> Values, const char* Op) {
  TPdfWrite* w = W();
  if (!w) return;
  for (float v : Values)
    w->AddWithSpace(static_cast<double>(v));
  w->Add(Op);
}

void TPdfCanvas::ConcatToCTM(double a, double b, double c, double d, double e, double f, int Decimals) {
  TPdfWrite* w = W();
  if (!w) return;
  for (double v : {a, b, c, d, e, f})
    w->AddWithSpace(v, Decimals);
  w->Add("cm\n");
}

void TPdfCanvas::SetFlat(uint8_t flatness) {
  if (TPdfWrite* w = W()) w->Add(static_cast<int32_t>(flatness)).Add(" i\n");
}

void TPdfCanvas::SetLineCap(TLineCapStyle linecap) {
  if (TPdfWrite* w = W()) w->Add(static_cast<int32_t>(linecap)).Add(" J\n");
}

void TPdfCanvas::SetLineJoin(TLineJoinStyle linejoin) {
  if (TPdfWrite* w = W()) w->Add(static_cast<int32_t>(linejoin)).Add(" j\n");
}

void TPdfCanvas::SetDash(const std::vector<int32_t>& aarray, int32_t phase) {
  TPdfWrite* w = W();
  if (!w) return;
  w->Add('[');
  // A pattern starting with a zero-length dash would be invalid; it means a solid line.
  if (!aarray.empty() && aarray[0] != 0)
    for (int32_t v : aarray)
      w->AddWithSpace(v);
  w->Add("] ").Add(phase).Add(" d\n");
}

void TPdfCanvas::SetDashPoints(const std::vector<float>& Lengths) {
  TPdfWrite* w = W();
  if (!w) return;
  w->Add('[');
  // PDF refuses a pattern whose lengths are all zero; a leading zero-length dash is drawn as a dot.
  if (std::any_of(Lengths.begin(), Lengths.end(), [](float v) { return v > 0; }))
    for (float v : Lengths)
      w->AddWithSpace(static_cast<double>(v));
  w->Add("] 0 d\n");
}

void TPdfCanvas::SetLineWidth(float linewidth) {
  Points({linewidth}, "w\n");
}
void TPdfCanvas::SetMiterLimit(float miterlimit) {
  Points({miterlimit}, "M\n");
}
void TPdfCanvas::MoveTo(float x, float y) {
  Points({x, y}, "m\n");
}
void TPdfCanvas::LineTo(float x, float y) {
  Points({x, y}, "l\n");
}

void TPdfCanvas::CurveToC(float x1, float y1, float x2, float y2, float x3, float y3) {
  Points({x1, y1, x2, y2, x3, y3}, "c\n");
}

void TPdfCanvas::CurveToV(float x2, float y2, float x3, float y3) {
  Points({x2, y2, x3, y3}, "v\n");
}
void TPdfCanvas::CurveToY(float x1, float y1, float x3, float y3) {
  Points({x1, y1, x3, y3}, "y\n");
}

void TPdfCanvas::Rectangle(float x, float y, float width, float height) {
  Points({x, y, width, height}, "re\n");
}

void TPdfCanvas::NewPath() {
  FNewPath = true;
  Operator("n\n");
}

void TPdfCanvas::SetCharSpace(float charSpace) {
  if (!W() || charSpace == Page()->CharSpace()) return;
  FPage->SetCharSpace(charSpace);
  Points({charSpace}, "Tc\n");
}

void TPdfCanvas::SetWordSpace(float wordSpace) {
  if (!W() || wordSpace == Page()->WordSpace()) return;
  FPage->SetWordSpace(wordSpace);
  Points({wordSpace}, "Tw\n");
}

void TPdfCanvas::SetHorizontalScaling(float hScaling) {
  if (!W() || hScaling == Page()->HorizontalScaling()) return;
  FPage->SetHorizontalScaling(hScaling);
  W()->Add(static_cast<double>(hScaling)).Add(" Tz\n");
}

void TPdfCanvas::SetLeading(float leading) {
  if (!W() || leading == Page()->Leading()) return;
  FPage->SetLeading(leading);
  Points({leading}, "TL\n");
}

void TPdfCanvas::SetFontAndSize(const std::string& fontshortcut, float size) {
  TPdfWrite* w = W();
  if (!w) return;
  w->Add('/').AddEscapeName(fontshortcut).Add(' ').AddWithSpace(static_cast<double>(size)).Add("Tf\n");
}

void TPdfCanvas::SetTextRenderingMode(TTextRenderingMode mode) {
  if (TPdfWrite* w = W()) w->Add(static_cast<int32_t>(mode)).Add(" Tr\n");
}

void TPdfCanvas::SetTextRise(uint16_t rise) {
  if (TPdfWrite* w = W()) w->Add(static_cast<int32_t>(rise)).Add(" Ts\n");
}

void TPdfCanvas::MoveTextPoint(float tx, float ty) {
  Points({tx, ty}, "Td\n");
}

void TPdfCanvas::SetTextMatrix(float a, float b, float c, float d, float x, float y) {
  Points({a, b, c, d, x, y}, "Tm\n");
}

void TPdfCanvas::ExecuteXObject(const std::string& xObject) {
  if (TPdfWrite* w = W()) w->Add('/').AddEscapeName(xObject).Add(" Do\n");
}

void TPdfCanvas::SetRGBFillColor(TPdfColor Value) {
  if (TPdfWrite* w = W()) w->AddColorStr(Value).Add("rg\n");
}

void TPdfCanvas::SetRGBStrokeColor(TPdfColor Value) {
  if (TPdfWrite* w = W()) w->AddColorStr(Value).Add("RG\n");
}

void TPdfCanvas::SetCMYKFillColor(int C, int M, int Y, int K) {
  Points({C / 100.0f, M / 100.0f, Y / 100.0f, K / 100.0f}, "k\n");
}

void TPdfCanvas::SetCMYKStrokeColor(int C, int M, int Y, int K) {
  Points({C / 100.0f, M / 100.0f, Y / 100.0f, K / 100.0f}, "K\n");
}
