#pragma once
// The structure of a saved report read straight from its bytes through bounds-checked views: the
// header and the chain of page records. Independent of the page list, so that a damaged file is
// described by what is wrong with it rather than by where a reader stumbled.
#include <cstdint>
#include <vector>

#include "platform/rtl/Stream.h"

struct TPageRecord {
  int32_t Number = 0;
  int64_t Start = 0;      // offset of the record
  int64_t Next = 0;       // offset of the next record (the end of this one)
  int64_t PageLength = 0; // bytes of the page metafile (L when compressed, nBytes when plain)
  int64_t StoredLength() const { return Next - Start - 12; }
};

struct TReportLayout {
  int32_t HeaderSize = 0; // 120, or 124 / 128 in older files
  int32_t PageCount = 0;
  bool Compression = false;
  std::vector<TPageRecord> Records;
};

// Walks the whole file, reading only the fields it checks (memory stays flat whatever the size). Raises
// EDamagedData with the first problem found, naming the record number and its offset: a header cut short or
// with no pages, a record out of sequence, a next-record offset that is not the record's end, a trailing
// offset that does not point back at the record's start, or bytes after the last record (so the last four
// bytes always point at the last record).
TReportLayout ReadReportLayout(TStream& file);
