// Font service costs on the paths that run per text record: a cached match (target under 1 us) and the
// code-page widths of a font opened for the first time (target under 2 ms).
#include <benchmark/benchmark.h>

#include "platform/fonts/FontService.h"
#include "platform/fonts/FreeTypeFace.h"

namespace {
TFontRequest Arial() {
  TFontRequest r;
  r.FaceName = "Arial";
  r.Weight = 700;
  r.CharSet = 238;
  return r;
}

void BM_MatchCached(benchmark::State& state) {
  TFontService& service = TFontService::Instance();
  TFontRequest request = Arial();
  service.Match(request);
  for (auto _ : state)
    benchmark::DoNotOptimize(service.Match(request));
}
BENCHMARK(BM_MatchCached);

void BM_OpenCached(benchmark::State& state) {
  TFontService& service = TFontService::Instance();
  TFontRequest request = Arial();
  service.Open(request);
  for (auto _ : state)
    benchmark::DoNotOptimize(service.Open(request));
}
BENCHMARK(BM_OpenCached);

// A face loaded from its file (the service caches faces, so each iteration loads its own) and the
// 224 widths the PDF engine reads when it creates a font.
void BM_AnsiWidthsOfANewFont(benchmark::State& state) {
  TFontLocation location = TFontService::Instance().Match(Arial());
  for (auto _ : state) {
    auto face = LoadFreeTypeFace(location, 0);
    benchmark::DoNotOptimize(face->AnsiWidths(238));
  }
}
BENCHMARK(BM_AnsiWidthsOfANewFont)->Unit(benchmark::kMicrosecond);

// A match that misses the cache: fontconfig sorts the installed fonts.
void BM_MatchUncached(benchmark::State& state) {
  int serial = 0;
  for (auto _ : state) {
    TFontRequest request = Arial();
    request.FaceName = "Unknown Face " + std::to_string(serial++);
    benchmark::DoNotOptimize(TFontService::Instance().Match(request));
  }
}
BENCHMARK(BM_MatchUncached)->Unit(benchmark::kMicrosecond)->Iterations(50);
} // namespace

BENCHMARK_MAIN();
