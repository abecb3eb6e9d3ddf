#include "GdiFontMetrics.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
constexpr uint8_t kVariablePitch = 0x01, kVector = 0x02, kTrueType = 0x04;
constexpr uint8_t kRoman = 0x10, kSwiss = 0x20, kModern = 0x30, kScript = 0x40, kDecorative = 0x50;
// A font created with lfHeight 0 gets a cell of this many pixels.
constexpr int32_t kDefaultCellHeight = 16;

// GDI rounds scaled design values half up; results are kept inside int32 for absurd heights.
int32_t Scaled(double value) {
  double r = std::floor(value + 0.5);
  return static_cast<int32_t>(std::clamp(r, double(std::numeric_limits<int32_t>::min()),
                                         double(std::numeric_limits<int32_t>::max())));
}

uint8_t FamilyFromPanose(const TFontDesign& d) {
  switch (d.PanoseFamily) {
  case 3:
    return kScript;
  case 4:
  case 5:
    return kDecorative;
  case 2:
    if (d.FixedPitch) return kModern;
    if (d.PanoseSerif >= 2 && d.PanoseSerif <= 10) return kRoman;
    if (d.PanoseSerif >= 11 && d.PanoseSerif <= 15) return kSwiss;
    return 0;
  default:
    return 0;
  }
}

// IBM font class of the OS/2 table, for faces whose panose says nothing.
uint8_t FamilyFromClass(const TFontDesign& d) {
  switch (d.FamilyClass) {
  case 1:
  case 2:
  case 3:
  case 4:
  case 5:
  case 7:
    return kRoman;
  case 8:
    return kSwiss;
  case 9:
  case 12:
    return kDecorative;
  case 10:
    return kScript;
  default:
    return 0;
  }
}
} // namespace

uint8_t GdiPitchAndFamily(const TFontDesign& d, uint8_t requestPitchAndFamily) {
  uint8_t family = FamilyFromPanose(d);
  if (!family) family = FamilyFromClass(d);
  if (!family && d.FixedPitch) family = kModern;
  if (!family) family = requestPitchAndFamily & 0xF0;
  return family | kVector | kTrueType | (d.FixedPitch ? 0 : kVariablePitch);
}

TFontTextMetrics GdiTextMetrics(const TFontDesign& d, int32_t lfHeight, uint8_t requestPitchAndFamily) {
  double units = std::max(1, d.UnitsPerEm);
  double ascent = d.WinAscent, descent = d.WinDescent;
  if (ascent + descent <= 0) {
    ascent = d.HheaAscender;
    descent = -double(d.HheaDescender);
  }
  if (ascent + descent <= 0) {
    ascent = units * 0.8;
    descent = units * 0.2;
  }
  double cell = ascent + descent;
  double scale = lfHeight < 0   ? -double(lfHeight) / units
                 : lfHeight > 0 ? double(lfHeight) / cell
                                : kDefaultCellHeight / cell;
  TFontTextMetrics m;
  m.Ascent = Scaled(ascent * scale);
  m.Descent = Scaled(descent * scale);
  m.Height = Scaled(double(m.Ascent) + m.Descent);
  int32_t em = lfHeight < 0 ? Scaled(-double(lfHeight)) : Scaled(units * scale);
  m.InternalLeading = Scaled(double(m.Height) - em);
  double hheaCell = double(d.HheaAscender) - d.HheaDescender;
  m.ExternalLeading = std::max(0, Scaled((d.HheaLineGap - (cell - hheaCell)) * scale));
  m.AveCharWidth = Scaled(d.AvgCharWidth * scale);
  m.MaxCharWidth = Scaled(d.MaxAdvance * scale);
  m.PitchAndFamily = GdiPitchAndFamily(d, requestPitchAndFamily);
  return m;
}

TFontOutlineMetrics GdiOutlineMetrics(const TFontDesign& d) {
  double scale = 1000.0 / std::max(1, d.UnitsPerEm);
  TFontOutlineMetrics m;
  m.Ascent = Scaled(d.TypoAscender * scale);
  m.Descent = Scaled(d.TypoDescender * scale);
  m.ItalicAngle = Scaled(d.ItalicAngle * 10);
  for (int i = 0; i < 4; ++i)
    m.BBox[i] = Scaled(d.BBox[i] * scale);
  m.FixedPitch = d.FixedPitch;
  return m;
}
