#pragma once
// The host's rules between monochrome and colour pixels.
//
// A 1-bit bitmap decoded from its own header already carries its two palette colours. Only a monochrome
// *device* bitmap (a mask or a monochrome brush without a colour table) takes its colours from the
// destination context when blitted onto colour: bits 0 take the text colour, bits 1 the background colour.
// Going the other way, a colour pixel equal to the context's background colour becomes white (1), every
// other pixel black (0).
#include <cstdint>

#include "platform/dib/DibDecode.h"

// Sets a monochrome raster's palette to {textColor, backColor} (0xAARRGGBB, made opaque).
void SetMonochromeColours(TIndexedRaster& mono, uint32_t textColor, uint32_t backColor);

// A monochrome raster with palette {black, white} of `colour`: 1 where the pixel's red, green and blue equal
// `backColor`'s, else 0.
TIndexedRaster ToMonochrome(const TRaster& colour, uint32_t backColor);

// 0x00BBGGRR (the host's colour reference layout) to an opaque 0xFFRRGGBB raster colour.
constexpr uint32_t ColorRefToArgb(uint32_t colorRef) {
  return 0xFF000000u | (colorRef & 0xFF) << 16 | (colorRef & 0xFF00) | (colorRef >> 16 & 0xFF);
}
