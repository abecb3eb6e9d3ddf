// The checking walk of a whole report, for `zvptool check` and `info`: every record from the first to the
// last, each link checked, reading only the fields it checks.
#include <string>

#include "ZVPageList.h"
#include "platform/rtl/ByteView.h"
#include "platform/rtl/Exception.h"

namespace {
constexpr int64_t RecordOverhead = 12; // page number, next offset, own offset
constexpr int64_t EmfHeaderSize = 108;
constexpr int64_t NBytesOffset = 48; // of the metafile header
// The older header lengths are told by a signature whose last byte lies at 180.
constexpr int64_t OlderHeaderProbeEnd = 128 + 8 + 41 + 4;

// Fields read through the stream a few bytes at a time, each through a bounds-checked view.
class TStreamFields {
 public:
  explicit TStreamFields(TStream& stream) : FStream(stream), FSize(stream.Size()) {}
  int64_t Size() const { return FSize; }
  bool Has(int64_t offset, int64_t length) const {
    return offset >= 0 && length >= 0 && offset <= FSize && length <= FSize - offset;
  }
  uint8_t U8(int64_t offset) { return Piece(offset, 1).U8(0); }
  int32_t I32(int64_t offset) { return Piece(offset, 4).I32(0); }
  uint32_t U32(int64_t offset) { return Piece(offset, 4).U32(0); }

 private:
  ByteView Piece(int64_t offset, int32_t length) {
    if (!Has(offset, length))
      throw EDamagedData("Data ends early: " + std::to_string(length) + " bytes needed at offset " +
                         std::to_string(offset) + " of " + std::to_string(FSize));
    FStream.SetPosition(offset);
    FStream.ReadBuffer(FBuffer, length);
    return ByteView(FBuffer, static_cast<size_t>(length));
  }

  TStream& FStream;
  int64_t FSize;
  uint8_t FBuffer[4];
};

[[noreturn]] void Damaged(const std::string& message) {
  throw EDamagedData(message);
}

std::string At(int32_t number, int64_t start) {
  return "record " + std::to_string(number) + " at offset " + std::to_string(start);
}
} // namespace

std::vector<TZVPageRecord> TZVPageList::LoadAndWalkFile(const std::string& Filename) {
  SetStream(nullptr);
  FPageCount = 0;
  return LoadAndWalkStream(TZVStream::CreateFromFile(Filename));
}

std::vector<TZVPageRecord> TZVPageList::LoadAndWalkStream(std::unique_ptr<TZVStream> aStream) {
  FPageCount = 0;
  SetStream(std::move(aStream));
  std::vector<TZVPageRecord> records = WalkRecords();
  ReadFileHeader();
  return records;
}

std::vector<TZVPageRecord> TZVPageList::WalkRecords() {
  TZVStream& stream = RequireStream();
  TStreamFields file(stream);
  const int64_t size = file.Size();
  if (size < TZVStream::CurrentHeaderSize)
    Damaged("header: the file has " + std::to_string(size) + " bytes, fewer than a report header needs (" +
            std::to_string(TZVStream::CurrentHeaderSize) + ")");
  const int32_t headerSize = size >= OlderHeaderProbeEnd ? stream.HeaderSize() : TZVStream::CurrentHeaderSize;
  const bool current = headerSize == TZVStream::CurrentHeaderSize;
  const int32_t pageCount = current ? file.I32(5) : file.I32(8);
  const bool compression = current && file.U8(18) != 0;
  if (pageCount < 1)
    Damaged("header: the page count is " + std::to_string(pageCount) + "; a report has at least one page");

  std::vector<TZVPageRecord> records;
  int64_t start = headerSize;
  for (int32_t number = 1; number <= pageCount; number++) {
    const std::string at = At(number, start);
    if (!file.Has(start, RecordOverhead + 4))
      Damaged(at + ": the file ends at offset " + std::to_string(size) + " before the record does");
    TZVPageRecord r;
    r.Number = file.I32(start);
    r.Start = start;
    r.Next = file.I32(start + 4);
    if (r.Number != number) Damaged(at + ": it holds the page number " + std::to_string(r.Number));
    if (r.Next < start + RecordOverhead + 4 || r.Next > size)
      Damaged(at + ": the next-record offset " + std::to_string(r.Next) +
              " lies outside the record's room (" + std::to_string(start + RecordOverhead + 4) + " to " +
              std::to_string(size) + ")");
    if (compression) {
      r.PageLength = file.I32(start + 8);
      if (r.PageLength < EmfHeaderSize)
        Damaged(at + ": the page length " + std::to_string(r.PageLength) + " is too small for a metafile");
    } else {
      if (!file.Has(start + 8, EmfHeaderSize))
        Damaged(at + ": the file ends before the page's metafile header");
      r.PageLength = file.U32(start + 8 + NBytesOffset);
      const int64_t end = start + 8 + r.PageLength + 4;
      if (r.Next != end)
        Damaged(at + ": the next-record offset " + std::to_string(r.Next) + " is not the record's end " +
                std::to_string(end) + " (a page metafile of " + std::to_string(r.PageLength) + " bytes)");
    }
    const int32_t trailing = file.I32(r.Next - 4);
    if (trailing != start)
      Damaged(at + ": the trailing offset " + std::to_string(trailing) +
              " does not point at the record's start");
    records.push_back(r);
    start = r.Next;
  }
  // With nothing after the last record, the last four bytes are its trailing offset, checked above.
  if (start != size)
    Damaged("the last record (" + std::to_string(pageCount) + ") ends at offset " + std::to_string(start) +
            ", but the file has " + std::to_string(size) + " bytes");
  return records;
}
