#pragma once
// A page drawn only with EMF+ records, played as GDI records. A metafile may hold its picture
// only in the EMF+ layer of its comments (no GDI record draws anything); renderers that play GDI records
// would show such a page blank. For those pages every EMF+ string becomes the GDI records that draw it —
// a font, a colour and one EXTTEXTOUTW per line with its advances, under a world transform that carries
// the layer's transforms — and every filled or outlined shape (rectangles, ellipses, polygons, lines,
// paths) a GDI path filled with a solid brush or stroked with a solid pen; each renderer plays them as its
// own records: the preview, the printer, the PDF export and the text extraction all show the same page.
// Brushes other than solid ones fill with one representative colour; images, regions, clipping, curves
// and pies of the layer are not drawn. A page that also draws with GDI records is
// left as it is: its GDI records are the picture (the EMF+ layer repeats it).
//
// The records use one handle-table entry past the page's own (Slot()); a renderer sizes its table with
// HandleCount(). Plain C++ (the font service measures the strings); one object per playback, one thread.
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/metafile/EmfPlusLayer.h"
#include "platform/metafile/Metafile.h"

class TEmfPlusPlayback {
 public:
  explicit TEmfPlusPlayback(const TMetafile& page);

  // True when the page draws only through EMF+ records.
  bool Active() const { return FActive; }
  uint32_t Slot() const { return FSlot; }
  // The handle table a renderer gives the page: the page's own entries and, when active, the slot.
  size_t HandleCount() const { return FActive ? FSlot + 1 : FSlot; }

  // For a GDI comment of an active page: calls `play` with each GDI record that draws its EMF+ strings
  // and shapes. Returns false when the comment's EMF+ records were damaged (what came before them is
  // played) or the page's strings and shapes went past the page limit (the rest are left out).
  bool Translate(const TEmfRecord& comment, const std::function<void(const TEmfRecord&)>& play);

 private:
  void Emit(const TPlusString& string, const TEmfRecord& comment,
            const std::function<void(const TEmfRecord&)>& play);
  void EmitShape(const TPlusShape& shape, const TEmfRecord& comment,
                 const std::function<void(const TEmfRecord&)>& play);

  bool FActive = false;
  size_t FItems = 0; // strings and shapes played so far
  uint32_t FSlot = 1;
  double FDeviceDpi = 96;
  TEmfPlusLayer FLayer;
};
