#pragma once
// The metrics GDI reports for a TrueType face (TEXTMETRICW, OUTLINETEXTMETRICW), computed from the
// face's design values the way GDI scales them.
#include <cstdint>

#include "FontService.h"

// A face's design values in font units, read from its 'head', 'hhea', 'OS/2' and 'post' tables.
struct TFontDesign {
  int32_t UnitsPerEm = 2048;
  int32_t WinAscent = 0, WinDescent = 0;       // OS/2 usWinAscent / usWinDescent (hhea without OS/2)
  int32_t TypoAscender = 0, TypoDescender = 0; // OS/2 sTypo* (hhea without OS/2); descender negative
  int32_t HheaAscender = 0, HheaDescender = 0, HheaLineGap = 0;
  int32_t AvgCharWidth = 0, MaxAdvance = 0;
  double ItalicAngle = 0; // degrees, counter-clockwise from vertical ('post')
  int32_t BBox[4] = {};   // xMin, yMin, xMax, yMax ('head')
  bool FixedPitch = false;
  uint8_t PanoseFamily = 0, PanoseSerif = 0; // OS/2 panose bytes 0 and 1
  int32_t FamilyClass = 0;                   // OS/2 sFamilyClass, high byte
};

// lfHeight: negative = em height, positive = cell height, 0 = GDI's default size.
TFontTextMetrics GdiTextMetrics(const TFontDesign& design, int32_t lfHeight, uint8_t requestPitchAndFamily);
// At an em of 1000.
TFontOutlineMetrics GdiOutlineMetrics(const TFontDesign& design);
// tmPitchAndFamily: bit 0 set for variable pitch, TMPF_VECTOR | TMPF_TRUETYPE, and the family in the high
// nibble from the face's panose or class, else from the request.
uint8_t GdiPitchAndFamily(const TFontDesign& design, uint8_t requestPitchAndFamily);
