#pragma once
// The font classes the page, canvas and document work with. A font wraps its registered font dictionary
// and carries the resource name it is selected under on a page ("F0", "F1"...). TrueType fonts (the only
// kind this system's documents use) are built from the host's font service by the fonts layer on top
// of TPdfFontWinAnsi; this header holds what the engine core needs of every font.
#include <bitset>
#include <cstdint>
#include <string>

#include "pdf/PdfWrappers.h"

class TPdfFont : public TPdfDictionaryWrapper {
 public:
  const std::string& Name() const { return fName; }
  const std::string& ShortCut() const { return fShortCut; }
  void SetShortCut(const std::string& Value) { fShortCut = Value; }
  // This is the Type0 companion of a WinAnsi font.
  bool Unicode() const { return fUnicode; }
  // Index of the installed family plus one; 0 for fonts that are not TrueType.
  int32_t TrueTypeFontsIndex() const { return fTrueTypeFontsIndex; }
  bool IsTrueType() const { return fTrueTypeFontsIndex > 0; }

  // Width in 1/1000 em of the byte at 1-based position APos of AText; 0 here.
  virtual int GetAnsiCharWidth(const std::string& AText, int APos) const;
  // Width in 1/1000 em of a UTF-16 code unit, 0 when the font has no glyph for it; 0 here.
  virtual int GetWideCharWidth(char16_t aWideChar);
  // Completes the font's dictionaries when the document is saved (TrueType fonts); nothing here.
  virtual void FinishFont() {}

  // WinAnsi codes shown with this font.
  std::bitset<256> fWinAnsiUsed;

 protected:
  std::string fName;
  std::string fShortCut;
  int32_t fFirstChar = 0, fLastChar = 0;
  uint16_t fDefaultWidth = 0;
  int32_t fAscent = 0, fDescent = 0;
  bool fUnicode = false;
  int32_t fTrueTypeFontsIndex = 0;
};

// A simple font with WinAnsi encoding and a width table for codes 32..255.
class TPdfFontWinAnsi : public TPdfFont {
 public:
  // The table entry for a code above 31, fDefaultWidth otherwise or without a table.
  int GetAnsiCharWidth(const std::string& AText, int APos) const override;

 protected:
  bool fHasWinAnsiWidth = false;
  uint16_t fWinAnsiWidth[224] = {};
};
