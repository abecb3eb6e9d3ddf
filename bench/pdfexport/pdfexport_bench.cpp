// The PDF export: a sample report and every corpus metafile converted in this process, and a 1,000-page
// report converted with the resident size reported (peak, whole process).
//   pdfexport_bench [--benchmark_filter=...]
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "pdf/PdfExport.h"
#include "store/ZVPageList.h"

namespace fs = std::filesystem;

namespace {

std::string Scratch(const std::string& name) {
  const fs::path dir = fs::temp_directory_path() / ("zvp-pdfexport-bench-" + std::to_string(getpid()));
  fs::create_directories(dir);
  return (dir / name).string();
}

void ExportReport(const std::string& report, const std::string& output) {
  TZVPageList list;
  list.LoadFromFile(report);
  ExportPdf(
      list.PageCount(), [&](int32_t page) { return list.GetPage(page); }, output);
}

double PeakResidentMB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024.0;
}

void BM_SampleInvoice(benchmark::State& state) {
  const std::string out = Scratch("faktura.pdf");
  for (auto _ : state)
    ExportReport(ZVP_SOURCE_DIR "/samples/faktura.zvp", out);
  state.SetLabel("3 A4 pages");
}
BENCHMARK(BM_SampleInvoice)->Unit(benchmark::kMillisecond);

void BM_WholeCorpusInOneProcess(benchmark::State& state) {
  std::vector<std::string> files;
  const fs::path corpus = ZVP_SHARED_DIR "/corpus/emf";
  if (fs::is_directory(corpus))
    for (const auto& entry : fs::directory_iterator(corpus))
      if (entry.path().extension() == ".emf") files.push_back(entry.path().string());
  if (files.empty()) {
    state.SkipWithError("no corpus");
    return;
  }
  const std::string out = Scratch("corpus.pdf");
  for (auto _ : state)
    for (const std::string& file : files) {
      try {
        ExportPdf(
            1,
            [&](int32_t) {
              auto metafile = std::make_unique<TMetafile>();
              metafile->LoadFromFile(file);
              return metafile;
            },
            out);
      } catch (const std::exception&) {
        // Damaged corpus files are counted by the corpus script, not here.
      }
    }
  state.counters["files"] = double(files.size());
}
BENCHMARK(BM_WholeCorpusInOneProcess)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ThousandPageReport(benchmark::State& state) {
  const std::string report = Scratch("large.zvp");
  if (!fs::exists(report)) {
    const std::string command = std::string(ZVP_BIN_DIR) + "/make-samples --large 1000 " + report;
    if (std::system(command.c_str()) != 0) {
      state.SkipWithError("make-samples failed");
      return;
    }
  }
  const std::string out = Scratch("large.pdf");
  for (auto _ : state)
    ExportReport(report, out);
  state.counters["peak_rss_MB"] = PeakResidentMB();
  state.counters["pdf_MB"] = double(fs::file_size(out)) / (1024 * 1024);
}
BENCHMARK(BM_ThousandPageReport)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
