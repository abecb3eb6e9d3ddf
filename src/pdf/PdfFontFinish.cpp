// TPdfFontTrueType at save: the WinAnsi widths, the companion's CIDFont with its widths and ToUnicode
// map, and the font program of fonts whose glyph indices are shown.
#include <algorithm>
#include <set>

#include "pdf/PdfArray.h"
#include "pdf/PdfCodePages.h"
#include "pdf/PdfDocument.h"
#include "pdf/PdfFontSubsetTag.h"
#include "pdf/PdfFontTrueType.h"
#include "pdf/PdfStream.h"
#include "pdf/PdfWrite.h"
#include "platform/fonts/FontSubset.h"

namespace {

// Entries of one "beginbfchar" block.
constexpr size_t BfCharBlock = 99;

} // namespace

void TPdfFontTrueType::FinishFont() {
  if (fUnicode)
    FinishCompanion();
  else
    FinishWinAnsi();
}

void TPdfFontTrueType::FinishWinAnsi() {
  fFirstChar = 0;
  fLastChar = 0;
  for (int code = 32; code < 256; ++code)
    if (fWinAnsiUsed[code]) {
      if (fFirstChar == 0) fFirstChar = code;
      fLastChar = code;
    }
  if (fFirstChar != 0) {
    FData->AddItem("FirstChar", fFirstChar);
    FData->AddItem("LastChar", fLastChar);
    TMemoryStream text;
    TPdfWrite w(nullptr, &text);
    w.Add('[');
    for (int code = fFirstChar; code <= fLastChar; ++code)
      if (fWinAnsiUsed[code])
        w.AddWithSpace(static_cast<int32_t>(fWinAnsiWidth[code - 32]));
      else
        w.Add("0 ");
    w.Add(']');
    FData->AddItem("Widths", new TPdfRawText(w.ToPDFString()));
  }
  if (fUnicodeFont || fDoc->EmbeddedTTF()) EmbedFontProgram();
}

void TPdfFontTrueType::Rename(const std::string& AName) {
  fName = AName;
  if (TPdfName* baseFont = FData->PdfNameByName("BaseFont")) baseFont->SetValue(AName);
}

void TPdfFontTrueType::EmbedFontProgram() {
  std::string file = fFace->FontFile();
  if (!IsTrueTypeOutlineFile(file, fFace->Location().FaceIndex))
    return; // only glyph outlines can be a FontFile2
  bool symbol = fLogFont.lfCharSet == SYMBOL_CHARSET;
  std::vector<char32_t> unicodes;
  for (int code = 32; code < 256; ++code)
    if (fWinAnsiUsed[code])
      unicodes.push_back(symbol
                             ? char32_t(0xF000 + code)
                             : char32_t(CodePageToUtf16(std::string(1, static_cast<char>(code)), 1252)[0]));
  std::set<uint16_t> glyphSet{0};
  for (const TUsedWide& used : fUsedWide)
    glyphSet.insert(used.Glyph);
  std::vector<uint16_t> glyphs(glyphSet.begin(), glyphSet.end());

  std::string subset = SubsetFontKeepingGlyphIds(file, fFace->Location().FaceIndex, glyphs, unicodes);
  fFontFile2 = new TPdfStream(fDoc);
  fFontFile2->Attributes()->AddItem("Length1", static_cast<int32_t>(subset.size()));
  fFontFile2->Writer().Add(subset);
  fFontDescriptor->AddItem("FontFile2", fFontFile2);

  std::string tagged = FontSubsetTag(glyphs, unicodes) + "+" + fName;
  Rename(tagged);
  if (TPdfName* fontName = fFontDescriptor->PdfNameByName("FontName")) fontName->SetValue(tagged);
  if (fUnicodeFont) fUnicodeFont->Rename(tagged);
}

void TPdfFontTrueType::FinishCompanion() {
  TPdfFontTrueType* winAnsi = fWinAnsiFont;
  const std::vector<TUsedWide>& used = winAnsi->fUsedWide;

  auto* cidFont = new TPdfDictionary(fDoc->Xref());
  fDoc->Xref()->AddObject(cidFont);
  cidFont->AddItem("Type", "Font");
  cidFont->AddItem("Subtype", "CIDFontType2");
  cidFont->AddItem("BaseFont", fName);
  auto* systemInfo = new TPdfDictionary(fDoc->Xref());
  systemInfo->AddItem("Supplement", 0);
  systemInfo->AddItemText("Ordering", "Identity");
  systemInfo->AddItemText("Registry", "Adobe");
  cidFont->AddItem("CIDSystemInfo", systemInfo);
  if (!used.empty()) {
    fFirstChar = used.front().Glyph;
    fLastChar = used.back().Glyph;
  }
  cidFont->AddItem("DW", winAnsi->fDefaultWidth);
  if (!fFixedWidth) {
    TMemoryStream text;
    TPdfWrite w(nullptr, &text);
    w.Add('[');
    for (const TUsedWide& entry : used)
      if (entry.Int() != 0) {
        w.Add(static_cast<int32_t>(entry.Glyph)).Add('[').Add(static_cast<int32_t>(entry.Width)).Add(']');
      }
    w.Add(']');
    cidFont->AddItem("W", new TPdfRawText(w.ToPDFString()));
  }
  cidFont->AddItem("FontDescriptor", winAnsi->fFontDescriptor);
  auto* descendants = new TPdfArray(fDoc->Xref());
  descendants->AddItem(cidFont);
  FData->AddItem("DescendantFonts", descendants);
  WriteToUnicode();
}

void TPdfFontTrueType::WriteToUnicode() {
  const TPdfFontTrueType* winAnsi = fWinAnsiFont;
  auto* stream = new TPdfStream(fDoc);
  TPdfWrite& w = stream->Writer();
  w.Add("/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n/CIDSystemInfo\n<<\n/Registry (");
  w.Add(fShortCut);
  w.Add("+0)\n/Ordering (UCS)\n/Supplement 0\n>> def\n/CMapName /");
  w.Add(fShortCut);
  // Glyph indices follow no code order, so the whole two-byte range is the code space.
  w.Add("+0 def\n/CMapType 2 def\n1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n");
  const std::vector<char16_t>& codes = winAnsi->fUsedWideChar;
  const std::vector<TUsedWide>& used = winAnsi->fUsedWide;
  for (size_t block = 0; block < used.size(); block += BfCharBlock) {
    size_t end = std::min(used.size(), block + BfCharBlock);
    int32_t count = 0;
    for (size_t i = block; i < end; ++i)
      if (used[i].Glyph != 0) ++count;
    w.Add(count).Add(" beginbfchar\n");
    for (size_t i = block; i < end; ++i)
      if (used[i].Glyph != 0) {
        w.Add('<').AddHex4(used[i].Glyph).Add("> <").AddHex4(codes[i]).Add(">\n");
      }
    w.Add("endbfchar\n");
  }
  w.Add("endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend");
  FData->AddItem("ToUnicode", stream);
}
