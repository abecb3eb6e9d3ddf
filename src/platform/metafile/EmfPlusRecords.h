#pragma once
// Records of the EMF+ layer that a metafile may carry inside its GDI comments (a comment whose data starts
// with the signature "EMF+"), and typed views over the ones this program reads: objects (fonts, solid
// brushes, string formats), the transforms and graphics-state records, DrawString and DrawDriverString.
// Plain C++, no Qt, no allocation.
//
// Error policy: the same as the EMF record views. ForEachEmfPlusRecord raises EDamagedData when a record's
// size does not fit its comment; constructing a view checks its fixed part and raises when the data is
// shorter; accessors of variable-length data (names, strings, glyphs, positions) check their count when
// called. Values are little-endian; floats are returned as stored (the caller checks them).
#include <cstdint>
#include <functional>
#include <vector>

#include "EmfRecordViews.h"

namespace emfplus {

using emf::CheckedArray;
using emf::Span;

enum : uint16_t {
  Header = 0x4001,
  EndOfFile = 0x4002,
  GetDC = 0x4004,
  Object = 0x4008,
  FillRects = 0x400A,
  DrawRects = 0x400B,
  FillPolygon = 0x400C,
  DrawLines = 0x400D,
  FillEllipse = 0x400E,
  DrawEllipse = 0x400F,
  FillPath = 0x4014,
  DrawPath = 0x4015,
  DrawString = 0x401C,
  Save = 0x4025,
  Restore = 0x4026,
  BeginContainer = 0x4027,
  BeginContainerNoParams = 0x4028,
  EndContainer = 0x4029,
  SetWorldTransform = 0x402A,
  ResetWorldTransform = 0x402B,
  MultiplyWorldTransform = 0x402C,
  TranslateWorldTransform = 0x402D,
  ScaleWorldTransform = 0x402E,
  RotateWorldTransform = 0x402F,
  SetPageTransform = 0x4030,
  DrawDriverString = 0x4036,
};

// Object types (bits 8..14 of an Object record's flags).
enum : uint8_t { ObjectBrush = 1, ObjectPen = 2, ObjectPath = 3, ObjectFont = 6, ObjectStringFormat = 7 };

// Units of fonts and of the page transform.
enum : uint32_t {
  UnitWorld = 0,
  UnitDisplay = 1,
  UnitPixel = 2,
  UnitPoint = 3,
  UnitInch = 4,
  UnitDocument = 5,
  UnitMillimeter = 6
};

// Font style flags.
enum : uint32_t { FontBold = 1, FontItalic = 2, FontUnderline = 4, FontStrikeout = 8 };

// String format flags and alignments.
enum : uint32_t { FormatDirectionVertical = 0x2, FormatNoWrap = 0x1000 };
enum : uint32_t { AlignNear = 0, AlignCenter = 1, AlignFar = 2 };

// DrawDriverString options.
enum : uint32_t { DriverCmapLookup = 1, DriverVertical = 2, DriverRealizedAdvance = 4 };

// Flag bits of records: the brush field holds a colour; a transform multiplies after the current one.
constexpr uint16_t FlagColorBrush = 0x8000;
constexpr uint16_t FlagAppend = 0x2000;
constexpr uint16_t FlagContinuedObject = 0x8000;
// Shapes: points stored as 16-bit integers; as deltas from the one before; a line list that closes.
constexpr uint16_t FlagCompressed = 0x4000;
constexpr uint16_t FlagRelative = 0x0800;
constexpr uint16_t FlagClosed = 0x2000;
// Path point types (low bits) and the flag that closes a figure.
enum : uint8_t { PathStart = 0, PathLine = 1, PathBezier = 3, PathTypeMask = 7, PathClose = 0x80 };

// One record: its type, flags and the data after the 12-byte header.
struct TPlusRecord {
  uint16_t Type = 0, Flags = 0;
  ByteView Data;
};

// True when a GDI comment record (EMR_GDICOMMENT, type and size fields included) carries EMF+ records.
bool IsEmfPlusComment(ByteView comment);
// Calls `visit` for each EMF+ record of such a comment in order.
void ForEachEmfPlusRecord(ByteView comment, const std::function<void(const TPlusRecord&)>& visit);

struct PointF {
  float x = 0, y = 0;
};
struct RectF {
  float x = 0, y = 0, width = 0, height = 0;
};
// x' = x * m11 + y * m21 + dx, y' = x * m12 + y * m22 + dy.
struct Matrix {
  float m11 = 1, m12 = 0, m21 = 0, m22 = 1, dx = 0, dy = 0;
};

Matrix ReadMatrix(ByteView data, size_t offset);
// `count` points at `offset`: 16-bit integers when compressed, else floats. Raises when they do not fit.
void ReadPoints(ByteView data, size_t offset, uint32_t count, bool compressed, std::vector<PointF>& out);
// A rectangle (x, y, width, height) at `offset`, 16-bit integers when compressed.
RectF ReadRect(ByteView data, size_t offset, bool compressed);

// A path object: its points and their types (paths stored with run-length types or relative points are
// not read: DamagedData).
class PathView {
 public:
  explicit PathView(ByteView body);
  uint32_t Count() const { return FData.U32(4); }
  void Points(std::vector<PointF>& out) const;
  Span<uint8_t> Types() const;

 private:
  ByteView FData;
};

// A pen object: its width and unit, and the colour of its brush (solid brushes; others draw black).
class PenView {
 public:
  explicit PenView(ByteView body);
  uint32_t Unit() const { return FData.U32(12); }
  float Width() const { return FData.F32(16); }
  uint32_t Argb() const;

 private:
  ByteView FData;
};

// EmfPlusHeader: the logical resolution the EMF+ layer was recorded at.
class HeaderView {
 public:
  explicit HeaderView(ByteView data);
  uint32_t DpiX() const { return FData.U32(8); }
  uint32_t DpiY() const { return FData.U32(12); }

 private:
  ByteView FData;
};

// The common part of an Object record: the slot (0..63), the type, and the object's own bytes. An object
// spread over several records (the continued flag) is not read: text objects never are.
class ObjectView {
 public:
  ObjectView(uint16_t flags, ByteView data) : FFlags(flags), FData(data) {}
  uint8_t Id() const { return FFlags & 0xFF; }
  uint8_t Kind() const { return (FFlags >> 8) & 0x7F; }
  bool Continued() const { return FFlags & FlagContinuedObject; }
  ByteView Body() const { return FData; }

 private:
  uint16_t FFlags;
  ByteView FData;
};

class FontView {
 public:
  explicit FontView(ByteView body);
  float EmSize() const { return FData.F32(4); }
  uint32_t SizeUnit() const { return FData.U32(8); }
  uint32_t Style() const { return FData.U32(12); }
  Span<char16_t> FamilyName() const; // at most 32 characters

 private:
  ByteView FData;
};

// A brush object and its colour: a solid brush's own; for a hatch its foreground, for gradients their
// middle, for a texture grey (what a flat fill can show of them).
class BrushView {
 public:
  explicit BrushView(ByteView body);
  bool Solid() const { return FData.U32(4) == 0; }
  uint32_t Argb() const;

 private:
  ByteView FData;
};

class StringFormatView {
 public:
  explicit StringFormatView(ByteView body);
  uint32_t Flags() const { return FData.U32(4); }
  uint32_t Alignment() const { return FData.U32(12); }
  uint32_t LineAlignment() const { return FData.U32(16); }

 private:
  ByteView FData;
};

class DrawStringView {
 public:
  DrawStringView(uint16_t flags, ByteView data);
  uint8_t FontId() const { return FFlags & 0xFF; }
  bool ColorBrush() const { return FFlags & FlagColorBrush; }
  uint32_t Brush() const { return FData.U32(0); }
  uint32_t FormatId() const { return FData.U32(4); }
  RectF LayoutRect() const { return {FData.F32(12), FData.F32(16), FData.F32(20), FData.F32(24)}; }
  Span<char16_t> Text() const;

 private:
  uint16_t FFlags;
  ByteView FData;
};

class DrawDriverStringView {
 public:
  DrawDriverStringView(uint16_t flags, ByteView data);
  uint8_t FontId() const { return FFlags & 0xFF; }
  bool ColorBrush() const { return FFlags & FlagColorBrush; }
  uint32_t Brush() const { return FData.U32(0); }
  uint32_t Options() const { return FData.U32(4); }
  uint32_t Count() const { return FData.U32(12); }
  Span<uint16_t> Glyphs() const;
  PointF Position(size_t i) const; // checks i against the record
  bool HasMatrix() const { return FData.U32(8) != 0; }
  Matrix Transform() const; // raises when the record has none or it does not fit

 private:
  uint16_t FFlags;
  ByteView FData;
};

} // namespace emfplus
