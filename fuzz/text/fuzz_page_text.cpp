// Reads the text of a metafile page from the input bytes (GDI text records and the EMF+ layer's strings)
// and puts it into reading order.
#include <cstddef>
#include <cstdint>

#include "platform/metafile/Metafile.h"
#include "platform/rtl/Exception.h"
#include "platform/text/PageText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 24)) return 0;
  TMemoryStream stream;
  stream.Write(data, static_cast<int32_t>(size));
  stream.SetPosition(0);
  TMetafile page;
  try {
    page.LoadFromStream(stream);
    (void)ReadingOrder(ExtractPageText(page));
  } catch (const Exception&) {
  }
  return 0;
}
