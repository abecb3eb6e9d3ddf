// Loads a metafile from the input bytes through a stream and enumerates its records.
#include <cstddef>
#include <cstdint>

#include "platform/metafile/Metafile.h"
#include "platform/rtl/Exception.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 24)) return 0;
  TMemoryStream stream;
  stream.Write(data, static_cast<int32_t>(size));
  stream.SetPosition(0);
  TMetafile m;
  try {
    m.LoadFromStream(stream);
    uint32_t count = 0;
    m.EnumerateRecords([&](const TEmfRecord& r) {
      count += r.Data.size() > 0;
      return 1;
    });
    (void)m.Width();
    (void)m.Height();
  } catch (const Exception&) {
  }
  return 0;
}
