// Metafile bytes printed the viewer's way (text records redrawn with plain text output) onto a small
// page: printing may only draw or stop with the project's exception.
#include "../FuzzGui.h"
#include "printing/PrnEmf.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (std::optional<TMetafile> metafile = LoadFuzzMetafile(data, size)) {
    TFuzzPage page;
    try {
      PlayMetafileRecords(page.DC, *metafile, MetafilePageRect(TFuzzPage::Width, *metafile));
    } catch (const Exception&) {
    }
  }
  return 0;
}
