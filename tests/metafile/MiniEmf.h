#pragma once
// Small EMF fixtures for tests: a 108-byte header record, optional comment records carrying payload
// bytes, and the EMR_EOF record. nBytes and nRecords are filled in to match.
#include <cstdint>
#include <cstring>
#include <vector>

namespace miniemf {

inline void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  std::memcpy(b.data() + at, &v, 4);
}
inline void Append32(std::vector<uint8_t>& b, uint32_t v) {
  b.resize(b.size() + 4);
  Put32(b, b.size() - 4, v);
}

struct Geometry {
  int32_t frameLeft = 0, frameTop = 0, frameRight = 21000, frameBottom = 29700; // A4 in 0.01 mm
  int32_t deviceCx = 1024, deviceCy = 768;
  int32_t millimetresCx = 320, millimetresCy = 240;
};

// payload: bytes carried by one EMR_GDICOMMENT record (none when empty).
inline std::vector<uint8_t> Build(const std::vector<uint8_t>& payload = {}, const Geometry& g = {}) {
  std::vector<uint8_t> b(108, 0);
  Put32(b, 0, 1);   // EMR_HEADER
  Put32(b, 4, 108); // record size
  Put32(b, 24, g.frameLeft);
  Put32(b, 28, g.frameTop);
  Put32(b, 32, g.frameRight);
  Put32(b, 36, g.frameBottom);
  Put32(b, 40, 0x464D4520); // " EMF"
  Put32(b, 44, 0x10000);
  Put32(b, 56, 1); // nHandles
  Put32(b, 72, g.deviceCx);
  Put32(b, 76, g.deviceCy);
  Put32(b, 80, g.millimetresCx);
  Put32(b, 84, g.millimetresCy);
  uint32_t records = 2;
  if (!payload.empty()) {
    size_t padded = (payload.size() + 3) & ~size_t(3);
    Append32(b, 70); // EMR_GDICOMMENT
    Append32(b, static_cast<uint32_t>(12 + padded));
    Append32(b, static_cast<uint32_t>(payload.size()));
    b.insert(b.end(), payload.begin(), payload.end());
    b.resize(b.size() + padded - payload.size(), 0);
    ++records;
  }
  for (uint32_t v : {14u, 20u, 0u, 16u, 20u})
    Append32(b, v); // EMR_EOF
  Put32(b, 48, static_cast<uint32_t>(b.size()));
  Put32(b, 52, records);
  return b;
}

// Deterministic page-like bytes: runs and repeats as drawing records have, with some noise.
inline std::vector<uint8_t> PagePayload(size_t size, uint32_t seed) {
  std::vector<uint8_t> out(size);
  uint32_t x = seed * 2654435761u + 1;
  for (size_t i = 0; i < size; ++i) {
    x = x * 1103515245u + 12345u;
    out[i] = (x >> 16) % 7 == 0 ? static_cast<uint8_t>(x >> 24) : static_cast<uint8_t>(i % 16);
  }
  return out;
}

} // namespace miniemf
