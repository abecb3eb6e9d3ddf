#pragma once
// TMetafile: one enhanced metafile (EMF) held as its bytes.
//
// Error policy: loading validates the header and length (EInvalidGraphic "Metafile is not valid", or
// EReadError "Stream read error" when the stream ends first). Enumeration walks the records in file order
// through bounds-checked views; a record whose size is below 8, not a multiple of 4 where that matters, or
// that runs past the end of the metafile ends the enumeration with EDamagedData naming its index and
// offset. Records are never read outside their own bytes.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/rtl/ByteView.h"
#include "platform/rtl/Stream.h"

struct TEmfRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
};
struct TEmfSize {
  int32_t cx = 0, cy = 0;
};

// The fields of the EMF header record (type 1) that callers use.
struct TEnhMetaHeader {
  TEmfRect rclBounds; // device units (pixels of the reference device), inclusive
  TEmfRect rclFrame;  // hundredths of a millimetre, inclusive
  uint32_t nVersion = 0;
  uint32_t nBytes = 0;   // total length of the metafile
  uint32_t nRecords = 0; // as recorded; real files are not always right about it
  uint16_t nHandles = 0; // size of the handle table, entry 0 included
  uint32_t nPalEntries = 0;
  TEmfSize szlDevice;      // reference device in pixels
  TEmfSize szlMillimeters; // reference device in millimetres
};

// One record during enumeration. Data covers the whole record, type and size included.
struct TEmfRecord {
  uint32_t Type = 0;
  uint32_t Size = 0;
  uint32_t Index = 0; // 0 for the header record
  size_t Offset = 0;  // from the start of the metafile
  ByteView Data;
};

class TMetafile {
 public:
  TMetafile() = default;

  // Reads one complete EMF at the stream's position, leaving the position right after it.
  void LoadFromStream(TStream& Stream);
  void LoadFromFile(const std::string& FileName);
  // Takes the bytes of a complete EMF (same validation as LoadFromStream; extra bytes are ignored).
  void LoadFromBytes(std::vector<uint8_t> Bytes);
  // Writes the EMF bytes unchanged (nBytes of them).
  void SaveToStream(TStream& Stream) const;
  void SaveToFile(const std::string& FileName) const;

  bool Empty() const { return FBytes.empty(); }
  // Pixel size from the header: MulDiv(frame extent, szlDevice, szlMillimeters * 100).
  int32_t Width() const;
  int32_t Height() const;
  const TEnhMetaHeader& Header() const { return FHeader; }
  const std::vector<uint8_t>& Bytes() const { return FBytes; }
  ByteView View() const { return ByteView(FBytes.data(), FBytes.size()); }

  // Calls Callback once per record in file order, starting with the header record; stops after the
  // EMR_EOF record, at the end of the data, or when Callback returns 0 (then the result is false).
  bool EnumerateRecords(const std::function<int(const TEmfRecord&)>& Callback) const;

 private:
  std::vector<uint8_t> FBytes;
  TEnhMetaHeader FHeader;
};
