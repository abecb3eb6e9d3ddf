#pragma once
// TPdfBodyStream: the in-memory byte stream behind a PDF stream object's writer. It keeps its bytes in
// fixed 64 KiB chunks, so a growing page content is never copied to a larger block and its memory is
// released chunk by chunk when the body is written out.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/rtl/Stream.h"

class TPdfBodyStream : public TStream {
 public:
  int32_t Read(void* Buffer, int32_t Count) override;
  int32_t Write(const void* Buffer, int32_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  int64_t Size() override { return FSize; }
  // Truncates (zero-filling when it grows); shrinking to 0 releases all chunks.
  void SetSize(int64_t NewSize) override;

  // Calls Visit for each stored run of bytes in order.
  void ForEachRun(const std::function<void(const uint8_t*, size_t)>& Visit) const;

 private:
  static constexpr size_t ChunkSize = 64 * 1024;
  void Reserve(int64_t End);
  // Calls Step(bytes, count) for the runs of chunk memory that cover [From, To).
  template <class TStep> void Runs(int64_t From, int64_t To, TStep Step) const;

  std::vector<std::unique_ptr<uint8_t[]>> FChunks;
  int64_t FSize = 0;
  int64_t FPosition = 0;
};
