#pragma once
// The GDI vocabulary of the device context. Record numbers and the constants records carry (mapping
// modes, pen and brush styles, text flags, stock objects, ...) come from the one catalogue,
// platform/metafile/EmfRecordTypes.h, whose names the player uses unqualified; what is here belongs to the
// device context alone.
#include <cstdint>

#include "platform/metafile/EmfRecordTypes.h"

using namespace emf;

// GetDeviceCaps indices.
constexpr int HORZSIZE = 4, VERTSIZE = 6, HORZRES = 8, VERTRES = 10, LOGPIXELSX = 88, LOGPIXELSY = 90;

// Thread's last error codes set by failing calls.
constexpr uint32_t ERROR_INVALID_HANDLE = 6, ERROR_INVALID_PARAMETER = 87, ERROR_INVALID_DATA = 13,
                   ERROR_TIMEOUT = 1460; // the page went past its deadline (TPageLimits::Deadline)
