// Metafile bytes played onto a small image: whatever the records say, playback may only draw, skip
// records or stop with the project's exception.
#include "../FuzzGui.h"
#include "platform/gdi/Player.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (std::optional<TMetafile> metafile = LoadFuzzMetafile(data, size)) {
    TFuzzPage page;
    PlayEnhMetaFile(page.DC, *metafile, TEmfRect{0, 0, TFuzzPage::Width - 1, TFuzzPage::Height - 1});
  }
  return 0;
}
