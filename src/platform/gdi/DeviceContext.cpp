#include "DeviceContext.h"

#include <QPaintDevice>
#include <cmath>

#include "Mapping.h"
#include "PathCost.h"
#include "TextOut.h"

namespace {
thread_local uint32_t gLastError = 0;
thread_local std::string gLastErrorMessage;
} // namespace

uint32_t GetLastError() {
  return gLastError;
}
void SetLastError(uint32_t code) {
  gLastError = code;
  gLastErrorMessage.clear();
}
const std::string& GetLastErrorMessage() {
  return gLastErrorMessage;
}
void SetLastErrorMessage(uint32_t code, const std::string& message) {
  gLastError = code;
  gLastErrorMessage = message;
}

TGdiDC::TGdiDC(QPainter& painter) : FPainter(painter), FBase(painter.transform()) {
  if (painter.hasClipping()) FBaseArea = TClipArea(painter.clipPath());
  if (QPaintDevice* d = painter.device()) {
    FRefPixels = QSize(d->width(), d->height());
    FRefMillimetres = QSize(std::max(1, d->widthMM()), std::max(1, d->heightMM()));
  }
}

int TGdiDC::GetDeviceCaps(int index) const {
  QPaintDevice* d = FPainter.device();
  if (!d) return 0;
  switch (index) {
  case HORZRES:
    return d->width();
  case VERTRES:
    return d->height();
  case LOGPIXELSX:
    return d->logicalDpiX();
  case LOGPIXELSY:
    return d->logicalDpiY();
  case HORZSIZE:
    return d->widthMM();
  case VERTSIZE:
    return d->heightMM();
  default:
    return 0;
  }
}

bool TGdiDC::TextOutW(int32_t x, int32_t y, const char16_t* text, int length) {
  if (length < 0 || (length > 0 && !text)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  TTextRun run;
  run.Ref = QPointF(x, y);
  run.Text = QString(reinterpret_cast<const QChar*>(text), length);
  return DrawTextRun(*this, run);
}

bool TGdiDC::TextOutA(int32_t x, int32_t y, const char* text, int length) {
  if (length < 0 || (length > 0 && !text)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  TTextRun run;
  run.Ref = QPointF(x, y);
  uint8_t charSet = FState.Font ? FState.Font->font.CharSet : 0;
  run.Text = DecodeAnsiText(text, static_cast<size_t>(length), charSet);
  return DrawTextRun(*this, run);
}

void TGdiDC::SetReferenceDevice(QSize pixels, QSize millimetres) {
  if (pixels.width() > 0 && pixels.height() > 0) FRefPixels = pixels;
  if (millimetres.width() > 0 && millimetres.height() > 0) FRefMillimetres = millimetres;
  FTransformValid = false;
}

void TGdiDC::SetPlaybackTransform(const QTransform& deviceToOutput) {
  FPlayback = deviceToOutput;
  FTransformValid = false;
}

void TGdiDC::ResetState() {
  FState = TDCState();
  FSaved.clear();
  FInPath = false;
  FPath = QPainterPath();
  FTransformValid = false;
  FClipApplied = false;
}

const QTransform& TGdiDC::LogicalToOutput() {
  if (!FTransformValid) {
    FLogicalToOutput = FState.World * PageToDevice(FState) * FPlayback;
    double det = std::fabs(FLogicalToOutput.m11() * FLogicalToOutput.m22() -
                           FLogicalToOutput.m12() * FLogicalToOutput.m21());
    FLogicalScale = std::isfinite(det) ? std::sqrt(det) : 0;
    FTransformValid = true;
  }
  return FLogicalToOutput;
}

double TGdiDC::LogicalScale() {
  LogicalToOutput();
  return FLogicalScale;
}

bool TGdiDC::SaveDC() {
  // Bounded: a metafile that only saves must not grow the stack without limit.
  if (FSaved.size() >= 4096) return false;
  // Nor may saved clips (each level may hold its own) grow without limit.
  size_t clipRects = 0;
  const TClipArea* previous = nullptr;
  for (const TDCState& saved : FSaved) {
    if (saved.Clip.IsRects() && !(previous && previous->SameAs(saved.Clip)))
      clipRects += saved.Clip.Rects().Rects().size();
    previous = &saved.Clip;
  }
  if (clipRects > 20 * FLimits.RegionRects) return false;
  FSaved.push_back(FState);
  return true;
}

bool TGdiDC::RestoreDC(int32_t level) {
  int64_t index = level < 0 ? static_cast<int64_t>(FSaved.size()) + level : static_cast<int64_t>(level) - 1;
  if (level == 0 || index < 0 || index >= static_cast<int64_t>(FSaved.size())) return false;
  FState = FSaved[static_cast<size_t>(index)];
  FSaved.resize(static_cast<size_t>(index));
  FTransformValid = false;
  return true;
}

void TGdiDC::CombineClip(const TClipArea& area, uint32_t mode) {
  TDCState& s = FState;
  if (mode < RGN_AND || mode > RGN_COPY) return;
  if (mode == RGN_COPY) {
    s.Clip = area;
    return;
  }
  bool simplified = false;
  if (s.Clip.None()) {
    // No clip means everything: AND gives the area, OR everything, DIFF everything but the area.
    if (mode == RGN_AND) {
      s.Clip = area;
    } else if (mode == RGN_DIFF || mode == RGN_XOR) {
      TClipArea all(TBandedRegion(QRectF(-1e7, -1e7, 2e7, 2e7)));
      s.Clip = TClipArea::Combine(all, area, RGN_DIFF, FLimits, simplified);
    }
  } else {
    s.Clip = TClipArea::Combine(s.Clip, area, mode, FLimits, simplified);
  }
  if (simplified) NoteOverLimit("clip too complex, replaced by its bounding box");
}

void TGdiDC::ResetClip() {
  FState.Clip = TClipArea();
}

void TGdiDC::SetMetaRegion() {
  TDCState& s = FState;
  if (!s.Clip.None()) {
    bool simplified = false;
    s.MetaClip =
        s.MetaClip.None() ? s.Clip : TClipArea::Combine(s.MetaClip, s.Clip, RGN_AND, FLimits, simplified);
    if (simplified) NoteOverLimit("clip too complex, replaced by its bounding box");
  }
  ResetClip();
}

void TGdiDC::ApplyClip() {
  const TDCState& s = FState;
  if (FClipApplied && FAppliedClip.SameAs(s.Clip) && FAppliedMeta.SameAs(s.MetaClip)) return;
  FClipApplied = true;
  FAppliedClip = s.Clip;
  FAppliedMeta = s.MetaClip;
  ResetPainterTransform();
  std::vector<const TClipArea*> parts;
  for (const TClipArea* a : {static_cast<const TClipArea*>(&FBaseArea), &s.MetaClip, &s.Clip})
    if (!a->None()) parts.push_back(a);
  if (parts.empty()) {
    FPainter.setClipping(false);
    return;
  }
  // Areas too costly to intersect exactly are intersected by the painter as it clips.
  TClipArea clip = *parts[0];
  std::vector<const TClipArea*> painterIntersects;
  for (size_t i = 1; i < parts.size(); ++i) {
    bool simplified = false;
    TClipArea both = TClipArea::Combine(clip, *parts[i], RGN_AND, FLimits, simplified);
    if (simplified)
      painterIntersects.push_back(parts[i]);
    else
      clip = both;
  }
  // A clip path is rasterised like a fill, and within the same limits.
  QPaintDevice* device = FPainter.device();
  int rows = device ? device->height() : 0;
  auto set = [&](const TClipArea& area, Qt::ClipOperation op) {
    TRasterCost cost;
    if (!area.IsRects()) cost = RasterCost(FBase.map(area.Path()), rows);
    if (cost.Crossings > FLimits.PathCrossings) {
      NoteOverLimit("clip path crossing the page too many times, replaced by its bounding box");
      QPainterPath box;
      box.addRect(area.BoundingRect());
      FPainter.setClipPath(box, op);
      return;
    }
    if (cost.CellSquares > FLimits.AntialiasedCells) {
      // The painter rasterises clip paths with antialiasing only; a region is scan-converted in linear
      // time.
      NoteOverLimit("clip path crossing the page too many times, clipped without antialiasing");
      const QPainterPath& path = area.Path();
      QRegion region;
      for (const QPolygonF& polygon : path.toFillPolygons())
        region += QRegion(polygon.toPolygon(), path.fillRule());
      FPainter.setClipRegion(region, op);
      return;
    }
    FPainter.setClipPath(area.Path(), op);
  };
  set(clip, Qt::ReplaceClip);
  for (const TClipArea* a : painterIntersects)
    set(*a, Qt::IntersectClip);
}

void TGdiDC::BeginPath() {
  FInPath = true;
  FPath = QPainterPath();
}

void TGdiDC::AbortPath() {
  FInPath = false;
  FPath = QPainterPath();
}

QPainterPath TGdiDC::TakePath() {
  QPainterPath p = FPath;
  FPath = QPainterPath();
  FInPath = false;
  return p;
}

namespace {
QPainter::CompositionMode RopMode(uint32_t rop2) {
  switch (rop2) {
  case R2_XORPEN:
    return QPainter::RasterOp_SourceXorDestination;
  case R2_NOTXORPEN:
    return QPainter::RasterOp_NotSourceXorDestination;
  case R2_MASKPEN:
    return QPainter::RasterOp_SourceAndDestination;
  case R2_MERGEPEN:
    return QPainter::RasterOp_SourceOrDestination;
  case R2_NOT:
    return QPainter::RasterOp_NotDestination;
  case R2_NOTCOPYPEN:
    return QPainter::RasterOp_NotSource;
  case R2_MASKNOTPEN:
    return QPainter::RasterOp_NotSourceAndDestination;
  case R2_MERGENOTPEN:
    return QPainter::RasterOp_NotSourceOrDestination;
  case R2_NOTMASKPEN:
    return QPainter::RasterOp_NotSourceOrNotDestination;
  case R2_NOTMERGEPEN:
    return QPainter::RasterOp_NotSourceAndNotDestination;
  case R2_MASKPENNOT:
    return QPainter::RasterOp_SourceAndNotDestination;
  default:
    return QPainter::CompositionMode_SourceOver;
  }
}
} // namespace

bool TGdiDC::Prepare(bool useRop2) {
  if ((useRop2 && FState.Rop2 == R2_NOP) || !TransformUsable()) return false;
  ApplyClip();
  ResetPainterTransform();
  QPainter::CompositionMode mode = useRop2 ? RopMode(FState.Rop2) : QPainter::CompositionMode_SourceOver;
  FPainter.setCompositionMode(mode);
  // Raster operations combine whole pixels; partial coverage would make them smear.
  FPainter.setRenderHint(QPainter::Antialiasing, mode == QPainter::CompositionMode_SourceOver);
  return true;
}

QBrush TGdiDC::MakeBrush(const TGdiBrush& b) const {
  uint32_t rop = FState.Rop2;
  if (rop == R2_BLACK) return QBrush(Qt::black);
  if (rop == R2_WHITE) return QBrush(Qt::white);
  switch (b.Style) {
  case BS_NULL:
    return QBrush(Qt::NoBrush);
  case BS_HATCHED: {
    static const Qt::BrushStyle hatch[] = {Qt::HorPattern,   Qt::VerPattern,   Qt::FDiagPattern,
                                           Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
    return QBrush(ColorRefToQColor(b.Color), b.Hatch < 6 ? hatch[b.Hatch] : Qt::SolidPattern);
  }
  case BS_PATTERN:
  case BS_DIBPATTERN:
  case BS_DIBPATTERNPT:
    if (!b.Pattern.isNull()) {
      if (b.Monochrome) {
        QRgb fore = ColorRefToQColor(FState.TextColor).rgb(), back = ColorRefToQColor(FState.BkColor).rgb();
        if (b.MonoPattern.isNull()) b.MonoPattern = b.Pattern.convertToFormat(QImage::Format_Mono);
        if (b.MonoPattern.colorCount() != 2 || b.MonoFore != fore || b.MonoBack != back) {
          b.MonoPattern.setColorCount(2);
          b.MonoPattern.setColor(0, fore);
          b.MonoPattern.setColor(1, back);
          b.MonoFore = fore;
          b.MonoBack = back;
        }
        return QBrush(b.MonoPattern);
      }
      return QBrush(b.Pattern);
    }
    return QBrush(ColorRefToQColor(b.Color));
  default:
    return QBrush(ColorRefToQColor(b.Color));
  }
}

void TGdiDC::LimitDashes(const QPainterPath& path, QPen& pen) {
  if (pen.style() == Qt::SolidLine || DashSegments(path, pen) <= double(FLimits.DashSegments)) return;
  pen.setStyle(Qt::SolidLine);
  NoteOverLimit("more dashes than a page may draw at once, drawn solid");
}

QPen TGdiDC::CurrentPen() {
  const TGdiPen* p = FState.Pen && FState.Pen->kind == TGdiObject::Pen ? &FState.Pen->pen : nullptr;
  if (!p || p->Null()) return QPen(Qt::NoPen);
  QColor color = ColorRefToQColor(p->Color);
  if (FState.Rop2 == R2_BLACK) color = Qt::black;
  if (FState.Rop2 == R2_WHITE) color = Qt::white;
  double width = p->Width > 0 ? std::max(1.0, p->Width * LogicalScale()) : 1.0;
  if (!std::isfinite(width) || width > 1e6) width = 1;
  QPen pen(color, width);
  uint32_t style = p->Style & PS_STYLE_MASK;
  bool thin = width <= 1.5;
  if (p->Geometric()) {
    uint32_t cap = p->Style & PS_ENDCAP_MASK, join = p->Style & PS_JOIN_MASK;
    pen.setCapStyle(cap == PS_ENDCAP_SQUARE ? Qt::SquareCap
                    : cap == PS_ENDCAP_FLAT ? Qt::FlatCap
                                            : Qt::RoundCap);
    pen.setJoinStyle(join == PS_JOIN_BEVEL   ? Qt::BevelJoin
                     : join == PS_JOIN_MITER ? Qt::MiterJoin
                                             : Qt::RoundJoin);
    pen.setMiterLimit(FState.MiterLimit);
  } else {
    pen.setCapStyle(thin ? Qt::FlatCap : Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
  }
  // Cosmetic dashes are fixed device-pixel patterns; wide non-geometric pens are always solid.
  QVector<qreal> dashes;
  bool styled = p->Geometric() || thin;
  if (styled) {
    switch (style) {
    case PS_DASH:
      dashes = p->Geometric() ? QVector<qreal>{3, 1} : QVector<qreal>{18, 6};
      break;
    case PS_DOT:
    case PS_ALTERNATE:
      dashes = p->Geometric() ? QVector<qreal>{1, 1} : QVector<qreal>{3, 3};
      break;
    case PS_DASHDOT:
      dashes = p->Geometric() ? QVector<qreal>{3, 1, 1, 1} : QVector<qreal>{9, 6, 3, 6};
      break;
    case PS_DASHDOTDOT:
      dashes = p->Geometric() ? QVector<qreal>{3, 1, 1, 1, 1, 1} : QVector<qreal>{9, 3, 3, 3, 3, 3};
      break;
    case PS_USERSTYLE:
      for (double d : p->Dashes)
        dashes.push_back(std::max(0.1, d * LogicalScale() / width));
      if (dashes.size() % 2) dashes.push_back(dashes.back());
      break;
    default:
      break;
    }
  }
  if (!dashes.isEmpty()) {
    pen.setCapStyle(Qt::FlatCap);
    pen.setDashPattern(dashes);
  }
  return pen;
}

bool TGdiDC::WithinEdgeLimit(const QPainterPath& path) {
  if (FlattenedEdges(path) <= FLimits.PathEdges) return true;
  NoteOverLimit("path of more edges than a page may draw at once, not drawn");
  return false;
}

bool TGdiDC::PrepareRaster(const QPainterPath& path, double penWidth) {
  // A few edges cannot keep the rasteriser long; most drawing ends here.
  QPaintDevice* device = FPainter.device();
  if (!device || path.elementCount() <= 64) return true;
  double baseScale = std::sqrt(std::fabs(FBase.determinant()));
  TRasterCost cost =
      RasterCost(FBase.map(path), device->height(), penWidth * baseScale / 2, penWidth > 0 ? 2 : 1);
  if (cost.Crossings > FLimits.PathCrossings) {
    NoteOverLimit("path crossing the page too many times, not drawn");
    return false;
  }
  if (cost.CellSquares > FLimits.AntialiasedCells && FPainter.testRenderHint(QPainter::Antialiasing)) {
    FPainter.setRenderHint(QPainter::Antialiasing, false);
    NoteOverLimit("path crossing the page too many times, drawn without antialiasing");
  }
  return true;
}

void TGdiDC::FillOutputPath(const QPainterPath& path, const TGdiBrush& brush) {
  if (brush.Null() || !WithinEdgeLimit(path) || !Prepare() || !PrepareRaster(path, 0)) return;
  QPainterPath p = path;
  p.setFillRule(FState.PolyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
  if (brush.Style == BS_HATCHED && FState.BkMode == OPAQUE)
    FPainter.fillPath(p, ColorRefToQColor(FState.BkColor));
  FPainter.fillPath(p, MakeBrush(brush));
}

void TGdiDC::FillOutputPath(const QPainterPath& path) {
  if (FState.Brush && FState.Brush->kind == TGdiObject::Brush) FillOutputPath(path, FState.Brush->brush);
}

void TGdiDC::StrokeOutputPath(const QPainterPath& path) {
  QPen pen = CurrentPen();
  if (pen.style() == Qt::NoPen || !WithinEdgeLimit(path) || !Prepare()) return;
  LimitDashes(path, pen);
  if (!PrepareRaster(path, pen.widthF())) return;
  // GDI lights the pixel whose top-left corner a thin line passes through; antialiased painting centres
  // a line on its coordinates, so thin lines move by half a pixel to stay crisp.
  if (pen.widthF() <= 1.5) SetPainterTransform(QTransform::fromTranslate(0.5, 0.5));
  if (pen.style() != Qt::SolidLine && FState.BkMode == OPAQUE) {
    // Gaps of styled lines show the background colour.
    QPen back = pen;
    back.setStyle(Qt::SolidLine);
    back.setColor(ColorRefToQColor(FState.BkColor));
    FPainter.strokePath(path, back);
  }
  FPainter.strokePath(path, pen);
  ResetPainterTransform();
}

bool TGdiDC::TransformUsable() {
  double s = LogicalScale();
  return s > 1e-9 && s < 1e6; // also false for NaN and infinity
}

void TGdiDC::DrawFigure(const QPainterPath& logical, bool fill, bool stroke) {
  if (!TransformUsable()) return;
  QPainterPath out = LogicalToOutput().map(logical);
  if (FInPath) {
    FPath.addPath(out);
    return;
  }
  if (fill) FillOutputPath(out);
  if (stroke) StrokeOutputPath(out);
}
