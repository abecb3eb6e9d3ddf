#include "platform/dib/DibStretch.h"

#include <algorithm>
#include <vector>

using namespace dib;

namespace {

// One axis of a stretch: for every visible destination coordinate, the source coordinate under the
// pixel's centre, or -1 where that lies outside the source.
struct TAxisMap {
  int64_t First = 0;
  std::vector<int64_t> Source;
};

TAxisMap MapAxis(int64_t dst, int64_t extDst, int64_t src, int64_t extSrc, int64_t srcSize,
                 int64_t visibleFrom, int64_t visibleTo) {
  TAxisMap map;
  const int64_t dLo = std::min(dst, dst + extDst), dLen = extDst < 0 ? -extDst : extDst;
  const int64_t sLo = std::min(src, src + extSrc), sLen = extSrc < 0 ? -extSrc : extSrc;
  const bool mirror = (extDst < 0) != (extSrc < 0);
  map.First = std::max(dLo, visibleFrom);
  const int64_t last = std::min(dLo + dLen, visibleTo);
  if (dLen == 0 || sLen == 0 || map.First >= last) return map;
  map.Source.reserve(static_cast<size_t>(last - map.First));
  for (int64_t d = map.First; d < last; ++d) {
    // 128-bit: both extents may approach 2^32.
    __int128 i = d - dLo;
    int64_t k = static_cast<int64_t>((2 * i + 1) * sLen / (2 * static_cast<__int128>(dLen)));
    int64_t s = mirror ? sLo + sLen - 1 - k : sLo + k;
    map.Source.push_back(s >= 0 && s < srcSize ? s : -1);
  }
  return map;
}

struct TVisible {
  int64_t Left, Top, Right, Bottom;
};

TVisible VisibleArea(int32_t width, int32_t height, const TDibRect* clip) {
  TVisible area{0, 0, width, height};
  if (clip) {
    area.Left = std::max<int64_t>(area.Left, clip->Left);
    area.Top = std::max<int64_t>(area.Top, clip->Top);
    area.Right = std::min<int64_t>(area.Right, clip->Right);
    area.Bottom = std::min<int64_t>(area.Bottom, clip->Bottom);
  }
  return area;
}

// Calls paint(destIndex, sourceIndex) for every visible destination pixel of the stretch; sourceIndex is -1
// where the source pixel is outside the source raster.
template <typename TPaint>
void ForEachStretchedPixel(int32_t destWidth, int32_t destHeight, int64_t xDst, int64_t yDst, int64_t cxDst,
                           int64_t cyDst, int32_t srcWidth, int32_t srcHeight, int64_t xSrc, int64_t ySrc,
                           int64_t cxSrc, int64_t cySrc, const TDibRect* clip, TPaint paint) {
  const TVisible area = VisibleArea(destWidth, destHeight, clip);
  const TAxisMap columns = MapAxis(xDst, cxDst, xSrc, cxSrc, srcWidth, area.Left, area.Right);
  if (columns.Source.empty()) return;
  const TAxisMap rows = MapAxis(yDst, cyDst, ySrc, cySrc, srcHeight, area.Top, area.Bottom);
  for (size_t r = 0; r < rows.Source.size(); ++r) {
    const int64_t destRow = (rows.First + static_cast<int64_t>(r)) * destWidth;
    const int64_t srcRow = rows.Source[r];
    for (size_t c = 0; c < columns.Source.size(); ++c) {
      const int64_t srcColumn = columns.Source[c];
      const int64_t source = srcRow < 0 || srcColumn < 0 ? -1 : srcRow * srcWidth + srcColumn;
      paint(static_cast<size_t>(destRow + columns.First + static_cast<int64_t>(c)), source);
    }
  }
}

// The source top is 64-bit: converted from bitmap coordinates it may leave the 32-bit range.
void StretchRaster(TRaster& dest, int32_t xDst, int32_t yDst, int32_t cxDst, int32_t cyDst,
                   const TRaster& src, int32_t xSrc, int64_t ySrc, int32_t cxSrc, int32_t cySrc, uint32_t rop,
                   uint32_t patternColor, const TDibRect* clip) {
  if (&src == &dest) { // a blit within one raster reads the pixels as they were before it
    const TRaster before = src;
    StretchRaster(dest, xDst, yDst, cxDst, cyDst, before, xSrc, ySrc, cxSrc, cySrc, rop, patternColor, clip);
    return;
  }
  const uint8_t table = RopIndex(rop);
  const bool usesSource = RopUsesSource(table);
  const bool copy = table == RopIndex(SRCCOPY);
  bool copiedAlpha = false;
  ForEachStretchedPixel(dest.Width, dest.Height, xDst, yDst, cxDst, cyDst, src.Width, src.Height, xSrc, ySrc,
                        cxSrc, cySrc, clip, [&](size_t to, int64_t from) {
                          if (usesSource && from < 0) return;
                          const uint32_t source = from < 0 ? 0 : src.Pixels[static_cast<size_t>(from)];
                          if (copy) {
                            dest.Pixels[to] = source;
                            copiedAlpha = true;
                            return;
                          }
                          const uint32_t rgb = ApplyRop3(table, dest.Pixels[to], source, patternColor);
                          dest.Pixels[to] = 0xFF000000u | (rgb & 0x00FFFFFFu);
                        });
  if (copiedAlpha && src.HasAlpha) dest.HasAlpha = true;
}

} // namespace

void StretchRasterOnto(TRaster& dest, int32_t xDst, int32_t yDst, int32_t cxDst, int32_t cyDst,
                       const TRaster& src, int32_t xSrc, int32_t ySrc, int32_t cxSrc, int32_t cySrc,
                       uint32_t rop, uint32_t patternColor, const TDibRect* clip) {
  StretchRaster(dest, xDst, yDst, cxDst, cyDst, src, xSrc, ySrc, cxSrc, cySrc, rop, patternColor, clip);
}

int64_t DibSourceTop(const TDibInfo& info, int32_t ySrc, int32_t cySrc) {
  if (info.TopDown) return ySrc;
  return static_cast<int64_t>(info.Height) - ySrc - cySrc;
}

void StretchDibOnto(TRaster& dest, int32_t xDst, int32_t yDst, int32_t cxDst, int32_t cyDst,
                    const TDibInfo& info, const TRaster& src, int32_t xSrc, int32_t ySrc, int32_t cxSrc,
                    int32_t cySrc, uint32_t rop, uint32_t patternColor, const TDibRect* clip) {
  StretchRaster(dest, xDst, yDst, cxDst, cyDst, src, xSrc, DibSourceTop(info, ySrc, cySrc), cxSrc, cySrc, rop,
                patternColor, clip);
}

void StretchIndexedOnto(TIndexedRaster& dest, int32_t xDst, int32_t yDst, int32_t cxDst, int32_t cyDst,
                        const TIndexedRaster& src, int32_t xSrc, int64_t ySrc, int32_t cxSrc, int32_t cySrc,
                        const TDibRect* clip) {
  if (&src == &dest) {
    const TIndexedRaster before = src;
    StretchIndexedOnto(dest, xDst, yDst, cxDst, cyDst, before, xSrc, ySrc, cxSrc, cySrc, clip);
    return;
  }
  ForEachStretchedPixel(dest.Width, dest.Height, xDst, yDst, cxDst, cyDst, src.Width, src.Height, xSrc, ySrc,
                        cxSrc, cySrc, clip, [&](size_t to, int64_t from) {
                          if (from >= 0) dest.Indices[to] = src.Indices[static_cast<size_t>(from)];
                        });
}
