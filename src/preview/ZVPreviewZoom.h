#pragma once
// The zoom arithmetic of the preview: page image sizes and fitted zooms in screen pixels. Without a report
// printer the Letter sheet stands in, one millimetre taken as one pixel. Roundings are ties-to-even.
#include <cstdint>

class TZVPrinter;

constexpr int32_t ZVMinZoom = 2;
constexpr int32_t ZVMaxZoom = 2000;
// The frame and the shadow around the page.
constexpr int32_t ZVPageBorder = 4;

struct TZVImageSize {
  int32_t Width = 0, Height = 0;
};

// The page image at `zoom` percent, frame and shadow included.
TZVImageSize ZVImageSize(const TZVPrinter* printer, int32_t zoom);
// The zoom at which the page fills 95 per cent of width x height in the tighter direction.
int32_t ZVFitZoom(const TZVPrinter* printer, int32_t width, int32_t height);
// The zoom at which the page fills the width (90 per cent with a printer, 95 without).
int32_t ZVWidthZoom(const TZVPrinter* printer, int32_t width);
// Where a page of `image` pixels starts inside `outer` pixels: centred when it is smaller, else 0.
int32_t ZVCentredOffset(int32_t outer, int32_t image);
