#include "ZVStream.h"

#include <cstring>
#include <mutex>
#include <unistd.h>

#include "platform/rtl/Exception.h"

namespace {
using Guard = std::lock_guard<TCriticalSection>;

constexpr int32_t SaveChunk = 10240;

void DeleteFile(const std::string& name) {
  if (!name.empty()) ::unlink(name.c_str());
}

// The signature test of HeaderSize: the four bytes are "EMF" followed by a zero byte.
bool SignatureAt(TStream& stream, int64_t offset) {
  char text[4];
  stream.SetPosition(offset);
  stream.ReadBuffer(text, 4);
  return std::memcmp(text, "EMF\0", 4) == 0;
}
} // namespace

TZVStream::TZVStream(int32_t MemoryLimit)
    : MemoryStream(std::make_unique<TMemoryStream>()), FInMemory(true), FMemoryLimit(MemoryLimit) {}

std::unique_ptr<TZVStream> TZVStream::CreateFromFile(const std::string& Filename) {
  std::unique_ptr<TZVStream> stream(new TZVStream());
  stream->FileStream = std::make_unique<TFileStream>(Filename, fmOpenReadShared);
  return stream;
}

TZVStream::~TZVStream() {
  Guard guard(FLock);
  MemoryStream.reset();
  FileStream.reset();
  DeleteFile(FFilename);
}

TStream& TZVStream::Live() {
  if (FInMemory) return *MemoryStream;
  return *FileStream;
}

int32_t TZVStream::Read(void* Buffer, int32_t Count) {
  Guard guard(FLock);
  return Live().Read(Buffer, Count);
}

int32_t TZVStream::Write(const void* Buffer, int32_t Count) {
  Guard guard(FLock);
  if (Count > 0 && Live().Position() + Count > MaxSize)
    throw EWriteError("Stream write error: a report cannot grow past " + std::to_string(MaxSize) + " bytes");
  if (!FInMemory) return FileStream->Write(Buffer, Count);
  int32_t written = MemoryStream->Write(Buffer, Count);
  if (MemoryStream->Size() > static_cast<int64_t>(FMemoryLimit)) MoveToFile();
  return written;
}

void TZVStream::MoveToFile() {
  std::string name = TempFileName();
  try {
    auto file = std::make_unique<TFileStream>(name, fmCreate);
    file->WriteBuffer(MemoryStream->Memory(), static_cast<int32_t>(MemoryStream->Size()));
    file->SetPosition(MemoryStream->Position());
    FileStream = std::move(file);
  } catch (...) {
    DeleteFile(name);
    throw;
  }
  FFilename = name;
  MemoryStream.reset();
  FInMemory = false;
}

int64_t TZVStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  Guard guard(FLock);
  return Live().Seek(Offset, Origin);
}

int64_t TZVStream::Size() {
  Guard guard(FLock);
  return Live().Size();
}

void TZVStream::SetSize(int64_t NewSize) {
  Guard guard(FLock);
  Live().SetSize(NewSize);
}

void TZVStream::SaveToStream(TStream& AStream) {
  Guard guard(FLock);
  const int64_t size = Size();
  SetPosition(0);
  std::unique_ptr<char[]> buffer(new char[SaveChunk]);
  int64_t copied = 0;
  int32_t n;
  do {
    n = Read(buffer.get(), SaveChunk);
    AStream.WriteBuffer(buffer.get(), n);
    copied += n;
  } while (n != 0);
  // A copy that ended early must not pass for the whole report.
  if (copied != size) throw EReadError();
}

int32_t TZVStream::HeaderSize() {
  Guard guard(FLock);
  const int64_t saved = Position();
  int32_t result = CurrentHeaderSize;
  try {
    if (SignatureAt(*this, 124 + 8 + 41))
      result = 124;
    else if (SignatureAt(*this, 128 + 8 + 41))
      result = 128;
  } catch (...) {
    SetPosition(saved);
    throw;
  }
  SetPosition(saved);
  return result;
}
