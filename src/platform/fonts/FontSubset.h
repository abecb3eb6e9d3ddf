#pragma once
// Font subsetting for embedding: a font file reduced to the glyphs a document shows. Plain C++ over
// HarfBuzz's subsetter.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The face FaceIndex of FontFile reduced to Glyphs (glyph 0 always kept) and to the glyphs of the code
// points Unicodes, whose character-map entries stay; every kept glyph keeps its index. EDamagedData when
// the file cannot be read or reduced.
std::string SubsetFontKeepingGlyphIds(std::string_view FontFile, int FaceIndex,
                                      const std::vector<uint16_t>& Glyphs,
                                      const std::vector<char32_t>& Unicodes);

// True when the face FaceIndex of FontFile has TrueType outlines (what a PDF "FontFile2" holds).
bool IsTrueTypeOutlineFile(std::string_view FontFile, int FaceIndex = 0);
