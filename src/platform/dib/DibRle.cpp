#include "platform/dib/DibRle.h"

using namespace dib;

namespace {

// Cursor over the raster in the order the data fill it: x to the right, y up from the bottom row.
class TRleTarget {
 public:
  TRleTarget(const TDibInfo& info, std::vector<uint8_t>& indices)
      : FWidth(info.Width), FHeight(info.Height), FIndices(indices) {}

  bool Done() const { return FY >= FHeight; }
  // Pixels past the row's end are dropped: odd-width RLE4 rows legitimately carry one extra nibble.
  void Put(uint8_t index) {
    if (FX < FWidth && FY < FHeight)
      FIndices[static_cast<size_t>(FHeight - 1 - FY) * FWidth + static_cast<size_t>(FX)] = index;
    ++FX;
  }
  void EndOfLine() {
    FX = 0;
    ++FY;
  }
  void Move(uint8_t dx, uint8_t dy) {
    FX += dx;
    FY += dy;
  }
  void Finish() { FY = FHeight; }

 private:
  int64_t FWidth, FHeight;
  int64_t FX = 0, FY = 0;
  std::vector<uint8_t>& FIndices;
};

} // namespace

void DecodeRle(const TDibInfo& info, ByteView bits, std::vector<uint8_t>& indices) {
  const bool nibbles = info.Compression == BI_RLE4;
  TRleTarget target(info, indices);
  size_t pos = 0;
  // Every pass consumes at least two bytes, so the loop ends with the data.
  while (!target.Done()) {
    if (!bits.Has(pos, 2)) throw EDamagedData("RLE bitmap data end before the end-of-bitmap mark");
    uint8_t count = bits.U8(pos), value = bits.U8(pos + 1);
    pos += 2;
    if (count > 0) {
      for (unsigned i = 0; i < count; ++i)
        target.Put(nibbles ? (i % 2 == 0 ? value >> 4 : value & 0x0F) : value);
      continue;
    }
    switch (value) {
    case 0:
      target.EndOfLine();
      break;
    case 1:
      target.Finish();
      break;
    case 2:
      target.Move(bits.U8(pos), bits.U8(pos + 1));
      pos += 2;
      break;
    default: { // an absolute run of `value` pixels, padded to a 16-bit boundary
      size_t bytes = nibbles ? (value + 1u) / 2 : value;
      ByteView run = bits.Sub(pos, bytes);
      for (unsigned i = 0; i < value; ++i) {
        uint8_t byte = run.U8(nibbles ? i / 2 : i);
        target.Put(nibbles ? (i % 2 == 0 ? byte >> 4 : byte & 0x0F) : byte);
      }
      pos += bytes + (bytes & 1);
    }
    }
  }
}
