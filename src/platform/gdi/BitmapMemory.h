#pragma once
// The decoded bitmap memory alive during one page, held to TPageLimits::BitmapBytes. A blit holds a charge
// while it draws; a pattern brush holds one for as long as the brush lives (in the handle table or
// selected), so that bitmaps no longer needed give their share back.
#include <cstdint>
#include <memory>

class TBitmapMemory {
 public:
  // A share of the page's bitmap memory, given back when its last copy is dropped.
  using TCharge = std::shared_ptr<const void>;

  // A charge of `bytes`, or null when the bitmaps alive would then take more than `limit` bytes.
  TCharge Charge(uint64_t bytes, uint64_t limit);
  uint64_t Alive() const { return *FAlive; }

 private:
  // Shared with the charges, which may outlive the context (a brush kept by a caller).
  std::shared_ptr<uint64_t> FAlive = std::make_shared<uint64_t>(0);
};
