// TPdfCanvas: finding and selecting TrueType fonts by family name or LOGFONT.
#include <cstring>
#include <strings.h>

#include "pdf/PdfCodePages.h"
#include "pdf/PdfDocument.h"
#include "pdf/PdfFontTrueType.h"

namespace {

bool StartsWithNoCase(const std::string& Text, const char* Prefix) {
  return strncasecmp(Text.c_str(), Prefix, strlen(Prefix)) == 0;
}

// The family of a name that is not installed, -1 when none of the substitutes is either.
int SubstituteFamily(TPdfDocument& Doc, const std::string& AName, bool AIsFixedWidth) {
  int index = -1;
  if (AIsFixedWidth) index = Doc.FindFamilyIndex("Courier New");
  if (index < 0) {
    if (StartsWithNoCase(AName, "HELVETICA"))
      index = Doc.FindFamilyIndex("Arial");
    else if (StartsWithNoCase(AName, "COURIER"))
      index = Doc.FindFamilyIndex("Courier New");
    else if (StartsWithNoCase(AName, "TIMES"))
      index = Doc.FindFamilyIndex("Times New Roman");
  }
  if (index < 0) index = Doc.FontFallBackIndex();
  if (index < 0) index = Doc.FindFamilyIndex("Arial");
  return index;
}

} // namespace

TPdfFontTrueType* TPdfCanvas::SetFont(const std::string& AName, float ASize, TPdfFontStyle AStyle,
                                      int ACharSet, int AForceTTF, bool AIsFixedWidth) {
  if (!FDoc) return nullptr;
  int index = AForceTTF;
  if (index < 0) {
    if (AName == FPreviousRasterFontName) {
      index = FPreviousRasterFontIndex;
    } else {
      index = FDoc->FindFamilyIndex(AName);
      if (index < 0) {
        index = SubstituteFamily(*FDoc, AName, AIsFixedWidth);
        if (index < 0) return nullptr;
        FPreviousRasterFontName = AName;
        FPreviousRasterFontIndex = index;
      }
    }
  }
  if (index >= static_cast<int>(FDoc->TrueTypeFonts().size())) return nullptr;
  int charSet = ACharSet < 0 ? FDoc->CharSet() : ACharSet;
  TPdfFontTrueType* font = FDoc->FindTrueTypeFont(index + 1, AStyle, charSet);
  if (!font) {
    TLogFontW logFont;
    logFont.lfHeight = -1000; // the host measures in 1/1000 em
    logFont.lfWeight = (AStyle & fsBold) ? FW_BOLD : FW_NORMAL;
    logFont.lfItalic = (AStyle & fsItalic) ? 1 : 0;
    logFont.lfUnderline = (AStyle & fsUnderline) ? 1 : 0;
    logFont.lfStrikeOut = (AStyle & fsStrikeOut) ? 1 : 0;
    logFont.lfCharSet = static_cast<uint8_t>(charSet);
    logFont.SetFaceName(Utf8ToUtf16(FDoc->TrueTypeFonts()[index]));
    font = FDoc->CreateTrueTypeFont(index, AStyle, logFont);
  }
  if (font && AForceTTF == -1) SetPDFFont(font, ASize);
  return font;
}

TPdfFontTrueType* TPdfCanvas::SetFont(const TLogFontW& ALogFont, float ASize) {
  if (!FDoc) return nullptr;
  if (TPdfFontTrueType* font = FDoc->FindTrueTypeFontByLogFont(ALogFont)) {
    SetPDFFont(font, ASize);
    return font;
  }
  std::string name = Utf16ToUtf8(ALogFont.FaceName());
  if (name.size() >= 3 && name.compare(name.size() - 3, 3, " CE") == 0) name.resize(name.size() - 3);
  TPdfFontStyle style = 0;
  if (ALogFont.lfWeight >= 600) style |= fsBold;
  if (ALogFont.lfItalic) style |= fsItalic;
  if (ALogFont.lfUnderline) style |= fsUnderline;
  if (ALogFont.lfStrikeOut) style |= fsStrikeOut;
  // The renderer stores the text metric's pitch flags here: a clear bit 0 is a fixed-pitch font.
  return SetFont(name, ASize, style, ALogFont.lfCharSet, -1, (ALogFont.lfPitchAndFamily & 1) == 0);
}

TPdfFont* TPdfCanvas::FallbackFont() {
  if (!FDoc || FDoc->FontFallBackIndex() < 0) return nullptr;
  TPdfPage* page = Page();
  auto* current = dynamic_cast<TPdfFontTrueType*>(page->Font());
  return SetFont({}, page->FontSize(), current ? current->Style() : 0, -1, FDoc->FontFallBackIndex(), false);
}
