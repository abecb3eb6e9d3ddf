// Decoding and stretching speed for page-sized bitmaps.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "platform/dib/DibStretch.h"

using namespace dib;

namespace {

std::vector<uint8_t> Header(int32_t width, int32_t height, uint16_t bitCount, uint32_t compression) {
  std::vector<uint8_t> bmi(40 + (bitCount <= 8 ? 4u << bitCount : 0), 0);
  uint32_t fields[] = {40, static_cast<uint32_t>(width), static_cast<uint32_t>(height)};
  std::memcpy(bmi.data(), fields, sizeof fields);
  bmi[12] = 1, bmi[14] = static_cast<uint8_t>(bitCount), bmi[16] = static_cast<uint8_t>(compression);
  for (size_t i = 40; i < bmi.size(); ++i)
    bmi[i] = static_cast<uint8_t>(i * 7);
  return bmi;
}

void Decode(benchmark::State& state, uint16_t bitCount) {
  const int32_t side = 2000;
  std::vector<uint8_t> bmi = Header(side, side, bitCount, BI_RGB);
  TDibInfo info = ParseBitmapInfo(ByteView(bmi.data(), bmi.size()));
  std::vector<uint8_t> bits(static_cast<size_t>(info.Stride() * side));
  for (size_t i = 0; i < bits.size(); ++i)
    bits[i] = static_cast<uint8_t>(i * 13);
  for (auto _ : state)
    benchmark::DoNotOptimize(DecodePixels(info, ByteView(bits.data(), bits.size())));
  state.SetItemsProcessed(state.iterations() * side * side);
}

void DecodeRle8(benchmark::State& state) {
  const int32_t side = 2000;
  std::vector<uint8_t> bmi = Header(side, side, 8, BI_RLE8);
  TDibInfo info = ParseBitmapInfo(ByteView(bmi.data(), bmi.size()));
  std::vector<uint8_t> bits;
  for (int32_t y = 0; y < side; ++y) {
    for (int32_t x = 0; x < side; x += 250)
      bits.insert(bits.end(), {250, static_cast<uint8_t>(x + y)});
    bits.insert(bits.end(), {0, 0});
  }
  for (auto _ : state)
    benchmark::DoNotOptimize(DecodePixels(info, ByteView(bits.data(), bits.size())));
  state.SetItemsProcessed(state.iterations() * side * side);
}

void Stretch(benchmark::State& state, uint32_t rop) {
  TRaster src(1000, 1000, 0xFF336699);
  TRaster dest(3000, 3000, 0xFFFFFFFF);
  for (auto _ : state) {
    StretchRasterOnto(dest, 0, 0, 3000, 3000, src, 0, 0, 1000, 1000, rop, 0xFF00FF00);
    benchmark::DoNotOptimize(dest.Pixels.data());
  }
  state.SetItemsProcessed(state.iterations() * 3000 * 3000);
}

BENCHMARK_CAPTURE(Decode, bits1, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Decode, bits8, 8)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Decode, bits24, 24)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Decode, bits32, 32)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeRle8)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Stretch, srccopy, SRCCOPY)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Stretch, srcand, SRCAND)->Unit(benchmark::kMillisecond);

} // namespace
