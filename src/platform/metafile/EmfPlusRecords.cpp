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

HeaderView::HeaderView(ByteView data) : FData(Fixed(data, 16, "EMF+ header")) {}

FontView::FontView(ByteView body) : FData(Fixed(body, 24, "EMF+ font")) {}

Span<char16_t> FontView::FamilyName() const {
  const uint32_t length = FData.U32(20);
  if (length > kMaxFamilyName)
    throw EDamagedData("EMF+ font family name of " + std::to_string(length) + " characters");
  return Span<char16_t>(FData, 24, length, "EMF+ font family name");
}

BrushView::BrushView(ByteView body) : FData(Fixed(body, 8, "EMF+ brush")) {}

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
