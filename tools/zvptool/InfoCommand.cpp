// zvptool info FILE.zvp: header length, page count, compression, and per page its size in pixels and bytes.
#include <cstdio>

#include "Command.h"
#include "store/ZVPageList.h"

namespace {

int RunInfo(const std::vector<std::string>& Args) {
  RequireArgumentCount(Args, 1, 1);
  TZVPageList list;
  const std::vector<TZVPageRecord> records = list.LoadAndWalkFile(Args[0]);
  std::printf("Header: %lld bytes\nPages: %d\nCompression: %s\n",
              static_cast<long long>(records.front().Start), list.PageCount(),
              list.Compression() ? "yes" : "no");
  for (const TZVPageRecord& r : records) {
    auto page = list.GetPage(r.Number);
    std::printf("Page %d: %d x %d px, %zu bytes", r.Number, page->Width(), page->Height(),
                page->Bytes().size());
    if (list.Compression()) std::printf(" (stored in %lld)", static_cast<long long>(r.StoredLength()));
    std::printf("\n");
  }
  return 0;
}

} // namespace

extern const TCommand InfoCommand{"info", "FILE.zvp", "header, page count, compression, page sizes", RunInfo};
