// Playback speed: the pages of the sample invoice and every metafile of the shared corpus, drawn at 96 dots
// per inch of paper, with the corpus median printed at the end.
#include <QGuiApplication>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include "platform/gdi/PageImage.h"
#include "store/ZVPageList.h"

namespace {

// The resolution that draws the page at 96 dots per inch of paper, whatever its reference device.
double PaperDpi(const TMetafile& page) {
  const TEnhMetaHeader& h = page.Header();
  if (h.szlDevice.cx <= 0 || h.szlMillimeters.cx <= 0) return 96;
  double referenceDpi = h.szlDevice.cx * 25.4 / h.szlMillimeters.cx;
  return 96 * 96 / referenceDpi;
}

void PlayPage(benchmark::State& state, std::shared_ptr<TMetafile> page) {
  TPageImageOptions options;
  options.Dpi = PaperDpi(*page);
  options.Fit = 4000; // as the corpus script renders; a few corpus pages claim metres of paper
  for (auto _ : state) {
    TPageImage image = RenderPageImage(*page, options);
    benchmark::DoNotOptimize(image.Image.constBits());
  }
}

// Real times (ms per iteration) of the corpus runs, for the median.
class TMedianReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs)
      if (r.benchmark_name().rfind("corpus/", 0) == 0 && r.iterations > 0)
        Times.push_back(r.GetAdjustedRealTime()); // in the runs' unit, milliseconds
    ConsoleReporter::ReportRuns(runs);
  }
  std::vector<double> Times;
};

} // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);

  std::filesystem::path samples = std::filesystem::path(ZVP_SOURCE_DIR) / "samples" / "faktura.zvp";
  if (std::filesystem::exists(samples)) {
    TZVPageList list;
    list.LoadFromFile(samples.string());
    for (int32_t n = 1; n <= list.PageCount(); ++n) {
      std::shared_ptr<TMetafile> page(list.GetPage(n).release());
      if (page)
        benchmark::RegisterBenchmark(("faktura/page" + std::to_string(n)).c_str(), PlayPage, page)
            ->Unit(benchmark::kMillisecond);
    }
  }
  std::filesystem::path corpus = std::filesystem::path(ZVP_SHARED_DIR) / "corpus" / "emf";
  if (std::filesystem::is_directory(corpus)) {
    std::vector<std::filesystem::path> files;
    for (const auto& e : std::filesystem::directory_iterator(corpus))
      files.push_back(e.path());
    std::sort(files.begin(), files.end());
    for (const auto& f : files) {
      auto page = std::make_shared<TMetafile>();
      page->LoadFromFile(f.string());
      benchmark::RegisterBenchmark(("corpus/" + f.stem().string()).c_str(), PlayPage, page)
          ->Unit(benchmark::kMillisecond);
    }
  }
  TMedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  if (!reporter.Times.empty()) {
    std::vector<double> t = reporter.Times;
    std::sort(t.begin(), t.end());
    std::printf("corpus: %zu files, median %.2f ms, max %.2f ms\n", t.size(), t[t.size() / 2], t.back());
  }
  benchmark::Shutdown();
  return 0;
}
