// TPdfCanvas: what it puts into the page's resources (fonts, XObjects) and text measuring.
#include "pdf/PdfCanvas.h"
#include "pdf/PdfDocument.h"
#include "pdf/PdfErrors.h"
#include "pdf/PdfFont.h"
#include "pdf/PdfPage.h"
#include "pdf/PdfStream.h"

namespace {
// Width in 1/1000 em of a character that neither the font nor the fallback font has.
constexpr int MissingCharWidth = 600;
} // namespace

void TPdfCanvas::SetPDFFont(TPdfFont* AFont, float ASize) {
  if (!AFont) return;
  TPdfPage* page = Page();
  if (page->Font() == AFont && page->FontSize() == ASize) return;
  if (FPageFontList && !FPageFontList->ValueByName(AFont->ShortCut()))
    FPageFontList->AddItem(AFont->ShortCut(), AFont->Data());
  SetFontAndSize(AFont->ShortCut(), ASize);
  page->SetFont(AFont);
  page->SetFontSize(ASize);
}

void TPdfCanvas::RegisterXObjectOnPage(const std::string& AName) {
  TPdfXObject* xObject = Doc()->GetXObject(AName);
  if (!xObject) throw EPdfInvalidValue("DrawXObject: unknown " + AName);
  TPdfDictionary* resources = Page()->PdfDictionaryByName("Resources");
  TPdfDictionary* xObjects = resources ? resources->PdfDictionaryByName("XObject") : nullptr;
  if (!xObjects) throw EPdfInvalidValue("DrawXObject: no XObject");
  if (!xObjects->ValueByName(AName)) xObjects->AddItem(AName, xObject);
  TPdfDictionary* formFonts = xObject->FormFontList();
  TPdfDictionary* pageFonts = resources->PdfDictionaryByName("Font");
  if (!formFonts || !pageFonts) return;
  for (TPdfDictionaryElement* element : formFonts->List()) {
    TPdfObject* font = formFonts->ValueByName(element->Key());
    // Only registered font dictionaries can be shared; a direct value belongs to the form alone.
    if (font && font->ObjectType() == otIndirectObject && !pageFonts->ValueByName(element->Key()))
      pageFonts->AddItem(element->Key(), font);
  }
}

void TPdfCanvas::PlaceXObject(float X, float Y, float AWidth, float AHeight, const std::string& AName) {
  ConcatToCTM(AWidth, 0, 0, AHeight, X, Y, 6);
  ExecuteXObject(AName);
  GRestore();
}

void TPdfCanvas::DrawXObject(float X, float Y, float AWidth, float AHeight, const std::string& AXObjectName) {
  RegisterXObjectOnPage(AXObjectName);
  GSave();
  PlaceXObject(X, Y, AWidth, AHeight, AXObjectName);
}

void TPdfCanvas::DrawXObjectEx(float X, float Y, float AWidth, float AHeight, float ClipX, float ClipY,
                               float ClipWidth, float ClipHeight, const std::string& AXObjectName) {
  RegisterXObjectOnPage(AXObjectName);
  GSave();
  Rectangle(ClipX, ClipY, ClipWidth, ClipHeight);
  Clip();
  NewPath();
  FNewPath = false;
  PlaceXObject(X, Y, AWidth, AHeight, AXObjectName);
}

float TPdfCanvas::UnicodeTextWidth(const char16_t* PW) {
  if (!PW || !*PW) return 0;
  TPdfPage* page = Page();
  TPdfFont* font = page->Font();
  bool useFallback = FDoc && FDoc->UseFontFallBack() && FDoc->FontFallBackIndex() >= 0;
  TPdfFont* fallback = nullptr;
  bool fallbackAsked = false;
  int64_t sum = 0;
  for (; *PW; ++PW) {
    int width = font ? font->GetWideCharWidth(*PW) : 0;
    if (width == 0 && useFallback) {
      if (!fallbackAsked) {
        fallback = FallbackFont();
        fallbackAsked = true;
      }
      if (fallback) width = fallback->GetWideCharWidth(*PW);
    }
    sum += width == 0 ? MissingCharWidth : width;
  }
  return static_cast<float>(sum * static_cast<double>(page->FontSize()) / 1000.0);
}

float TPdfCanvas::TextWidth(const std::string& Text) const {
  return Page()->TextWidth(Text);
}

int TPdfCanvas::MeasureText(const std::string& Text, float Width) const {
  return Page()->MeasureText(Text, Width);
}
