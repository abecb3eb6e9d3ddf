#pragma once
// Region data (RGNDATA) of metafile records: a header and a list of rectangles.
#include "BandedRegion.h"
#include "platform/metafile/EmfRecordViews.h"

struct TRegionArea {
  TBandedRegion Area;
  // The rectangles would have united into more than the limit allows: the area is their bounding box.
  bool Simplified = false;
};

// The union of the region's rectangles (in the units the record stores them), at most `maxRects`
// rectangles. Raises EDamagedData when the rectangles run past the data; a rectangle count the data cannot
// hold is refused likewise.
TRegionArea ReadRegionData(const emf::RegionDataView& data, size_t maxRects);
