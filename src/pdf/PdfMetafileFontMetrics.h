#pragma once
// The text metrics of a metafile font as the reference context reports them (GetTextMetrics of the font
// a LOGFONTW creates), from the host's font service.
#include <cstdint>

#include "pdf/PdfLogFont.h"

struct TMetafileFontMetrics {
  int32_t Height = 0, Ascent = 0, Descent = 0, InternalLeading = 0;
  uint8_t PitchAndFamily = 0;
};

// Never fails: without an installed font the metrics are estimated from lfHeight.
TMetafileFontMetrics MetafileFontMetrics(const TLogFontW& LogFont);
