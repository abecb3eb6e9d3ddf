#pragma once
#include <memory>
#include <string>

#include "platform/fonts/FontService.h"

namespace fonts_test {
inline TFontRequest Request(std::string face, int32_t weight = 400, bool italic = false, uint8_t charSet = 1,
                            uint8_t pitchAndFamily = 0) {
  TFontRequest r;
  r.FaceName = std::move(face);
  r.Weight = weight;
  r.Italic = italic;
  r.CharSet = charSet;
  r.PitchAndFamily = pitchAndFamily;
  return r;
}

inline std::shared_ptr<const TFontFace> Open(std::string face, int32_t weight = 400, bool italic = false,
                                             uint8_t charSet = 1) {
  return TFontService::Instance().Open(Request(std::move(face), weight, italic, charSet));
}
} // namespace fonts_test
