#include "platform/dib/DibMonochrome.h"

void SetMonochromeColours(TIndexedRaster& mono, uint32_t textColor, uint32_t backColor) {
  mono.Palette = {textColor | 0xFF000000u, backColor | 0xFF000000u};
  // Keep every index valid: anything but 0 reads as a set bit.
  for (uint8_t& index : mono.Indices)
    index = index != 0;
}

TIndexedRaster ToMonochrome(const TRaster& colour, uint32_t backColor) {
  TIndexedRaster mono;
  mono.Width = colour.Width;
  mono.Height = colour.Height;
  mono.Palette = {0xFF000000u, 0xFFFFFFFFu};
  mono.Indices.resize(colour.Pixels.size());
  for (size_t i = 0; i < colour.Pixels.size(); ++i)
    mono.Indices[i] = ((colour.Pixels[i] ^ backColor) & 0x00FFFFFFu) == 0;
  return mono;
}
