#include "pdf/PdfFont.h"

#include "pdf/PdfFontService.h"

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

namespace {
class TNoFontService : public TPdfFontService {
 public:
  std::vector<std::string> TrueTypeFamilies() const override { return {}; }
};
} // namespace

TPdfFontService& NoFontService() {
  static TNoFontService service;
  return service;
}
