#include "Metafile.h"

#include <limits>
#include <utility>

#include "EmfRecordTypes.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/MathUtil.h"

namespace {
using emf::EMR_EOF;
using emf::EMR_HEADER;
using emf::ENHMETA_SIGNATURE;
constexpr size_t HeaderBytes = 108;
constexpr size_t SignatureOffset = 40;
constexpr size_t NBytesOffset = 48;

bool IsEmfHeader(ByteView head) {
  return head.size() >= HeaderBytes + 1 && head.U32(0) == EMR_HEADER &&
         head.U32(SignatureOffset) == ENHMETA_SIGNATURE;
}

TEmfRect ReadRect(ByteView v, size_t at) {
  return {v.I32(at), v.I32(at + 4), v.I32(at + 8), v.I32(at + 12)};
}
TEmfSize ReadSize(ByteView v, size_t at) {
  return {v.I32(at), v.I32(at + 4)};
}

TEnhMetaHeader ParseHeader(ByteView v) {
  TEnhMetaHeader h;
  h.rclBounds = ReadRect(v, 8);
  h.rclFrame = ReadRect(v, 24);
  h.nVersion = v.U32(44);
  h.nBytes = v.U32(48);
  h.nRecords = v.U32(52);
  h.nHandles = v.U16(56);
  h.nPalEntries = v.U32(68);
  h.szlDevice = ReadSize(v, 72);
  h.szlMillimeters = ReadSize(v, 80);
  return h;
}

// nBytes as a length we accept: the header itself at least, and within 32-bit stream counts.
uint32_t CheckedLength(uint32_t nBytes) {
  if (nBytes < HeaderBytes || nBytes > static_cast<uint32_t>(std::numeric_limits<int32_t>::max()))
    throw EInvalidGraphic();
  return nBytes;
}

// Differences and products of header fields wrap like the host's 32-bit integer arithmetic; damaged
// headers must give a number, not undefined behaviour.
int32_t Wrap(int64_t value) {
  return static_cast<int32_t>(static_cast<uint32_t>(value));
}

int32_t PixelExtent(int32_t low, int32_t high, int32_t devicePixels, int32_t deviceMillimetres) {
  return MulDiv(Wrap(int64_t(high) - low), devicePixels, Wrap(int64_t(deviceMillimetres) * 100));
}

std::string RecordPlace(uint32_t index, size_t offset) {
  return "Metafile record " + std::to_string(index) + " at offset " + std::to_string(offset);
}
} // namespace

void TMetafile::LoadFromStream(TStream& Stream) {
  const int64_t remaining = Stream.Size() - Stream.Position();
  // Fewer bytes than a header plus one cannot be an EMF; other metafile kinds are not supported.
  if (remaining < static_cast<int64_t>(HeaderBytes + 1)) throw EInvalidGraphic();
  std::vector<uint8_t> bytes(HeaderBytes);
  Stream.ReadBuffer(bytes.data(), HeaderBytes);
  ByteView head(bytes.data(), bytes.size());
  if (head.U32(0) != EMR_HEADER || head.U32(SignatureOffset) != ENHMETA_SIGNATURE) throw EInvalidGraphic();
  const uint32_t length = CheckedLength(head.U32(NBytesOffset));
  // Never allocate more than the stream can still supply.
  if (static_cast<int64_t>(length) > remaining) throw EReadError();
  bytes.resize(length);
  Stream.ReadBuffer(bytes.data() + HeaderBytes, static_cast<int32_t>(length - HeaderBytes));
  FHeader = ParseHeader(ByteView(bytes.data(), bytes.size()));
  FBytes = std::move(bytes);
}

void TMetafile::LoadFromFile(const std::string& FileName) {
  TFileStream file(FileName, fmOpenReadShared);
  LoadFromStream(file);
}

void TMetafile::LoadFromBytes(std::vector<uint8_t> Bytes) {
  ByteView all(Bytes.data(), Bytes.size());
  if (!IsEmfHeader(all)) throw EInvalidGraphic();
  const uint32_t length = CheckedLength(all.U32(NBytesOffset));
  if (length > Bytes.size()) throw EReadError();
  Bytes.resize(length);
  FHeader = ParseHeader(ByteView(Bytes.data(), Bytes.size()));
  FBytes = std::move(Bytes);
}

void TMetafile::SaveToStream(TStream& Stream) const {
  Stream.WriteBuffer(FBytes.data(), static_cast<int32_t>(FBytes.size()));
}

void TMetafile::SaveToFile(const std::string& FileName) const {
  WriteFileBytes(FileName, FBytes.data(), FBytes.size());
}

int32_t TMetafile::Width() const {
  return PixelExtent(FHeader.rclFrame.left, FHeader.rclFrame.right, FHeader.szlDevice.cx,
                     FHeader.szlMillimeters.cx);
}

int32_t TMetafile::Height() const {
  return PixelExtent(FHeader.rclFrame.top, FHeader.rclFrame.bottom, FHeader.szlDevice.cy,
                     FHeader.szlMillimeters.cy);
}

bool TMetafile::EnumerateRecords(const std::function<int(const TEmfRecord&)>& Callback) const {
  const ByteView all = View();
  size_t offset = 0;
  for (uint32_t index = 0; offset < all.size(); ++index) {
    if (!all.Has(offset, 8))
      throw EDamagedData(RecordPlace(index, offset) +
                         " is cut short: " + std::to_string(all.size() - offset) + " bytes left, 8 needed");
    TEmfRecord record;
    record.Type = all.U32(offset);
    record.Size = all.U32(offset + 4);
    record.Index = index;
    record.Offset = offset;
    if (record.Size < 8)
      throw EDamagedData(RecordPlace(index, offset) + " has the size " + std::to_string(record.Size) +
                         ", less than 8");
    if (!all.Has(offset, record.Size))
      throw EDamagedData(RecordPlace(index, offset) + " of " + std::to_string(record.Size) +
                         " bytes runs past the end of the metafile (" + std::to_string(all.size()) +
                         " bytes)");
    record.Data = all.Sub(offset, record.Size);
    if (Callback(record) == 0) return false;
    if (record.Type == EMR_EOF) break; // what follows the end record is not part of the picture
    offset += record.Size;
  }
  return true;
}
