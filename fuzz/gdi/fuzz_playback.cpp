// Metafile bytes played onto a small image: whatever the records say, playback may only draw, skip
// records or stop with the project's exception.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdint>
#include <vector>

#include "platform/gdi/FontResolver.h"
#include "platform/gdi/Player.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  // Fonts need a GUI application; painting on a QImage needs no display.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  new QGuiApplication(*argc, *argv);
  // Loading the font configuration allocates once for good (and its parser loses a block); do it before
  // the runs so that leak checking sees only what playback does.
  TGdiFont font;
  font.FaceName = QStringLiteral("Arial");
  ResolveFont(font);
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
  PlayEnhMetaFile(dc, metafile, TEmfRect{0, 0, 63, 47});
  return 0;
}

// The font configuration parser loses a block once, outside our control.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
