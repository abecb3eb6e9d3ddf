#include "Stream.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <mutex>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "Exception.h"
#include "FileHandleIo.h"
#include "ReplacingFile.h"

int64_t TStream::Size() {
  int64_t pos = Seek(0, soCurrent);
  int64_t end = Seek(0, soEnd);
  Seek(pos, soBeginning);
  return end;
}

void TStream::SetSize(int64_t) {
  throw EWriteError();
}

void TStream::ReadBuffer(void* Buffer, int32_t Count) {
  if (Count < 0 || Read(Buffer, Count) != Count) throw EReadError();
}

void TStream::WriteBuffer(const void* Buffer, int32_t Count) {
  if (Count < 0 || Write(Buffer, Count) != Count) throw EWriteError();
}

int64_t TStream::CopyFrom(TStream& Source, int64_t Count) {
  if (Count == 0) {
    Source.SetPosition(0);
    Count = Source.Size();
  }
  const int32_t chunk = 64 * 1024;
  std::vector<uint8_t> buffer(static_cast<size_t>(std::min<int64_t>(Count, chunk)));
  int64_t done = 0;
  while (done < Count) {
    int32_t n = static_cast<int32_t>(std::min<int64_t>(Count - done, chunk));
    Source.ReadBuffer(buffer.data(), n);
    WriteBuffer(buffer.data(), n);
    done += n;
  }
  return done;
}

// ---- TMemoryStream ----

int32_t TMemoryStream::Read(void* Buffer, int32_t Count) {
  if (Count <= 0 || FPosition >= Size()) return 0;
  int64_t n = std::min<int64_t>(Count, Size() - FPosition);
  std::memcpy(Buffer, FData.data() + FPosition, static_cast<size_t>(n));
  FPosition += n;
  return static_cast<int32_t>(n);
}

int32_t TMemoryStream::Write(const void* Buffer, int32_t Count) {
  if (Count <= 0) return 0;
  int64_t end = FPosition + Count;
  if (end > Size()) FData.resize(static_cast<size_t>(end));
  std::memcpy(FData.data() + FPosition, Buffer, static_cast<size_t>(Count));
  FPosition = end;
  return Count;
}

int64_t TMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  int64_t base = Origin == soBeginning ? 0 : Origin == soCurrent ? FPosition : Size();
  int64_t target = base + Offset;
  if (target < 0) target = 0; // a position before the start is clamped, as a file would refuse it
  FPosition = target;
  return FPosition;
}

void TMemoryStream::SetSize(int64_t NewSize) {
  if (NewSize < 0) NewSize = 0;
  FData.resize(static_cast<size_t>(NewSize));
  if (FPosition > NewSize) FPosition = NewSize;
}

void TMemoryStream::Clear() {
  FData.clear();
  FData.shrink_to_fit();
  FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream& Source) {
  Source.SetPosition(0);
  int64_t n = Source.Size();
  SetSize(n);
  FPosition = 0;
  if (n > 0) Source.ReadBuffer(FData.data(), static_cast<int32_t>(n));
}

void TMemoryStream::SaveToStream(TStream& Target) {
  if (!FData.empty()) Target.WriteBuffer(FData.data(), static_cast<int32_t>(FData.size()));
}

// ---- TFileStream ----

namespace {
// Files held open for reading by this process, by device and inode.
std::mutex gOpenFilesLock;
std::multiset<std::pair<uint64_t, uint64_t>> gOpenFiles;
} // namespace

bool IsOpenForReading(const std::string& FileName) {
  struct stat st {};
  if (::stat(FileName.c_str(), &st) != 0) return false;
  std::lock_guard<std::mutex> guard(gOpenFilesLock);
  return gOpenFiles.count({static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)}) > 0;
}

TFileStream::TFileStream(const std::string& FileName, TFileMode Mode) : FFileName(FileName), FMode(Mode) {
  if (Mode == fmCreate) {
    if (IsOpenForReading(FileName))
      throw EFCreateError(FileName, "The file is open in this program and cannot be replaced");
    FHandle = ::open(FileName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (FHandle < 0) throw EFCreateError(FileName, SysErrorMessage(errno));
  } else {
    FHandle = ::open(FileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (FHandle < 0) throw EFOpenError(FileName, SysErrorMessage(errno));
    struct stat st {};
    if (::fstat(FHandle, &st) != 0 || S_ISDIR(st.st_mode)) {
      int err = S_ISDIR(st.st_mode) ? EISDIR : errno;
      ::close(FHandle);
      throw EFOpenError(FileName, SysErrorMessage(err));
    }
    FDevice = static_cast<uint64_t>(st.st_dev);
    FInode = static_cast<uint64_t>(st.st_ino);
    std::lock_guard<std::mutex> guard(gOpenFilesLock);
    gOpenFiles.insert({FDevice, FInode});
  }
}

TFileStream::~TFileStream() {
  if (FHandle >= 0) ::close(FHandle);
  if (FMode == fmOpenReadShared) {
    std::lock_guard<std::mutex> guard(gOpenFilesLock);
    auto it = gOpenFiles.find({FDevice, FInode});
    if (it != gOpenFiles.end()) gOpenFiles.erase(it);
  }
}

int32_t TFileStream::Read(void* Buffer, int32_t Count) {
  return ReadHandle(FHandle, Buffer, Count);
}

int32_t TFileStream::Write(const void* Buffer, int32_t Count) {
  if (Count <= 0 || FMode == fmOpenReadShared) return 0;
  int32_t total = 0;
  while (total < Count) {
    ssize_t n =
        ::write(FHandle, static_cast<const uint8_t*>(Buffer) + total, static_cast<size_t>(Count - total));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    total += static_cast<int32_t>(n);
  }
  return total;
}

int64_t TFileStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  return SeekHandle(FHandle, Offset, Origin);
}

void TFileStream::SetSize(int64_t NewSize) {
  if (FMode == fmOpenReadShared || ::ftruncate(FHandle, static_cast<off_t>(NewSize)) != 0)
    throw EWriteError();
}

std::vector<uint8_t> ReadFileBytes(const std::string& FileName) {
  TFileStream file(FileName, fmOpenReadShared);
  int64_t size = file.Size();
  if (size > std::numeric_limits<int32_t>::max()) throw EReadError();
  std::vector<uint8_t> data(static_cast<size_t>(size));
  if (size > 0) file.ReadBuffer(data.data(), static_cast<int32_t>(size));
  return data;
}

void WriteFileBytes(const std::string& FileName, const void* Data, size_t Size) {
  WriteFileReplacing(FileName, Data, Size);
}
