#pragma once
// The host's stream classes: an abstract random-access byte stream, a growable memory stream and a file
// stream. Counts passed to Read and Write are 32-bit, positions and sizes 64-bit.
#include <cstdint>
#include <string>
#include <vector>

enum TSeekOrigin : uint16_t { soBeginning = 0, soCurrent = 1, soEnd = 2 };

class TStream {
 public:
  virtual ~TStream() = default;
  TStream() = default;
  TStream(const TStream&) = delete;
  TStream& operator=(const TStream&) = delete;

  // Reads up to Count bytes at the position; returns how many were read (0 at the end).
  virtual int32_t Read(void* Buffer, int32_t Count) = 0;
  // Writes Count bytes at the position, growing the stream; returns how many were written.
  virtual int32_t Write(const void* Buffer, int32_t Count) = 0;
  // Moves the position and returns the new one.
  virtual int64_t Seek(int64_t Offset, TSeekOrigin Origin) = 0;

  int64_t Position() { return Seek(0, soCurrent); }
  void SetPosition(int64_t value) { Seek(value, soBeginning); }
  virtual int64_t Size();
  // Truncates or extends; streams that cannot change their size raise EWriteError.
  virtual void SetSize(int64_t NewSize);

  // Exactly Count bytes or EReadError / EWriteError.
  void ReadBuffer(void* Buffer, int32_t Count);
  void WriteBuffer(const void* Buffer, int32_t Count);
  // Copies Count bytes from Source's position; Count 0 copies the whole of Source from its start.
  // Returns the number of bytes copied.
  int64_t CopyFrom(TStream& Source, int64_t Count);
};

class TMemoryStream : public TStream {
 public:
  int32_t Read(void* Buffer, int32_t Count) override;
  int32_t Write(const void* Buffer, int32_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  int64_t Size() override { return static_cast<int64_t>(FData.size()); }
  void SetSize(int64_t NewSize) override;
  void Clear();

  const uint8_t* Memory() const { return FData.data(); }
  uint8_t* Memory() { return FData.data(); }
  const std::vector<uint8_t>& Bytes() const { return FData; }

  void LoadFromStream(TStream& Source);
  void SaveToStream(TStream& Target);

 private:
  std::vector<uint8_t> FData;
  int64_t FPosition = 0;
};

// File open modes: read-only with sharing for everyone, or create (truncate) for reading and writing.
enum TFileMode { fmOpenReadShared, fmCreate };

class TFileStream : public TStream {
 public:
  // Raises EFOpenError or EFCreateError with the system's reason. Creating a file that a TFileStream of
  // this process holds open for reading is refused, so an open report can never be overwritten.
  TFileStream(const std::string& FileName, TFileMode Mode);
  ~TFileStream() override;

  // A read the system fails raises EReadError: it is not the end of the file.
  int32_t Read(void* Buffer, int32_t Count) override;
  int32_t Write(const void* Buffer, int32_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  void SetSize(int64_t NewSize) override;

  const std::string& FileName() const { return FFileName; }

 private:
  std::string FFileName;
  int FHandle = -1;
  TFileMode FMode;
  uint64_t FDevice = 0, FInode = 0;
};

// Reads a whole file into memory (raises EFOpenError / EReadError).
std::vector<uint8_t> ReadFileBytes(const std::string& FileName);
// True when a TFileStream of this process holds the file open for reading.
bool IsOpenForReading(const std::string& FileName);
// Writes bytes to a file through a temporary name beside it, replaced only when complete (checked
// writes, fsync); on failure the file stays as it was.
void WriteFileBytes(const std::string& FileName, const void* Data, size_t Size);
