// zvptool pack [--compress] OUT.zvp PAGE.emf...: writes a finished report of the given pages.
#include <cstdio>

#include "Command.h"
#include "OutputFiles.h"
#include "store/ZVPageList.h"

namespace {

// Pages move to a temporary file above this size, as in report production.
constexpr int32_t MemoryLimit = 100000;

TMetafile LoadPage(const std::string& path) {
  try {
    TMetafile page;
    page.LoadFromFile(path);
    page.EnumerateRecords([](const TEmfRecord&) { return 1; }); // every record must lie inside the page
    return page;
  } catch (const std::exception& e) {
    throw Exception(path + ": " + e.what());
  }
}

int RunPack(const std::vector<std::string>& Args) {
  bool compress = false;
  std::vector<std::string> files;
  for (const std::string& a : Args) {
    if (a == "--compress")
      compress = true;
    else if (a.starts_with("--"))
      throw EUsage("unknown option " + a);
    else
      files.push_back(a);
  }
  if (files.size() < 2) throw EUsage("an output and at least one page are needed");
  const std::string output = files.front();
  const std::vector<std::string> pages(files.begin() + 1, files.end());
  RefuseInputAsOutput(output, pages);

  TZVPageList list;
  list.SetStream(std::make_unique<TZVStream>(MemoryLimit));
  list.SetCompression(compress);
  for (const std::string& path : pages)
    list.AddPage(LoadPage(path));
  list.Finish();
  SaveReplacing(output, *list.Stream());
  std::printf("%s: %d %s, %s\n", output.c_str(), list.PageCount(), list.PageCount() == 1 ? "page" : "pages",
              compress ? "compressed" : "plain");
  return 0;
}

} // namespace

extern const TCommand PackCommand{"pack", "[--compress] OUT.zvp PAGE.emf...",
                                  "write a report of the given pages", RunPack,
                                  "  --compress   store the pages coded (smaller file)\n"};
