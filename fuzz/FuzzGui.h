#pragma once
// Shared by the fuzz targets that paint (link FuzzGui.cpp with them): it starts a GUI application for
// fonts before the runs and gives each run a small white page to draw the input's metafile on.
#include <QImage>
#include <QPainter>
#include <cstdint>
#include <optional>

#include "platform/gdi/DeviceContext.h"
#include "platform/metafile/Metafile.h"

// The metafile built from the input, if it loads.
std::optional<TMetafile> LoadFuzzMetafile(const uint8_t* data, size_t size);

// A 64 × 48 white image with a device context on it.
struct TFuzzPage {
  static constexpr int Width = 64, Height = 48;
  QImage Image = WhiteImage();
  QPainter Painter{&Image};
  TGdiDC DC{Painter};

  static QImage WhiteImage() {
    QImage image(Width, Height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
  }
};
