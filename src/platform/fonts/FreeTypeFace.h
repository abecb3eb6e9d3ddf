#pragma once
// A TFontFace over one FreeType face. The font file is untrusted: FreeType parses it, and a file it
// refuses yields no face. Calls on one face are serialised by its own lock.
#include <memory>

#include "FontService.h"

// The face at `location` (File, FaceIndex); null when the file is missing or not a usable outline font.
// requestPitchAndFamily supplies the family bits of tmPitchAndFamily when the face names none.
std::shared_ptr<const TFontFace> LoadFreeTypeFace(const TFontLocation& location,
                                                  uint8_t requestPitchAndFamily);

// True when the face in the file has a Microsoft symbol cmap (platform 3, encoding 0).
bool IsSymbolEncodedFace(const std::string& file, int faceIndex);
