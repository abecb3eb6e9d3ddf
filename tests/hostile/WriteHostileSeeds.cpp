// hostile-seeds DIR: writes every hostile page as DIR/<case>.emf (fuzzing seeds, measurements).
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "HostilePage.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: hostile-seeds DIR\n");
    return 2;
  }
  const std::filesystem::path dir = argv[1];
  std::filesystem::create_directories(dir);
  for (const THostileCase& hostile : HostileCases()) {
    const std::vector<uint8_t> bytes = HostilePageBytes(hostile);
    std::ofstream out(dir / (hostile.Name + ".emf"), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out) {
      std::fprintf(stderr, "hostile-seeds: cannot write %s\n", hostile.Name.c_str());
      return 1;
    }
  }
  return 0;
}
