#pragma once
// Constants of the enhanced-metafile format that the writer produces. Record numbers and the shared GDI
// constants come from the one catalogue (platform/metafile/EmfRecordTypes.h, namespace emf); what is
// here is the writer's own.
#include <cstdint>

#include "platform/metafile/EmfRecordTypes.h"

namespace emf {
// Raster operation of STRETCHDIBITS.
constexpr uint32_t SRCCOPY = 0x00CC0020;

// A colour in the Windows COLORREF layout (0x00BBGGRR).
constexpr uint32_t EmfRgb(uint8_t r, uint8_t g, uint8_t b) {
  return static_cast<uint32_t>(r) | (static_cast<uint32_t>(g) << 8) | (static_cast<uint32_t>(b) << 16);
}
} // namespace emf
