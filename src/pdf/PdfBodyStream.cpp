#include "pdf/PdfBodyStream.h"

#include <algorithm>
#include <cstring>

template <class TStep> void TPdfBodyStream::Runs(int64_t From, int64_t To, TStep Step) const {
  for (int64_t at = From; at < To;) {
    size_t offset = static_cast<size_t>(at % ChunkSize);
    size_t n = std::min<size_t>(ChunkSize - offset, static_cast<size_t>(To - at));
    Step(FChunks[static_cast<size_t>(at / ChunkSize)].get() + offset, n);
    at += static_cast<int64_t>(n);
  }
}

void TPdfBodyStream::Reserve(int64_t End) {
  while (static_cast<int64_t>(FChunks.size() * ChunkSize) < End)
    FChunks.push_back(std::make_unique_for_overwrite<uint8_t[]>(ChunkSize));
}

int32_t TPdfBodyStream::Write(const void* Buffer, int32_t Count) {
  if (Count <= 0) return 0;
  int64_t end = FPosition + Count;
  Reserve(end);
  if (FPosition > FSize) SetSize(FPosition); // a gap after a seek past the end reads as zeros
  const uint8_t* source = static_cast<const uint8_t*>(Buffer);
  Runs(FPosition, end, [&](uint8_t* run, size_t n) {
    std::memcpy(run, source, n);
    source += n;
  });
  FPosition = end;
  FSize = std::max(FSize, end);
  return Count;
}

int32_t TPdfBodyStream::Read(void* Buffer, int32_t Count) {
  if (Count <= 0 || FPosition >= FSize) return 0;
  int64_t end = std::min<int64_t>(FSize, FPosition + Count);
  uint8_t* target = static_cast<uint8_t*>(Buffer);
  Runs(FPosition, end, [&](const uint8_t* run, size_t n) {
    std::memcpy(target, run, n);
    target += n;
  });
  int32_t read = static_cast<int32_t>(end - FPosition);
  FPosition = end;
  return read;
}

int64_t TPdfBodyStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  int64_t base = Origin == soBeginning ? 0 : Origin == soCurrent ? FPosition : FSize;
  FPosition = std::max<int64_t>(0, base + Offset);
  return FPosition;
}

void TPdfBodyStream::SetSize(int64_t NewSize) {
  NewSize = std::max<int64_t>(0, NewSize);
  if (NewSize > FSize) {
    Reserve(NewSize);
    Runs(FSize, NewSize, [](uint8_t* run, size_t n) { std::memset(run, 0, n); });
  } else {
    FChunks.resize(static_cast<size_t>((NewSize + ChunkSize - 1) / ChunkSize));
  }
  FSize = NewSize;
  FPosition = std::min(FPosition, FSize);
}

void TPdfBodyStream::ForEachRun(const std::function<void(const uint8_t*, size_t)>& Visit) const {
  Runs(0, FSize, [&](const uint8_t* run, size_t n) { Visit(run, n); });
}
