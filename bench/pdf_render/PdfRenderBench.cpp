// Rendering metafiles into PDF pages: a report-like page made with the EMF writer (text with advances,
// lines, rectangles, a bitmap) and, when the shared corpus is there, its files one after another.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <vector>

#include "pdf/PdfDocument.h"
#include "platform/emfwriter/EmfWriter.h"
#include "platform/fonts/FontService.h"
#include "platform/metafile/Metafile.h"
#include "platform/rtl/MathUtil.h"

namespace {

TMetafile ReportPage() {
  TEmfWriter w(794, 1123, 96);
  w.SelectObject(w.CreateFont({.Face = "Arial", .Height = -13, .CharSet = emf::EASTEUROPE_CHARSET}));
  w.SelectObject(w.CreatePen(emf::PS_SOLID, 1, 0x404040));
  std::vector<uint32_t> pixels(64 * 64);
  for (size_t i = 0; i < pixels.size(); ++i)
    pixels[i] = static_cast<uint32_t>(i * 2654435761u) & 0xFFFFFF;
  w.StretchDIBits(40, 20, 64, 64, TEmfDib::Rgb24(64, 64, pixels));
  for (int row = 0; row < 50; ++row) {
    int y = 100 + row * 20;
    w.TextOut(40, y, "Pozycja faktury: usługa transportowa, zażółć gęślą jaźń");
    w.TextOut(560, y, "1 234,56 zł");
    w.Line(40, y + 18, 750, y + 18);
    if (row % 10 == 0) w.Rectangle(36, y - 2, 754, y + 19);
  }
  return w.ToMetafile();
}

void Render(benchmark::State& state, const std::vector<TMetafile>& pages) {
  for (auto _ : state) {
    TPdfDocumentGDI doc(true, 1250, false, &TFontService::Instance());
    doc.SetCompressionMethod(cmNone);
    for (const TMetafile& mf : pages) {
      doc.SetDefaultPageWidth(MulDiv(mf.Width(), 72, doc.ScreenLogPixels()));
      doc.SetDefaultPageHeight(MulDiv(mf.Height(), 72, doc.ScreenLogPixels()));
      doc.AddPage();
      try {
        doc.Canvas()->RenderMetaFile(mf);
      } catch (const std::exception&) {
        // a damaged corpus file stops its own page only
      }
    }
    benchmark::DoNotOptimize(doc.CurrentPage());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(pages.size()));
}

void BM_ReportPage(benchmark::State& state) {
  static const std::vector<TMetafile> pages{ReportPage()};
  Render(state, pages);
}
BENCHMARK(BM_ReportPage)->Unit(benchmark::kMillisecond);

void BM_CorpusFiles(benchmark::State& state) {
  static std::vector<TMetafile> pages = [] {
    std::vector<TMetafile> loaded;
    std::filesystem::path folder = std::filesystem::path(ZVP_SHARED_DIR) / "corpus" / "emf";
    if (!std::filesystem::exists(folder)) return loaded;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      try {
        TMetafile mf;
        mf.LoadFromFile(entry.path().string());
        loaded.push_back(std::move(mf));
      } catch (const std::exception&) {
      }
    }
    return loaded;
  }();
  if (pages.empty()) {
    state.SkipWithError("the shared corpus is not there");
    return;
  }
  Render(state, pages);
}
BENCHMARK(BM_CorpusFiles)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
