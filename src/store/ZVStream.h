#pragma once
// TZVStream: the byte store of one report, the saved-report header followed by the chain of page records.
//
// A stream made with a memory limit starts in memory and moves itself, once and for good, into a temporary
// file ("ZVP....tmp") as soon as its size exceeds the limit; the file is deleted with the stream. A stream
// made by CreateFromFile is the saved file itself, opened read-only and shared; it is never written,
// truncated or deleted. Positions and sizes stay below 2^31: a write that would grow the stream past
// 2147483647 bytes is refused with EWriteError.
//
// Threading: every call takes the stream's re-entrant lock; callers bracket sequences (seek, then read)
// with LockStream / UnlockStream or a lock of their own.
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/rtl/Lock.h"
#include "platform/rtl/Stream.h"
#include "platform/rtl/TempFile.h"

class TZVStream : public TStream {
 public:
  static constexpr int64_t MaxSize = 2147483647;
  // The three header lengths a saved report may have.
  static constexpr int32_t CurrentHeaderSize = 120;

  explicit TZVStream(int32_t MemoryLimit);
  // Opens an existing file for reading (EFOpenError when it cannot be opened).
  static std::unique_ptr<TZVStream> CreateFromFile(const std::string& Filename);
  ~TZVStream() override;

  int32_t Read(void* Buffer, int32_t Count) override;
  // Raises EFCreateError / EWriteError when the move to a temporary file fails; the data then stays in
  // memory and the next write past the limit tries the move again.
  int32_t Write(const void* Buffer, int32_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  int64_t Size() override;
  void SetSize(int64_t NewSize) override;

  bool InMemory() const { return FInMemory; }
  // Path of the temporary file after the move; empty before it and for a stream made by CreateFromFile.
  const std::string& Filename() const { return FFilename; }
  void LockStream() { FLock.lock(); }
  void UnlockStream() { FLock.unlock(); }

  // Copies the whole content, from offset 0, to AStream's position in chunks of 10240 bytes, ending with
  // a write of zero bytes; leaves this stream's position at its end. Raises EWriteError on a short write.
  void SaveToStream(TStream& AStream);
  // 124 or 128 when the first page's metafile signature lies where an older header would put it, else
  // 120. The position is kept; EReadError when the stream ends before the bytes tested.
  int32_t HeaderSize();

 private:
  TZVStream() = default;
  TStream& Live();
  void MoveToFile();

  TCriticalSection FLock;
  std::unique_ptr<TMemoryStream> MemoryStream;
  std::string FFilename;
  std::unique_ptr<TFileStream> FileStream;
  std::atomic<bool> FInMemory{false}; // read without the lock by InMemory
  int32_t FMemoryLimit = 0;
};
