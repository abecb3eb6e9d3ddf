// Page list throughput on real page data, random access in a large report, and memory while saving.
// Pages come from the shared corpus, else from the sample reports, else from a synthetic page.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/metafile/Metafile.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/TempFile.h"
#include "store/ZVPageList.h"
#include "store/ZVStream.h"

namespace fs = std::filesystem;

namespace {
constexpr int32_t MemoryLimit = 100000; // what the report printer object uses

std::vector<TMetafile> LoadPages() {
  std::vector<TMetafile> pages;
  const fs::path corpus = fs::path(ZVP_SHARED_DIR) / "corpus" / "emf";
  if (fs::is_directory(corpus)) {
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(corpus))
      files.push_back(e.path());
    std::sort(files.begin(), files.end());
    for (const auto& f : files) {
      pages.emplace_back();
      pages.back().LoadFromFile(f.string());
    }
    return pages;
  }
  const fs::path samples = fs::path(ZVP_SOURCE_DIR) / "samples";
  if (fs::is_directory(samples))
    for (const auto& e : fs::directory_iterator(samples)) {
      if (e.path().extension() != ".zvp") continue;
      TZVPageList list;
      list.LoadFromFile(e.path().string());
      for (int32_t n = 1; n <= list.PageCount(); ++n)
        pages.push_back(*list.GetPage(n));
    }
  if (pages.empty()) throw Exception("no page data: neither the shared corpus nor samples/ is there");
  return pages;
}

const std::vector<TMetafile>& Pages() {
  static const std::vector<TMetafile> pages = LoadPages();
  return pages;
}

int64_t TotalBytes(const std::vector<TMetafile>& pages) {
  int64_t total = 0;
  for (const auto& p : pages)
    total += static_cast<int64_t>(p.Bytes().size());
  return total;
}

std::string ScratchPath(const std::string& name) {
  return TempDirectory() + "/zvp-bench-" + name + ".zvp";
}

// Writes the pages (repeated until count pages) as a finished report file.
void WriteReport(const std::string& path, const std::vector<TMetafile>& pages, bool compression,
                 int64_t count) {
  TZVPageList list;
  list.SetStream(std::make_unique<TZVStream>(MemoryLimit));
  list.SetCompression(compression);
  for (int64_t i = 0; i < count; ++i)
    list.AddPage(pages[static_cast<size_t>(i) % pages.size()]);
  list.Finish();
  fs::remove(path);
  list.SaveToFile(path);
}

void BM_AddPage(benchmark::State& state) {
  const bool compression = state.range(0) != 0;
  const auto& pages = Pages();
  for (auto _ : state) {
    TZVPageList list;
    list.SetStream(std::make_unique<TZVStream>(MemoryLimit));
    list.SetCompression(compression);
    for (const auto& p : pages)
      list.AddPage(p);
    benchmark::DoNotOptimize(list.PageCount());
  }
  state.SetBytesProcessed(state.iterations() * TotalBytes(pages));
  state.SetLabel(compression ? "compressed" : "plain");
}
BENCHMARK(BM_AddPage)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_GetPage(benchmark::State& state) {
  const bool compression = state.range(0) != 0;
  const auto& pages = Pages();
  const std::string path = ScratchPath(compression ? "get-c" : "get");
  WriteReport(path, pages, compression, static_cast<int64_t>(pages.size()));
  TZVPageList list;
  list.LoadFromFile(path);
  for (auto _ : state)
    for (int32_t n = 1; n <= list.PageCount(); ++n)
      benchmark::DoNotOptimize(list.GetPage(n));
  state.SetBytesProcessed(state.iterations() * TotalBytes(pages));
  state.SetLabel(compression ? "compressed" : "plain");
  list.SetStream(nullptr);
  fs::remove(path);
}
BENCHMARK(BM_GetPage)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// A random page of a 10,000-page plain report opened from its file.
void BM_RandomPageOf10000(benchmark::State& state) {
  const auto& all = Pages();
  // Small pages keep the file modest; the walk, not the page size, is what is measured.
  std::vector<TMetafile> small(all.begin(), all.end());
  std::sort(small.begin(), small.end(),
            [](const TMetafile& a, const TMetafile& b) { return a.Bytes().size() < b.Bytes().size(); });
  small.resize(std::min<size_t>(small.size(), 20));
  const std::string path = ScratchPath("random10000");
  WriteReport(path, small, false, 10000);
  TZVPageList list;
  list.LoadFromFile(path);
  std::mt19937 random(1);
  for (auto _ : state) {
    const int32_t n = 1 + static_cast<int32_t>(random() % 10000);
    benchmark::DoNotOptimize(list.GetPage(n));
  }
  list.SetStream(nullptr);
  fs::remove(path);
}
BENCHMARK(BM_RandomPageOf10000)->Unit(benchmark::kMillisecond);

int64_t StatusKilobytes(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind(field, 0) == 0) return std::stoll(line.substr(std::string(field).size()));
  return -1;
}

// Saving a 200 MB report: the peak resident memory during the save, above what it was before.
void BM_Save200MB(benchmark::State& state) {
  const auto& pages = Pages();
  const int64_t target = 200ll << 20;
  const int64_t count = target / std::max<int64_t>(1, TotalBytes(pages) / static_cast<int64_t>(pages.size()));
  const std::string source = ScratchPath("save-source"), copy = ScratchPath("save-copy");
  WriteReport(source, pages, false, count);
  TZVPageList list;
  list.LoadFromFile(source);
  int64_t growth = 0;
  for (auto _ : state) {
    fs::remove(copy);
    std::ofstream("/proc/self/clear_refs") << "5"; // resets the peak resident size
    const int64_t before = StatusKilobytes("VmRSS:");
    list.SaveToFile(copy);
    growth = std::max(growth, StatusKilobytes("VmHWM:") - before);
  }
  state.counters["report_MB"] = static_cast<double>(list.Stream()->Size()) / (1 << 20);
  state.counters["peak_rss_growth_MB"] = static_cast<double>(growth) / 1024;
  state.SetBytesProcessed(state.iterations() * list.Stream()->Size());
  list.SetStream(nullptr);
  fs::remove(source);
  fs::remove(copy);
}
BENCHMARK(BM_Save200MB)->Iterations(3)->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
