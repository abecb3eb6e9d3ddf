#pragma once
// TGdiDC: a GDI device context emulated over a QPainter (any paint device: a widget, a QImage, a printer
// page). It holds the GDI drawing state (mapping, world transform, selected objects, colours, clipping,
// the path being recorded) and draws in the painter's device coordinates. The painter must stay active
// for the life of the context; the context changes its pen, brush, clip and transform while drawing.
//
// Threading: one context belongs to one thread. Failing calls set the thread's last error code.
#include <QPainter>
#include <QPainterPath>
#include <QSize>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "DCState.h"
#include "platform/metafile/PageBudget.h"

class TGdiDC {
 public:
  // The context's device coordinates are the painter's coordinates as they are now: its transform and
  // clip at this moment frame everything the context draws.
  explicit TGdiDC(QPainter& painter);
  const QTransform& BaseTransform() const { return FBase; }
  // Sets the painter's transform to `outputToPainter` followed by the base transform.
  void SetPainterTransform(const QTransform& outputTransform) {
    FPainter.setTransform(outputTransform * FBase);
  }
  void ResetPainterTransform() { FPainter.setTransform(FBase); }

  QPainter& Painter() { return FPainter; }
  TDCState& State() { return FState; }
  const TDCState& State() const { return FState; }

  // HORZRES, VERTRES (device pixels), LOGPIXELSX, LOGPIXELSY (dots per inch), HORZSIZE, VERTSIZE (mm).
  int GetDeviceCaps(int index) const;

  // Plain text at a logical position in the selected font, colours and alignment (no advance array).
  bool TextOutA(int32_t x, int32_t y, const char* text, int length);
  bool TextOutW(int32_t x, int32_t y, const char16_t* text, int length);

  // --- Playback support (used by the metafile player) ---
  // The reference device the metafile was recorded for, and where its pixels land on this device.
  void SetReferenceDevice(QSize pixels, QSize millimetres);
  QSize ReferencePixels() const { return FRefPixels; }
  QSize ReferenceMillimetres() const { return FRefMillimetres; }
  void SetPlaybackTransform(const QTransform& deviceToOutput);
  const QTransform& PlaybackTransform() const { return FPlayback; }
  // Brings the state back to the defaults of a fresh context (start of a playback).
  void ResetState();

  // Logical units to output (painter device) coordinates; recomputed after state changes.
  const QTransform& LogicalToOutput();
  void TransformChanged() { FTransformValid = false; }
  // Output pixels per logical unit (geometric mean of the axes).
  double LogicalScale();
  // False when extents or transforms have made the mapping degenerate or absurd: nothing is drawn then.
  bool TransformUsable();

  bool SaveDC();
  bool RestoreDC(int32_t level);
  size_t SavedLevels() const { return FSaved.size(); }

  // Clipping in output coordinates (mode is one of RGN_AND ... RGN_COPY). A combination too costly under
  // the page limits becomes a bounding box and is noted as over the limits.
  void CombineClip(const TClipArea& outputArea, uint32_t mode);
  void ResetClip();
  void SetMetaRegion();

  // Path bracket.
  bool InPath() const { return FInPath; }
  void BeginPath();
  void EndPath() { FInPath = false; }
  void AbortPath();
  QPainterPath& CurrentPath() { return FPath; }
  QPainterPath TakePath();

  // Figures: logical-unit geometry. Inside a path bracket it is added to the path; otherwise it is filled
  // with the brush (when `fill`) and outlined with the pen (when `stroke`).
  void DrawFigure(const QPainterPath& logical, bool fill, bool stroke);
  // Draws a path already in output coordinates.
  void FillOutputPath(const QPainterPath& path);
  void StrokeOutputPath(const QPainterPath& path);
  void FillOutputPath(const QPainterPath& path, const TGdiBrush& brush);

  // Painter set-up for drawing in output coordinates with the clip applied and, for lines and fills, the
  // binary raster operation (text and bitmaps ignore it). Returns false when nothing is to be drawn.
  bool Prepare(bool useRop2 = true);
  void ApplyClip();

  // What a page may cost (PageBudget.h); the defaults unless a caller sets others.
  const TPageLimits& Limits() const { return FLimits; }
  void SetLimits(const TPageLimits& limits) { FLimits = limits; }
  // A record went over a limit and was drawn simplified or skipped: the player reports it once the record
  // is done, as it reports a malformed one.
  void NoteOverLimit(const std::string& what) {
    if (FOverLimit.empty()) FOverLimit = what;
  }
  std::string TakeOverLimit() { return std::exchange(FOverLimit, std::string()); }

  // Qt pen and brush for the selected objects at the current scale.
  QPen CurrentPen();
  // False (and noted over the limits) for a path of more edges than a fill or stroke may have.
  bool WithinEdgeLimit(const QPainterPath& outputPath);
  // After Prepare: false (noted) when filling the path, or its outline for a pen of that width (0 for a
  // fill), would cost the rasteriser more than the limits allow; antialiasing off (noted) when only the
  // antialiasing rasteriser would.
  bool PrepareRaster(const QPainterPath& outputPath, double penWidth);
  // A dashed pen whose dashes along the path would exceed the limit becomes solid (and is noted).
  void LimitDashes(const QPainterPath& outputPath, QPen& pen);
  QBrush MakeBrush(const TGdiBrush& brush) const;

 private:
  QPainter& FPainter;
  QTransform FBase;
  TDCState FState;
  std::vector<TDCState> FSaved;
  QSize FRefPixels{1280, 1024}, FRefMillimetres{320, 240};
  QTransform FPlayback;
  QTransform FLogicalToOutput;
  double FLogicalScale = 1;
  bool FTransformValid = false;
  bool FInPath = false;
  QPainterPath FPath;
  TPageLimits FLimits = DefaultPageLimits();
  std::string FOverLimit;
  // The clip areas last set on the painter; restoring a saved state brings back the same areas.
  bool FClipApplied = false;
  TClipArea FAppliedClip, FAppliedMeta, FBaseArea;
};

// The thread's last error code (and its message), as failing calls leave them.
uint32_t GetLastError();
void SetLastError(uint32_t code);
const std::string& GetLastErrorMessage();
void SetLastErrorMessage(uint32_t code, const std::string& message);
