#pragma once
// Record bytes the EMF writer has no call for, built field by field.
#include <cstdint>
#include <vector>

#include "platform/emfwriter/EmfRecordBuilder.h"
#include "platform/emfwriter/EmfWriter.h"

namespace hostile {

// BITMAPINFOHEADER followed by a grey palette of paletteSize entries.
inline std::vector<uint8_t> BitmapInfo(int32_t width, int32_t height, uint16_t bitCount, uint32_t compression,
                                       uint32_t paletteSize) {
  TEmfRecordBuilder b(0);
  b.U32(40).I32(width).I32(height).U16(1).U16(bitCount).U32(compression).U32(0).I32(3780).I32(3780);
  b.U32(paletteSize).U32(0);
  for (uint32_t i = 0; i < paletteSize; ++i) {
    const uint8_t v = uint8_t(i * 255 / (paletteSize > 1 ? paletteSize - 1 : 1));
    b.U8(v).U8(v).U8(v).U8(0);
  }
  const std::vector<uint8_t>& bytes = b.Bytes();
  return std::vector<uint8_t>(bytes.begin() + 8, bytes.end());
}

// A bitmap carried by a record: its info and bits, and where they land once appended.
struct TDibPart {
  std::vector<uint8_t> Info, Bits;
  uint32_t InfoOffset = 0, BitsOffset = 0; // from the record's start
};

// Places the bitmaps after a fixed part of fixedSize bytes (type and size fields included), each part
// four-byte aligned, filling in their offsets.
inline void PlaceDibs(uint32_t fixedSize, std::vector<TDibPart*> dibs) {
  uint32_t at = fixedSize;
  for (TDibPart* d : dibs) {
    d->InfoOffset = at;
    at += uint32_t((d->Info.size() + 3) / 4 * 4);
    d->BitsOffset = at;
    at += uint32_t((d->Bits.size() + 3) / 4 * 4);
  }
}

inline void AppendDibs(TEmfRecordBuilder& record, std::vector<const TDibPart*> dibs) {
  for (const TDibPart* d : dibs) {
    record.Raw(d->Info.data(), d->Info.size()).Align4();
    record.Raw(d->Bits.data(), d->Bits.size()).Align4();
  }
}

// Writes a finished builder's record through the writer (which takes the bytes after the size field).
inline void Emit(TEmfWriter& w, TEmfRecordBuilder& record) {
  const std::vector<uint8_t>& bytes = record.Bytes();
  const uint32_t type =
      uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
  w.RawRecord(type, std::vector<uint8_t>(bytes.begin() + 8, bytes.end()));
}

} // namespace hostile
