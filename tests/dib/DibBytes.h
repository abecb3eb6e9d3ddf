#pragma once
// Hand-made bitmap headers and bits for the decoder tests.
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "platform/rtl/ByteView.h"

struct TBytes {
  std::vector<uint8_t> Data;

  TBytes& U8(std::initializer_list<uint8_t> values) {
    Data.insert(Data.end(), values);
    return *this;
  }
  TBytes& U16(uint16_t value) { return U8({static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)}); }
  TBytes& U32(uint32_t value) {
    return U16(static_cast<uint16_t>(value)).U16(static_cast<uint16_t>(value >> 16));
  }
  TBytes& Zeros(size_t count) {
    Data.resize(Data.size() + count, 0);
    return *this;
  }
  // Colour table entries given as 0xRRGGBB, stored blue, green, red, reserved.
  TBytes& Quads(std::initializer_list<uint32_t> colours) {
    for (uint32_t c : colours)
      U8({static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c >> 16), 0});
    return *this;
  }
  ByteView View() const { return ByteView(Data.data(), Data.size()); }
};

// A header of `size` bytes (40, 52, 56, 108 or 124) with the given fields; the rest stays zero, except
// masks, which callers append or patch.
inline TBytes InfoHeader(int32_t width, int32_t height, uint16_t bitCount, uint32_t compression = 0,
                         uint32_t clrUsed = 0, uint32_t size = 40) {
  TBytes b;
  b.U32(size).U32(static_cast<uint32_t>(width)).U32(static_cast<uint32_t>(height)).U16(1).U16(bitCount);
  b.U32(compression).U32(0).U32(0).U32(0).U32(clrUsed).U32(0);
  b.Zeros(size - 40);
  return b;
}

inline void PutU32(TBytes& b, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i)
    b.Data[at + i] = static_cast<uint8_t>(value >> (8 * i));
}
