// Metafile bytes printed the viewer's way (text records redrawn with plain text output) onto a small
// page: printing may only draw or stop with the project's exception.
#include <QImage>
#include <QPainter>

#include "../FuzzGui.h"
#include "printing/PrnEmf.h"

ZVP_FUZZ_SUPPRESS_FONTCONFIG_LEAK

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  StartFuzzGui(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::optional<TMetafile> metafile = LoadFuzzMetafile(data, size);
  if (!metafile) return 0;
  QImage image(64, 48, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  TGdiDC dc(painter);
  try {
    PlayMetafileRecords(dc, *metafile, MetafilePageRect(64, *metafile));
  } catch (const Exception&) {
  }
  return 0;
}
