#pragma once
// Expanding RLE8 / RLE4 bits into one palette index per pixel (internal to the decoder).
#include <cstdint>
#include <vector>

#include "platform/dib/DibInfo.h"

// `indices` has Width * Height entries, row 0 at the top, and is written only inside those bounds.
void DecodeRle(const TDibInfo& info, ByteView bits, std::vector<uint8_t>& indices);
