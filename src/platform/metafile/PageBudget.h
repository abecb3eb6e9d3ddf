#pragma once
// What one page may cost to draw, for every renderer (screen, printer, PNG, PDF).
//
// A page's bytes may claim anything: a bitmap of 80,000,000 pixels in two bytes of data, a pen whose dashes
// number in the millions, a region of a hundred million rectangles. The limits below bound the work and
// memory of a page by what it may cost, not by what its records claim. They are checked before the work is
// handed to Qt, FreeType or the PDF writer. A record that would exceed a limit is skipped (or drawn in a
// simpler form where a limit says so) and counted like a malformed record; the rest of the page draws.
// No normal page meets any of these limits.
#include <chrono>
#include <cstddef>
#include <cstdint>

struct TPageLimits {
  // Decoded bitmap memory alive at once during a page (blits being drawn and pattern brushes held in the
  // handle table), in bytes: 64 million pixels, a page scanned at 600 dpi twice over.
  size_t BitmapBytes = size_t(256) << 20;
  // Pixels of an output surface a renderer allocates for a whole page (`render` without a fit size): an A4
  // page at 600 dpi fits; a larger page is drawn smaller, keeping its shape.
  uint64_t SurfacePixels = 36'000'000;
  // A glyph whose drawn box (its own bounding box times the full transform) exceeds this many device
  // pixels on either side is filled as an outline instead of being rasterised.
  double RasterGlyphPixels = 512;
  // Glyphs times their em size in device pixels (stretched by a character width), summed over one text
  // record; beyond it the record is skipped. A full page of text sums to some tens of thousands.
  double RunGlyphPixels = 2'000'000;
  // Line segments (after flattening curves) of one fill or stroke; beyond it the record is skipped.
  size_t PathEdges = 250'000;
  // Edges crossing each device row, summed over the rows, of one fill or stroke (a stroke's outline
  // counted from its centre line); beyond it the record is skipped.
  double PathCrossings = 8'000'000;
  // The pixels those edges pass in each row, squared and summed over the rows: the antialiasing
  // rasteriser's work grows so. Beyond it the fill, stroke or clip is drawn without antialiasing, by the
  // rasteriser whose work grows with the crossings.
  double AntialiasedCells = 50'000'000;
  // Dash segments along one stroke; beyond it the stroke is drawn solid.
  size_t DashSegments = 20'000;
  // Rectangles of one region; beyond it the region is replaced by its bounding box.
  size_t RegionRects = 50'000;
  // Elements of the paths combined by one clip operation with path booleans; beyond it the clip is
  // replaced by the bounding box of the result.
  size_t ClipPathElements = 4'000;
  // Vertices plus rectangles or triangles of one gradient fill; beyond it the record is skipped.
  size_t GradientItems = 20'000;
  // Strings and shapes of a page drawn only with EMF+ records (each becomes a dozen GDI records); beyond
  // it the rest of the layer is skipped. One comment may hold hundreds of thousands of them, and time is
  // checked only between the page's own records.
  size_t PlusItems = 100'000;
  // Time for one page, checked between records. The viewer stops drawing the page and says so; `render`
  // ends with exit status 1.
  std::chrono::milliseconds Deadline{20'000};
};

// The limits every renderer uses unless a caller (a test) passes others.
inline const TPageLimits& DefaultPageLimits() {
  static const TPageLimits limits;
  return limits;
}
