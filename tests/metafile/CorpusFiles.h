#pragma once
// The files of one folder of the shared corpus, sorted; empty when the corpus is absent.
#include <algorithm>
#include <filesystem>
#include <vector>

inline std::vector<std::filesystem::path> CorpusFiles(const char* folder) {
  namespace fs = std::filesystem;
  std::vector<fs::path> files;
  const fs::path dir = fs::path(ZVP_SHARED_DIR) / "corpus" / folder;
  if (fs::is_directory(dir))
    for (const auto& e : fs::directory_iterator(dir))
      if (e.is_regular_file()) files.push_back(e.path());
  std::sort(files.begin(), files.end());
  return files;
}
