#include "ReplacingFile.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include "Exception.h"
#include "FileHandleIo.h"

namespace {

// The file a symbolic link names is the one replaced; the link stays a link.
std::string ResolveTarget(const std::string& Target) {
  std::error_code error;
  std::filesystem::path path = std::filesystem::weakly_canonical(Target, error);
  return error || path.empty() ? Target : path.string();
}

std::string FolderOf(const std::string& Path) {
  std::filesystem::path folder = std::filesystem::path(Path).parent_path();
  return folder.empty() ? std::string(".") : folder.string();
}

std::string TempNameFor(const std::string& Target, uint32_t salt) {
  static const char digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  std::string suffix;
  for (int i = 0; i < 8; ++i, salt /= 36)
    suffix += digits[salt % 36];
  std::filesystem::path path(Target);
  return (path.parent_path() / ("." + path.filename().string() + "." + suffix + ".part")).string();
}

} // namespace

TReplacingFileStream::TReplacingFileStream(const std::string& Target) : FTarget(ResolveTarget(Target)) {
  if (IsOpenForReading(FTarget))
    throw EFCreateError(Target, "The file is open in this program and cannot be replaced");
  struct stat st {};
  const bool exists = ::stat(FTarget.c_str(), &st) == 0;
  if (exists && !S_ISREG(st.st_mode))
    throw EFCreateError(Target, SysErrorMessage(S_ISDIR(st.st_mode) ? EISDIR : EINVAL));
  std::random_device random;
  for (int attempt = 0; attempt < 100 && FHandle < 0; ++attempt) {
    FTemp = TempNameFor(FTarget, random());
    FHandle = ::open(FTemp.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (FHandle < 0 && errno != EEXIST) throw EFCreateError(Target, SysErrorMessage(errno));
  }
  if (FHandle < 0) throw EFCreateError(Target, SysErrorMessage(EEXIST));
  // A replaced file keeps its permissions.
  if (exists) (void)::fchmod(FHandle, st.st_mode & 07777);
}

TReplacingFileStream::~TReplacingFileStream() {
  Discard();
}

void TReplacingFileStream::Discard() noexcept {
  if (FHandle >= 0) ::close(FHandle);
  FHandle = -1;
  if (!FTemp.empty()) ::unlink(FTemp.c_str());
  FTemp.clear();
}

int32_t TReplacingFileStream::Read(void* Buffer, int32_t Count) {
  return FHandle < 0 ? 0 : ReadHandle(FHandle, Buffer, Count);
}

int32_t TReplacingFileStream::Write(const void* Buffer, int32_t Count) {
  if (Count <= 0) return 0;
  if (FHandle < 0) throw EWriteError();
  int32_t total = 0;
  while (total < Count) {
    ssize_t n =
        ::write(FHandle, static_cast<const uint8_t*>(Buffer) + total, static_cast<size_t>(Count - total));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw EWriteError("Stream write error: " + SysErrorMessage(errno));
    if (n == 0) throw EWriteError();
    total += static_cast<int32_t>(n);
  }
  return total;
}

int64_t TReplacingFileStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  return FHandle < 0 ? 0 : SeekHandle(FHandle, Offset, Origin);
}

void TReplacingFileStream::SetSize(int64_t NewSize) {
  if (FHandle < 0 || ::ftruncate(FHandle, static_cast<off_t>(NewSize)) != 0) throw EWriteError();
}

void TReplacingFileStream::Commit() {
  if (FHandle < 0) throw EWriteError();
  try {
    if (::fsync(FHandle) != 0) throw EWriteError("Stream write error: " + SysErrorMessage(errno));
    const int handle = FHandle;
    FHandle = -1;
    if (::close(handle) != 0) throw EWriteError("Stream write error: " + SysErrorMessage(errno));
    if (::rename(FTemp.c_str(), FTarget.c_str()) != 0) throw EFCreateError(FTarget, SysErrorMessage(errno));
  } catch (...) {
    Discard();
    throw;
  }
  FTemp.clear();
  // The new name must survive a crash too.
  const int folder = ::open(FolderOf(FTarget).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    (void)::fsync(folder);
    ::close(folder);
  }
}

void WriteFileReplacing(const std::string& FileName, const void* Data, size_t Size) {
  TReplacingFileStream file(FileName);
  const uint8_t* p = static_cast<const uint8_t*>(Data);
  while (Size > 0) {
    const int32_t n = static_cast<int32_t>(std::min<size_t>(Size, 1 << 30));
    file.WriteBuffer(p, n);
    p += n;
    Size -= static_cast<size_t>(n);
  }
  file.Commit();
}
