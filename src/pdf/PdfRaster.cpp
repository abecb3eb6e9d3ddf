#include "pdf/PdfRaster.h"

#include <cstdint>

#include "pdf/PdfErrors.h"

int TPdfRaster::BitsPerPixel() const {
  switch (Format) {
  case rf1Bit:
    return 1;
  case rf8Bit:
    return 8;
  case rf24Bit:
    return 24;
  case rf32Bit:
    return 32;
  }
  return 0;
}

int64_t TPdfRaster::RowBytes() const {
  switch (Format) {
  case rf1Bit:
    return (static_cast<int64_t>(Width) + 7) / 8;
  case rf8Bit:
    return Width;
  case rf24Bit:
  case rf32Bit:
    return static_cast<int64_t>(Width - 1) * PixelStep + 3;
  }
  return 0;
}

void TPdfRaster::Check() const {
  if (Format == rf1Bit && Palette.size() < 2) throw EPdfInvalidValue("TPdfImage");
  if (Format == rf8Bit && Palette.size() < 256) throw EPdfInvalidValue("TPdfImage");
  if (Width <= 0 || Height <= 0) throw EPdfInvalidValue("TPdfImage: raster without pixels");
  if (Format == rf24Bit && PixelStep != 3 && PixelStep != 4)
    throw EPdfInvalidValue("TPdfImage: pixel step must be 3 or 4");
  if (Format == rf32Bit && PixelStep != 4) throw EPdfInvalidValue("TPdfImage: pixel step must be 4");
  int64_t rowBytes = RowBytes();
  int64_t size = static_cast<int64_t>(Rows.size());
  // Stride is checked against the view before it is multiplied, so the product cannot overflow.
  if (Stride < rowBytes || (Height > 1 && Stride > size) || Stride * (Height - 1) > size - rowBytes)
    throw EPdfInvalidValue("TPdfImage: raster rows do not match its size");
}
