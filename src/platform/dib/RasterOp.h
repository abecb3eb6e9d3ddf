#pragma once
// Ternary raster operations: how a blit combines destination (D), source (S) and pattern (P) bits.
#include <cstdint>

namespace dib {
// The operation codes reports use; bits 16..23 are the truth table, the rest is ignored here.
constexpr uint32_t SRCCOPY = 0x00CC0020, SRCPAINT = 0x00EE0086, SRCAND = 0x008800C6, SRCINVERT = 0x00660046,
                   SRCERASE = 0x00440328, NOTSRCCOPY = 0x00330008, NOTSRCERASE = 0x001100A6,
                   MERGECOPY = 0x00C000CA, MERGEPAINT = 0x00BB0226, PATCOPY = 0x00F00021,
                   PATPAINT = 0x00FB0A09, PATINVERT = 0x005A0049, DSTINVERT = 0x00550009,
                   BLACKNESS = 0x00000042, WHITENESS = 0x00FF0062;
} // namespace dib

// The truth-table byte of an operation code.
constexpr uint8_t RopIndex(uint32_t rop) {
  return static_cast<uint8_t>(rop >> 16);
}

// Bit i of the truth table is the result for P = bit 2, S = bit 1, D = bit 0 of i (so SRCCOPY is 0xCC).
// Every one of the 256 tables is evaluated, bit by bit over the whole 32-bit words.
constexpr uint32_t ApplyRop3(uint8_t table, uint32_t dst, uint32_t src, uint32_t pat) {
  uint32_t result = 0;
  for (unsigned i = 0; i < 8; ++i) {
    if (((table >> i) & 1) == 0) continue;
    uint32_t p = (i & 4) ? pat : ~pat, s = (i & 2) ? src : ~src, d = (i & 1) ? dst : ~dst;
    result |= p & s & d;
  }
  return result;
}

// Whether the result depends on the source (otherwise the whole destination rectangle is painted, even
// where the source rectangle leaves the bitmap).
constexpr bool RopUsesSource(uint8_t table) {
  return ((table >> 2) ^ table) & 0x33;
}
