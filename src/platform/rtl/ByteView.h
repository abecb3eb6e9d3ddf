#pragma once
// A bounds-checked, read-only view of untrusted bytes. Every accessor checks its range and raises
// EDamagedData (naming the offset) instead of reading outside the view; Has() tests without raising.
// Values are little-endian.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "Exception.h"

class ByteView {
 public:
  ByteView() = default;
  ByteView(const uint8_t* data, size_t size) : FData(data), FSize(size) {}

  const uint8_t* data() const { return FData; }
  size_t size() const { return FSize; }
  bool empty() const { return FSize == 0; }

  // True when [offset, offset + length) lies inside the view (no overflow).
  bool Has(size_t offset, size_t length) const { return offset <= FSize && length <= FSize - offset; }

  ByteView Sub(size_t offset, size_t length) const {
    Check(offset, length);
    return ByteView(FData + offset, length);
  }
  ByteView From(size_t offset) const {
    Check(offset, 0);
    return ByteView(FData + offset, FSize - offset);
  }

  uint8_t U8(size_t offset) const {
    Check(offset, 1);
    return FData[offset];
  }
  uint16_t U16(size_t offset) const { return Load<uint16_t>(offset); }
  int16_t I16(size_t offset) const { return Load<int16_t>(offset); }
  uint32_t U32(size_t offset) const { return Load<uint32_t>(offset); }
  int32_t I32(size_t offset) const { return Load<int32_t>(offset); }
  float F32(size_t offset) const { return Load<float>(offset); }
  double F64(size_t offset) const { return Load<double>(offset); }

  void Check(size_t offset, size_t length) const {
    if (!Has(offset, length))
      throw EDamagedData("Data ends early: " + std::to_string(length) + " bytes needed at offset " +
                         std::to_string(offset) + " of " + std::to_string(FSize));
  }

 private:
  template <typename T> T Load(size_t offset) const {
    Check(offset, sizeof(T));
    T value;
    std::memcpy(&value, FData + offset, sizeof(T)); // the host is little-endian, like the formats
    return value;
  }

  const uint8_t* FData = nullptr;
  size_t FSize = 0;
};
