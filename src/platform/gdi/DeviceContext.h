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
#include <vector>

#include "DCState.h"

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

  // Clipping in output coordinates (mode is one of RGN_AND ... RGN_COPY); an empty-path RGN_COPY of
  // `reset` removes the clip.
  void CombineClip(const QPainterPath& outputArea, uint32_t mode);
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

  // Qt pen and brush for the selected objects at the current scale.
  QPen CurrentPen();
  QBrush MakeBrush(const TGdiBrush& brush) const;

 private:
  QPainter& FPainter;
  QTransform FBase;
  bool FHasBaseClip = false;
  QPainterPath FBaseClip;
  TDCState FState;
  std::vector<TDCState> FSaved;
  QSize FRefPixels{1280, 1024}, FRefMillimetres{320, 240};
  QTransform FPlayback;
  QTransform FLogicalToOutput;
  double FLogicalScale = 1;
  bool FTransformValid = false;
  bool FInPath = false;
  QPainterPath FPath;
  uint64_t FClipGeneration = 1, FAppliedGeneration = 0;
};

// The thread's last error code (and its message), as failing calls leave them.
uint32_t GetLastError();
void SetLastError(uint32_t code);
const std::string& GetLastErrorMessage();
void SetLastErrorMessage(uint32_t code, const std::string& message);
