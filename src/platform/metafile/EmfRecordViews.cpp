#include "EmfRecordViews.h"

#include <algorithm>

namespace emf {

namespace {
const char* const RecordNames[] = {
    nullptr,
    "EMR_HEADER",
    "EMR_POLYBEZIER",
    "EMR_POLYGON",
    "EMR_POLYLINE",
    "EMR_POLYBEZIERTO",
    "EMR_POLYLINETO",
    "EMR_POLYPOLYLINE",
    "EMR_POLYPOLYGON",
    "EMR_SETWINDOWEXTEX",
    "EMR_SETWINDOWORGEX",
    "EMR_SETVIEWPORTEXTEX",
    "EMR_SETVIEWPORTORGEX",
    "EMR_SETBRUSHORGEX",
    "EMR_EOF",
    "EMR_SETPIXELV",
    "EMR_SETMAPPERFLAGS",
    "EMR_SETMAPMODE",
    "EMR_SETBKMODE",
    "EMR_SETPOLYFILLMODE",
    "EMR_SETROP2",
    "EMR_SETSTRETCHBLTMODE",
    "EMR_SETTEXTALIGN",
    "EMR_SETCOLORADJUSTMENT",
    "EMR_SETTEXTCOLOR",
    "EMR_SETBKCOLOR",
    "EMR_OFFSETCLIPRGN",
    "EMR_MOVETOEX",
    "EMR_SETMETARGN",
    "EMR_EXCLUDECLIPRECT",
    "EMR_INTERSECTCLIPRECT",
    "EMR_SCALEVIEWPORTEXTEX",
    "EMR_SCALEWINDOWEXTEX",
    "EMR_SAVEDC",
    "EMR_RESTOREDC",
    "EMR_SETWORLDTRANSFORM",
    "EMR_MODIFYWORLDTRANSFORM",
    "EMR_SELECTOBJECT",
    "EMR_CREATEPEN",
    "EMR_CREATEBRUSHINDIRECT",
    "EMR_DELETEOBJECT",
    "EMR_ANGLEARC",
    "EMR_ELLIPSE",
    "EMR_RECTANGLE",
    "EMR_ROUNDRECT",
    "EMR_ARC",
    "EMR_CHORD",
    "EMR_PIE",
    "EMR_SELECTPALETTE",
    "EMR_CREATEPALETTE",
    "EMR_SETPALETTEENTRIES",
    "EMR_RESIZEPALETTE",
    "EMR_REALIZEPALETTE",
    "EMR_EXTFLOODFILL",
    "EMR_LINETO",
    "EMR_ARCTO",
    "EMR_POLYDRAW",
    "EMR_SETARCDIRECTION",
    "EMR_SETMITERLIMIT",
    "EMR_BEGINPATH",
    "EMR_ENDPATH",
    "EMR_CLOSEFIGURE",
    "EMR_FILLPATH",
    "EMR_STROKEANDFILLPATH",
    "EMR_STROKEPATH",
    "EMR_FLATTENPATH",
    "EMR_WIDENPATH",
    "EMR_SELECTCLIPPATH",
    "EMR_ABORTPATH",
    "EMR_RESERVED_69",
    "EMR_GDICOMMENT",
    "EMR_FILLRGN",
    "EMR_FRAMERGN",
    "EMR_INVERTRGN",
    "EMR_PAINTRGN",
    "EMR_EXTSELECTCLIPRGN",
    "EMR_BITBLT",
    "EMR_STRETCHBLT",
    "EMR_MASKBLT",
    "EMR_PLGBLT",
    "EMR_SETDIBITSTODEVICE",
    "EMR_STRETCHDIBITS",
    "EMR_EXTCREATEFONTINDIRECTW",
    "EMR_EXTTEXTOUTA",
    "EMR_EXTTEXTOUTW",
    "EMR_POLYBEZIER16",
    "EMR_POLYGON16",
    "EMR_POLYLINE16",
    "EMR_POLYBEZIERTO16",
    "EMR_POLYLINETO16",
    "EMR_POLYPOLYLINE16",
    "EMR_POLYPOLYGON16",
    "EMR_POLYDRAW16",
    "EMR_CREATEMONOBRUSH",
    "EMR_CREATEDIBPATTERNBRUSHPT",
    "EMR_EXTCREATEPEN",
    "EMR_POLYTEXTOUTA",
    "EMR_POLYTEXTOUTW",
    "EMR_SETICMMODE",
    "EMR_CREATECOLORSPACE",
    "EMR_SETCOLORSPACE",
    "EMR_DELETECOLORSPACE",
    "EMR_GLSRECORD",
    "EMR_GLSBOUNDEDRECORD",
    "EMR_PIXELFORMAT",
    "EMR_DRAWESCAPE",
    "EMR_EXTESCAPE",
    "EMR_RESERVED_107",
    "EMR_SMALLTEXTOUT",
    "EMR_FORCEUFIMAPPING",
    "EMR_NAMEDESCAPE",
    "EMR_COLORCORRECTPALETTE",
    "EMR_SETICMPROFILEA",
    "EMR_SETICMPROFILEW",
    "EMR_ALPHABLEND",
    "EMR_SETLAYOUT",
    "EMR_TRANSPARENTBLT",
    "EMR_RESERVED_117",
    "EMR_GRADIENTFILL",
    "EMR_SETLINKEDUFIS",
    "EMR_SETTEXTJUSTIFICATION",
    "EMR_COLORMATCHTOTARGETW",
    "EMR_CREATECOLORSPACEW",
};
static_assert(sizeof(RecordNames) / sizeof(RecordNames[0]) == EMR_MAX + 1, "one name per record type");

std::string Str(uint64_t v) {
  return std::to_string(v);
}
} // namespace

const char* EmfRecordName(uint32_t type) {
  return type >= EMR_MIN && type <= EMR_MAX ? RecordNames[type] : nullptr;
}

std::string EmfRecordLabel(uint32_t type) {
  const char* name = EmfRecordName(type);
  return name ? std::string(name) + " (" + Str(type) + ")" : "unknown record type " + Str(type);
}

ByteView CheckedArray(ByteView rec, uint64_t offset, uint64_t count, size_t elementSize, const char* what) {
  // Counts are at most 32-bit and sizes small: the product cannot overflow 64 bits.
  uint64_t bytes = count * elementSize;
  if (offset > rec.size() || bytes > rec.size() - offset)
    throw EDamagedData(std::string(what) + " do not fit the record: " + Str(count) + " of " +
                       Str(elementSize) + " bytes at offset " + Str(offset) + " of " + Str(rec.size()));
  return ByteView(rec.data() + offset, static_cast<size_t>(bytes));
}

RecordView::RecordView(ByteView rec, size_t fixedSize) : FRec(rec) {
  size_t need = std::max<size_t>(fixedSize, 8);
  if (rec.size() < need) {
    uint32_t type = rec.Has(0, 4) ? rec.U32(0) : 0;
    throw EDamagedData(EmfRecordLabel(type) + " is too short: " + Str(rec.size()) + " bytes, " + Str(need) +
                       " needed");
  }
}

XForm RecordView::XFormAt(size_t offset) const {
  return {FRec.F32(offset),      FRec.F32(offset + 4),  FRec.F32(offset + 8),
          FRec.F32(offset + 12), FRec.F32(offset + 16), FRec.F32(offset + 20)};
}

bool PolyPolyView::CountsFit() const {
  uint64_t sum = 0;
  for (uint32_t n : Counts())
    sum += n;
  return sum <= PointCount();
}

RegionDataView::RegionDataView(ByteView data) : FData(data) {
  if (!data.Has(0, 32))
    throw EDamagedData("Region data is too short: " + Str(data.size()) + " bytes, 32 needed");
}

Span<RectL> RegionDataView::Rects() const {
  return Span<RectL>(FData, std::max<uint32_t>(HeaderSize(), 32), Count(), "region rectangles");
}

namespace {
size_t RegionFixedSize(ByteView rec) {
  switch (rec.Has(0, 4) ? rec.U32(0) : 0) {
  case EMR_EXTSELECTCLIPRGN:
    return 16;
  case EMR_FILLRGN:
    return 32;
  case EMR_FRAMERGN:
    return 40;
  case EMR_INVERTRGN:
  case EMR_PAINTRGN:
    return 28;
  default:
    throw EDamagedData("Not a region record");
  }
}
} // namespace

RegionRecordView::RegionRecordView(ByteView rec) : RecordView(rec, RegionFixedSize(rec)) {}

// The region data follow the fixed part, whose size the constructor has checked.
size_t RegionRecordView::DataAt() const {
  return RegionFixedSize(FRec);
}

bool RegionRecordView::HasRegion() const {
  return DataSize() != 0 && FRec.Has(DataAt(), 32);
}

RegionDataView RegionRecordView::Region() const {
  size_t at = std::min(DataAt(), FRec.size());
  return RegionDataView(FRec.Sub(at, std::min<size_t>(DataSize(), FRec.size() - at)));
}

Span<uint32_t> CreatePaletteView::PresentEntries() const {
  size_t fit = (FRec.size() - 16) / 4;
  return Span<uint32_t>(FRec, 16, std::min<size_t>(Count(), fit));
}

LogFontView::LogFontView(ByteView rec, size_t at) : FRec(rec), FAt(at) {
  if (!rec.Has(at, 28))
    throw EDamagedData("The font's LOGFONTW is cut short: " + Str(rec.size()) + " bytes, " + Str(at + 28) +
                       " needed");
}

Span<char16_t> LogFontView::FaceNameUnits() const {
  size_t at = FAt + 28;
  size_t present = std::min<size_t>(32, (FRec.size() - at) / 2);
  size_t n = 0;
  while (n < present && FRec.U16(at + 2 * n) != 0)
    ++n;
  return Span<char16_t>(FRec, at, n);
}

std::u16string LogFontView::FaceName() const {
  Span<char16_t> units = FaceNameUnits();
  return std::u16string(units.begin(), units.end());
}

EmrTextView::EmrTextView(ByteView rec, size_t at, bool wide) : FRec(rec), FAt(at), FWide(wide) {
  if (!rec.Has(at, 40))
    throw EDamagedData("EMRTEXT at offset " + Str(at) + " is cut short: the record has " + Str(rec.size()) +
                       " bytes");
}

Span<char16_t> EmrTextView::Utf16() const {
  if (!FWide) throw EDamagedData("The text of an ANSI record is not UTF-16");
  return Span<char16_t>(FRec, OffString(), Count(), "text characters");
}

Span<uint8_t> EmrTextView::Ansi() const {
  if (FWide) throw EDamagedData("The text of a wide record is not bytes");
  return Span<uint8_t>(FRec, OffString(), Count(), "text characters");
}

Span<int32_t> EmrTextView::Dx() const {
  return Span<int32_t>(FRec, OffDx(), DxEntryCount(), "text advances");
}

bool EmrTextView::HasDx() const {
  uint64_t bytes = static_cast<uint64_t>(DxEntryCount()) * 4;
  return OffDx() != 0 && OffDx() <= FRec.size() && bytes <= FRec.size() - OffDx();
}

EmrTextView PolyTextOutView::Text(size_t i) const {
  if (i >= Count()) throw EDamagedData("Text entry " + Str(i) + " outside the record's " + Str(Count()));
  CheckedArray(FRec, 40 + 40 * static_cast<uint64_t>(i), 1, 40, "text entries");
  return EmrTextView(FRec, 40 + 40 * i, Type() == EMR_POLYTEXTOUTW);
}

RectL SmallTextOutView::Rect() const {
  if (!HasRect()) throw EDamagedData("The text record has no rectangle (ETO_NO_RECT)");
  CheckedArray(FRec, 36, 1, 16, "text rectangle");
  return RectAt(36);
}

Span<char16_t> SmallTextOutView::Utf16() const {
  if (!Wide()) throw EDamagedData("The text of an ETO_SMALL_CHARS record is not UTF-16");
  return Span<char16_t>(FRec, TextAt(), Count(), "text characters");
}

Span<uint8_t> SmallTextOutView::Ansi() const {
  if (Wide()) throw EDamagedData("The text of a wide record is not bytes");
  return Span<uint8_t>(FRec, TextAt(), Count(), "text characters");
}

namespace {
size_t BltFixedSize(ByteView rec) {
  switch (rec.Has(0, 4) ? rec.U32(0) : 0) {
  case EMR_BITBLT:
    return 100;
  case EMR_STRETCHBLT:
  case EMR_ALPHABLEND:
  case EMR_TRANSPARENTBLT:
    return 108;
  case EMR_MASKBLT:
    return 128;
  default:
    throw EDamagedData("Not a block-transfer record");
  }
}
} // namespace

BltView::BltView(ByteView rec) : RecordView(rec, BltFixedSize(rec)) {}

PointL BltView::MaskOrigin() const {
  if (Type() != EMR_MASKBLT) throw EDamagedData("Only EMR_MASKBLT has a mask");
  return PointAt(100);
}

DibRef BltView::Mask() const {
  if (Type() != EMR_MASKBLT) throw EDamagedData("Only EMR_MASKBLT has a mask");
  return DibRef(FRec, FRec.U32(108), FRec.U32(112), FRec.U32(116), FRec.U32(120), FRec.U32(124));
}

} // namespace emf
