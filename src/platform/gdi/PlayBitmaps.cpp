// Bitmap records: the block transfers, StretchDIBits, SetDIBitsToDevice, alpha and transparent blits, and
// the brushes made from bitmaps. Bitmaps are decoded by the DIB module; a bitmap it refuses (too large,
// bits shorter than the header claims) is not drawn.
#include <QImage>
#include <cmath>
#include <cstring>
#include <memory>

#include "PlayRecords.h"
#include "RecordQt.h"
#include "platform/dib/DibDecode.h"
#include "platform/dib/DibStretch.h"
#include "platform/dib/RasterOp.h"

namespace {
const std::vector<uint32_t>* PaletteOf(TGdiDC& dc) {
  const TGdiObjectPtr& p = dc.State().Palette;
  return p && p->kind == TGdiObject::Palette ? &p->palette.Colors : nullptr;
}

// A bitmap whose bits are a whole PNG or JPEG file: Qt's image readers decode it (they refuse images
// beyond their allocation limit). Anything else stays unsupported.
QImage DecodeCompressedImage(ByteView bmi, ByteView bits, TDibInfo* infoOut) {
  uint32_t compression = bmi.Has(16, 4) && bmi.U32(0) >= 40 ? bmi.U32(16) : 0;
  if (compression != dib::BI_JPEG && compression != dib::BI_PNG)
    throw EUnsupportedBitmap("Bitmap compression " + std::to_string(compression) + " is not supported");
  QImage image = QImage::fromData(QByteArrayView(bits.data(), static_cast<qsizetype>(bits.size())),
                                  compression == dib::BI_PNG ? "PNG" : "JPEG");
  if (image.isNull()) throw EDamagedData("The bitmap's compressed image cannot be read");
  if (infoOut) {
    infoOut->Width = image.width();
    infoOut->Height = image.height();
    infoOut->TopDown = bmi.I32(8) < 0;
  }
  return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                       : QImage::Format_RGB32);
}

// The decoded bitmap as an image (ARGB, straight alpha when the bitmap has its own).
QImage DecodeImage(TGdiDC& dc, const DibRef& s, TDibInfo* infoOut = nullptr) {
  ByteView bmi = s.BitmapInfo();
  ByteView bits = s.Bits();
  TDibInfo info;
  try {
    info = ParseBitmapInfo(bmi, s.Usage(), PaletteOf(dc));
  } catch (const EUnsupportedBitmap&) {
    return DecodeCompressedImage(bmi, bits, infoOut);
  }
  auto raster = std::make_unique<TRaster>(DecodePixels(info, bits));
  if (infoOut) *infoOut = info;
  // The image borrows the raster's pixels and frees them with itself: no copy of a large bitmap.
  TRaster* owned = raster.release();
  return QImage(
      reinterpret_cast<uchar*>(owned->Pixels.data()), owned->Width, owned->Height, owned->Width * 4,
      owned->HasAlpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32,
      [](void* p) { delete static_cast<TRaster*>(p); }, owned);
}

// How a ternary raster operation is painted: a composition mode, or a fill for those without a source.
struct TRopPlan {
  bool UsesSource = true;
  QPainter::CompositionMode Mode = QPainter::CompositionMode_SourceOver;
  int Fill = 0; // without a source: 1 brush, 2 black, 3 white, 4 invert, 0 nothing
};

TRopPlan PlanRop(uint32_t rop) {
  TRopPlan p;
  switch (rop) {
  case dib::SRCCOPY:
  case dib::MERGECOPY:
    break;
  case dib::SRCAND:
    p.Mode = QPainter::RasterOp_SourceAndDestination;
    break;
  case dib::SRCPAINT:
    p.Mode = QPainter::RasterOp_SourceOrDestination;
    break;
  case dib::SRCINVERT:
    p.Mode = QPainter::RasterOp_SourceXorDestination;
    break;
  case dib::NOTSRCCOPY:
    p.Mode = QPainter::RasterOp_NotSource;
    break;
  case dib::SRCERASE:
    p.Mode = QPainter::RasterOp_SourceAndNotDestination;
    break;
  case dib::NOTSRCERASE:
    p.Mode = QPainter::RasterOp_NotSourceAndNotDestination;
    break;
  case dib::MERGEPAINT:
    p.Mode = QPainter::RasterOp_NotSourceOrDestination;
    break;
  default:
    p.UsesSource = false;
    switch (rop) {
    case dib::PATCOPY:
      p.Fill = 1;
      break;
    case dib::PATINVERT:
      p.Fill = 1;
      p.Mode = QPainter::RasterOp_SourceXorDestination;
      break;
    case dib::BLACKNESS:
      p.Fill = 2;
      break;
    case dib::WHITENESS:
      p.Fill = 3;
      break;
    case dib::DSTINVERT:
      p.Fill = 4;
      p.Mode = QPainter::RasterOp_NotDestination;
      break;
    default:
      p.UsesSource = RopUsesSource(RopIndex(rop));
      break; // other operations with a source are drawn as a copy
    }
  }
  return p;
}

// Fills the logical destination rectangle for operations that use no source.
void FillDestination(TGdiDC& dc, const QRectF& dest, const TRopPlan& plan) {
  if (plan.Fill == 0 || !dc.Prepare(false)) return;
  QPainterPath area;
  area.addRect(dest.normalized());
  area = dc.LogicalToOutput().map(area);
  QPainter& p = dc.Painter();
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setCompositionMode(plan.Mode);
  if (plan.Fill == 1) {
    if (dc.State().Brush && dc.State().Brush->kind == TGdiObject::Brush && !dc.State().Brush->brush.Null())
      p.fillPath(area, dc.MakeBrush(dc.State().Brush->brush));
  } else {
    p.fillPath(area, plan.Fill == 3 ? Qt::white : Qt::black);
  }
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

// Draws `image`'s source rectangle (top-left origin) onto the logical destination rectangle; negative
// extents mirror.
void DrawImage(TGdiDC& dc, const QImage& image, const QRectF& dest, const QRectF& src,
               QPainter::CompositionMode mode, double opacity = 1) {
  if (src.width() == 0 || src.height() == 0 || dest.width() == 0 || dest.height() == 0) return;
  if (!dc.Prepare(false)) return;
  QRectF s = src.normalized();
  QRect sub = s.toAlignedRect().intersected(image.rect());
  if (sub.isEmpty()) return;
  // Source to destination: scale and mirror by the extents' signs, then the logical-to-output mapping.
  double sx = dest.width() / src.width(), sy = dest.height() / src.height();
  double x0 = src.width() < 0 ? s.right() : s.left(), y0 = src.height() < 0 ? s.bottom() : s.top();
  QTransform local(sx, 0, 0, sy, dest.left() - x0 * sx, dest.top() - y0 * sy);
  QTransform t = local * dc.LogicalToOutput();
  QPainter& p = dc.Painter();
  dc.SetPainterTransform(t);
  p.setCompositionMode(mode);
  p.setOpacity(opacity);
  // Enlarged bitmaps keep hard pixel edges, as the host's stretch does; reduced ones are smoothed.
  bool enlarging =
      std::fabs(t.m11()) + std::fabs(t.m21()) > 1.5 || std::fabs(t.m22()) + std::fabs(t.m12()) > 1.5;
  p.setRenderHint(QPainter::SmoothPixmapTransform, !enlarging);
  // Axis-aligned blits cover whole pixels; antialiasing would only slow them down.
  if (t.type() <= QTransform::TxScale) p.setRenderHint(QPainter::Antialiasing, false);
  p.drawImage(QRectF(sub), image, QRectF(sub));
  p.setOpacity(1);
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  dc.ResetPainterTransform();
}

QPainter::CompositionMode ModeFor(const TRopPlan& plan, bool hasAlpha) {
  (void)hasAlpha;
  return plan.Mode;
}

// BITBLT, STRETCHBLT (and the shared head of MASKBLT, ALPHABLEND, TRANSPARENTBLT).
struct TBltRecord {
  QRectF Dest;
  uint32_t Rop;
  QPointF SrcOrigin;
  DibRef Source;
  QSizeF SrcSize;
};

TBltRecord ReadBlt(const BltView& v) {
  TBltRecord b;
  b.Dest = QRectF(ToQt(v.DestOrigin()), ToQt(v.DestExtent()));
  b.Rop = v.Rop();
  b.SrcOrigin = ToQt(v.SrcOrigin());
  b.Source = v.Source();
  b.SrcSize = ToQt(v.SrcExtent());
  return b;
}

void PlayBlt(TGdiDC& dc, ByteView rec) {
  TBltRecord b = ReadBlt(BltView(rec));
  TRopPlan plan = PlanRop(b.Rop);
  if (!plan.UsesSource || !b.Source.Present()) {
    if (plan.UsesSource) plan.Fill = 1; // a source operation without a bitmap: paint with the brush
    FillDestination(dc, b.Dest, plan);
    return;
  }
  QImage image = DecodeImage(dc, b.Source);
  if (b.Rop == dib::SRCCOPY) image = image.convertToFormat(QImage::Format_RGB32);
  DrawImage(dc, image, b.Dest, QRectF(b.SrcOrigin, b.SrcSize), ModeFor(plan, image.hasAlphaChannel()));
}

void PlayStretchDIBits(TGdiDC& dc, ByteView rec) {
  StretchDIBitsView v(rec);
  QRectF dest(ToQt(v.DestOrigin()), ToQt(v.DestExtent()));
  int32_t xSrc = v.SrcOrigin().x, ySrc = v.SrcOrigin().y, cxSrc = v.SrcExtent().cx, cySrc = v.SrcExtent().cy;
  DibRef s = v.Source();
  TRopPlan plan = PlanRop(v.Rop());
  if (!plan.UsesSource || !s.Present()) {
    FillDestination(dc, dest, plan);
    return;
  }
  TDibInfo info;
  QImage image = DecodeImage(dc, s, &info);
  if (v.Rop() == dib::SRCCOPY) image = image.convertToFormat(QImage::Format_RGB32);
  double top = static_cast<double>(DibSourceTop(info, ySrc, cySrc));
  DrawImage(dc, image, dest, QRectF(xSrc, top, cxSrc, cySrc), plan.Mode);
}

void PlaySetDIBitsToDevice(TGdiDC& dc, ByteView rec) {
  SetDIBitsToDeviceView v(rec);
  int32_t xDest = v.DestOrigin().x, yDest = v.DestOrigin().y, xSrc = v.SrcOrigin().x, ySrc = v.SrcOrigin().y;
  int32_t cx = v.Extent().cx, cy = v.Extent().cy;
  DibRef s = v.Source();
  uint32_t startScan = v.StartScan(), scans = v.ScanCount();
  if (!s.Present() || cx <= 0 || cy <= 0) return;
  // The record may carry only some scan lines: decode them as a bitmap of that height.
  ByteView bmi = s.BitmapInfo();
  std::vector<uint8_t> header(bmi.data(), bmi.data() + bmi.size());
  TDibInfo full = ParseBitmapInfo(bmi, s.Usage(), PaletteOf(dc));
  if (scans == 0 || scans > static_cast<uint32_t>(full.Height) ||
      startScan >= static_cast<uint32_t>(full.Height))
    return;
  if (full.HeaderSize >= 40 && scans != static_cast<uint32_t>(full.Height)) {
    int32_t h = full.TopDown ? -static_cast<int32_t>(scans) : static_cast<int32_t>(scans);
    std::memcpy(header.data() + 8, &h, 4);
  }
  ByteView patched(header.data(), header.size());
  TDibInfo info = ParseBitmapInfo(patched, s.Usage(), PaletteOf(dc));
  TRaster raster = DecodePixels(info, s.Bits());
  QImage image(reinterpret_cast<const uchar*>(raster.Pixels.data()), raster.Width, raster.Height,
               raster.Width * 4, QImage::Format_RGB32);
  // Rows of the chunk in the full bitmap, counted from the top.
  double chunkTop = full.TopDown ? startScan : full.Height - (static_cast<double>(startScan) + scans);
  double srcTop = full.TopDown ? ySrc : full.Height - (static_cast<double>(ySrc) + cy);
  DrawImage(dc, image, QRectF(xDest, yDest, cx, cy), QRectF(xSrc, srcTop - chunkTop, cx, cy),
            QPainter::CompositionMode_SourceOver);
}

void PlayAlphaBlend(TGdiDC& dc, ByteView rec) {
  TBltRecord b = ReadBlt(BltView(rec));
  if (!b.Source.Present()) return;
  uint32_t blend = b.Rop;
  double constant = ((blend >> 16) & 0xFF) / 255.0;
  bool perPixel = ((blend >> 24) & 0xFF) != 0; // AC_SRC_ALPHA
  QImage image = DecodeImage(dc, b.Source);
  if (perPixel)
    image = QImage(image.constBits(), image.width(), image.height(), image.bytesPerLine(),
                   QImage::Format_ARGB32_Premultiplied)
                .copy();
  else
    image = image.convertToFormat(QImage::Format_RGB32);
  DrawImage(dc, image, b.Dest, QRectF(b.SrcOrigin, b.SrcSize), QPainter::CompositionMode_SourceOver,
            constant);
}

void PlayTransparentBlt(TGdiDC& dc, ByteView rec) {
  TBltRecord b = ReadBlt(BltView(rec));
  if (!b.Source.Present()) return;
  QImage image = DecodeImage(dc, b.Source).convertToFormat(QImage::Format_ARGB32);
  QRgb key = ColorRefToQColor(b.Rop).rgb() & 0xFFFFFF;
  for (int y = 0; y < image.height(); ++y) {
    QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x)
      if ((line[x] & 0xFFFFFF) == key) line[x] = 0;
  }
  DrawImage(dc, image, b.Dest, QRectF(b.SrcOrigin, b.SrcSize), QPainter::CompositionMode_SourceOver);
}

// MASKBLT: where the mask is 1 the foreground operation applies; where it is 0, the background one. Drawn
// as the foreground copy through the mask when the background leaves the destination alone, else as a copy.
void PlayMaskBlt(TGdiDC& dc, ByteView rec) {
  BltView v(rec);
  TBltRecord b = ReadBlt(v);
  if (!b.Source.Present()) return;
  QImage image = DecodeImage(dc, b.Source).convertToFormat(QImage::Format_ARGB32);
  uint8_t background = static_cast<uint8_t>(b.Rop >> 24);
  DibRef mask = v.Mask();
  if (background == 0xAA && mask.Present()) {
    QImage m = DecodeImage(dc, mask);
    QPoint maskOrigin = ToQt(v.MaskOrigin()).toPoint();
    for (int y = 0; y < image.height(); ++y) {
      QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
      for (int x = 0; x < image.width(); ++x) {
        QPoint mp = QPoint(x, y) - b.SrcOrigin.toPoint() + maskOrigin;
        if (!m.valid(mp) || qGray(m.pixel(mp)) < 128) line[x] = 0;
      }
    }
  }
  DrawImage(dc, image, b.Dest, QRectF(b.SrcOrigin, b.SrcSize), QPainter::CompositionMode_SourceOver);
}

void CreatePatternBrush(TPlayContext& ctx, ByteView rec, bool monochrome) {
  PatternBrushView v(rec);
  TGdiObject o;
  o.kind = TGdiObject::Brush;
  o.brush.Style = BS_DIBPATTERNPT;
  TDibInfo info;
  o.brush.Pattern = DecodeImage(ctx.dc, v.Pattern(), &info);
  o.brush.Monochrome = monochrome && info.BitCount == 1;
  uint32_t index = v.Index();
  if (!ctx.table.Put(index, std::make_shared<TGdiObject>(std::move(o))))
    throw EBadRecord("object index " + std::to_string(index) + " outside the handle table",
                     ERROR_INVALID_HANDLE);
}
} // namespace

bool PlayBitmapRecord(TPlayContext& ctx, uint32_t type, ByteView rec) {
  TGdiDC& dc = ctx.dc;
  switch (type) {
  case EMR_BITBLT:
  case EMR_STRETCHBLT:
    PlayBlt(dc, rec);
    return true;
  case EMR_STRETCHDIBITS:
    PlayStretchDIBits(dc, rec);
    return true;
  case EMR_SETDIBITSTODEVICE:
    PlaySetDIBitsToDevice(dc, rec);
    return true;
  case EMR_ALPHABLEND:
    PlayAlphaBlend(dc, rec);
    return true;
  case EMR_TRANSPARENTBLT:
    PlayTransparentBlt(dc, rec);
    return true;
  case EMR_MASKBLT:
    PlayMaskBlt(dc, rec);
    return true;
  case EMR_CREATEDIBPATTERNBRUSHPT:
  case EMR_CREATEMONOBRUSH:
    CreatePatternBrush(ctx, rec, type == EMR_CREATEMONOBRUSH);
    return true;
  default:
    return false;
  }
}
