#pragma once
// A thin layer over TEmfWriter for drawing report pages: fonts, colours and alignment are selected only
// when they change, brushes and pens are made once per colour, and table rows are laid out by columns.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/emfwriter/EmfWriter.h"

class TPagePainter {
 public:
  explicit TPagePainter(TEmfWriter& writer);

  uint32_t AddFont(const TEmfFont& font) { return FWriter.CreateFont(font); }
  void Font(uint32_t handle);
  void TextColor(uint32_t color);
  // Text at (x, y) with the alignment flags given (TA_LEFT / TA_RIGHT / TA_CENTER, TA_TOP / TA_BASELINE).
  void Text(int32_t x, int32_t y, std::string_view text, uint32_t align = emf::TA_LEFT | emf::TA_TOP);
  // Left-aligned text on a baseline, cut to a box, as a report cell whose content may be too long.
  void ClippedText(const TEmfRect& box, int32_t x, int32_t y, std::string_view text);
  int32_t TextWidth(std::string_view text) const { return FWriter.TextWidth(text); }

  void FillRect(int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t color);
  void Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t color, int32_t width = 1);
  // Selects a pen and a brush for the shape calls of the writer; NoColor for none.
  void Pen(uint32_t color, int32_t width = 1);
  void Brush(uint32_t color);
  static constexpr uint32_t NoColor = 0xFFFFFFFFu;

  // SaveDC / RestoreDC on the writer, keeping track of what the restored state has selected.
  void SaveDC();
  void RestoreDC();

  TEmfWriter& Writer() { return FWriter; }

 private:
  struct TSelection {
    uint32_t Font = 0, Align = 0, TextColor = 0;
    uint32_t Pen = emf::BLACK_PEN, Brush = emf::WHITE_BRUSH;
  };
  TEmfWriter& FWriter;
  TSelection FSel;
  std::vector<TSelection> FSaved;
  std::map<uint32_t, uint32_t> FBrushes;                  // colour -> handle
  std::map<std::pair<uint32_t, int32_t>, uint32_t> FPens; // colour, width -> handle
  void Select(uint32_t& current, uint32_t handle);
};

// A table laid out by columns: each column has a width and an alignment; cells are written at a
// padding from the column's edges.
struct TColumn {
  std::string Title;
  int32_t Width;
  uint32_t Align; // emf::TA_LEFT, TA_RIGHT or TA_CENTER
};

class TTableLayout {
 public:
  TTableLayout(int32_t left, std::vector<TColumn> columns, int32_t padding);
  int32_t Left() const { return FLeft; }
  int32_t Right() const { return FRight; }
  // Cells of one row; text wider than its column is clipped to it.
  void Row(TPagePainter& p, int32_t top, int32_t height, const std::vector<std::string>& cells) const;
  void Header(TPagePainter& p, int32_t top, int32_t height) const;
  // Vertical rules between the columns and the frame around a block of rows.
  void Grid(TPagePainter& p, int32_t top, int32_t bottom, uint32_t color) const;

 private:
  int32_t FLeft, FRight, FPadding;
  std::vector<TColumn> FColumns;
};

// "1 234,56": Polish grouping and decimal comma, from an amount in grosze (hundredths).
std::string FormatAmount(int64_t hundredths);
