// hostile-hog one|many|small: takes 3 GB in one allocation or in 64 MB pieces (or 64 MB only), touching
// every page, and reports a failed allocation the way zvptool does. It shows that the limited runner
// catches a program over its limit.
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  const std::string how = argc > 1 ? argv[1] : "one";
  try {
    std::vector<std::unique_ptr<char[]>> pieces;
    const size_t total = how == "small" ? size_t(64) << 20 : size_t(3) << 30;
    const size_t piece = how == "one" ? total : size_t(64) << 20;
    for (size_t taken = 0; taken < total; taken += piece) {
      pieces.emplace_back(new char[piece]);
      std::memset(pieces.back().get(), 1, piece);
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "zvptool: %s\n", e.what());
    return 1;
  }
  return 0;
}
