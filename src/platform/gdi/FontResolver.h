#pragma once
// From a logical font (face, weight, italic, pitch and family) to an installed outline font. Face names are
// resolved through fontconfig, whose rules bind the common Windows faces to metric-compatible families.
#include "GdiObjects.h"

// Fills font.Raw, CellToEm and AvgCharWidthPerEm once; later calls return at once. Callers set the pixel
// size they draw at on a copy of Raw. Raw stays invalid when no font could be loaded.
void ResolveFont(const TGdiFont& font);
// The installed family fontconfig picks for a face name (cached; never empty).
QString MatchFamily(const QString& face, uint8_t pitchAndFamily);
