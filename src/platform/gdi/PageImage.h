#pragma once
// A page metafile drawn onto a white image: what `zvptool render`, the benchmarks and the tests use.
#include <QImage>
#include <string>

#include "platform/metafile/Metafile.h"
#include "platform/metafile/PageBudget.h"

struct TPageImageOptions {
  double Dpi = 96; // the metafile's pixel size is scaled by Dpi / 96
  int Fit = 0;     // when > 0, scaled down so that the longer side is at most this many pixels
};

struct TPageImage {
  QImage Image;
  QSize Asked;              // the size the options ask for; Image is smaller when that is over SurfacePixels
  bool Complete = true;     // false when the record structure is damaged (drawing stopped there)
  bool TimedOut = false;    // drawing went past the page's deadline and stopped (Complete is false too)
  int SkippedRecords = 0;   // malformed records passed over
  std::string FirstProblem; // the message of the damage or of the first skipped record
};

// Image size for a metafile: at least 1 x 1, each side at most 30000 pixels. Raises EDamagedData when the
// metafile has no positive size.
QSize PageImageSize(const TMetafile& metafile, const TPageImageOptions& options);
// The size scaled down, keeping its shape, to at most `maxPixels` pixels.
QSize LimitedImageSize(QSize size, uint64_t maxPixels);
// Draws the page at PageImageSize, or smaller within limits.SurfacePixels, under the page's limits.
TPageImage RenderPageImage(const TMetafile& metafile, const TPageImageOptions& options,
                           const TPageLimits& limits = DefaultPageLimits());
