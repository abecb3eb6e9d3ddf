#include "Logo.h"

#include <cmath>
#include <vector>

#include "platform/emfwriter/EmfConstants.h"

TEmfDib MakeLogo(int32_t size) {
  std::vector<uint32_t> pixels(static_cast<size_t>(size) * size, emf::EmfRgb(255, 255, 255));
  const double centre = (size - 1) / 2.0, radius = size / 2.0 - 1;
  for (int32_t y = 0; y < size; y++)
    for (int32_t x = 0; x < size; x++) {
      const double d = std::hypot(x - centre, y - centre) / radius;
      if (d > 1) continue;
      const bool ring = d > 0.62 && d < 0.74;
      const auto t = static_cast<uint8_t>(255 * x / std::max(1, size - 1));
      pixels[static_cast<size_t>(y) * size + x] =
          ring ? emf::EmfRgb(255, 255, 255) : emf::EmfRgb(20, static_cast<uint8_t>(90 + t / 2), 200);
    }
  return TEmfDib::Rgb24(size, size, pixels);
}

TEmfDib MakePaymentCode(int32_t modules) {
  std::vector<uint8_t> bits(static_cast<size_t>(modules) * modules);
  uint32_t state = 0x2545F491u; // a fixed seed: the same pattern on every run
  for (int32_t y = 0; y < modules; y++)
    for (int32_t x = 0; x < modules; x++) {
      state ^= state << 13;
      state ^= state >> 17;
      state ^= state << 5;
      // Finder squares in three corners, noise elsewhere.
      auto finder = [&](int32_t fx, int32_t fy) {
        const int32_t dx = x - fx, dy = y - fy;
        if (dx < 0 || dy < 0 || dx > 6 || dy > 6) return -1;
        const int32_t ring = std::max(std::abs(dx - 3), std::abs(dy - 3));
        return ring == 2 ? 0 : 1;
      };
      int f = finder(0, 0);
      if (f < 0) f = finder(modules - 7, 0);
      if (f < 0) f = finder(0, modules - 7);
      bits[static_cast<size_t>(y) * modules + x] = static_cast<uint8_t>(f >= 0 ? f : (state >> 7) & 1);
    }
  return TEmfDib::Mono(modules, modules, bits, emf::EmfRgb(255, 255, 255), emf::EmfRgb(0, 0, 0));
}
