#pragma once
// TPdfEnum: the device-context state the metafile renderer keeps while it turns the records of one
// metafile into the operators of the canvas's page (TPdfCanvas::RenderMetaFile). It never plays records
// through a drawing engine: lines, figures and paths become path operators, text stays text, bitmaps
// become image objects.
//
// Error policy: records are read only through the typed record views. A record whose counts, offsets or
// indices do not fit its bytes is skipped before anything of it is written (SkippedRecords counts them);
// a damaged metafile structure ends the enumeration with the metafile's EDamagedData. Saving more than
// 32 states or restoring the first one raises EPdfInvalidOperation and stops the page, as do errors of
// the canvas; clip-region and comment errors are swallowed.
//
// One object per rendering; single thread.
#include <cstdint>
#include <vector>

#include "pdf/PdfLogFont.h"
#include "pdf/PdfTypes.h"
#include "platform/metafile/EmfRecordViews.h"
#include "platform/metafile/Metafile.h"
#include "platform/metafile/PageMapping.h"

class TPdfCanvas;

enum TPdfGDIComment : uint8_t { pgcOutline, pgcBookmark, pgcLink };

// The host's object-type codes used by the object table.
constexpr int32_t OBJ_FREE = 0, OBJ_PEN = 1, OBJ_BRUSH = 2, OBJ_FONT = 6;
constexpr int32_t COLORONCOLOR = 3;

struct TPdfEnumPen {
  bool Null = false;
  int32_t Color = 0;
  int32_t Style = 0;
  float Width = 0; // logical units
  // PS_USERSTYLE: dash and gap lengths, logical units for a geometric pen, pixels for a cosmetic one.
  std::vector<uint32_t> UserStyle;
  bool Cosmetic = false;
};

struct TPdfEnumBrush {
  bool Null = false;
  int32_t Color = 0;
  int32_t Style = 0;
};

struct TPdfEnumFont {
  int16_t Angle = 0;    // escapement in whole degrees
  int16_t Ascent = 0;   // tmAscent, logical units
  int16_t Descent = 0;  // tmDescent
  int16_t EmHeight = 0; // tmHeight - tmInternalLeading
  TLogFontW LogFont;
};

struct TPdfEnumDCState {
  TPdfIntPoint CurrentPoint;
  bool PointEmitted = false; // an "m" for CurrentPoint is already in the open path
  TPdfIntSize WindowExt, ViewportExt;
  TPdfIntPoint WindowOrg, ViewportOrg;
  emf::XForm WorldXForm;
  TPdfBox MetaClip, ClipBox;
  bool HasClipBox = false;
  int32_t MapMode = 0, FillMode = 0, StretchMode = 0, ArcDirection = 0;
  TPdfEnumPen Pen;
  TPdfEnumBrush Brush;
  int32_t TextColor = 0, TextAlign = 0, BkMode = 0, BkColor = 0;
  TPdfEnumFont Font;
};

struct TPdfEnumHandleEntry {
  int32_t Kind = OBJ_FREE;
  TPdfEnumPen Pen;
  TPdfEnumBrush Brush;
  TPdfEnumFont Font;
};

// Where a text record's line lies (logical units), for its underline and strike-out.
struct TPdfTextLine {
  double X = 0, Y = 0;       // the reference point
  double XOff = 0, YOff = 0; // alignment offsets
  double FullWidth = 0;
  float Cos = 1, Sin = 0; // the font's escapement
  float PenWidth = 0;
};

class TPdfEnum {
 public:
  static constexpr int MaxDC = 32;

  explicit TPdfEnum(TPdfCanvas* ACanvas);

  // Handles one record (the enumeration callback's work).
  void HandleRecord(const TEmfRecord& R);

  void SaveDC();
  void RestoreDC();
  void NeedPen();
  void NeedBrushAndPen();
  void FlushPenBrush();
  void SelectObjectFromIndex(uint32_t iObject);
  // Custom: the transform to apply with iMode (MWT_*), none to refresh the canvas mapping only.
  void ScaleMatrix(const emf::XForm* Custom, uint32_t iMode);
  void CreateFont(const emf::CreateFontView& R);
  // Source rectangle (xs, ys, ws, hs) of the bitmap, destination (xd, yd, wd, hd) in logical units.
  // A destination the mapping mirrors shows the bitmap mirrored. A bitmap that cannot be decoded raises
  // EDamagedData.
  void DrawBitmap(int32_t xs, int32_t ys, int32_t ws, int32_t hs, int32_t xd, int32_t yd, int32_t wd,
                  int32_t hd, const emf::DibRef& Bitmap, const emf::XForm* xSrcTransform, uint32_t dwRop,
                  const int32_t* Transparent);
  void FillRectangle(const TPdfIntRect& Rect);
  void InitMetaRgn(const TPdfIntRect& ClientRect);
  void SetMetaRgn();
  static TPdfBox IntersectClipRect(const TPdfBox& ClpRect, const TPdfBox& CurrRect);
  void ExtSelectClipRgn(uint32_t iMode);
  TPdfBox GetClipRect() const;
  void GradientFill(const emf::GradientFillView& R);
  void PolyPoly(const emf::PolyPolyView& R);
  void HandleComment(TPdfGDIComment Kind, const uint8_t* P, size_t Len);
  void TextOut(const emf::ExtTextOutView& R);
  // Strokes a line along the text, o logical units below the baseline (negative: above).
  void DrawTextDecoration(const TPdfTextLine& L, double o);

  TPdfEnumDCState& State() { return DC[nDC]; }
  const TPdfEnumDCState& State() const { return DC[nDC]; }
  int Depth() const { return nDC; }
  const std::vector<TPdfEnumHandleEntry>& Objects() const { return obj; }
  // Records passed over because their data did not fit (see the error policy above).
  int SkippedRecords() const { return fSkippedRecords; }
  // Records of the page that could not be read at all, counted with the skipped ones.
  void CountSkipped() { ++fSkippedRecords; }
  // The handle table holds at least this many entries (records the renderer adds use the ones past the
  // page's own).
  size_t MinHandleCount = 0;

 private:
  void SelectFillColor(int32_t Color);
  void SelectStrokeColor(int32_t Color);
  void WritePenWidth(float Width);
  void EndLineIfInLined();
  TPdfEnumHandleEntry* Entry(uint32_t Index);
  // The shorthand "paint-or-keep": inside a path bracket nothing, else "n" or "S" by the pen.
  void PaintOrKeep();
  void EndPathUnpainted();
  // Fills a logical rectangle in the background colour.
  void FillBackground(const TPdfIntRect& Rect);
  void PaintPolyPolygon();

  // Record groups, one file each.
  bool HandleStateRecord(const TEmfRecord& R);
  bool HandleObjectRecord(const TEmfRecord& R);
  bool HandleShapeRecord(const TEmfRecord& R);
  bool HandlePathRecord(const TEmfRecord& R);
  bool HandleClipRecord(const TEmfRecord& R);
  bool HandleBitmapRecord(const TEmfRecord& R);
  void PolyBezier(const emf::PolyView& R, bool To);
  void Polygon(const emf::PolyView& R);
  void Polyline(const emf::PolyView& R);
  void PolylineTo(const emf::PolyView& R);
  void PolyDraw(const emf::PolyDrawView& R);
  void SetPixel(const emf::SetPixelView& R);
  void Arc(uint32_t Type, const emf::ArcView& R);
  void AngleArc(const emf::AngleArcView& R);
  void Comment(ByteView R);

  int32_t fStrokeColor = -1; // -1: none known
  int32_t fFillColor = -1;
  int32_t fPenStyle = -1;
  float fPenWidth = -1.0f;
  std::vector<float> fUserDash; // the PS_USERSTYLE pattern last written, in points
  bool fInLined = false;
  emf::XForm fInitTransformMatrix;
  TPdfBox fInitMetaRgn;
  TPdfCanvas* Canvas;
  std::vector<TPdfEnumHandleEntry> obj;
  int nDC = 0;
  TPdfEnumDCState DC[MaxDC];
  int fSkippedRecords = 0;
  emf::TReferenceDevice fDevice; // from the header record
};

// The enumeration callback: hands every record to the TPdfEnum; always goes on.
int EmfRecordCallback(const TEmfRecord& R, TPdfEnum& Data);
