#include "FileHandleIo.h"

#include <unistd.h>

#include <cerrno>

#include "Exception.h"

int32_t ReadHandle(int Handle, void* Buffer, int32_t Count) {
  if (Count <= 0) return 0;
  int32_t total = 0;
  while (total < Count) {
    ssize_t n = ::read(Handle, static_cast<uint8_t*>(Buffer) + total, static_cast<size_t>(Count - total));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw EReadError("Stream read error: " + SysErrorMessage(errno));
    if (n == 0) break;
    total += static_cast<int32_t>(n);
  }
  return total;
}

int64_t SeekHandle(int Handle, int64_t Offset, TSeekOrigin Origin) {
  int whence = Origin == soBeginning ? SEEK_SET : Origin == soCurrent ? SEEK_CUR : SEEK_END;
  off_t result = ::lseek(Handle, static_cast<off_t>(Offset), whence);
  if (result < 0) return ::lseek(Handle, 0, SEEK_CUR);
  return static_cast<int64_t>(result);
}
