#include "pdf/PdfMetafileFontMetrics.h"

#include <cstdlib>

#include "pdf/PdfCodePages.h"
#include "platform/fonts/FontService.h"

TMetafileFontMetrics MetafileFontMetrics(const TLogFontW& LogFont) {
  TFontRequest request;
  request.FaceName = Utf16ToUtf8(LogFont.FaceName());
  request.Weight = LogFont.lfWeight;
  request.Italic = LogFont.lfItalic != 0;
  request.CharSet = LogFont.lfCharSet;
  request.PitchAndFamily = LogFont.lfPitchAndFamily;
  TMetafileFontMetrics result;
  if (auto face = TFontService::Instance().Open(request)) {
    TFontTextMetrics tm = face->TextMetrics(LogFont.lfHeight);
    result.Height = tm.Height;
    result.Ascent = tm.Ascent;
    result.Descent = tm.Descent;
    result.InternalLeading = tm.InternalLeading;
    result.PitchAndFamily = tm.PitchAndFamily;
    return result;
  }
  // No font at all: the proportions of a common sans-serif face.
  int32_t h = std::abs(LogFont.lfHeight);
  if (h == 0) h = 16;
  int32_t em = LogFont.lfHeight < 0 ? h : h * 905 / 1000;
  result.Ascent = em * 905 / 1000;
  result.Descent = em * 212 / 1000;
  result.Height = result.Ascent + result.Descent;
  result.InternalLeading = result.Height - em;
  result.PitchAndFamily = LogFont.lfPitchAndFamily;
  return result;
}
