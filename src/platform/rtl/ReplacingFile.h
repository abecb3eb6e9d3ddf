#pragma once
// A file written under a temporary name in its target's folder and renamed over the target only when
// complete, so a failed save leaves the old file exactly as it was and nothing half-written behind.
//
// Every write is checked (EWriteError with the system's reason); Commit flushes the data to disk,
// checks the close and renames. Destroying the object without Commit removes the temporary file.
#include <cstddef>
#include <string>

#include "Stream.h"

class TReplacingFileStream : public TStream {
 public:
  // Raises EFCreateError when the target is a file this process has open for reading, is not a regular
  // file, or the temporary file cannot be made.
  explicit TReplacingFileStream(const std::string& Target);
  ~TReplacingFileStream() override;

  int32_t Read(void* Buffer, int32_t Count) override;
  // Writes all of Buffer or raises EWriteError.
  int32_t Write(const void* Buffer, int32_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  void SetSize(int64_t NewSize) override;

  // Puts the written bytes in place of the target; raises on any failure, leaving the target untouched.
  void Commit();

  const std::string& Target() const { return FTarget; }
  const std::string& TempName() const { return FTemp; }

 private:
  void Discard() noexcept;

  std::string FTarget; // the path renamed over (a symbolic link is followed to the file it names)
  std::string FTemp;
  int FHandle = -1;
};

// Writes Size bytes to FileName through a TReplacingFileStream.
void WriteFileReplacing(const std::string& FileName, const void* Data, size_t Size);
