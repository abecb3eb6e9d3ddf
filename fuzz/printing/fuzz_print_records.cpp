// Metafile bytes printed the viewer's way (text records redrawn with plain text output) onto a small
// page: printing may only draw or stop with the project's exception.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdint>
#include <vector>

#include "printing/PrnEmf.h"

// Fontconfig keeps its configuration and caches until the process ends.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  new QGuiApplication(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMetafile metafile;
  try {
    metafile.LoadFromBytes(std::vector<uint8_t>(data, data + size));
  } catch (const Exception&) {
    return 0;
  }
  QImage image(64, 48, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  TGdiDC dc(painter);
  try {
    PlayMetafileRecords(dc, metafile, MetafilePageRect(64, metafile));
  } catch (const Exception&) {
  }
  return 0;
}
