#include "PagePainter.h"

#include "platform/emfwriter/EmfTextWidths.h"

using namespace emf;

TPagePainter::TPagePainter(TEmfWriter& writer) : FWriter(writer) {
  FWriter.SetBkMode(TRANSPARENT);
  FWriter.SetTextColor(0);
}

void TPagePainter::Select(uint32_t& current, uint32_t handle) {
  if (current == handle) return;
  FWriter.SelectObject(handle);
  current = handle;
}

void TPagePainter::SaveDC() {
  FWriter.SaveDC();
  FSaved.push_back(FSel);
}

void TPagePainter::RestoreDC() {
  FWriter.RestoreDC(-1);
  FSel = FSaved.back();
  FSaved.pop_back();
}

void TPagePainter::Font(uint32_t handle) {
  Select(FSel.Font, handle);
}

void TPagePainter::TextColor(uint32_t color) {
  if (color == FSel.TextColor) return;
  FWriter.SetTextColor(color);
  FSel.TextColor = color;
}

void TPagePainter::Text(int32_t x, int32_t y, std::string_view text, uint32_t align) {
  if (align != FSel.Align) {
    FWriter.SetTextAlign(align);
    FSel.Align = align;
  }
  FWriter.TextOut(x, y, text);
}

void TPagePainter::ClippedText(const TEmfRect& box, int32_t x, int32_t y, std::string_view text) {
  if (FSel.Align != (TA_LEFT | TA_BASELINE)) {
    FWriter.SetTextAlign(TA_LEFT | TA_BASELINE);
    FSel.Align = TA_LEFT | TA_BASELINE;
  }
  FWriter.ExtTextOut(x, y, ETO_CLIPPED, &box, Utf8ToUtf16(text));
}

void TPagePainter::Pen(uint32_t color, int32_t width) {
  if (color == NoColor) return Select(FSel.Pen, NULL_PEN);
  auto [it, added] = FPens.try_emplace({color, width}, 0);
  if (added) it->second = FWriter.CreatePen(PS_SOLID, width, color);
  Select(FSel.Pen, it->second);
}

void TPagePainter::Brush(uint32_t color) {
  if (color == NoColor) return Select(FSel.Brush, NULL_BRUSH);
  auto [it, added] = FBrushes.try_emplace(color, 0);
  if (added) it->second = FWriter.CreateSolidBrush(color);
  Select(FSel.Brush, it->second);
}

void TPagePainter::FillRect(int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t color) {
  Pen(NoColor);
  Brush(color);
  // A rectangle without a pen fills one pixel less each way; widen it to cover the box.
  FWriter.Rectangle(left, top, right + 1, bottom + 1);
}

void TPagePainter::Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t color, int32_t width) {
  Pen(color, width);
  FWriter.Line(x1, y1, x2, y2);
}

TTableLayout::TTableLayout(int32_t left, std::vector<TColumn> columns, int32_t padding)
    : FLeft(left), FRight(left), FPadding(padding), FColumns(std::move(columns)) {
  for (const TColumn& c : FColumns)
    FRight += c.Width;
}

void TTableLayout::Row(TPagePainter& p, int32_t top, int32_t height,
                       const std::vector<std::string>& cells) const {
  int32_t x = FLeft;
  for (size_t i = 0; i < FColumns.size() && i < cells.size(); x += FColumns[i].Width, i++) {
    const TColumn& c = FColumns[i];
    const int32_t baseline = top + height * 7 / 10;
    if (c.Align == TA_LEFT && p.TextWidth(cells[i]) > c.Width - 2 * FPadding)
      p.ClippedText({x + FPadding, top, x + c.Width - FPadding, top + height}, x + FPadding, baseline,
                    cells[i]);
    else if (c.Align == TA_RIGHT)
      p.Text(x + c.Width - FPadding, baseline, cells[i], TA_RIGHT | TA_BASELINE);
    else if (c.Align == TA_CENTER)
      p.Text(x + c.Width / 2, baseline, cells[i], TA_CENTER | TA_BASELINE);
    else
      p.Text(x + FPadding, baseline, cells[i], TA_LEFT | TA_BASELINE);
  }
}

void TTableLayout::Header(TPagePainter& p, int32_t top, int32_t height) const {
  std::vector<std::string> titles;
  for (const TColumn& c : FColumns)
    titles.push_back(c.Title);
  Row(p, top, height, titles);
}

void TTableLayout::Grid(TPagePainter& p, int32_t top, int32_t bottom, uint32_t color) const {
  int32_t x = FLeft;
  for (const TColumn& c : FColumns) {
    p.Line(x, top, x, bottom, color);
    x += c.Width;
  }
  p.Line(FRight, top, FRight, bottom, color);
  p.Line(FLeft, top, FRight, top, color);
  p.Line(FLeft, bottom, FRight, bottom, color);
}

std::string FormatAmount(int64_t hundredths) {
  uint64_t v = hundredths < 0 ? 0 - static_cast<uint64_t>(hundredths) : static_cast<uint64_t>(hundredths);
  // Built backwards, digit by digit: two decimals, a comma, then groups of three.
  std::string reversed;
  for (int digits = 0; digits < 3 || v > 0; digits++, v /= 10) {
    if (digits == 2) reversed.push_back(',');
    if (digits > 2 && (digits - 2) % 3 == 0) reversed.push_back(' ');
    reversed.push_back(static_cast<char>('0' + v % 10));
  }
  if (hundredths < 0) reversed.push_back('-');
  return std::string(reversed.rbegin(), reversed.rend());
}
