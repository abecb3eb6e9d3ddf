#include "FuzzGui.h"

#include <QGuiApplication>
#include <vector>

#include "platform/gdi/FontResolver.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  // Fonts need a GUI application; painting on a QImage needs no display.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  new QGuiApplication(*argc, *argv);
  // Loading the font configuration allocates once for good (and its parser loses a block); do it before
  // the runs so that leak checking sees only what the target does.
  TGdiFont font;
  font.FaceName = QStringLiteral("Arial");
  ResolveFont(font);
  return 0;
}

// The font configuration parser loses a block once, outside our control.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

std::optional<TMetafile> LoadFuzzMetafile(const uint8_t* data, size_t size) {
  TMetafile metafile;
  try {
    metafile.LoadFromBytes(std::vector<uint8_t>(data, data + size));
  } catch (const Exception&) {
    return std::nullopt;
  }
  return metafile;
}
