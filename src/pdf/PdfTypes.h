#pragma once
// Small value types shared by the PDF engine's document, canvas and renderer.
#include <cstdint>

// Edges in PDF points.
struct TPdfRect {
  float Left = 0, Top = 0, Right = 0, Bottom = 0;
};
// A box in PDF points. Built from a metafile rectangle after the Y flip, Top is its lower PDF edge.
struct TPdfBox {
  float Left = 0, Top = 0, Width = 0, Height = 0;
};
// A colour in the COLORREF layout (bytes 0, 1, 2 = red, green, blue); negative names the system colour
// whose index is the low byte.
using TPdfColor = int32_t;

// Integer geometry of the metafile side (logical units).
struct TPdfIntPoint {
  int32_t x = 0, y = 0;
};
struct TPdfIntSize {
  int32_t cx = 0, cy = 0;
};
struct TPdfIntRect {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// A date and time as days since 1899-12-30 with the time of day as fraction, local time.
using TDateTime = double;
