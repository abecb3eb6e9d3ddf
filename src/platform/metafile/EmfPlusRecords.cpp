#include "EmfPlusRecords.h"

namespace emfplus {

namespace {
// "EMF+" as the comment's first data word.
constexpr uint32_t kSignature = 0x2B464D45;
// A comment record: type, size, data size, then the data.
constexpr size_t kCommentData = 12;
constexpr size_t kRecordHeader = 12;
constexpr size_t kMaxFamilyName = 32;

ByteView Fixed(ByteView data, size_t size, const char* what) {
  if (!data.Has(0, size))
    throw EDamagedData(std::string(what) + " record of " + std::to_string(data.size()) +
                       " bytes is shorter than its " + std::to_string(size) + " fixed bytes");
  return data;
}
} // namespace

bool IsEmfPlusComment(ByteView comment) {
  return comment.Has(0, kCommentData + 4) && comment.U32(0) == emf::EMR_GDICOMMENT &&
         comment.U32(kCommentData) == kSignature;
}

void ForEachEmfPlusRecord(ByteView comment, const std::function<void(const TPlusRecord&)>& visit) {
  if (!IsEmfPlusComment(comment)) return;
  // The comment's own data size bounds the records (the record may be padded past it).
  const uint64_t dataSize = comment.U32(8);
  if (dataSize < 4 || dataSize > comment.size() - kCommentData)
    throw EDamagedData("EMF+ comment claims " + std::to_string(dataSize) + " bytes in a record of " +
                       std::to_string(comment.size()));
  const ByteView records = comment.Sub(kCommentData + 4, static_cast<size_t>(dataSize) - 4);
  size_t offset = 0;
  while (records.Has(offset, kRecordHeader)) {
    const uint32_t size = records.U32(offset + 4), dataBytes = records.U32(offset + 8);
    if (size < kRecordHeader || !records.Has(offset, size) || dataBytes > size - kRecordHeader)
      throw EDamagedData("EMF+ record of " + std::to_string(size) +
                         " bytes does not fit its comment at offset " + std::to_string(offset));
    visit({records.U16(offset), records.U16(offset + 2), records.Sub(offset + kRecordHeader, dataBytes)});
    offset += size;
  }
}

Matrix ReadMatrix(ByteView data, size_t offset) {
  data.Check(offset, 24);
  return {data.F32(offset),      data.F32(offset + 4),  data.F32(offset + 8),
          data.F32(offset + 12), data.F32(offset + 16), data.F32(offset + 20)};
}

void ReadPoints(ByteView data, size_t offset, uint32_t count, bool compressed, std::vector<PointF>& out) {
  const ByteView at = CheckedArray(data, offset, count, compressed ? 4 : 8, "EMF+ points");
  out.resize(count);
  for (uint32_t i = 0; i < count; ++i)
    out[i] = compressed ? PointF{static_cast<float>(at.I16(4 * i)), static_cast<float>(at.I16(4 * i + 2))}
                        : PointF{at.F32(8 * i), at.F32(8 * i + 4)};
}

RectF ReadRect(ByteView data, size_t offset, bool compressed) {
  if (compressed)
    return {static_cast<float>(data.I16(offset)), static_cast<float>(data.I16(offset + 2)),
            static_cast<float>(data.I16(offset + 4)), static_cast<float>(data.I16(offset + 6))};
  return {data.F32(offset), data.F32(offset + 4), data.F32(offset + 8), data.F32(offset + 12)};
}

PathView::PathView(ByteView body) : FData(Fixed(body, 12, "EMF+ path")) {
  if (FData.U32(8) & (FlagRelative | 0x1000))
    throw EDamagedData("EMF+ path with relative points or packed types");
}

void PathView::Points(std::vector<PointF>& out) const {
  ReadPoints(FData, 12, Count(), FData.U32(8) & FlagCompressed, out);
}

Span<uint8_t> PathView::Types() const {
  const uint64_t at = 12 + static_cast<uint64_t>(Count()) * ((FData.U32(8) & FlagCompressed) ? 4 : 8);
  return Span<uint8_t>(FData, at, Count(), "EMF+ path point types");
}

PenView::PenView(ByteView body) : FData(Fixed(body, 20, "EMF+ pen")) {}

uint32_t PenView::Argb() const {
  // The optional fields the flags announce come before the pen's brush; the ones of variable length
  // start with their count (of floats) or size (in bytes).
  const uint32_t flags = FData.U32(8);
  uint64_t at = 20;
  const uint32_t fixed[][2] = {{0x1, 24}, {0x2, 4},  {0x4, 4},  {0x8, 4},
                               {0x10, 4}, {0x20, 4}, {0x40, 4}, {0x80, 4}};
  for (const auto& [flag, size] : fixed)
    if (flags & flag) at += size;
  auto counted = [&](uint32_t unit) {
    if (at > FData.size()) throw EDamagedData("EMF+ pen ends before its brush");
    at += 4 + static_cast<uint64_t>(unit) * FData.U32(static_cast<size_t>(at));
  };
  if (flags & 0x100) counted(4);
  if (flags & 0x200) at += 4;
  if (flags & 0x400) counted(4);
  if (flags & 0x800) counted(1);
  if (flags & 0x1000) counted(1);
  if (at > FData.size()) throw EDamagedData("EMF+ pen ends before its brush");
  return BrushView(FData.From(static_cast<size_t>(at))).Argb();
}

HeaderView::HeaderView(ByteView data) : FData(Fixed(data, 16, "EMF+ header")) {}

FontView::FontView(ByteView body) : FData(Fixed(body, 24, "EMF+ font")) {}

Span<char16_t> FontView::FamilyName() const {
  const uint32_t length = FData.U32(20);
  if (length > kMaxFamilyName)
    throw EDamagedData("EMF+ font family name of " + std::to_string(length) + " characters");
  return Span<char16_t>(FData, 24, length, "EMF+ font family name");
}

BrushView::BrushView(ByteView body) : FData(Fixed(body, 8, "EMF+ brush")) {}

uint32_t BrushView::Argb() const {
  switch (FData.U32(4)) {
  case 0: // solid
    return FData.U32(8);
  case 1: // hatch: style, foreground, background
    return FData.U32(12);
  case 3: // path gradient: flags, wrap mode, centre colour
    return FData.U32(16);
  case 4: { // linear gradient: flags, wrap mode, rectangle, start and end colours
    const uint32_t a = FData.U32(32), b = FData.U32(36);
    uint32_t mixed = 0;
    for (int shift = 0; shift < 32; shift += 8)
      mixed |= (((a >> shift & 0xFF) + (b >> shift & 0xFF)) / 2) << shift;
    return mixed;
  }
  default:
    return 0xFF808080;
  }
}

StringFormatView::StringFormatView(ByteView body) : FData(Fixed(body, 20, "EMF+ string format")) {}

DrawStringView::DrawStringView(uint16_t flags, ByteView data)
    : FFlags(flags), FData(Fixed(data, 28, "EMF+ DrawString")) {}

Span<char16_t> DrawStringView::Text() const {
  return Span<char16_t>(FData, 28, FData.U32(8), "EMF+ DrawString text");
}

DrawDriverStringView::DrawDriverStringView(uint16_t flags, ByteView data)
    : FFlags(flags), FData(Fixed(data, 16, "EMF+ DrawDriverString")) {}

Span<uint16_t> DrawDriverStringView::Glyphs() const {
  return Span<uint16_t>(FData, 16, Count(), "EMF+ DrawDriverString glyphs");
}

PointF DrawDriverStringView::Position(size_t i) const {
  if (i >= Count()) throw EDamagedData("EMF+ glyph position " + std::to_string(i) + " outside the string");
  const uint64_t offset = 16 + 2ull * Count() + 8ull * i;
  const ByteView at = CheckedArray(FData, offset, 1, 8, "EMF+ DrawDriverString positions");
  return {at.F32(0), at.F32(4)};
}

Matrix DrawDriverStringView::Transform() const {
  if (!HasMatrix()) throw EDamagedData("EMF+ DrawDriverString has no matrix");
  const uint64_t offset = 16 + 10ull * Count();
  return ReadMatrix(CheckedArray(FData, offset, 1, 24, "EMF+ DrawDriverString matrix"), 0);
}

} // namespace emfplus
