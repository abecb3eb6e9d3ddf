#pragma once
// Typed views over the bytes of enhanced-metafile records: plain C++, no Qt, no allocation. A view keeps a
// ByteView of the whole record (type and size fields included, as TEmfRecord::Data gives it) and decodes
// fields on demand; offsets are the published ones (MS-EMF), counted from the start of the record.
//
// Error policy (every failure is EDamagedData, from platform/rtl/Exception.h):
//  - Constructing a view checks that the record holds the view's fixed part (the fields before any
//    variable-length data) and raises when it is shorter. After that, the fixed-field accessors never
//    raise.
//  - Accessors returning a span, a ByteView or a nested view (points, counts, text, advances, style
//    entries, bitmap info and bits, region rectangles, gradient vertices and mesh, POLYTEXTOUT entries)
//    check the claimed count or offset against the record when they are called and raise when it does not
//    fit. The check is done in 64-bit arithmetic before anything is read; nothing is allocated in
//    proportion to a claimed count.
//  - Span element access (operator[], at) raises for an index outside the span; iteration does not need
//    checks.
//  - The accessors named Try..., Has... and the ones documented as lenient never raise: they serve the
//    writers in the wild that leave data out (advances with offset 0, a face name cut short, region sizes
//    larger than the record).
// Values are little-endian; floats are returned exactly as stored.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>

#include "EmfRecordTypes.h"
#include "platform/rtl/ByteView.h"

namespace emf {

struct PointL {
  int32_t x = 0, y = 0;
  friend bool operator==(const PointL& a, const PointL& b) { return a.x == b.x && a.y == b.y; }
};
struct SizeL {
  int32_t cx = 0, cy = 0;
  friend bool operator==(const SizeL& a, const SizeL& b) { return a.cx == b.cx && a.cy == b.cy; }
};
// RECTL as stored (not normalised; GDI's inclusive/exclusive rules are the caller's).
struct RectL {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  friend bool operator==(const RectL& a, const RectL& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
  }
};
// XFORM: x' = x * eM11 + y * eM21 + eDx, y' = x * eM12 + y * eM22 + eDy. Floats as stored (may be NaN).
struct XForm {
  float eM11 = 1, eM12 = 0, eM21 = 0, eM22 = 1, eDx = 0, eDy = 0;
};
// TRIVERTEX: colour channels are 16-bit (the 8-bit value in the high byte).
struct TriVertex {
  int32_t x = 0, y = 0;
  uint16_t red = 0, green = 0, blue = 0, alpha = 0;
};
struct GradientRect {
  uint32_t upperLeft = 0, lowerRight = 0;
};
struct GradientTriangle {
  uint32_t vertex1 = 0, vertex2 = 0, vertex3 = 0;
};

// How a span element is read: its size in the record and its decoding.
template <typename T> struct SpanElement;
template <> struct SpanElement<uint8_t> {
  static constexpr size_t Size = 1;
  static uint8_t Read(const uint8_t* p) { return *p; }
};
template <typename T> struct SpanScalar {
  static constexpr size_t Size = sizeof(T);
  static T Read(const uint8_t* p) {
    T v;
    std::memcpy(&v, p, sizeof(T));
    return v;
  }
};
template <> struct SpanElement<uint16_t> : SpanScalar<uint16_t> {};
template <> struct SpanElement<char16_t> : SpanScalar<char16_t> {};
template <> struct SpanElement<int32_t> : SpanScalar<int32_t> {};
template <> struct SpanElement<uint32_t> : SpanScalar<uint32_t> {};
template <> struct SpanElement<PointL> {
  static constexpr size_t Size = 8;
  static PointL Read(const uint8_t* p) {
    return {SpanScalar<int32_t>::Read(p), SpanScalar<int32_t>::Read(p + 4)};
  }
};
template <> struct SpanElement<RectL> {
  static constexpr size_t Size = 16;
  static RectL Read(const uint8_t* p) {
    return {SpanScalar<int32_t>::Read(p), SpanScalar<int32_t>::Read(p + 4), SpanScalar<int32_t>::Read(p + 8),
            SpanScalar<int32_t>::Read(p + 12)};
  }
};
template <> struct SpanElement<TriVertex> {
  static constexpr size_t Size = 16;
  static TriVertex Read(const uint8_t* p) {
    return {SpanScalar<int32_t>::Read(p),       SpanScalar<int32_t>::Read(p + 4),
            SpanScalar<uint16_t>::Read(p + 8),  SpanScalar<uint16_t>::Read(p + 10),
            SpanScalar<uint16_t>::Read(p + 12), SpanScalar<uint16_t>::Read(p + 14)};
  }
};
template <> struct SpanElement<GradientRect> {
  static constexpr size_t Size = 8;
  static GradientRect Read(const uint8_t* p) {
    return {SpanScalar<uint32_t>::Read(p), SpanScalar<uint32_t>::Read(p + 4)};
  }
};
template <> struct SpanElement<GradientTriangle> {
  static constexpr size_t Size = 12;
  static GradientTriangle Read(const uint8_t* p) {
    return {SpanScalar<uint32_t>::Read(p), SpanScalar<uint32_t>::Read(p + 4),
            SpanScalar<uint32_t>::Read(p + 8)};
  }
};

// Raises EDamagedData unless `count` elements of `elementSize` bytes fit at `offset` of `rec`; returns the
// bytes they take. `what` names the data for the message.
ByteView CheckedArray(ByteView rec, uint64_t offset, uint64_t count, size_t elementSize, const char* what);

// `count` elements of T stored back to back; reading them decodes (unaligned data is fine). Copyable,
// never owns or allocates.
template <typename T> class Span {
 public:
  class iterator {
   public:
    using iterator_category = std::input_iterator_tag;
    using value_type = T;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = T;
    iterator(const uint8_t* p) : FP(p) {}
    T operator*() const { return SpanElement<T>::Read(FP); }
    iterator& operator++() {
      FP += SpanElement<T>::Size;
      return *this;
    }
    iterator operator++(int) {
      iterator old = *this;
      ++*this;
      return old;
    }
    bool operator==(const iterator& o) const { return FP == o.FP; }
    bool operator!=(const iterator& o) const { return FP != o.FP; }

   private:
    const uint8_t* FP;
  };

  Span() = default;
  // Checks that `count` elements fit at `offset` of `rec`.
  Span(ByteView rec, uint64_t offset, uint64_t count, const char* what = "array")
      : FBytes(CheckedArray(rec, offset, count, SpanElement<T>::Size, what)),
        FCount(static_cast<size_t>(count)) {}

  size_t size() const { return FCount; }
  bool empty() const { return FCount == 0; }
  T operator[](size_t i) const { return at(i); }
  T at(size_t i) const {
    if (i >= FCount)
      throw EDamagedData("Index " + std::to_string(i) + " outside an array of " + std::to_string(FCount));
    return SpanElement<T>::Read(FBytes.data() + i * SpanElement<T>::Size);
  }
  T front() const { return at(0); }
  T back() const { return at(FCount - 1); }
  iterator begin() const { return iterator(FBytes.data()); }
  iterator end() const { return iterator(FBytes.data() + FCount * SpanElement<T>::Size); }
  // Elements [from, from + count); raises when they are not all inside.
  Span subspan(size_t from, size_t count) const {
    return Span(FBytes, static_cast<uint64_t>(from) * SpanElement<T>::Size, count);
  }
  ByteView bytes() const { return FBytes; }

 private:
  ByteView FBytes;
  size_t FCount = 0;
};

// Points stored as POINTL (32-bit) or POINTS (16-bit, the ...16 records); both read as PointL.
class PointSpan {
 public:
  class iterator {
   public:
    using iterator_category = std::input_iterator_tag;
    using value_type = PointL;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = PointL;
    iterator(const uint8_t* p, bool shortPoints) : FP(p), FShort(shortPoints) {}
    PointL operator*() const { return Read(FP, FShort); }
    iterator& operator++() {
      FP += FShort ? 4 : 8;
      return *this;
    }
    iterator operator++(int) {
      iterator old = *this;
      ++*this;
      return old;
    }
    bool operator==(const iterator& o) const { return FP == o.FP; }
    bool operator!=(const iterator& o) const { return FP != o.FP; }

   private:
    const uint8_t* FP;
    bool FShort;
  };

  PointSpan() = default;
  PointSpan(ByteView rec, uint64_t offset, uint64_t count, bool shortPoints)
      : FBytes(CheckedArray(rec, offset, count, shortPoints ? 4 : 8, "points")),
        FCount(static_cast<size_t>(count)), FShort(shortPoints) {}

  size_t size() const { return FCount; }
  bool empty() const { return FCount == 0; }
  bool shortPoints() const { return FShort; }
  size_t elementSize() const { return FShort ? 4 : 8; }
  PointL operator[](size_t i) const { return at(i); }
  PointL at(size_t i) const {
    if (i >= FCount)
      throw EDamagedData("Point " + std::to_string(i) + " outside an array of " + std::to_string(FCount));
    return Read(FBytes.data() + i * elementSize(), FShort);
  }
  PointL front() const { return at(0); }
  PointL back() const { return at(FCount - 1); }
  iterator begin() const { return iterator(FBytes.data(), FShort); }
  iterator end() const { return iterator(FBytes.data() + FCount * elementSize(), FShort); }
  PointSpan subspan(size_t from, size_t count) const {
    return PointSpan(FBytes, static_cast<uint64_t>(from) * elementSize(), count, FShort);
  }
  ByteView bytes() const { return FBytes; }

 private:
  static PointL Read(const uint8_t* p, bool shortPoints) {
    if (shortPoints) return {SpanScalar<int16_t>::Read(p), SpanScalar<int16_t>::Read(p + 2)};
    return SpanElement<PointL>::Read(p);
  }
  ByteView FBytes;
  size_t FCount = 0;
  bool FShort = false;
};

// The common part of every view: the record's bytes, its type and size fields.
class RecordView {
 public:
  // Raises unless the record holds its 8-byte header and `fixedSize` bytes in all.
  RecordView(ByteView rec, size_t fixedSize);
  uint32_t Type() const { return FRec.U32(0); }
  uint32_t Size() const { return FRec.U32(4); }
  ByteView Bytes() const { return FRec; }
  // Fixed fields by offset, for records without a view of their own (bounds-checked, raising).
  uint32_t U32(size_t offset) const { return FRec.U32(offset); }
  int32_t I32(size_t offset) const { return FRec.I32(offset); }
  PointL PointAt(size_t offset) const { return {FRec.I32(offset), FRec.I32(offset + 4)}; }
  SizeL SizeAt(size_t offset) const { return {FRec.I32(offset), FRec.I32(offset + 4)}; }
  RectL RectAt(size_t offset) const {
    return {FRec.I32(offset), FRec.I32(offset + 4), FRec.I32(offset + 8), FRec.I32(offset + 12)};
  }
  XForm XFormAt(size_t offset) const;

 protected:
  ByteView FRec;
};

// The record header alone: type and size.
struct RecordHeader {
  uint32_t Type = 0, Size = 0;
  explicit RecordHeader(ByteView rec) : Type(rec.U32(0)), Size(rec.U32(4)) {}
};

// --- Records of one or two plain fields -----------------------------------------------------------------

// A 32-bit value at 8: SETMAPMODE, SETBKMODE, SETPOLYFILLMODE, SETROP2, SETSTRETCHBLTMODE, SETTEXTALIGN,
// SETTEXTCOLOR, SETBKCOLOR, SETARCDIRECTION, SETMITERLIMIT (see MiterLimit), SAVEDC has none, RESTOREDC,
// SELECTOBJECT, DELETEOBJECT, SELECTPALETTE, SELECTCLIPPATH, SETICMMODE, SETLAYOUT, SETMAPPERFLAGS.
class ValueRecordView : public RecordView {
 public:
  explicit ValueRecordView(ByteView rec) : RecordView(rec, 12) {}
  uint32_t Value() const { return FRec.U32(8); }
  int32_t SignedValue() const { return FRec.I32(8); }
  float FloatValue() const { return FRec.F32(8); }
};
// A POINTL at 8: SETWINDOWORGEX, SETVIEWPORTORGEX, SETBRUSHORGEX, MOVETOEX, LINETO, OFFSETCLIPRGN.
class PointRecordView : public RecordView {
 public:
  explicit PointRecordView(ByteView rec) : RecordView(rec, 16) {}
  PointL Point() const { return PointAt(8); }
};
// A SIZEL at 8: SETWINDOWEXTEX, SETVIEWPORTEXTEX.
class SizeRecordView : public RecordView {
 public:
  explicit SizeRecordView(ByteView rec) : RecordView(rec, 16) {}
  SizeL Extent() const { return SizeAt(8); }
};
// A RECTL at 8: ELLIPSE, RECTANGLE, INTERSECTCLIPRECT, EXCLUDECLIPRECT.
class RectRecordView : public RecordView {
 public:
  explicit RectRecordView(ByteView rec) : RecordView(rec, 24) {}
  RectL Rect() const { return RectAt(8); }
};
// SCALEVIEWPORTEXTEX, SCALEWINDOWEXTEX.
class ScaleExtView : public RecordView {
 public:
  explicit ScaleExtView(ByteView rec) : RecordView(rec, 24) {}
  int32_t XNum() const { return FRec.I32(8); }
  int32_t XDenom() const { return FRec.I32(12); }
  int32_t YNum() const { return FRec.I32(16); }
  int32_t YDenom() const { return FRec.I32(20); }
};
// ROUNDRECT: box and corner ellipse size.
class RoundRectView : public RecordView {
 public:
  explicit RoundRectView(ByteView rec) : RecordView(rec, 32) {}
  RectL Box() const { return RectAt(8); }
  SizeL Corner() const { return SizeAt(24); }
};
// ARC, CHORD, PIE, ARCTO: box, start and end radials.
class ArcView : public RecordView {
 public:
  explicit ArcView(ByteView rec) : RecordView(rec, 40) {}
  RectL Box() const { return RectAt(8); }
  PointL Start() const { return PointAt(24); }
  PointL End() const { return PointAt(32); }
};
// ANGLEARC: centre, radius, start angle and sweep in degrees (floats as stored).
class AngleArcView : public RecordView {
 public:
  explicit AngleArcView(ByteView rec) : RecordView(rec, 28) {}
  PointL Center() const { return PointAt(8); }
  uint32_t Radius() const { return FRec.U32(16); }
  float StartAngle() const { return FRec.F32(20); }
  float SweepAngle() const { return FRec.F32(24); }
};
// SETPIXELV: the pixel and its COLORREF.
class SetPixelView : public RecordView {
 public:
  explicit SetPixelView(ByteView rec) : RecordView(rec, 20) {}
  PointL Pixel() const { return PointAt(8); }
  uint32_t Color() const { return FRec.U32(16); }
};
// SETWORLDTRANSFORM (XFORM at 8) and MODIFYWORLDTRANSFORM (XFORM at 8, mode at 32).
class XFormView : public RecordView {
 public:
  explicit XFormView(ByteView rec)
      : RecordView(rec, rec.Has(0, 4) && rec.U32(0) == EMR_MODIFYWORLDTRANSFORM ? 36 : 32) {}
  XForm Transform() const { return XFormAt(8); }
  // MWT_*; only for MODIFYWORLDTRANSFORM (raises for SETWORLDTRANSFORM records of 32 bytes).
  uint32_t Mode() const { return FRec.U32(32); }
};

// --- Lines and figures ---------------------------------------------------------------------------------

// POLYBEZIER, POLYGON, POLYLINE, POLYBEZIERTO, POLYLINETO and their 16-bit forms: bounds, count, points.
class PolyView : public RecordView {
 public:
  explicit PolyView(ByteView rec) : RecordView(rec, 28) {}
  RectL Bounds() const { return RectAt(8); }
  uint32_t Count() const { return FRec.U32(24); }
  bool ShortPoints() const { return IsPoint16Record(Type()); }
  PointSpan Points() const { return PointSpan(FRec, 28, Count(), ShortPoints()); }
};
// POLYPOLYLINE, POLYPOLYGON and their 16-bit forms: bounds, figure count, total points, the figures'
// point counts, then the points.
class PolyPolyView : public RecordView {
 public:
  explicit PolyPolyView(ByteView rec) : RecordView(rec, 32) {}
  RectL Bounds() const { return RectAt(8); }
  uint32_t FigureCount() const { return FRec.U32(24); }
  uint32_t PointCount() const { return FRec.U32(28); }
  bool ShortPoints() const { return IsPoint16Record(Type()); }
  Span<uint32_t> Counts() const { return Span<uint32_t>(FRec, 32, FigureCount(), "figure counts"); }
  PointSpan Points() const {
    return PointSpan(FRec, 32 + static_cast<uint64_t>(FigureCount()) * 4, PointCount(), ShortPoints());
  }
  // True when the figures' counts add up to no more than the point count (raises like Counts()).
  bool CountsFit() const;
};
// POLYDRAW, POLYDRAW16: points and one PT_* byte per point.
class PolyDrawView : public RecordView {
 public:
  explicit PolyDrawView(ByteView rec) : RecordView(rec, 28) {}
  RectL Bounds() const { return RectAt(8); }
  uint32_t Count() const { return FRec.U32(24); }
  bool ShortPoints() const { return Type() == EMR_POLYDRAW16; }
  PointSpan Points() const { return PointSpan(FRec, 28, Count(), ShortPoints()); }
  Span<uint8_t> Types() const {
    return Span<uint8_t>(FRec, 28 + static_cast<uint64_t>(Count()) * (ShortPoints() ? 4 : 8), Count(),
                         "point types");
  }
};

// GRADIENTFILL: vertices, then rectangles (GRADIENT_FILL_RECT_H/_V) or triangles (GRADIENT_FILL_TRIANGLE).
class GradientFillView : public RecordView {
 public:
  explicit GradientFillView(ByteView rec) : RecordView(rec, 36) {}
  RectL Bounds() const { return RectAt(8); }
  uint32_t VertexCount() const { return FRec.U32(24); }
  uint32_t MeshCount() const { return FRec.U32(28); }
  uint32_t Mode() const { return FRec.U32(32); }
  Span<TriVertex> Vertices() const { return Span<TriVertex>(FRec, 36, VertexCount(), "gradient vertices"); }
  // The mesh in the form the mode gives (each raises when the mesh does not fit).
  Span<GradientRect> Rects() const {
    return Span<GradientRect>(FRec, MeshAt(), MeshCount(), "gradient rectangles");
  }
  Span<GradientTriangle> Triangles() const {
    return Span<GradientTriangle>(FRec, MeshAt(), MeshCount(), "gradient triangles");
  }

 private:
  uint64_t MeshAt() const { return 36 + static_cast<uint64_t>(VertexCount()) * 16; }
};

// --- Regions ---------------------------------------------------------------------------------------------

// RGNDATA: a 32-byte header (dwSize, iType, nCount, nRgnSize, rcBound), then nCount RECTLs at dwSize (at
// 32 when dwSize is smaller).
class RegionDataView {
 public:
  // Raises unless the 32-byte header is there.
  explicit RegionDataView(ByteView data);
  uint32_t HeaderSize() const { return FData.U32(0); }
  uint32_t Count() const { return FData.U32(8); }
  RectL BoundingRect() const { return {FData.I32(16), FData.I32(20), FData.I32(24), FData.I32(28)}; }
  Span<RectL> Rects() const;
  ByteView Bytes() const { return FData; }

 private:
  ByteView FData;
};
// FILLRGN, FRAMERGN, INVERTRGN, PAINTRGN, EXTSELECTCLIPRGN: the region data and the fields around it.
class RegionRecordView : public RecordView {
 public:
  explicit RegionRecordView(ByteView rec);
  // Bytes of region data the record announces.
  uint32_t DataSize() const { return FRec.U32(DataSizeAt()); }
  // EXTSELECTCLIPRGN: RGN_* mode.
  uint32_t Mode() const { return FRec.U32(12); }
  // FILLRGN, FRAMERGN: the brush's object index.
  uint32_t BrushIndex() const { return FRec.U32(28); }
  // FRAMERGN: the frame's width and height in logical units.
  SizeL FrameSize() const { return SizeAt(32); }
  RectL Bounds() const { return RectAt(8); } // not for EXTSELECTCLIPRGN
  // EXTSELECTCLIPRGN with no region (a size of 0, or less than a region header in the record): the clip
  // is reset (RGN_COPY).
  bool HasRegion() const;
  // The region data, lenient about its size: a size larger than the record is cut to the record's end.
  // Raises when less than the region header remains.
  RegionDataView Region() const;

 private:
  size_t DataSizeAt() const { return Type() == EMR_EXTSELECTCLIPRGN ? 8 : 24; }
  size_t DataAt() const;
};

// --- Objects ---------------------------------------------------------------------------------------------

// A bitmap carried in a record: colour usage, BITMAPINFO and bits by offset and size.
class DibRef {
 public:
  DibRef() = default;
  DibRef(ByteView rec, uint32_t usage, uint32_t offBmi, uint32_t cbBmi, uint32_t offBits, uint32_t cbBits)
      : FRec(rec), FUsage(usage), FOffBmi(offBmi), FCbBmi(cbBmi), FOffBits(offBits), FCbBits(cbBits) {}
  // False when the record carries no bitmap (cbBmi 0).
  bool Present() const { return FCbBmi != 0; }
  uint32_t Usage() const { return FUsage; }
  uint32_t OffBmi() const { return FOffBmi; }
  uint32_t CbBmi() const { return FCbBmi; }
  uint32_t OffBits() const { return FOffBits; }
  uint32_t CbBits() const { return FCbBits; }
  // BITMAPINFO and bits; raise when they do not lie inside the record.
  ByteView BitmapInfo() const { return CheckedArray(FRec, FOffBmi, FCbBmi, 1, "bitmap header"); }
  ByteView Bits() const { return CheckedArray(FRec, FOffBits, FCbBits, 1, "bitmap bits"); }

 private:
  ByteView FRec;
  uint32_t FUsage = 0, FOffBmi = 0, FCbBmi = 0, FOffBits = 0, FCbBits = 0;
};

// CREATEPEN: object index and LOGPEN (style, width as POINTL whose x counts, COLORREF).
class CreatePenView : public RecordView {
 public:
  explicit CreatePenView(ByteView rec) : RecordView(rec, 28) {}
  uint32_t Index() const { return FRec.U32(8); }
  uint32_t Style() const { return FRec.U32(12); }
  int32_t Width() const { return FRec.I32(16); }
  uint32_t Color() const { return FRec.U32(24); }
};
// EXTCREATEPEN: object index, pattern bitmap, EXTLOGPEN32 (style, width, brush style, colour, hatch,
// style entries).
class ExtCreatePenView : public RecordView {
 public:
  explicit ExtCreatePenView(ByteView rec) : RecordView(rec, 52) {}
  uint32_t Index() const { return FRec.U32(8); }
  DibRef Pattern() const {
    return DibRef(FRec, DIB_RGB_COLORS, FRec.U32(12), FRec.U32(16), FRec.U32(20), FRec.U32(24));
  }
  uint32_t Style() const { return FRec.U32(28); }
  uint32_t Width() const { return FRec.U32(32); }
  uint32_t BrushStyle() const { return FRec.U32(36); }
  uint32_t Color() const { return FRec.U32(40); }
  uint32_t BrushHatch() const { return FRec.U32(44); }
  uint32_t StyleEntryCount() const { return FRec.U32(48); }
  // PS_USERSTYLE dash and gap lengths.
  Span<uint32_t> StyleEntries() const {
    return Span<uint32_t>(FRec, 52, StyleEntryCount(), "pen style entries");
  }
};
// CREATEBRUSHINDIRECT: object index and LOGBRUSH32.
class CreateBrushView : public RecordView {
 public:
  explicit CreateBrushView(ByteView rec) : RecordView(rec, 24) {}
  uint32_t Index() const { return FRec.U32(8); }
  uint32_t Style() const { return FRec.U32(12); }
  uint32_t Color() const { return FRec.U32(16); }
  uint32_t Hatch() const { return FRec.U32(20); }
};
// CREATEMONOBRUSH, CREATEDIBPATTERNBRUSHPT: object index and the pattern bitmap.
class PatternBrushView : public RecordView {
 public:
  explicit PatternBrushView(ByteView rec) : RecordView(rec, 32) {}
  uint32_t Index() const { return FRec.U32(8); }
  DibRef Pattern() const {
    return DibRef(FRec, FRec.U32(12), FRec.U32(16), FRec.U32(20), FRec.U32(24), FRec.U32(28));
  }
};
// CREATEPALETTE: object index and LOGPALETTE (version, count, PALETTEENTRY values as 0x00BBGGRR-like
// R, G, B, flags bytes).
class CreatePaletteView : public RecordView {
 public:
  explicit CreatePaletteView(ByteView rec) : RecordView(rec, 16) {}
  uint32_t Index() const { return FRec.U32(8); }
  uint16_t Version() const { return FRec.U16(12); }
  uint16_t Count() const { return FRec.U16(14); }
  Span<uint32_t> Entries() const { return Span<uint32_t>(FRec, 16, Count(), "palette entries"); }
  // Lenient: the entries the record holds, at most Count().
  Span<uint32_t> PresentEntries() const;
};

// LOGFONTW at `at` (12 in EXTCREATEFONTINDIRECTW, after the object index). The view needs the fields up to
// lfPitchAndFamily (28 bytes); the face name is lenient: it takes the UTF-16 units the record holds, at
// most 32, up to the first NUL.
class LogFontView {
 public:
  explicit LogFontView(ByteView rec, size_t at = 12);
  int32_t Height() const { return FRec.I32(FAt); }
  int32_t Width() const { return FRec.I32(FAt + 4); }
  int32_t Escapement() const { return FRec.I32(FAt + 8); }
  int32_t Orientation() const { return FRec.I32(FAt + 12); }
  int32_t Weight() const { return FRec.I32(FAt + 16); }
  uint8_t Italic() const { return FRec.U8(FAt + 20); }
  uint8_t Underline() const { return FRec.U8(FAt + 21); }
  uint8_t StrikeOut() const { return FRec.U8(FAt + 22); }
  uint8_t CharSet() const { return FRec.U8(FAt + 23); }
  uint8_t OutPrecision() const { return FRec.U8(FAt + 24); }
  uint8_t ClipPrecision() const { return FRec.U8(FAt + 25); }
  uint8_t Quality() const { return FRec.U8(FAt + 26); }
  uint8_t PitchAndFamily() const { return FRec.U8(FAt + 27); }
  // The face name's units up to the first NUL (lenient, see above).
  Span<char16_t> FaceNameUnits() const;
  std::u16string FaceName() const;

 private:
  ByteView FRec;
  size_t FAt;
};
// EXTCREATEFONTINDIRECTW: object index and the font.
class CreateFontView : public RecordView {
 public:
  explicit CreateFontView(ByteView rec) : RecordView(rec, 40), FFont(rec, 12) {}
  uint32_t Index() const { return FRec.U32(8); }
  const LogFontView& Font() const { return FFont; }

 private:
  LogFontView FFont;
};

// --- Text -----------------------------------------------------------------------------------------------

// EMRTEXT at `at` of an EXTTEXTOUTW/A or POLYTEXTOUTW/A record (40 bytes: reference, count, string offset,
// options, rectangle, advances offset). The offsets inside count from the start of the record.
class EmrTextView {
 public:
  // `wide`: the W records (UTF-16 string) rather than the A records (bytes).
  EmrTextView(ByteView rec, size_t at, bool wide);
  PointL Reference() const { return {FRec.I32(FAt), FRec.I32(FAt + 4)}; }
  uint32_t Count() const { return FRec.U32(FAt + 8); }
  uint32_t OffString() const { return FRec.U32(FAt + 12); }
  uint32_t Options() const { return FRec.U32(FAt + 16); }
  RectL Rect() const {
    return {FRec.I32(FAt + 20), FRec.I32(FAt + 24), FRec.I32(FAt + 28), FRec.I32(FAt + 32)};
  }
  uint32_t OffDx() const { return FRec.U32(FAt + 36); }
  bool Wide() const { return FWide; }
  // The string: UTF-16 units of a W record, bytes of an A record (each raises for the other kind, and
  // when Count() units do not fit at OffString()).
  Span<char16_t> Utf16() const;
  Span<uint8_t> Ansi() const;
  // Advances: Count() entries, or 2 * Count() (dx, dy pairs) with ETO_PDY. Raises when they do not fit.
  size_t DxEntryCount() const { return static_cast<size_t>(Count()) * ((Options() & ETO_PDY) ? 2 : 1); }
  Span<int32_t> Dx() const;
  // Lenient: true when the record has its advances (OffDx() not 0 and all entries inside).
  bool HasDx() const;

 private:
  ByteView FRec;
  size_t FAt;
  bool FWide;
};
// EXTTEXTOUTW, EXTTEXTOUTA: bounds, graphics mode, scales, one EMRTEXT at 36.
class ExtTextOutView : public RecordView {
 public:
  explicit ExtTextOutView(ByteView rec) : RecordView(rec, 76) {}
  RectL Bounds() const { return RectAt(8); }
  uint32_t GraphicsMode() const { return FRec.U32(24); }
  float ExScale() const { return FRec.F32(28); }
  float EyScale() const { return FRec.F32(32); }
  EmrTextView Text() const { return EmrTextView(FRec, 36, Type() == EMR_EXTTEXTOUTW); }
};
// POLYTEXTOUTW, POLYTEXTOUTA: bounds, graphics mode, scales, cStrings EMRTEXTs at 40.
class PolyTextOutView : public RecordView {
 public:
  explicit PolyTextOutView(ByteView rec) : RecordView(rec, 40) {}
  RectL Bounds() const { return RectAt(8); }
  uint32_t GraphicsMode() const { return FRec.U32(24); }
  float ExScale() const { return FRec.F32(28); }
  float EyScale() const { return FRec.F32(32); }
  uint32_t Count() const { return FRec.U32(36); }
  // Raises unless all Count() EMRTEXT structures fit.
  void CheckTexts() const { CheckedArray(FRec, 40, Count(), 40, "text entries"); }
  // The i-th EMRTEXT; raises when i >= Count() or it does not fit.
  EmrTextView Text(size_t i) const;
};
// SMALLTEXTOUT: reference, count, options, graphics mode, scales, an optional rectangle (absent with
// ETO_NO_RECT), then the string (bytes with ETO_SMALL_CHARS, else UTF-16).
class SmallTextOutView : public RecordView {
 public:
  explicit SmallTextOutView(ByteView rec) : RecordView(rec, 36) {}
  PointL Reference() const { return PointAt(8); }
  uint32_t Count() const { return FRec.U32(16); }
  uint32_t Options() const { return FRec.U32(20); }
  uint32_t GraphicsMode() const { return FRec.U32(24); }
  float ExScale() const { return FRec.F32(28); }
  float EyScale() const { return FRec.F32(32); }
  bool HasRect() const { return !(Options() & ETO_NO_RECT); }
  bool Wide() const { return !(Options() & ETO_SMALL_CHARS); }
  // Raises when the record has no rectangle (or is too short for it).
  RectL Rect() const;
  Span<char16_t> Utf16() const;
  Span<uint8_t> Ansi() const;

 private:
  size_t TextAt() const { return HasRect() ? 52 : 36; }
};

// --- Bitmaps ---------------------------------------------------------------------------------------------

// BITBLT, STRETCHBLT, MASKBLT, ALPHABLEND, TRANSPARENTBLT: the shared head (bounds, destination, raster
// operation / blend function / transparent colour at 40, source origin and transform, background colour,
// source bitmap), the source extent of the stretching ones and the mask of MASKBLT. Raises for other types.
class BltView : public RecordView {
 public:
  explicit BltView(ByteView rec);
  RectL Bounds() const { return RectAt(8); }
  PointL DestOrigin() const { return PointAt(24); }
  SizeL DestExtent() const { return SizeAt(32); }
  uint32_t Rop() const { return FRec.U32(40); }              // BITBLT, STRETCHBLT, MASKBLT
  uint32_t BlendFunction() const { return FRec.U32(40); }    // ALPHABLEND: op, flags, constant alpha, format
  uint32_t TransparentColor() const { return FRec.U32(40); } // TRANSPARENTBLT
  PointL SrcOrigin() const { return PointAt(44); }
  XForm SrcTransform() const { return XFormAt(52); }
  uint32_t BkColorSrc() const { return FRec.U32(76); }
  DibRef Source() const {
    return DibRef(FRec, FRec.U32(80), FRec.U32(84), FRec.U32(88), FRec.U32(92), FRec.U32(96));
  }
  // STRETCHBLT, ALPHABLEND, TRANSPARENTBLT carry a source extent; BITBLT and MASKBLT copy the destination's.
  bool HasSrcExtent() const { return Type() != EMR_BITBLT && Type() != EMR_MASKBLT; }
  SizeL SrcExtent() const { return HasSrcExtent() ? SizeAt(100) : DestExtent(); }
  // MASKBLT only (raise for the others).
  PointL MaskOrigin() const;
  DibRef Mask() const;
};
// PLGBLT: the destination parallelogram (three points), the source rectangle, transform, background
// colour, source bitmap and mask.
class PlgBltView : public RecordView {
 public:
  explicit PlgBltView(ByteView rec) : RecordView(rec, 140) {}
  RectL Bounds() const { return RectAt(8); }
  PointL Dest(int i) const { return PointAt(24 + 8 * static_cast<size_t>(i < 0 ? 0 : i > 2 ? 2 : i)); }
  PointL SrcOrigin() const { return PointAt(48); }
  SizeL SrcExtent() const { return SizeAt(56); }
  XForm SrcTransform() const { return XFormAt(64); }
  uint32_t BkColorSrc() const { return FRec.U32(88); }
  DibRef Source() const {
    return DibRef(FRec, FRec.U32(92), FRec.U32(96), FRec.U32(100), FRec.U32(104), FRec.U32(108));
  }
  PointL MaskOrigin() const { return PointAt(112); }
  DibRef Mask() const {
    return DibRef(FRec, FRec.U32(120), FRec.U32(124), FRec.U32(128), FRec.U32(132), FRec.U32(136));
  }
};
// STRETCHDIBITS.
class StretchDIBitsView : public RecordView {
 public:
  explicit StretchDIBitsView(ByteView rec) : RecordView(rec, 80) {}
  RectL Bounds() const { return RectAt(8); }
  PointL DestOrigin() const { return PointAt(24); }
  PointL SrcOrigin() const { return PointAt(32); }
  SizeL SrcExtent() const { return SizeAt(40); }
  DibRef Source() const {
    return DibRef(FRec, FRec.U32(64), FRec.U32(48), FRec.U32(52), FRec.U32(56), FRec.U32(60));
  }
  uint32_t Rop() const { return FRec.U32(68); }
  SizeL DestExtent() const { return SizeAt(72); }
};
// SETDIBITSTODEVICE: the destination, source rectangle, bitmap and the scan lines it carries.
class SetDIBitsToDeviceView : public RecordView {
 public:
  explicit SetDIBitsToDeviceView(ByteView rec) : RecordView(rec, 76) {}
  RectL Bounds() const { return RectAt(8); }
  PointL DestOrigin() const { return PointAt(24); }
  PointL SrcOrigin() const { return PointAt(32); }
  SizeL Extent() const { return SizeAt(40); }
  DibRef Source() const {
    return DibRef(FRec, FRec.U32(64), FRec.U32(48), FRec.U32(52), FRec.U32(56), FRec.U32(60));
  }
  uint32_t StartScan() const { return FRec.U32(68); }
  uint32_t ScanCount() const { return FRec.U32(72); }
};

} // namespace emf
