#include "pdf/PdfPage.h"

#include "pdf/PdfDocument.h"
#include "pdf/PdfErrors.h"
#include "pdf/PdfFont.h"

TPdfPage::TPdfPage(TPdfDocument* ADoc) : TPdfDictionary(ADoc->Xref()), fDoc(ADoc) {
  FMediaBox = new TPdfArray(ADoc->Xref(), {0, 0, ADoc->DefaultPageWidth(), ADoc->DefaultPageHeight()});
  AddItem("MediaBox", FMediaBox);
  FSaveAtTheEnd = true;
}

void TPdfPage::SetPageWidth(int Value) {
  if (auto* width = dynamic_cast<TPdfNumber*>(FMediaBox->Items(2))) width->SetValue(Value);
}

void TPdfPage::SetPageHeight(int Value) {
  if (auto* height = dynamic_cast<TPdfNumber*>(FMediaBox->Items(3))) height->SetValue(Value);
}

int TPdfPage::PageWidth() const {
  auto* width = dynamic_cast<TPdfNumber*>(FMediaBox->Items(2));
  return width ? width->Value() : 0;
}

int TPdfPage::PageHeight() const {
  auto* height = dynamic_cast<TPdfNumber*>(FMediaBox->Items(3));
  return height ? height->Value() : 0;
}

void TPdfPage::SetPageLandscape(bool Value) {
  if (Value == PageLandscape()) return;
  int width = PageWidth();
  SetPageWidth(PageHeight());
  SetPageHeight(width);
}

void TPdfPage::SetCharSpace(float Value) {
  if (!(Value >= -30 && Value <= 300)) throw EPdfInvalidValue("SetCharSpace");
  FCharSpace = Value;
}

void TPdfPage::SetWordSpace(float Value) {
  if (!(Value >= 0)) throw EPdfInvalidValue("SetWordSpace");
  FWordSpace = Value;
}

void TPdfPage::SetFontSize(float Value) {
  if (!(Value >= 0 && Value <= 2000)) throw EPdfInvalidValue("SetFontSize");
  FFontSize = Value;
}

void TPdfPage::SetLeading(float Value) {
  if (!(Value >= 0 && Value <= 300)) throw EPdfInvalidValue("SetLeading");
  FLeading = Value;
}

void TPdfPage::SetHorizontalScaling(float Value) {
  FHorizontalScaling = !(Value >= 10) ? 10 : Value > 300 ? 300 : Value;
}

float TPdfPage::CharWidth(const std::string& Text, int Pos) const {
  float width = FFont->GetAnsiCharWidth(Text, Pos) * FFontSize / 1000.0f + FCharSpace;
  if (Text[Pos - 1] == ' ') width += FWordSpace;
  return width;
}

float TPdfPage::TextWidth(const std::string& Text) const {
  if (!FFont) return 0;
  float result = 0;
  for (int i = 1; i <= static_cast<int>(Text.size()); ++i)
    result += CharWidth(Text, i);
  return result;
}

int TPdfPage::MeasureText(const std::string& Text, float Width) const {
  if (!FFont) return 0;
  float total = 0;
  for (int i = 1; i <= static_cast<int>(Text.size()); ++i) {
    total += CharWidth(Text, i);
    if (total > Width) return i - 1;
  }
  return static_cast<int>(Text.size());
}
