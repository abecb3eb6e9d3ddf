#pragma once
// Playing enhanced metafiles onto a TGdiDC, with the host's entry points.
//
// Error policy: a record whose bytes are too short for what it claims, whose counts or handle indices do
// not fit, or whose values make no sense is not drawn: PlayEnhMetaFileRecord returns false and sets the
// thread's last error (ERROR_INVALID_DATA or ERROR_INVALID_HANDLE, with a message naming the record).
// PlayEnhMetaFile skips such records and draws the rest. A metafile whose record structure is broken
// (a record running past the end) ends the enumeration there: EnumEnhMetaFile and PlayEnhMetaFile return
// false with the damage in the last error message. Nothing here throws for bad metafile data.
#include <functional>

#include "DeviceContext.h"
#include "platform/metafile/Metafile.h"

// The enumeration callback: return 0 to stop.
using TEnhMetaFileProc = std::function<int(TGdiDC& dc, THandleTable& table, const TEmfRecord& record,
                                           int handleCount, void* data)>;

// Calls `proc` for every record in file order with the context mapped so that the metafile's frame covers
// `rect` (left, top, right, bottom in device pixels, right and bottom included). The context's state is
// fresh during the enumeration and restored afterwards, whatever ends it (an exception included). False
// when `proc` returned 0, the metafile is damaged or drawing went past the deadline of the context's
// limits, checked between records (last error ERROR_TIMEOUT).
bool EnumEnhMetaFile(TGdiDC& dc, const TMetafile& metafile, const TEnhMetaFileProc& proc, void* data,
                     const TEmfRect& rect);
// Plays one record (as enumeration hands it over).
bool PlayEnhMetaFileRecord(TGdiDC& dc, THandleTable& table, const TEmfRecord& record, unsigned handleCount);
// Plays the whole metafile into `rect`; false when any record could not be played or the data is damaged.
bool PlayEnhMetaFile(TGdiDC& dc, const TMetafile& metafile, const TEmfRect& rect);

// Draws the metafile stretched into (left, top) - (right, bottom) of a painter: the host's stretch-draw,
// which plays into the inclusive rectangle (left, top, right - 1, bottom - 1). On a true-colour device the
// metafile's palette needs no realising.
bool StretchDrawMetafile(QPainter& painter, const TEmfRect& rect, const TMetafile& metafile);
