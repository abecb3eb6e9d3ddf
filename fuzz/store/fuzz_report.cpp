// Loads a report from the input bytes, reads every page and enumerates each page's records. Anything
// but the project's exceptions (a crash, a hang, a sanitizer report) is a finding.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/rtl/Exception.h"
#include "store/ZVPageList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 24)) return 0;
  auto stream = std::make_unique<TZVStream>(0x7FFFFFFF);
  stream->WriteBuffer(data, static_cast<int32_t>(size));
  TZVPageList list;
  try {
    list.LoadFromStream(std::move(stream));
  } catch (const Exception&) {
    return 0;
  }
  for (int32_t n = 1; n <= list.PageCount(); ++n) {
    try {
      auto page = list.GetPage(n);
      page->EnumerateRecords([](const TEmfRecord&) { return 1; });
      (void)page->Width();
      (void)page->Height();
    } catch (const Exception&) {
    }
  }
  return 0;
}
