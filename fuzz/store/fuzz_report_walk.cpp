// The checking walk of `zvptool check` and `info` on arbitrary bytes: it may only raise the project's
// exceptions, and a report that passes has pages.
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
    const std::vector<TZVPageRecord> records = list.LoadAndWalkStream(std::move(stream));
    if (records.empty() || list.PageCount() != static_cast<int32_t>(records.size())) __builtin_trap();
  } catch (const Exception&) {
  }
  return 0;
}
