#pragma once
// What a path will cost the rasteriser, counted before it is handed over: its edges once curves are
// flattened, and the dashes a pen would cut along it.
#include <QPainterPath>
#include <QPen>
#include <cstddef>

// Line segments of the path after flattening, as the rasteriser's flattening would make them (an upper
// estimate for curves).
size_t FlattenedEdges(const QPainterPath& path);

// Dash segments the pen's pattern cuts along the path (in the painter's device coordinates); 0 for a pen
// without dashes.
double DashSegments(const QPainterPath& path, const QPen& pen);

// The rasteriser's work for filling a path, from the edges crossing each device row: the antialiasing
// rasteriser keeps a row's cells (pixels an edge passes) in a list it walks for every new one, so its work
// grows with the square of a row's cells; the plain scan-line rasteriser's with the crossings.
struct TRasterCost {
  double Crossings = 0;   // sum over rows of the edges crossing them
  double CellSquares = 0; // sum over rows of the square of their cells
};

// For a path in device coordinates over `rows` device rows. A stroke is estimated from its centre line:
// every edge widened by `halfWidth` up and down and counted twice (the outline's two sides).
TRasterCost RasterCost(const QPainterPath& devicePath, int rows, double halfWidth = 0, int sides = 1);
