#pragma once
// TSfntView: a bounds-checked view of one big-endian font table. Damage raises EDamagedData with the
// table's tag in the message.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/rtl/ByteView.h"

class TSfntView {
 public:
  TSfntView(std::string_view Bytes, const char* Tag)
      : fView(reinterpret_cast<const uint8_t*>(Bytes.data()), Bytes.size()), fTag(Tag) {}

  size_t size() const { return fView.size(); }
  bool Has(size_t Offset, size_t Length) const { return fView.Has(Offset, Length); }
  uint16_t U16(size_t Offset) const {
    Check(Offset, 2);
    return static_cast<uint16_t>(fView.U8(Offset) << 8 | fView.U8(Offset + 1));
  }
  int16_t I16(size_t Offset) const { return static_cast<int16_t>(U16(Offset)); }
  uint32_t U32(size_t Offset) const { return uint32_t(U16(Offset)) << 16 | U16(Offset + 2); }
  void Check(size_t Offset, size_t Length) const {
    if (!fView.Has(Offset, Length))
      throw EDamagedData(std::string("Font table '") + fTag + "' is damaged: " + std::to_string(Length) +
                         " bytes needed at offset " + std::to_string(Offset) + " of " +
                         std::to_string(fView.size()));
  }

 private:
  ByteView fView;
  const char* fTag;
};
