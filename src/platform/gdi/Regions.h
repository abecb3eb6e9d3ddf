#pragma once
// Region data (RGNDATA) of metafile records: a header and a list of rectangles.
#include <QPainterPath>

#include "platform/metafile/EmfRecordViews.h"

// The union of the region's rectangles (in the units the record stores them). Raises EDamagedData when the
// rectangles run past the data; a rectangle count the data cannot hold is refused likewise.
QPainterPath ReadRegionData(const emf::RegionDataView& data);
