#include "pdf/PdfSystemColors.h"

namespace {
// clang-format off
const uint32_t DefaultScheme[] = {
  0xC8C8C8, 0x000000, 0xD1B499, 0xDBCDBF, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000, // scroll bar .. menu text
  0x000000, 0x000000, 0xB4B4B4, 0xFCF7F4, 0xABABAB, 0xD77800, 0xFFFFFF, 0xF0F0F0, // window text .. button face
  0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000, // button shadow .. info text
  0xE1FFFF, 0x000000, 0xCC6600, 0xEAD1B9, 0xF2E4D7, 0xFF9933, 0xF0F0F0,           // info back .. menu bar
};
// clang-format on
} // namespace

uint32_t SystemColorRGB(int Index) {
  if (Index < 0 || Index >= static_cast<int>(sizeof(DefaultScheme) / sizeof(DefaultScheme[0]))) return 0;
  return DefaultScheme[Index];
}
