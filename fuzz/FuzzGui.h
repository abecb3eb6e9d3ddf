#pragma once
// Shared set-up of the fuzz targets that paint: a GUI application for fonts (painting on a QImage
// needs no display) and the metafile built from the input, if it loads.
#include <QGuiApplication>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/gdi/FontResolver.h"
#include "platform/metafile/Metafile.h"

inline void StartFuzzGui(int* argc, char*** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  new QGuiApplication(*argc, *argv);
  // Loading the font configuration allocates once for good (and its parser loses a block); do it before
  // the runs so that leak checking sees only what the target does.
  TGdiFont font;
  font.FaceName = QStringLiteral("Arial");
  ResolveFont(font);
}

inline std::optional<TMetafile> LoadFuzzMetafile(const uint8_t* data, size_t size) {
  TMetafile metafile;
  try {
    metafile.LoadFromBytes(std::vector<uint8_t>(data, data + size));
  } catch (const Exception&) {
    return std::nullopt;
  }
  return metafile;
}

// The font configuration parser loses a block once, outside our control.
#define ZVP_FUZZ_SUPPRESS_FONTCONFIG_LEAK                                                                    \
  extern "C" const char* __lsan_default_suppressions() {                                                     \
    return "leak:libfontconfig.so\n";                                                                        \
  }
