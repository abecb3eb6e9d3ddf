#pragma once
// Drawing a raster stretched onto another one, as the host's StretchDIBits / StretchBlt do with the
// colour-on-colour (nearest pixel) stretch mode.
//
// Geometry: a rectangle given as (x, y, cx, cy) covers the pixels from min(x, x + cx) up to but excluding
// max(x, x + cx), likewise vertically. When the signs of the destination and source extents differ along
// an axis, the picture is mirrored along it. Each destination pixel takes the source pixel under its
// centre. Destination pixels whose source pixel lies outside the source raster are left alone (unless the
// operation ignores the source); nothing is drawn outside the destination raster or the clip rectangle.
// A zero extent draws nothing. The work is bounded by the visible destination area, whatever the extents.
//
// Colours are 0xAARRGGBB. The raster operation works on red, green and blue; its results are opaque,
// except SRCCOPY, which copies source pixels whole (alpha included) and marks the destination HasAlpha when
// the source has alpha. Source and destination may be the same raster (the source is read as it was).
#include <cstdint>

#include "platform/dib/DibDecode.h"
#include "platform/dib/RasterOp.h"

// A rectangle of destination pixels; Right and Bottom are exclusive.
struct TDibRect {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// `xSrc`, `ySrc` count from the raster's top-left corner (the source DC of StretchBlt / BitBlt records).
// `patternColor` is the solid brush colour used by operations that read the pattern (PATCOPY, MERGECOPY,
// PATINVERT...). `clip` may be null.
void StretchRasterOnto(TRaster& dest, int32_t xDst, int32_t yDst, int32_t cxDst, int32_t cyDst,
                       const TRaster& src, int32_t xSrc, int32_t ySrc, int32_t cxSrc, int32_t cySrc,
                       uint32_t rop, uint32_t patternColor = 0xFF000000u, const TDibRect* clip = nullptr);

// StretchDIBits: like StretchRasterOnto, but the source rectangle is in the bitmap's own coordinates, whose
// origin is the lower-left corner for a bottom-up bitmap and the upper-left corner for a top-down one.
// `info` and `src` are the parsed header and the decoded raster of the same bitmap.
void StretchDibOnto(TRaster& dest, int32_t xDst, int32_t yDst, int32_t cxDst, int32_t cyDst,
                    const TDibInfo& info, const TRaster& src, int32_t xSrc, int32_t ySrc, int32_t cxSrc,
                    int32_t cySrc, uint32_t rop, uint32_t patternColor = 0xFF000000u,
                    const TDibRect* clip = nullptr);

// The same geometry for palette rasters (source copy only): `dest` receives source indices; its palette is
// left as it is, so give it the source's palette when the colours should match. `ySrc` counts from the top;
// for bitmap coordinates pass DibSourceTop(info, ySrc, cySrc).
void StretchIndexedOnto(TIndexedRaster& dest, int32_t xDst, int32_t yDst, int32_t cxDst, int32_t cyDst,
                        const TIndexedRaster& src, int32_t xSrc, int64_t ySrc, int32_t cxSrc, int32_t cySrc,
                        const TDibRect* clip = nullptr);

// The source y of StretchDibOnto converted to a top-left origin.
int64_t DibSourceTop(const TDibInfo& info, int32_t ySrc, int32_t cySrc);
