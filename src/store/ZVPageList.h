#pragma once
// TZVPageList: the pages of one report in a page stream, as a chain of page records behind a header;
// the stream is, byte for byte, the saved-report file.
//
//   header      120 bytes (124 or 128 in older files): page count, date, compression flag
//   record p    p (i32), offset of the next record (i32), payload, offset of this record (i32)
//   payload     plain: the page metafile itself; compressed: its length L (i32) and its page code
//
// Error policy: damaged files are fatal for the call that meets the damage. Loading checks the header
// (EReadError when it is cut short, EDamagedData for an impossible page count); GetPage checks every
// record it walks through and raises EDamagedData naming the page and offset when the chain is broken,
// EReadError when a page's code bytes end early, EInvalidGraphic when the page is no metafile. Nothing
// is read outside the stream and every walk ends.
//
// Threading: AddPage and GetPage hold the list's lock (then the stream's) for their whole run, so a
// producer may append while a reader reads. Finish, LoadFromFile, SaveToFile and the stream setters
// belong to phases in which no page operation runs.
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/metafile/Metafile.h"
#include "platform/rtl/Lock.h"
#include "store/ZVStream.h"

// One page record as the file holds it.
struct TZVPageRecord {
  int32_t Number = 0;
  int64_t Start = 0;      // offset of the record
  int64_t Next = 0;       // offset of the next record (the end of this one)
  int64_t PageLength = 0; // bytes of the page metafile (its length field when compressed, nBytes when plain)
  int64_t StoredLength() const { return Next - Start - 12; }
};

class TZVPageList {
 public:
  TZVPageList();
  ~TZVPageList();
  TZVPageList(const TZVPageList&) = delete;
  TZVPageList& operator=(const TZVPageList&) = delete;

  // Sets the page count to 0; the stream stays.
  void Clear();
  void LockList() { FLock.lock(); }
  void UnlockList() { FLock.unlock(); }

  // Appends the metafile (not taken over) as the next page. On failure the page count and the stream's
  // size are restored as far as the stream allows.
  void AddPage(const TMetafile& aMetafile);
  // A new metafile for page PageNumber (1-based) that the caller owns, or null outside 1..PageCount or
  // without a stream.
  std::unique_ptr<TMetafile> GetPage(int32_t PageNumber);
  // Rewrites the header with the final page count.
  void Finish();
  // Opens the file read-only as the stream and reads its header. On failure PageCount is 0.
  void LoadFromFile(const std::string& Filename);
  // Opens the file read-only, walks every page record from the first to the last and then reads the header
  // as LoadFromFile does. Where loading trusts the chain until a page is read, the walk checks each link and
  // raises EDamagedData with the first problem found, naming the record number and its offset: a header cut
  // short or with no pages, a record out of sequence, a next-record offset that is not the record's end, a
  // trailing offset that does not point back at the record's start, bytes after the last record. It reads
  // only the fields it checks, so memory stays flat whatever the size of the pages.
  std::vector<TZVPageRecord> LoadAndWalkFile(const std::string& Filename);
  // The same walk over a stream (taken over, as LoadFromStream does).
  std::vector<TZVPageRecord> LoadAndWalkStream(std::unique_ptr<TZVStream> aStream);
  // Takes the stream and reads its header, as LoadFromFile does with a file.
  void LoadFromStream(std::unique_ptr<TZVStream> aStream);
  // Copies the stream byte for byte into a new file. Refuses the file the report is open from; a save
  // that fails removes what it had written.
  void SaveToFile(const std::string& Filename);

  bool Compression() const { return FCompression; }
  void SetCompression(bool Value) { FCompression = Value; }
  int32_t PageCount() const { return FPageCount; }
  TZVStream* Stream() const { return FStream.get(); }
  // Installs (and owns) a stream, freeing the previous one.
  void SetStream(std::unique_ptr<TZVStream> aStream);
  std::unique_ptr<TZVStream> ReleaseStream();

  // The date written into the header, in days since 30 December 1899; unset means the local time of
  // writing. Fixing it makes written reports reproducible.
  void SetFixedDate(std::optional<double> DateTime) { FFixedDate = DateTime; }

 private:
  struct RecordHead {
    int64_t Start;
    int32_t Page;
    int64_t Next;
  };

  TZVStream& RequireStream();
  void ReadFileHeader();
  void WriteFileHeader();
  int64_t FirstRecord();
  int64_t LastRecord(int64_t size);
  RecordHead ReadRecordHead(int64_t start, int64_t size);
  RecordHead SeekToPage(int32_t PageNumber);
  void ReadPagePayload(const RecordHead& head, TMetafile& page);
  void ResetWalk();
  std::vector<TZVPageRecord> WalkRecords();

  TCriticalSection FLock;
  bool FCompression = false;
  std::atomic<int32_t> FPageCount{0};
  std::unique_ptr<TZVStream> FStream;
  std::optional<double> FFixedDate;

  int32_t FHeaderSize = 0; // known header length, 0 until read or written
  int64_t FCursor = -1;    // a record start where the last page read ended, -1 when unknown
  int32_t FCursorPage = 0; // the page expected at FCursor
};
