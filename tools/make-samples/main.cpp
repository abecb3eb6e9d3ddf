// make-samples: writes the sample reports with the EMF writer.
//
//   make-samples DIR                          faktura.zvp (compressed) and zestawienie.zvp (plain) in DIR
//   make-samples --large N OUT.zvp [--compress]   a listing of N pages, for benchmarks
//
// The reports carry a fixed date, so every run writes the same bytes.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <functional>
#include <string>

#include "OutputFiles.h"
#include "SampleReports.h"
#include "store/ZVPageList.h"

namespace {

constexpr double SampleDate = 46357.5; // 1 December 2026, 12:00, in days since 30 December 1899
constexpr int32_t MemoryLimit = 100000;

using TPageSink = std::function<void(const TMetafile&)>;

// Draw calls its sink once per page.
void WriteReport(const std::string& path, const std::function<void(const TPageSink&)>& Draw, bool compress) {
  TZVPageList list;
  list.SetStream(std::make_unique<TZVStream>(MemoryLimit));
  list.SetCompression(compress);
  list.SetFixedDate(SampleDate);
  Draw([&](const TMetafile& page) { list.AddPage(page); });
  list.Finish();
  SaveReplacing(path, *list.Stream());
  std::printf("%s: %d pages, %s, %zu bytes\n", path.c_str(), list.PageCount(),
              compress ? "compressed" : "plain", static_cast<size_t>(list.Stream()->Size()));
}

int Usage() {
  std::fprintf(stderr, "usage: make-samples DIR\n       make-samples --large N OUT.zvp [--compress]\n");
  return 2;
}

} // namespace

int main(int argc, char** argv) {
  try {
    if (argc == 2 && argv[1][0] != '-') {
      const std::filesystem::path dir = argv[1];
      std::filesystem::create_directories(dir);
      WriteReport((dir / "faktura.zvp").string(),
                  [](const TPageSink& sink) {
                    for (const TMetafile& page : MakeInvoicePages())
                      sink(page);
                  },
                  true);
      WriteReport((dir / "zestawienie.zvp").string(),
                  [](const TPageSink& sink) { MakeListingPages(5, sink); }, false);
      return 0;
    }
    if ((argc == 4 || argc == 5) && std::string(argv[1]) == "--large") {
      const bool compress = argc == 5 && std::string(argv[4]) == "--compress";
      if (argc == 5 && !compress) return Usage();
      char* end = nullptr;
      const long pages = std::strtol(argv[2], &end, 10);
      if (*end != 0 || pages < 1 || pages > 100000) return Usage();
      WriteReport(
          argv[3], [&](const TPageSink& sink) { MakeListingPages(static_cast<int32_t>(pages), sink); },
          compress);
      return 0;
    }
    return Usage();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make-samples: %s\n", e.what());
    return 1;
  }
}
