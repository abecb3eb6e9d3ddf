#include "ZVPageList.h"

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <limits>
#include <mutex>
#include <vector>

#include "platform/rtl/ByteView.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/ReplacingFile.h"
#include "store/ZVCompress.h"

namespace {
using Guard = std::lock_guard<TCriticalSection>;

constexpr uint16_t HeaderTag = 3;
constexpr uint16_t HeaderVersion = 308;
constexpr int64_t RecordOverhead = 12; // page number, next offset, own offset
// The smallest record a readable page can take: a metafile has at least 108 bytes, and coded each of
// them costs at least one bit.
constexpr int64_t MinPlainRecord = RecordOverhead + 108;
constexpr int64_t MinCompressedRecord = RecordOverhead + 4 + 108 / 8;

void WriteI32(TStream& s, int64_t value) {
  int32_t v = static_cast<int32_t>(value);
  s.WriteBuffer(&v, 4);
}

int32_t ReadI32(TStream& s) {
  int32_t v;
  s.ReadBuffer(&v, 4);
  return v;
}

// Local date and time as days since 30 December 1899.
double Now() {
  std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  return 25569.0 + (static_cast<double>(t) + static_cast<double>(local.tm_gmtoff)) / 86400.0;
}

std::string At(int64_t offset) {
  return "offset " + std::to_string(offset);
}

[[noreturn]] void Damaged(const std::string& what) {
  throw EDamagedData("Damaged report: " + what);
}

std::string RecordAt(int64_t start) {
  return "the page record at " + At(start);
}
std::string PageAt(int32_t page, int64_t start) {
  return "the record of page " + std::to_string(page) + " at " + At(start);
}
} // namespace

TZVPageList::TZVPageList() = default;
TZVPageList::~TZVPageList() = default;

void TZVPageList::Clear() {
  FPageCount = 0;
  ResetWalk();
}

void TZVPageList::ResetWalk() {
  FCursor = -1;
  FCursorPage = 0;
}

void TZVPageList::SetStream(std::unique_ptr<TZVStream> aStream) {
  FStream = std::move(aStream);
  FHeaderSize = 0;
  ResetWalk();
}

std::unique_ptr<TZVStream> TZVPageList::ReleaseStream() {
  FHeaderSize = 0;
  ResetWalk();
  return std::move(FStream);
}

TZVStream& TZVPageList::RequireStream() {
  if (!FStream) throw Exception("The report has no page stream");
  return *FStream;
}

// ---- header ----

void TZVPageList::WriteFileHeader() {
  TZVStream& s = RequireStream();
  uint8_t header[TZVStream::CurrentHeaderSize] = {};
  const int32_t count = FPageCount;
  const double date = FFixedDate ? *FFixedDate : Now();
  std::memcpy(header + 0, &HeaderTag, 2);
  std::memcpy(header + 2, &HeaderVersion, 2);
  std::memcpy(header + 5, &count, 4);
  std::memcpy(header + 9, &date, 8);
  header[18] = FCompression ? 1 : 0;
  s.SetPosition(0);
  s.WriteBuffer(header, sizeof header);
  FHeaderSize = TZVStream::CurrentHeaderSize;
}

void TZVPageList::ReadFileHeader() {
  TZVStream& s = RequireStream();
  s.SetPosition(0);
  const int32_t size = s.HeaderSize();
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  s.ReadBuffer(bytes.data(), size);
  const ByteView header(bytes.data(), bytes.size());
  const bool current = size == TZVStream::CurrentHeaderSize;
  // Older headers are recognised only with a plain first page, so they never mean compression.
  const int32_t count = current ? header.I32(5) : header.I32(8);
  const bool compression = current && header.U8(18) != 0;
  if (count < 0) Damaged("the header gives a negative page count (" + std::to_string(count) + ")");
  const int64_t room = s.Size() - size;
  if (count > room / (compression ? MinCompressedRecord : MinPlainRecord))
    Damaged("the header gives " + std::to_string(count) + " pages, more than its " + std::to_string(room) +
            " bytes of page records can hold");
  FHeaderSize = size;
  FCompression = compression;
  FPageCount = count;
  ResetWalk();
}

void TZVPageList::Finish() {
  WriteFileHeader();
}

// ---- loading and saving ----

void TZVPageList::LoadFromFile(const std::string& Filename) {
  SetStream(nullptr);
  FPageCount = 0;
  LoadFromStream(TZVStream::CreateFromFile(Filename));
}

void TZVPageList::LoadFromStream(std::unique_ptr<TZVStream> aStream) {
  FPageCount = 0;
  SetStream(std::move(aStream));
  ReadFileHeader();
}

void TZVPageList::SaveToFile(const std::string& Filename) {
  TZVStream& s = RequireStream();
  std::error_code ignored;
  // Our own temporary file is open for writing, so the platform's guard does not see it.
  if (!s.Filename().empty() && std::filesystem::equivalent(s.Filename(), Filename, ignored))
    throw EFCreateError(Filename, "The file is open in this program and cannot be replaced");
  // The open report is refused too; a failed copy leaves an existing target exactly as it was.
  TReplacingFileStream file(Filename);
  s.SaveToStream(file);
  file.Commit();
}

// ---- appending ----

void TZVPageList::AddPage(const TMetafile& aMetafile) {
  Guard guard(FLock);
  TZVStream& s = RequireStream();
  if (aMetafile.Empty()) throw EInvalidGraphic();
  const int32_t previousCount = FPageCount;
  const int64_t previousSize = s.Size();
  const int32_t page = previousCount + 1;
  try {
    FPageCount = page;
    if (page == 1) WriteFileHeader();
    const int64_t start = s.Seek(0, soEnd);
    const int64_t nextField = start + 4;
    WriteI32(s, page);
    WriteI32(s, nextField); // placeholder until the record's end is known
    if (FCompression) {
      const std::vector<uint8_t>& bytes = aMetafile.Bytes();
      WriteI32(s, static_cast<int64_t>(bytes.size()));
      TZVCompress encoder(s, true);
      for (uint8_t b : bytes)
        encoder.Compress(b);
      encoder.Flush();
    } else {
      aMetafile.SaveToStream(s);
    }
    WriteI32(s, start);
    const int64_t end = s.Position();
    s.SetPosition(nextField);
    WriteI32(s, end);
    s.SetPosition(end);
  } catch (...) {
    FPageCount = previousCount;
    try {
      s.SetSize(previousSize);
      s.SetPosition(previousSize);
    } catch (...) {
      // The stream refuses even that; the page count already hides the partial record.
    }
    throw;
  }
}

// ---- finding and reading pages ----

int64_t TZVPageList::FirstRecord() {
  if (FHeaderSize == 0) FHeaderSize = RequireStream().HeaderSize();
  return FHeaderSize;
}

int64_t TZVPageList::LastRecord(int64_t size) {
  if (size < FirstRecord() + RecordOverhead) Damaged("the file holds no page records");
  FStream->SetPosition(size - 4);
  return ReadI32(*FStream);
}

TZVPageList::RecordHead TZVPageList::ReadRecordHead(int64_t start, int64_t size) {
  if (start < FirstRecord() || start > size - RecordOverhead)
    Damaged("a page record is expected at " + At(start) + ", outside the page records of the " +
            std::to_string(size) + "-byte file");
  FStream->SetPosition(start);
  int32_t fields[2];
  FStream->ReadBuffer(fields, sizeof fields);
  RecordHead head{start, fields[0], fields[1]};
  if (head.Next > size)
    Damaged(RecordAt(start) + " is cut short: it ends at " + At(head.Next) + ", past the end of the " +
            std::to_string(size) + "-byte file");
  if (head.Next < start + RecordOverhead)
    Damaged(RecordAt(start) + " gives an impossible next-record " + At(head.Next));
  return head;
}

// Walks the chain to record n. The walk starts at whichever of the first record, the last record and
// the record after the last page read is nearest to n by page number; it then moves in one direction
// only. Every step checks the record it reaches and positions strictly advance, so a damaged chain ends
// in EDamagedData instead of a loop or a read outside the file.
TZVPageList::RecordHead TZVPageList::SeekToPage(int32_t n) {
  TZVStream& s = *FStream;
  const int64_t size = s.Size();
  const int64_t first = FirstRecord();
  const int64_t fromFirst = int64_t(n) - 1;
  const int64_t fromLast = int64_t(FPageCount) - n;
  const int64_t fromCursor =
      FCursor >= 0 ? std::abs(int64_t(n) - FCursorPage) : std::numeric_limits<int64_t>::max();
  int64_t start;
  if (fromFirst <= fromLast && fromFirst <= fromCursor)
    start = first;
  else if (fromCursor < fromLast)
    start = FCursor;
  else
    start = LastRecord(size);

  RecordHead head = ReadRecordHead(start, size);
  const bool forward = head.Page < n;
  while (head.Page != n) {
    const auto missing = [&] {
      Damaged("page " + std::to_string(n) + " is missing from the page chain (the walk stopped at page " +
              std::to_string(head.Page) + ", " + At(head.Start) + ")");
    };
    int64_t next;
    if (forward) {
      if (head.Next == size) missing();
      next = head.Next;
    } else {
      if (head.Start == first) missing();
      s.SetPosition(head.Start - 4);
      next = ReadI32(s);
    }
    RecordHead reached = ReadRecordHead(next, size);
    if (!forward && reached.Next != head.Start)
      Damaged(RecordAt(head.Start) + " names " + At(next) + " as the record before it, which names " +
              At(reached.Next) + " as its next");
    if (reached.Page != n && (reached.Page < n) != forward) {
      head = reached;
      missing();
    }
    head = reached;
  }
  return head;
}

void TZVPageList::ReadPagePayload(const RecordHead& head, TMetafile& page) {
  TZVStream& s = *FStream;
  const int64_t payloadStart = head.Start + 8;
  const int64_t payloadEnd = head.Next - 4;
  s.SetPosition(payloadStart);
  if (FCompression) {
    const int64_t codeBytes = payloadEnd - payloadStart - 4;
    if (codeBytes < 0) Damaged(PageAt(head.Page, head.Start) + " is too short for a compressed page");
    const int32_t length = ReadI32(s);
    if (length < 0)
      Damaged(PageAt(head.Page, head.Start) + " gives a negative page length (" + std::to_string(length) +
              ")");
    // Every byte of the page costs at least one code bit: more bytes than that means the code ends early.
    if (length > codeBytes * 8) throw EReadError();
    std::vector<uint8_t> bytes(static_cast<size_t>(length));
    TZVCompress decoder(s, false);
    decoder.SetInputLimit(codeBytes);
    for (uint8_t& b : bytes)
      decoder.Expand(b);
    decoder.Flush();
    if (decoder.BytesConsumed() != codeBytes)
      Damaged(PageAt(head.Page, head.Start) + " holds " + std::to_string(codeBytes) +
              " code bytes, but its page used " + std::to_string(decoder.BytesConsumed()));
    page.LoadFromBytes(std::move(bytes));
  } else {
    page.LoadFromStream(s);
    if (s.Position() != payloadEnd)
      Damaged(PageAt(head.Page, head.Start) + " has room for " + std::to_string(payloadEnd - payloadStart) +
              " bytes, but its metafile has " + std::to_string(page.Bytes().size()));
  }
  const int32_t own = ReadI32(s);
  if (own != head.Start)
    Damaged(PageAt(head.Page, head.Start) + " ends with the offset " + std::to_string(own) +
            " instead of its own");
}

std::unique_ptr<TMetafile> TZVPageList::GetPage(int32_t PageNumber) {
  if (PageNumber < 1 || PageNumber > FPageCount) return nullptr;
  Guard guard(FLock);
  if (!FStream) return nullptr;
  const RecordHead head = SeekToPage(PageNumber);
  auto page = std::make_unique<TMetafile>();
  ReadPagePayload(head, *page);
  FCursor = head.Next;
  FCursorPage = PageNumber + 1;
  return page;
}
