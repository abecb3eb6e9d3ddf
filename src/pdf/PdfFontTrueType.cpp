// TPdfFontTrueType: creation of the pair, measuring and the used-character registry.
#include "pdf/PdfFontTrueType.h"

#include <algorithm>
#include <cmath>

#include "pdf/PdfArray.h"
#include "pdf/PdfCodePages.h"
#include "pdf/PdfDocument.h"
#include "pdf/PdfErrors.h"

namespace {

// The registry grows by this many entries at a time.
constexpr size_t RegistryStep = 100;

// The code page 1252 byte of a character, -1 when it has none; U+00A0 is byte 160.
int WinAnsiByte(char16_t c) {
  return c == 0xA0 ? 160 : Utf16CharToCodePageByte(c, 1252);
}

} // namespace

TPdfFontTrueType::TPdfFontTrueType(TPdfDocument* ADoc, int AFontIndex, TPdfFontStyle AStyle,
                                   const TLogFontW& ALogFont, std::shared_ptr<const TFontFace> AFace)
    : fStyle(AStyle), fDoc(ADoc), fFace(std::move(AFace)), fWinAnsiFont(this), fLogFont(ALogFont) {
  fName = ADoc->TrueTypeFontPdfName(AFontIndex, AStyle, fFace.get());
  TPdfDictionary* data = RegisterDictionary();
  fTrueTypeFontsIndex = AFontIndex + 1;
  data->AddItem("Type", "Font");
  data->AddItem("BaseFont", fName);
  data->AddItem("Subtype", "TrueType");
  data->AddItem("Encoding", "WinAnsiEncoding");
  fM = fFace->TextMetrics(ALogFont.lfHeight);
  fOTM = fFace->OutlineMetrics();
  MeasureWinAnsi();
  CreateDescriptor();
  fAscent = fOTM.Ascent;
  fDescent = fOTM.Descent;
}

TPdfFontTrueType::TPdfFontTrueType(TPdfFontTrueType& AWinAnsiFont)
    : fStyle(AWinAnsiFont.fStyle), fDoc(AWinAnsiFont.fDoc), fFace(AWinAnsiFont.fFace), fUnicodeFont(this),
      fWinAnsiFont(&AWinAnsiFont), fLogFont(AWinAnsiFont.fLogFont) {
  fName = AWinAnsiFont.fName;
  fTrueTypeFontsIndex = AWinAnsiFont.fTrueTypeFontsIndex;
  fUnicode = true;
  TPdfDictionary* data = RegisterDictionary();
  data->AddItem("Type", "Font");
  data->AddItem("BaseFont", fName);
  data->AddItem("Subtype", "Type0");
  data->AddItem("Encoding", "Identity-H");
  fFixedWidth = AWinAnsiFont.fFixedWidth;
  fDefaultWidth = AWinAnsiFont.fDefaultWidth;
  fM = AWinAnsiFont.fM;
  fOTM = AWinAnsiFont.fOTM;
  std::string cmap = fFace->FontData(FontTag('c', 'm', 'a', 'p'));
  std::string head = fFace->FontData(FontTag('h', 'e', 'a', 'd'));
  std::string hhea = fFace->FontData(FontTag('h', 'h', 'e', 'a'));
  std::string hmtx = fFace->FontData(FontTag('h', 'm', 't', 'x'));
  TPdfTTF(cmap, head, hhea, hmtx).LoadCharacterMap(fFixedWidth, fUsedWideChar, fUsedWide);
  fAscent = fOTM.Ascent;
  fDescent = fOTM.Descent;
}

TPdfDictionary* TPdfFontTrueType::RegisterDictionary() {
  auto* data = new TPdfDictionary(fDoc->Xref());
  fDoc->Xref()->AddObject(data);
  SetData(data);
  return data;
}

void TPdfFontTrueType::MeasureWinAnsi() {
  // The widths describe the bytes as WinAnsi encoding shows them, so they are measured in code page
  // 1252 whatever character set the font was asked for; a symbol font maps its bytes itself.
  uint8_t charSet = fLogFont.lfCharSet == SYMBOL_CHARSET ? SYMBOL_CHARSET : ANSI_CHARSET;
  std::array<uint16_t, 224> widths = fFace->AnsiWidths(charSet);
  fDefaultWidth = widths[0];
  fFixedWidth = (fM.PitchAndFamily & 1) == 0;
  for (size_t i = 0; i < widths.size(); ++i)
    fWinAnsiWidth[i] = fFixedWidth ? fDefaultWidth : widths[i];
  fHasWinAnsiWidth = true;
}

void TPdfFontTrueType::CreateDescriptor() {
  fFontDescriptor = new TPdfDictionary(fDoc->Xref());
  fDoc->Xref()->AddObject(fFontDescriptor);
  fFontDescriptor->SetSaveAtTheEnd(true);
  fFontDescriptor->AddItem("Type", "FontDescriptor");
  fFontDescriptor->AddItem("FontName", fName);
  fFontDescriptor->AddItem("Ascent", fOTM.Ascent);
  fFontDescriptor->AddItem("CapHeight", 666);
  fFontDescriptor->AddItem("Descent", fOTM.Descent);
  // The host gives tenths of a degree; PDF counts degrees.
  if (fOTM.ItalicAngle % 10 == 0)
    fFontDescriptor->AddItem("ItalicAngle", fOTM.ItalicAngle / 10);
  else
    fFontDescriptor->AddItem("ItalicAngle", new TPdfReal(fOTM.ItalicAngle / 10.0));
  fFontDescriptor->AddItem("StemV", 87);
  fFontDescriptor->AddItem("Flags", fLogFont.lfCharSet == SYMBOL_CHARSET ? 4 : 32);
  fFontDescriptor->AddItem(
      "FontBBox", new TPdfArray(fDoc->Xref(), {fOTM.BBox[0], fOTM.BBox[1], fOTM.BBox[2], fOTM.BBox[3]}));
  FData->AddItem("FontDescriptor", fFontDescriptor);
}

TPdfFontTrueType* TPdfFontTrueType::CreateUnicodeCompanion() {
  TPdfFontTrueType* winAnsi = fWinAnsiFont;
  if (!winAnsi->fUnicodeFont) {
    auto companion = std::make_unique<TPdfFontTrueType>(*winAnsi);
    winAnsi->fUnicodeFont = companion.get();
    fDoc->AddFontToList(std::move(companion));
  }
  return winAnsi->fUnicodeFont;
}

int TPdfFontTrueType::FindOrAddUsedWideChar(char16_t aWideChar) {
  TPdfFontTrueType* winAnsi = fWinAnsiFont;
  if (winAnsi != this) return winAnsi->FindOrAddUsedWideChar(aWideChar);
  auto at = std::lower_bound(fUsedWideChar.begin(), fUsedWideChar.end(), aWideChar);
  size_t index = static_cast<size_t>(at - fUsedWideChar.begin());
  if (at != fUsedWideChar.end() && *at == aWideChar) return static_cast<int>(index);
  if (fUsedWideChar.size() == fUsedWideChar.capacity()) {
    fUsedWideChar.reserve(fUsedWideChar.size() + RegistryStep);
    fUsedWide.reserve(fUsedWideChar.size() + RegistryStep);
  }
  TPdfFontTrueType* companion = CreateUnicodeCompanion();
  TUsedWide entry;
  const std::vector<char16_t>& codes = companion->fUsedWideChar;
  auto found = std::lower_bound(codes.begin(), codes.end(), aWideChar);
  if (found != codes.end() && *found == aWideChar) entry = companion->fUsedWide[found - codes.begin()];
  fUsedWideChar.insert(fUsedWideChar.begin() + index, aWideChar);
  fUsedWide.insert(fUsedWide.begin() + index, entry);
  return static_cast<int>(index);
}

int TPdfFontTrueType::GetWideCharWidth(char16_t aWideChar) {
  TPdfFontTrueType* winAnsi = fWinAnsiFont;
  int byte = WinAnsiByte(aWideChar);
  if (byte >= 0) return byte < 32 ? winAnsi->fDefaultWidth : winAnsi->fWinAnsiWidth[byte - 32];
  return winAnsi->fUsedWide[winAnsi->FindOrAddUsedWideChar(aWideChar)].Width;
}

uint16_t TPdfFontTrueType::MapGlyphToUsed(uint16_t AGlyph) {
  TPdfFontTrueType* winAnsi = fWinAnsiFont;
  for (const TUsedWide& used : winAnsi->fUsedWide)
    if (used.Glyph == AGlyph) return AGlyph;
  TPdfFontTrueType* companion = CreateUnicodeCompanion();
  for (size_t i = 0; i < companion->fUsedWide.size(); ++i)
    if (companion->fUsedWide[i].Glyph == AGlyph && AGlyph != 0)
      return winAnsi->fUsedWide[winAnsi->FindOrAddUsedWideChar(companion->fUsedWideChar[i])].Glyph;
  return 0;
}
