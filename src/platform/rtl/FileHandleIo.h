#pragma once
// Reading and seeking on an open POSIX file handle, shared by the file streams.
#include <cstdint>

#include "Stream.h"

// Reads until Count bytes or the end of the file; a failing read raises EReadError ("Stream read error"),
// so a copy never comes out short as if it were complete.
int32_t ReadHandle(int Handle, void* Buffer, int32_t Count);
// Moves the file position; on failure the position stays and is returned.
int64_t SeekHandle(int Handle, int64_t Offset, TSeekOrigin Origin);
