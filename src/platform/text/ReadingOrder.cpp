// Runs into lines: horizontal runs whose baselines lie within a fraction of their height share a line,
// read left to right; any other run is a line of its own.
#include <algorithm>
#include <cmath>
#include <map>

#include "PageText.h"

namespace {

// Baselines closer than this part of the smaller font's height are one line.
constexpr double kSameLineOfHeight = 0.35;
// Copies of a string closer than this part of its height are one print.
constexpr double kOverprintOfHeight = 0.2;
// Runs turned less than this (degrees) read as horizontal.
constexpr double kHorizontalDegrees = 1.0;

// A run with its left edge (sorting compares it often).
struct TPlacedRun {
  const TPageGlyphRun* Run;
  double Left;
};

struct TLine {
  std::vector<TPlacedRun> Runs;
  double Baseline = 0, Height = 0, Left = 0;
  bool Horizontal = true;
};

double RunLeft(const TPageGlyphRun& run) {
  double left = run.OriginX;
  for (const TPageTextBox& b : run.Boxes)
    if (!b.Empty()) left = std::min(left, b.Left);
  return left;
}

double RunTop(const TPageGlyphRun& run) {
  double top = run.OriginY;
  for (const TPageTextBox& b : run.Boxes)
    if (!b.Empty()) top = std::min(top, b.Top);
  return top;
}

void Append(TReadingText& out, char16_t ch, const TPageTextBox& box) {
  out.Text.push_back(ch);
  out.Boxes.push_back(box);
}

bool IsSpace(char16_t ch) {
  return ch == u' ' || ch == u'\u00A0' || ch == u'\t';
}

} // namespace

TReadingText ReadingOrder(const TPageText& page) {
  std::vector<const TPageGlyphRun*> horizontal;
  std::vector<TLine> lines;
  // Text printed twice in one place (a shadow, an emulated bold) reads once.
  std::map<std::u16string, std::vector<const TPageGlyphRun*>> seen;
  for (const TPageGlyphRun& run : page.Runs) {
    if (run.Text.empty()) continue;
    std::vector<const TPageGlyphRun*>& same = seen[run.Text];
    if (std::any_of(same.begin(), same.end(), [&](const TPageGlyphRun* other) {
          return std::fabs(other->OriginX - run.OriginX) < kOverprintOfHeight * run.Height &&
                 std::fabs(other->OriginY - run.OriginY) < kOverprintOfHeight * run.Height;
        }))
      continue;
    same.push_back(&run);
    if (std::fabs(run.Angle) < kHorizontalDegrees) {
      horizontal.push_back(&run);
    } else {
      TLine line;
      line.Left = RunLeft(run);
      line.Runs.push_back({&run, line.Left});
      line.Baseline = RunTop(run);
      line.Horizontal = false;
      lines.push_back(line);
    }
  }
  std::stable_sort(horizontal.begin(), horizontal.end(),
                   [](const TPageGlyphRun* a, const TPageGlyphRun* b) { return a->OriginY < b->OriginY; });
  for (const TPageGlyphRun* run : horizontal) {
    TLine* line = lines.empty() || !lines.back().Horizontal ? nullptr : &lines.back();
    const double left = RunLeft(*run);
    if (line && run->OriginY - line->Baseline <= kSameLineOfHeight * std::min(line->Height, run->Height)) {
      line->Runs.push_back({run, left});
      line->Left = std::min(line->Left, left);
      continue;
    }
    TLine next;
    next.Runs.push_back({run, left});
    next.Baseline = run->OriginY;
    next.Height = run->Height;
    next.Left = left;
    lines.push_back(std::move(next));
  }
  std::stable_sort(lines.begin(), lines.end(), [](const TLine& a, const TLine& b) {
    return a.Baseline != b.Baseline ? a.Baseline < b.Baseline : a.Left < b.Left;
  });

  TReadingText out;
  size_t units = lines.size();
  for (const TLine& line : lines)
    for (const TPlacedRun& placed : line.Runs)
      units += placed.Run->Text.size() + 1;
  out.Text.reserve(units);
  out.Boxes.reserve(units);
  const TPageTextBox none;
  for (TLine& line : lines) {
    if (line.Horizontal)
      std::stable_sort(line.Runs.begin(), line.Runs.end(),
                       [](const TPlacedRun& a, const TPlacedRun& b) { return a.Left < b.Left; });
    const TPageTextBox* previous = nullptr;
    double previousHeight = 0;
    for (const TPlacedRun& placed : line.Runs) {
      const TPageGlyphRun* run = placed.Run;
      for (size_t i = 0; i < run->Text.size(); ++i) {
        char16_t ch = run->Text[i];
        const TPageTextBox& box = run->Boxes[i];
        if (line.Horizontal && previous && !box.Empty() && !IsSpace(ch) && !out.Text.empty() &&
            !IsSpace(out.Text.back()) &&
            box.Left - previous->Right > kWordGapOfHeight * std::max(previousHeight, run->Height))
          Append(out, u' ', none);
        // Spaces at the start of a line say nothing; runs of spaces read as one.
        if (IsSpace(ch) && (out.Text.empty() || out.Text.back() == u'\n' || IsSpace(out.Text.back())))
          continue;
        Append(out, ch, box);
        if (!box.Empty()) {
          previous = &box;
          previousHeight = run->Height;
        }
      }
    }
    while (!out.Text.empty() && IsSpace(out.Text.back())) {
      out.Text.pop_back();
      out.Boxes.pop_back();
    }
    if (!out.Text.empty() && out.Text.back() != u'\n') Append(out, u'\n', none);
  }
  return out;
}
