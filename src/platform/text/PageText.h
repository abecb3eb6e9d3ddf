#pragma once
// The text of a metafile page as positioned glyph runs, plain C++ (no Qt): what `zvptool text` prints and
// what the viewer searches. Records are read through the shared record views and placed with the same
// geometry the preview draws: reference point or current position, advances (the record's, else the
// font service's), text alignment, the shared page mapping, the world transform and the font's
// escapement.
//
// Coordinates are page pixels: the metafile's frame drawn at its own pixel size (TMetafile::Width() x
// Height()), as the preview draws the page at 100 %. A viewer drawing the page larger scales them.
//
// Error policy: a record whose fields do not fit its bytes, whose handle index or transform makes no sense,
// or that claims more text than a page may hold is skipped, as the player skips it, and the rest of the
// page is read. A page whose record structure is broken (a record running past the end of the metafile)
// raises EDamagedData. Extraction keeps its own state: it shares nothing with the drawing layer and may run
// on any thread.
#include <string>
#include <vector>

#include "platform/metafile/Metafile.h"

// A box in page pixels, axis-aligned; an empty one (right < left) marks characters that stand for no
// drawn glyph (spaces and line breaks put in by the reading order).
struct TPageTextBox {
  double Left = 0, Top = 0, Right = -1, Bottom = -1;
  bool Empty() const { return Right < Left || Bottom < Top; }
};

// One text record's string (one entry of a POLYTEXTOUT): its characters with their boxes.
struct TPageGlyphRun {
  std::u16string Text;             // UTF-16; control characters read as spaces
  std::vector<TPageTextBox> Boxes; // one per UTF-16 unit (a surrogate pair's second unit repeats the first)
  double OriginX = 0, OriginY = 0; // where the baseline starts, after alignment
  double Angle = 0;                // baseline direction in degrees, counter-clockwise on the page
  double Height = 0;               // the font's cell (ascent + descent) in page pixels
};

struct TPageText {
  std::vector<TPageGlyphRun> Runs; // in the order the records draw them
  double Width = 0, Height = 0;    // the page in page pixels
};

// Which text of a page is read: what the page shows (runs drawn wholly outside the page's frame are left
// out: the viewer's search finds only what it can show), or every text record the page holds (writers
// leave whole drawings or cut-off lines outside the frame; reading a report's text should not lose them).
enum class TTextExtent { Page, Drawing };

// Reads the text records of a page (EXTTEXTOUTW/A, POLYTEXTOUTW/A, SMALLTEXTOUT).
TPageText ExtractPageText(const TMetafile& Page, TTextExtent Extent = TTextExtent::Page);

// The page's text in reading order with the box of every UTF-16 unit (empty for the spaces and line
// breaks that the ordering puts in).
struct TReadingText {
  std::u16string Text;
  std::vector<TPageTextBox> Boxes;
};

// Lines by baseline from top to bottom, runs left to right within a line, a space where the gap between
// two characters is wider than kWordGapOfHeight of the font's height; a run that is not horizontal keeps
// its own order on a line of its own. A string printed again at (nearly) the same place reads once. Lines
// end with '\n'.
constexpr double kWordGapOfHeight = 0.15;
TReadingText ReadingOrder(const TPageText& Page);
