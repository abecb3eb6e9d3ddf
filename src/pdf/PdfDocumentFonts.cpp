// TPdfDocument: its TrueType fonts, found by family, style and character set or by LOGFONT.
#include <cstring>

#include "pdf/PdfCodePages.h"
#include "pdf/PdfDocument.h"
#include "pdf/PdfFontTrueType.h"

namespace {

bool SameLogFont(const TLogFontW& a, const TLogFontW& b) {
  return a.lfWeight == b.lfWeight && a.lfItalic == b.lfItalic && a.lfUnderline == b.lfUnderline &&
         a.lfStrikeOut == b.lfStrikeOut && a.lfCharSet == b.lfCharSet &&
         std::memcmp(a.lfFaceName, b.lfFaceName, sizeof(a.lfFaceName)) == 0;
}

} // namespace

TPdfFontTrueType* TPdfDocument::FindTrueTypeFont(int AFontIndexPlusOne, TPdfFontStyle AStyle,
                                                 int ACharSet) const {
  for (const std::unique_ptr<TPdfFont>& font : FFontList) {
    if (font->TrueTypeFontsIndex() != AFontIndexPlusOne || font->Unicode()) continue;
    auto* trueType = static_cast<TPdfFontTrueType*>(font.get());
    if (trueType->Style() == AStyle && trueType->LogFont().lfCharSet == ACharSet) return trueType;
  }
  return nullptr;
}

TPdfFontTrueType* TPdfDocument::FindTrueTypeFontByLogFont(const TLogFontW& ALogFont) const {
  for (const std::unique_ptr<TPdfFont>& font : FFontList) {
    if (!font->IsTrueType() || font->Unicode()) continue;
    auto* trueType = static_cast<TPdfFontTrueType*>(font.get());
    if (SameLogFont(trueType->LogFont(), ALogFont)) return trueType;
  }
  return nullptr;
}

TPdfFontTrueType* TPdfDocument::CreateTrueTypeFont(int AFontIndex, TPdfFontStyle AStyle,
                                                   const TLogFontW& ALogFont) {
  if (!FFontService || AFontIndex < 0 || AFontIndex >= static_cast<int>(FTrueTypeFonts.size()))
    return nullptr;
  TFontRequest request;
  request.FaceName = FTrueTypeFonts[AFontIndex];
  request.Weight = ALogFont.lfWeight;
  request.Italic = ALogFont.lfItalic != 0;
  request.CharSet = ALogFont.lfCharSet;
  request.PitchAndFamily = ALogFont.lfPitchAndFamily;
  std::shared_ptr<const TFontFace> face = FFontService->Open(request);
  if (!face) return nullptr;
  auto font = std::make_unique<TPdfFontTrueType>(this, AFontIndex, AStyle, ALogFont, std::move(face));
  TPdfFontTrueType* result = font.get();
  AddFontToList(std::move(font));
  return result;
}

std::string TPdfDocument::TrueTypeFontPdfName(int AIndex, TPdfFontStyle AStyle,
                                              const TFontFace* AFace) const {
  const std::string& family = FTrueTypeFonts.at(static_cast<size_t>(AIndex));
  std::string name;
  bool ascii = true;
  for (char c : family) {
    auto byte = static_cast<uint8_t>(c);
    if (byte > 126) ascii = false;
    if (byte > 32 && byte <= 126) name += c;
  }
  if (!ascii && AFace) {
    std::string postScript = PostScriptNameOfNameTable(AFace->FontData(FontTag('n', 'a', 'm', 'e')));
    if (!postScript.empty()) return postScript;
  }
  if ((AStyle & fsBold) && (AStyle & fsItalic))
    name += ",BoldItalic";
  else if (AStyle & fsItalic)
    name += ",Italic";
  else if (AStyle & fsBold)
    name += ",Bold";
  return name;
}
