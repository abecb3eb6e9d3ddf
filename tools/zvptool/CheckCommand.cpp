// zvptool check FILE.zvp: validates the header, the page chain and every page; prints "OK" and the page
// count, or fails with the first problem found.
#include <cstdio>

#include "Command.h"
#include "platform/metafile/EmfRecordTypes.h"
#include "store/ZVPageList.h"

namespace {

void CheckPage(TZVPageList& list, const TZVPageRecord& r, bool compressed) {
  const std::string at =
      "page " + std::to_string(r.Number) + " (record at offset " + std::to_string(r.Start) + ")";
  try {
    auto page = list.GetPage(r.Number);
    if (!page) throw Exception("the page list does not hand it out");
    if (compressed && static_cast<int64_t>(page->Bytes().size()) != r.PageLength)
      throw Exception("the record announces " + std::to_string(r.PageLength) +
                      " bytes, but the metafile has " + std::to_string(page->Bytes().size()));
    uint32_t first = 0, last = 0;
    page->EnumerateRecords([&](const TEmfRecord& record) {
      if (record.Index == 0) first = record.Type;
      last = record.Type;
      return 1;
    });
    if (first != emf::EMR_HEADER || last != emf::EMR_EOF)
      throw Exception("the metafile does not end with its end record");
  } catch (const std::exception& e) {
    throw Exception(at + ": " + e.what());
  }
}

int RunCheck(const std::vector<std::string>& Args) {
  RequireArgumentCount(Args, 1, 1);
  TZVPageList list;
  const std::vector<TZVPageRecord> records = list.LoadAndWalkFile(Args[0]);
  for (const TZVPageRecord& r : records)
    CheckPage(list, r, list.Compression());
  std::printf("OK: %d %s\n", list.PageCount(), list.PageCount() == 1 ? "page" : "pages");
  return 0;
}

} // namespace

extern const TCommand CheckCommand{"check", "FILE.zvp", "validate the header, the page chain and every page",
                                   RunCheck};
