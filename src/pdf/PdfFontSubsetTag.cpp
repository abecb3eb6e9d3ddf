#include "pdf/PdfFontSubsetTag.h"

namespace {

// FNV-1a, 64 bits.
constexpr uint64_t FnvOffset = 14695981039346656037ull;
constexpr uint64_t FnvPrime = 1099511628211ull;

void Mix(uint64_t& Hash, uint32_t Value) {
  for (int i = 0; i < 4; ++i) {
    Hash ^= (Value >> (8 * i)) & 0xFF;
    Hash *= FnvPrime;
  }
}

} // namespace

std::string FontSubsetTag(const std::vector<uint16_t>& Glyphs, const std::vector<char32_t>& Unicodes) {
  uint64_t hash = FnvOffset;
  for (uint16_t glyph : Glyphs)
    Mix(hash, glyph);
  Mix(hash, 0xFFFFFFFFu); // the two lists apart
  for (char32_t unicode : Unicodes)
    Mix(hash, unicode);
  std::string tag(6, 'A');
  for (char& letter : tag) {
    letter = static_cast<char>('A' + hash % 26);
    hash /= 26;
  }
  return tag;
}
