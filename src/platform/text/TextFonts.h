#pragma once
// The font facts text extraction needs, from the font service and cached for the process (safe on any
// thread): the em and cell proportions of a logical font, natural advances, and the characters behind
// glyph indices (for records written with ETO_GLYPH_INDEX).
#include <memory>
#include <string>

#include "platform/fonts/FontService.h"

// Proportions of an em of 1.
struct TTextFontFace {
  std::shared_ptr<const TFontFace> Face; // null when no font could be opened
  double CellToEm = 1;                   // em per unit of a positive lfHeight
  double AverageWidth = 0.5;
  double Ascent = 0.9, Descent = 0.2;
  bool Symbol = false;
};

// The face a request resolves to (cached by request).
const TTextFontFace& TextFontFace(const TFontRequest& Request);

// Advance of `ch` at an em of 1 (a missing glyph measures the missing glyph's advance).
double NaturalAdvance(const TTextFontFace& Face, char32_t Ch);

// The character a glyph index stands for in the face, or U+FFFD when no character maps to it.
char16_t CharacterOfGlyph(const TTextFontFace& Face, uint16_t Glyph);
