// Metafile bytes played onto a small image: whatever the records say, playback may only draw, skip
// records or stop with the project's exception.
#include <QImage>
#include <QPainter>

#include "../FuzzGui.h"
#include "platform/gdi/Player.h"

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
  PlayEnhMetaFile(dc, *metafile, TEmfRect{0, 0, 63, 47});
  return 0;
}
