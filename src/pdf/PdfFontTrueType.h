#pragma once
// TPdfFontTrueType: an installed TrueType family in a PDF. Fonts come in pairs: the WinAnsi font (a
// simple TrueType font with WinAnsi encoding and a width table) shows every character code page 1252
// has; its Type0 companion (Identity-H, glyph indices of the font file, a ToUnicode map) shows the rest
// and is created on first need. Both share the host's font face and one font descriptor.
//
// The pair's used-character registry lives in the WinAnsi font (codes shown or measured outside
// WinAnsi, sorted, with width and glyph); the companion holds the font's whole character map as the
// lookup table. The document owns both fonts (its font list).
//
// Glyph indices are those of the font file found on this host, so a font whose companion exists carries
// that file, reduced to the glyphs used, as its font program (with the document's EmbeddedTTF every
// TrueType font does); a font of WinAnsi text alone is referenced by name.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "pdf/PdfFont.h"
#include "pdf/PdfLogFont.h"
#include "pdf/PdfTrueTypeTables.h"
#include "platform/fonts/FontService.h"

class TPdfDocument;
class TPdfStream;

class TPdfFontTrueType : public TPdfFontWinAnsi {
 public:
  // A WinAnsi font of the installed family AFontIndex, measured through AFace (the family opened for
  // ALogFont at em height 1000). Registers its dictionary and its descriptor.
  TPdfFontTrueType(TPdfDocument* ADoc, int AFontIndex, TPdfFontStyle AStyle, const TLogFontW& ALogFont,
                   std::shared_ptr<const TFontFace> AFace);
  // The Type0 companion of AWinAnsiFont; reads the font's character map (EDamagedData for a damaged
  // table).
  explicit TPdfFontTrueType(TPdfFontTrueType& AWinAnsiFont);

  // Width in 1/1000 em from the WinAnsi table for a character code page 1252 has; any other character
  // is registered and its glyph's width returned (0 when the font lacks it).
  int GetWideCharWidth(char16_t aWideChar) override;
  // Registers a character in the pair's registry (creating the companion when needed); its index there.
  int FindOrAddUsedWideChar(char16_t aWideChar);
  // A glyph of the font file as a registered glyph: a glyph no code of the character map reaches is 0.
  uint16_t MapGlyphToUsed(uint16_t AGlyph);
  // The companion of the pair, created (and added to the document's fonts) on first call.
  TPdfFontTrueType* CreateUnicodeCompanion();
  // Widths, the CIDFont, the ToUnicode map and the font program, at save.
  void FinishFont() override;

  // The WinAnsi font's registry (sorted codes and their entries); the companion's full character map.
  const std::vector<char16_t>& UsedWideChar() const { return fUsedWideChar; }
  const std::vector<TUsedWide>& UsedWide() const { return fUsedWide; }
  bool WideCharUsed() const { return !WinAnsiFont()->fUsedWideChar.empty(); }
  TPdfFontStyle Style() const { return fStyle; }
  bool FixedWidth() const { return fFixedWidth; }
  TPdfFontTrueType* UnicodeFont() const { return fUnicodeFont; }
  TPdfFontTrueType* WinAnsiFont() const { return fWinAnsiFont; }
  const TLogFontW& LogFont() const { return fLogFont; }
  const TFontFace& Face() const { return *fFace; }
  TPdfDictionary* FontDescriptor() const { return fFontDescriptor; }
  uint16_t DefaultWidth() const { return fDefaultWidth; }
  int32_t FirstChar() const { return fFirstChar; }
  int32_t LastChar() const { return fLastChar; }

 private:
  TPdfDictionary* RegisterDictionary();
  void MeasureWinAnsi();
  void CreateDescriptor();
  void FinishWinAnsi();
  void FinishCompanion();
  void WriteToUnicode();
  // A subset of the font file as the descriptor's "FontFile2", and the subset tag on every name.
  void EmbedFontProgram();
  void Rename(const std::string& AName);

  TPdfFontStyle fStyle = 0;
  TPdfDocument* fDoc;
  std::vector<char16_t> fUsedWideChar;
  std::vector<TUsedWide> fUsedWide;
  std::shared_ptr<const TFontFace> fFace;
  bool fFixedWidth = false;
  TPdfDictionary* fFontDescriptor = nullptr;
  TPdfStream* fFontFile2 = nullptr;
  TPdfFontTrueType* fUnicodeFont = nullptr;
  TPdfFontTrueType* fWinAnsiFont = nullptr;
  TLogFontW fLogFont;
  TFontTextMetrics fM;
  TFontOutlineMetrics fOTM;
};
