#pragma once
// Appends little-endian fields to one metafile record and patches its size when done.
#include <cstdint>
#include <cstring>
#include <vector>

class TEmfRecordBuilder {
 public:
  explicit TEmfRecordBuilder(uint32_t type) {
    U32(type);
    U32(0); // size, set by Bytes()
  }

  TEmfRecordBuilder& U8(uint8_t v) {
    FBytes.push_back(v);
    return *this;
  }
  TEmfRecordBuilder& U16(uint16_t v) { return Raw(&v, 2); }
  TEmfRecordBuilder& I16(int16_t v) { return Raw(&v, 2); }
  TEmfRecordBuilder& U32(uint32_t v) { return Raw(&v, 4); }
  TEmfRecordBuilder& I32(int32_t v) { return Raw(&v, 4); }
  TEmfRecordBuilder& F32(float v) { return Raw(&v, 4); }
  TEmfRecordBuilder& Rect(int32_t l, int32_t t, int32_t r, int32_t b) { return I32(l).I32(t).I32(r).I32(b); }
  TEmfRecordBuilder& Raw(const void* data, size_t size) {
    if (size == 0) return *this;
    const size_t at = FBytes.size();
    FBytes.resize(at + size);
    std::memcpy(FBytes.data() + at, data, size); // the host is little-endian, like the format
    return *this;
  }
  TEmfRecordBuilder& Zeros(size_t count) {
    FBytes.insert(FBytes.end(), count, 0);
    return *this;
  }
  // Pads with zeros to a multiple of four bytes, as every record must be.
  TEmfRecordBuilder& Align4() { return Zeros((4 - FBytes.size() % 4) % 4); }

  size_t Size() const { return FBytes.size(); }
  // Overwrites a 32-bit field already written (offsets that are known only later).
  void PatchU32(size_t offset, uint32_t v) { std::memcpy(FBytes.data() + offset, &v, 4); }

  // The finished record: padded, with its size filled in.
  const std::vector<uint8_t>& Bytes() {
    Align4();
    PatchU32(4, static_cast<uint32_t>(FBytes.size()));
    return FBytes;
  }

 private:
  std::vector<uint8_t> FBytes;
};
