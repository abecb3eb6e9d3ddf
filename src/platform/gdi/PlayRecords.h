#pragma once
// The record handlers of the player, one group per file. Each returns false when the record type is not
// its own; a malformed record raises EDamagedData (EBadRecord for values that do not fit).
#include <cstdint>

#include "DeviceContext.h"
#include "platform/rtl/ByteView.h"

class EBadRecord : public EDamagedData {
 public:
  EBadRecord(const std::string& message, uint32_t code) : EDamagedData(message), Code(code) {}
  uint32_t Code;
};

struct TPlayContext {
  TGdiDC& dc;
  THandleTable& table;
};

bool PlayStateRecord(TPlayContext& ctx, uint32_t type, ByteView rec);
bool PlayObjectRecord(TPlayContext& ctx, uint32_t type, ByteView rec);
bool PlayClipRecord(TPlayContext& ctx, uint32_t type, ByteView rec);
bool PlayShapeRecord(TPlayContext& ctx, uint32_t type, ByteView rec);
bool PlayPathRecord(TPlayContext& ctx, uint32_t type, ByteView rec);
bool PlayTextRecord(TPlayContext& ctx, uint32_t type, ByteView rec);
bool PlayBitmapRecord(TPlayContext& ctx, uint32_t type, ByteView rec);
