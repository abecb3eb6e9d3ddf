// How fast report pages are recorded: a table page of text cells with stripes and rules, as report
// production writes them, and the built-in advances alone.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/emfwriter/EmfTextWidths.h"
#include "platform/emfwriter/EmfWriter.h"

using namespace emf;

static void BM_WriteTablePage(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  size_t bytes = 0;
  for (auto _ : state) {
    TEmfWriter w(794, 1123, 96);
    w.SelectObject(w.CreateFont({.Height = -13, .CharSet = EASTEUROPE_CHARSET}));
    w.SelectObject(w.CreateSolidBrush(EmfRgb(244, 244, 244)));
    w.SetBkMode(TRANSPARENT);
    for (int r = 0; r < rows; r++) {
      const int y = 40 + r * 20;
      w.Rectangle(40, y, 750, y + 20);
      w.SetTextAlign(TA_LEFT | TA_BASELINE);
      w.TextOut(45, y + 15, "Łożysko kulkowe 6204-2RS – partia " + std::to_string(r));
      w.SetTextAlign(TA_RIGHT | TA_BASELINE);
      w.TextOut(745, y + 15, std::to_string(1000 + r * 37) + ",50");
    }
    auto out = w.Finish();
    bytes += out.size();
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
  state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_WriteTablePage)->Arg(50)->Arg(1000)->Arg(4000);

static void BM_BuiltInAdvances(benchmark::State& state) {
  const std::u16string text = u"Zażółć gęślą jaźń – ĄĆĘŁŃÓŚŹŻ 1 234,56 zł";
  for (auto _ : state)
    benchmark::DoNotOptimize(SansAdvances(text, 13, false).data());
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_BuiltInAdvances);
