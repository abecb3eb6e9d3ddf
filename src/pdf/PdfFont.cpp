#include "pdf/PdfFont.h"

int TPdfFont::GetAnsiCharWidth(const std::string&, int) const {
  return 0;
}

int TPdfFont::GetWideCharWidth(char16_t) {
  return 0;
}

int TPdfFontWinAnsi::GetAnsiCharWidth(const std::string& AText, int APos) const {
  if (APos < 1 || APos > static_cast<int>(AText.size())) return 0;
  uint8_t code = static_cast<uint8_t>(AText[APos - 1]);
  if (code < 32 || !fHasWinAnsiWidth) return fDefaultWidth;
  return fWinAnsiWidth[code - 32];
}
