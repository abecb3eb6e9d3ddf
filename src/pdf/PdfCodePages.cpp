#include "pdf/PdfCodePages.h"

#include "platform/rtl/CodePages.h"

#include <cstdint>

std::u16string CodePageToUtf16(std::string_view Text, int CodePage) {
  return CodePageBytesToUtf16(Text, CodePage);
}

int Utf16CharToCodePageByte(char16_t Char, int CodePage) {
  return Utf16ToCodePageByte(Char, CodePage);
}

int CodePageToCharSet(int CodePage) {
  switch (CodePage) {
  case 874:
    return 222;
  case 932:
    return 128;
  case 936:
    return 134;
  case 949:
    return 129;
  case 1250:
    return 238;
  case 1251:
    return 204;
  case 1253:
    return 161;
  case 1254:
    return 162;
  case 1255:
    return 177;
  case 1256:
    return 178;
  case 1257:
    return 186;
  case 1258:
    return 163;
  default:
    return 0;
  }
}
