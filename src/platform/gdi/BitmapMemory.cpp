#include "BitmapMemory.h"

namespace {
struct TBitmapCharge {
  std::shared_ptr<uint64_t> Alive;
  uint64_t Bytes;
  ~TBitmapCharge() { *Alive -= Bytes; }
};
} // namespace

TBitmapMemory::TCharge TBitmapMemory::Charge(uint64_t bytes, uint64_t limit) {
  if (bytes > limit || *FAlive > limit - bytes) return nullptr;
  *FAlive += bytes;
  return std::shared_ptr<TBitmapCharge>(new TBitmapCharge{FAlive, bytes});
}
