// Content writing speed: path operators through the canvas into a page's content stream, and the save
// of a large document. Throughput is reported as bytes of PDF written per second.
#include <benchmark/benchmark.h>

#include "pdf/PdfDocument.h"

namespace {

constexpr int OperatorsPerPage = 100000;

// One stroke of a polyline with a colour change every 100 operators, coordinates with decimals.
void DrawPath(TPdfCanvas& Canvas, int Operators) {
  for (int i = 0; i < Operators; i += 2) {
    if (i % 100 == 0) Canvas.SetRGBStrokeColor((i * 2654435761u) & 0xFFFFFF);
    float x = 20.0f + (i % 5000) * 0.1123f, y = 30.0f + (i % 7919) * 0.0977f;
    Canvas.MoveTo(x, y);
    Canvas.LineTo(x + 12.345f, y - 6.789f);
    if (i % 100 == 98) Canvas.Stroke();
  }
  Canvas.Stroke();
}

void BM_CanvasPathOperators(benchmark::State& State) {
  int64_t bytes = 0;
  for (auto _ : State) {
    State.PauseTiming();
    TPdfDocumentGDI doc(true, 1250);
    doc.SetCompressionMethod(cmNone);
    doc.AddPage();
    State.ResumeTiming();
    DrawPath(*doc.Canvas(), OperatorsPerPage);
    TPdfWrite& w = doc.Canvas()->Contents()->Writer();
    w.Save();
    bytes += w.Position();
  }
  State.SetBytesProcessed(bytes);
}
BENCHMARK(BM_CanvasPathOperators)->Unit(benchmark::kMillisecond);

void BM_SaveThousandPages(benchmark::State& State) {
  int64_t bytes = 0;
  for (auto _ : State) {
    State.PauseTiming();
    TPdfDocumentGDI doc(true, 1250);
    doc.SetCompressionMethod(State.range(0) ? cmFlateDecode : cmNone);
    for (int page = 0; page < 1000; ++page) {
      doc.AddPage();
      DrawPath(*doc.Canvas(), 1000);
      doc.CreateOutline(u"Strona", 1, 800);
    }
    TPdfBodyStream output;
    State.ResumeTiming();
    doc.SaveToStream(output);
    bytes += output.Size();
  }
  State.SetBytesProcessed(bytes);
}
BENCHMARK(BM_SaveThousandPages)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
