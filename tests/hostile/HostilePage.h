#pragma once
// Hostile pages: small metafiles whose records claim huge work or memory. Each case is a generator that
// writes its records into a page; the page then restores the state saved before them and draws a marker
// (a filled blue square near the bottom-right corner), so that a renderer that survives the records can be
// checked to have drawn the rest of the page.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/emfwriter/EmfWriter.h"

struct THostileCase {
  std::string Name; // a file-name-friendly identifier
  std::function<void(TEmfWriter&)> Write;
  int32_t Width = 800, Height = 600; // page size in pixels (96 dpi)
};

// The marker: its box as fractions of the page, and its colour (COLORREF and 0xRRGGBB).
constexpr double MarkerLeft = 0.80, MarkerTop = 0.80, MarkerRight = 0.95, MarkerBottom = 0.95;
constexpr uint32_t MarkerColorRef = emf::EmfRgb(0, 0, 255);
constexpr uint32_t MarkerRgb = 0x0000FF;

// The whole metafile of a case: header, SAVEDC, the case's records, RESTOREDC to that first level, the
// marker, EOF.
std::vector<uint8_t> HostilePageBytes(const THostileCase& hostile);

// Every case; the table is the union of the area tables below.
std::vector<THostileCase> HostileCases();
std::vector<THostileCase> HostileTextCases();
std::vector<THostileCase> HostileBitmapCases();
std::vector<THostileCase> HostileGeometryCases();
