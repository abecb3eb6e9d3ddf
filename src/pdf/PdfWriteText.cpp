// TPdfWrite: Unicode text as WinAnsi literal strings and glyph strings of Type0 companions.
#include "pdf/PdfCanvas.h"
#include "pdf/PdfCodePages.h"
#include "pdf/PdfDocument.h"
#include "pdf/PdfErrors.h"
#include "pdf/PdfFontTrueType.h"
#include "pdf/PdfPage.h"
#include "pdf/PdfWrite.h"

namespace {

// The code page 1252 byte of a character, -1 when it has none; U+00A0 is byte 160.
int WinAnsiByte(char16_t c) {
  return c == 0xA0 ? 160 : Utf16CharToCodePageByte(c, 1252);
}

TPdfFontTrueType* WinAnsiOf(TPdfFont* Font) {
  auto* trueType = dynamic_cast<TPdfFontTrueType*>(Font);
  return trueType ? trueType->WinAnsiFont() : nullptr;
}

} // namespace

void TPdfWrite::AddShowOperator() {
  if (fNextLinePending) {
    Add(" '\n");
    fNextLinePending = false;
  } else {
    Add(" Tj\n");
  }
}

TPdfWrite& TPdfWrite::AddEscapeText(std::string_view Text, TPdfFont* Font) {
  for (char c : Text) {
    auto byte = static_cast<uint8_t>(c);
    if (byte == 0) break;
    if (c == '(' || c == ')' || c == '\\') Add('\\');
    // A no-break space is shown as a space; the byte shown is the one whose width counts.
    if (byte == 160) byte = ' ';
    Add(static_cast<char>(byte));
    if (Font) Font->fWinAnsiUsed.set(byte);
  }
  return *this;
}

void TPdfWrite::AddUnicodeHexText(const char16_t* PW, bool NextLine, TPdfCanvas* Canvas) {
  TPdfFont* current = Canvas->Page()->Font();
  if (!current) throw EPdfInvalidOperation("AddUnicodeHexText: no font selected");
  TPdfFontTrueType* font = WinAnsiOf(current);
  if (current == fTextFontLeft && fTextFont) font = fTextFont;
  EncodeUnicodeRuns(PW, NextLine, Canvas, font);
}

void TPdfWrite::AddToUnicodeHexText(std::string_view Text, bool NextLine, TPdfCanvas* Canvas) {
  std::u16string wide = CodePageToUtf16(Text, fCodePage);
  AddUnicodeHexText(wide.c_str(), NextLine, Canvas);
}

void TPdfWrite::EncodeUnicodeRuns(const char16_t* PW, bool NextLine, TPdfCanvas* Canvas,
                                  TPdfFontTrueType* Font) {
  TPdfPage* page = Canvas->Page();
  fNextLinePending = NextLine;
  fAddGlyphFont = fNone;
  bool literalOpen = false;
  for (; PW && *PW; ++PW) {
    int byte = WinAnsiByte(*PW);
    if (byte < 0 && !Font) byte = '?';
    if (byte >= 0) {
      CloseGlyphString();
      if (!literalOpen) {
        if (Font && page->Font() != Font) Canvas->SetPDFFont(Font, page->FontSize());
        Add('(');
        literalOpen = true;
      }
      char c = static_cast<char>(byte);
      AddEscapeText(std::string_view(&c, 1), page->Font());
      continue;
    }
    if (literalOpen) {
      Add(')');
      AddShowOperator();
      literalOpen = false;
    }
    AddCharAsGlyph(*PW, Font, Canvas);
  }
  if (literalOpen) {
    Add(')');
    AddShowOperator();
  }
  CloseGlyphString();
  fNextLinePending = false;
  fTextFont = Font;
  fTextFontLeft = page->Font();
}

void TPdfWrite::AddCharAsGlyph(char16_t ch, TPdfFontTrueType* Font, TPdfCanvas* Canvas) {
  if (!Font || Font->WinAnsiFont() != Font) throw EPdfInvalidOperation("AddCharAsGlyph: not a WinAnsi font");
  TPdfPage* page = Canvas->Page();
  TPdfDocument* doc = Canvas->Doc();
  TPdfFontTrueType* chosen = Font;
  TPdfAddGlyphFont kind = fMain;
  uint16_t glyph = Font->UsedWide()[Font->FindOrAddUsedWideChar(ch)].Glyph;
  if (glyph == 0 && doc->UseFontFallBack() && doc->FontFallBackIndex() >= 0) {
    TPdfFontTrueType* fallback =
        Canvas->SetFont({}, page->FontSize(), Font->Style(), doc->CharSet(), doc->FontFallBackIndex(), false);
    if (fallback) {
      if (fallback->WinAnsiFont() != fallback)
        throw EPdfInvalidOperation("AddCharAsGlyph: the fallback is not a WinAnsi font");
      chosen = fallback;
      kind = fFallBack;
      glyph = fallback->UsedWide()[fallback->FindOrAddUsedWideChar(ch)].Glyph;
    }
  }
  if (fAddGlyphFont != fNone && fAddGlyphFont != kind) CloseGlyphString();
  Canvas->SetPDFFont(chosen->CreateUnicodeCompanion(), page->FontSize());
  if (fAddGlyphFont == fNone) Add('<');
  AddHex4(glyph);
  fAddGlyphFont = kind;
}

void TPdfWrite::CloseGlyphString() {
  if (fAddGlyphFont == fNone) return;
  Add('>');
  AddShowOperator();
  fAddGlyphFont = fNone;
}

void TPdfWrite::AddGlyphs(const uint16_t* Glyphs, int GlyphsCount, TPdfCanvas* Canvas) {
  if (!Glyphs || GlyphsCount <= 0) return;
  TPdfPage* page = Canvas->Page();
  TPdfFontTrueType* font = WinAnsiOf(page->Font());
  if (page->Font() == fTextFontLeft && fTextFont) font = fTextFont;
  if (!font) return;
  Canvas->SetPDFFont(font->CreateUnicodeCompanion(), page->FontSize());
  Add('<');
  for (int i = 0; i < GlyphsCount; ++i)
    AddHex4(font->MapGlyphToUsed(Glyphs[i]));
  Add('>');
  Add(" Tj\n");
}
