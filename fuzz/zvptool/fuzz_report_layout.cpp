// The report walk of `zvptool check` on arbitrary bytes: it may only raise the project's exceptions.
#include <cstddef>
#include <cstdint>

#include "ReportLayout.h"
#include "platform/rtl/Exception.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    TMemoryStream file;
    file.WriteBuffer(data, static_cast<int32_t>(size));
    const TReportLayout layout = ReadReportLayout(file);
    if (layout.Records.empty()) __builtin_trap(); // a report that passes has pages
  } catch (const Exception&) {
  }
  return 0;
}
