#pragma once
// TEmfWriter records one page as an enhanced metafile (EMF), record by record, the way a GDI metafile
// device context would: tests, the sample reports and report production use it.
//
//   TEmfWriter w(794, 1123, 96);              // page size in pixels and the resolution they stand for
//   uint32_t font = w.CreateFont({.Face = "Arial", .Height = -16});
//   w.SelectObject(font);
//   w.TextOut(100, 100, "Zażółć gęślą jaźń");
//   TMetafile page = w.ToMetafile();
//
// The reference device recorded in the header is the page itself: szlDevice is the page in pixels,
// szlMillimeters its size in whole millimetres and rclFrame that size in hundredths of a millimetre, so
// TMetafile::Width() and Height() give back exactly the pixel size asked for. Coordinates are logical
// units of the current mapping mode (pixels in MM_TEXT, the default).
//
// The header's rclBounds is the union, in device pixels, of what was drawn (inclusive): filled shapes cover
// their box without its right and bottom edge, strokes are widened by half the pen's device width, text
// covers its advances and the font's ascent and descent, bitmaps their destination, all limited to the
// current clip rectangle. Shapes with a null pen and a null brush draw nothing and add nothing. A page on
// which nothing was drawn has the empty bounds (0, 0, -1, -1).
//
// Misuse (selecting a deleted handle, drawing after Finish, 16-bit records with coordinates that do not
// fit) raises Exception. Not thread-safe; one writer per page.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "EmfConstants.h"
#include "EmfDib.h"
#include "EmfMapping.h"
#include "EmfRecordBuilder.h"
#include "platform/metafile/Metafile.h"

struct TPointL {
  int32_t x = 0, y = 0;
};

// A LOGFONTW in friendly form.
struct TEmfFont {
  std::string Face = "Arial"; // UTF-8; cut to 31 UTF-16 units
  int32_t Height = -16;       // negative: em height; positive: cell height; 0: 12 points
  int32_t Width = 0;
  int32_t Escapement = 0, Orientation = 0; // tenths of a degree
  int32_t Weight = emf::FW_NORMAL;
  bool Italic = false, Underline = false, StrikeOut = false;
  uint8_t CharSet = emf::DEFAULT_CHARSET;
  uint8_t OutPrecision = 0, ClipPrecision = 0, Quality = 0, PitchAndFamily = 0;
};

class TEmfWriter {
 public:
  TEmfWriter(int32_t widthPx, int32_t heightPx, int32_t dpi = 96);

  // Objects. Creation records take the lowest free handle (from 1) and return it.
  uint32_t CreatePen(uint32_t style, int32_t width, uint32_t color);
  uint32_t CreateBrush(uint32_t style, uint32_t color, uint32_t hatch = 0);
  uint32_t CreateSolidBrush(uint32_t color) { return CreateBrush(emf::BS_SOLID, color); }
  uint32_t CreateFont(const TEmfFont& font);
  // A handle from the Create calls or a stock object (emf::NULL_PEN, emf::WHITE_BRUSH...).
  void SelectObject(uint32_t handle);
  void DeleteObject(uint32_t handle);

  // State.
  void SetTextAlign(uint32_t align);
  void SetTextColor(uint32_t color);
  void SetBkColor(uint32_t color);
  void SetBkMode(int32_t mode);
  void SetMapMode(int32_t mode);
  void SetWindowExt(int32_t cx, int32_t cy);
  void SetWindowOrg(int32_t x, int32_t y);
  void SetViewportExt(int32_t cx, int32_t cy);
  void SetViewportOrg(int32_t x, int32_t y);
  void SaveDC();
  // Negative: that many levels back; positive: the absolute level. Out of range: recorded, state kept.
  void RestoreDC(int32_t level = -1);
  void IntersectClipRect(int32_t left, int32_t top, int32_t right, int32_t bottom);
  // Removes the clip region (EMR_EXTSELECTCLIPRGN with RGN_COPY and no region).
  void ResetClip();

  // Drawing, in logical units.
  void MoveTo(int32_t x, int32_t y);
  void LineTo(int32_t x, int32_t y);
  void Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    MoveTo(x1, y1);
    LineTo(x2, y2);
  }
  void Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom);
  void Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom);
  void Polyline(std::span<const TPointL> points);
  void Polygon(std::span<const TPointL> points);
  // The compact forms; every coordinate must fit 16 bits.
  void Polyline16(std::span<const TPointL> points);
  void Polygon16(std::span<const TPointL> points);

  // Text (EMR_EXTTEXTOUTW). Without advances, those of the built-in width table for the selected font are
  // written (see EmfTextWidths.h); with them, there must be one per UTF-16 unit.
  void TextOut(int32_t x, int32_t y, std::string_view utf8);
  void ExtTextOut(int32_t x, int32_t y, uint32_t options, const TEmfRect* rect, std::u16string_view text,
                  std::optional<std::span<const int32_t>> advances = std::nullopt);
  // Width in logical units of text in the selected font, from the built-in table.
  int32_t TextWidth(std::string_view utf8) const;

  // Bitmaps (EMR_STRETCHDIBITS, SRCCOPY), the whole bitmap stretched onto the destination.
  void StretchDIBits(int32_t x, int32_t y, int32_t cx, int32_t cy, const TEmfDib& dib,
                     uint32_t rop = emf::SRCCOPY);

  // A GDI comment (EMR_GDICOMMENT) carrying the bytes as they are.
  void Comment(std::span<const uint8_t> data);
  // Any other record: its type and the parameter bytes after the size field, padded to four bytes.
  // The writer does not interpret it, so it adds nothing to the bounds or to the tracked state.
  void RawRecord(uint32_t type, std::span<const uint8_t> parameters);

  // Ends the page with EMR_EOF and returns the complete metafile. The writer cannot be used afterwards.
  std::vector<uint8_t> Finish();
  TMetafile ToMetafile();

 private:
  enum class TKind { Pen, Brush, Font };
  // What the bounds need to know of an object.
  struct TObject {
    TKind Kind = TKind::Pen;
    bool Null = false;      // null pen or hollow brush
    int32_t PenWidth = 0;   // logical units
    int32_t FontHeight = 0; // lfHeight
    bool Bold = false;
  };
  struct TDCState {
    explicit TDCState(TEmfMapping mapping) : Mapping(mapping) {}
    TEmfMapping Mapping;
    TObject Pen{TKind::Pen}, Brush{TKind::Brush}, Font{TKind::Font, false, 0, -16, false};
    uint32_t TextAlign = 0;
    TPointL Current;
    bool Clipping = false;
    double ClipLeft = 0, ClipTop = 0, ClipRight = 0, ClipBottom = 0; // device, inclusive
  };
  struct TBox {
    double left, top, right, bottom; // device, inclusive
  };

  void Emit(TEmfRecordBuilder& record);
  void EmitPoint(uint32_t type, int32_t x, int32_t y);
  void EmitU32(uint32_t type, uint32_t value);
  void EmitRectRecord(uint32_t type, int32_t left, int32_t top, int32_t right, int32_t bottom);
  void EmitPoly(uint32_t type, std::span<const TPointL> points, bool compact, bool closed);
  uint32_t AllocateHandle(const TObject& object);

  TBox DeviceBox(double left, double top, double right, double bottom) const;
  TBox PointsBox(std::span<const TPointL> points) const;
  double PenExtra() const;
  // What a stroke through the points or a filled shape over the box covers; nothing when nothing is drawn.
  std::optional<TBox> StrokeBox(std::span<const TPointL> points) const;
  std::optional<TBox> FillBox(TBox box) const;
  std::optional<TBox> Clipped(std::optional<TBox> box) const;
  void AddBounds(const std::optional<TBox>& box);
  static TEmfRect ToRect(const std::optional<TBox>& box);
  double FontEmHeight(const TObject& font) const;
  void CheckOpen() const;

  int32_t FWidth, FHeight, FDpi;
  TEmfSize FMillimetres;
  std::vector<uint8_t> FRecords; // everything after the header
  uint32_t FRecordCount = 0;
  std::vector<std::optional<TObject>> FObjects; // by handle; entry 0 unused
  TDCState FState;
  std::vector<TDCState> FSaved;
  std::optional<TBox> FBounds;
  bool FFinished = false;
};
