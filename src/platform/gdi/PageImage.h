#pragma once
// A page metafile drawn onto a white image: what `zvptool render`, the benchmarks and the tests use.
#include <QImage>
#include <string>

#include "platform/metafile/Metafile.h"

struct TPageImageOptions {
  double Dpi = 96; // the metafile's pixel size is scaled by Dpi / 96
  int Fit = 0;     // when > 0, scaled down so that the longer side is at most this many pixels
};

struct TPageImage {
  QImage Image;
  bool Complete = true;     // false when the record structure is damaged (drawing stopped there)
  int SkippedRecords = 0;   // malformed records passed over
  std::string FirstProblem; // the message of the damage or of the first skipped record
};

// Image size for a metafile: at least 1 x 1, each side at most 30000 pixels. Raises EDamagedData when the
// metafile has no positive size.
QSize PageImageSize(const TMetafile& metafile, const TPageImageOptions& options);
TPageImage RenderPageImage(const TMetafile& metafile, const TPageImageOptions& options);
