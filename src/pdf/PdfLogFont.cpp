#include "pdf/PdfLogFont.h"

#include <algorithm>

std::u16string TLogFontW::FaceName() const {
  const char16_t* end = std::find(lfFaceName, lfFaceName + LF_FACESIZE, u'\0');
  return std::u16string(lfFaceName, end);
}

void TLogFontW::SetFaceName(std::u16string_view Value) {
  size_t count = std::min<size_t>(Value.size(), LF_FACESIZE - 1);
  std::fill(std::begin(lfFaceName), std::end(lfFaceName), u'\0');
  std::copy_n(Value.begin(), count, lfFaceName);
}
