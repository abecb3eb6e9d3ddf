#pragma once
// From a logical font (face, weight, italic, character set, pitch and family) to the installed face the
// font service matches, loaded into the QRawFont the player draws with. Every renderer (screen, printer,
// PNG, PDF) thus uses the same file and the same advances.
#include <QVector>

#include "GdiObjects.h"

// Fills font.Raw, CellToEm and AvgCharWidthPerEm once; later calls return at once. Callers set the pixel
// size they draw at on a copy of Raw. Raw stays invalid when no font could be loaded.
void ResolveFont(const TGdiFont& font);
// The installed family the font service picks for a face name (cached; never empty).
QString MatchFamily(const QString& face, uint8_t pitchAndFamily);
// Glyphs of `text` in the resolved font. Symbol faces find their glyphs by byte code, as GDI maps text
// onto them, whatever code page the text was decoded with.
QVector<quint32> GlyphIndexesForText(const TGdiFont& font, const QRawFont& raw, const QString& text);
