// Bitmap records: the block transfers, StretchDIBits, SetDIBitsToDevice, alpha and transparent blits, and
// the brushes made from bitmaps. Bitmaps are decoded by the DIB module; a bitmap it refuses (too large,
// bits shorter than the header claims) is not drawn, nor is one that would take the page's bitmap memory
// beyond its limit.
#include <QImage>
#include <climits>
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

// A decoded bitmap and its share of the page's bitmap memory, held while the image lives.
struct TDecoded {
  QImage Image;
  TBitmapMemory::TCharge Charge;
};

uint64_t ImageBytes(int64_t width, int64_t height) {
  return static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 4;
}

TBitmapMemory::TCharge ChargeBitmap(TPlayContext& ctx, int64_t width, int64_t height) {
  const uint64_t bytes = ImageBytes(width, height);
  TBitmapMemory::TCharge charge = ctx.table.Bitmaps().Charge(bytes, ctx.dc.Limits().BitmapBytes);
  if (!charge)
    throw EBadRecord("a bitmap of " + std::to_string(width) + " x " + std::to_string(height) +
                         " pixels would take the page's bitmaps beyond " +
                         std::to_string(ctx.dc.Limits().BitmapBytes >> 20) + " MB",
                     ERROR_INVALID_DATA);
  return charge;
}

// The image in another pixel format, the copy charged when the format changes.
TDecoded Converted(TPlayContext& ctx, TDecoded decoded, QImage::Format format) {
  if (decoded.Image.format() == format) return decoded;
  TBitmapMemory::TCharge charge = ChargeBitmap(ctx, decoded.Image.width(), decoded.Image.height());
  return {decoded.Image.convertToFormat(format), charge};
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

// An image's rows hold at most this many 32-bit pixels.
constexpr int32_t MaxImageWidth = (INT_MAX - 31) / 32;

// The decoded bitmap as an image (ARGB, straight alpha when the bitmap has its own), charged to the page.
TDecoded DecodeImage(TPlayContext& ctx, const DibRef& s, TDibInfo* infoOut = nullptr) {
  ByteView bmi = s.BitmapInfo();
  ByteView bits = s.Bits();
  TDibInfo info;
  try {
    info = ParseBitmapInfo(bmi, s.Usage(), PaletteOf(ctx.dc));
  } catch (const EUnsupportedBitmap&) {
    QImage image = DecodeCompressedImage(bmi, bits, infoOut);
    TBitmapMemory::TCharge charge = ChargeBitmap(ctx, image.width(), image.height());
    return {std::move(image), charge};
  }
  if (info.Width > MaxImageWidth)
    throw EBadRecord("a bitmap " + std::to_string(info.Width) + " pixels wide is wider than an image may be",
                     ERROR_INVALID_DATA);
  TBitmapMemory::TCharge charge = ChargeBitmap(ctx, info.Width, info.Height);
  auto raster = std::make_unique<TRaster>(DecodePixels(info, bits));
  if (infoOut) *infoOut = info;
  // The image borrows the raster's pixels and frees them with itself: no copy of a large bitmap.
  QImage image(
      reinterpret_cast<uchar*>(raster->Pixels.data()), raster->Width, raster->Height, raster->Width * 4,
      raster->HasAlpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32,
      [](void* p) { delete static_cast<TRaster*>(p); }, raster.get());
  // An image that could not be made never calls its cleanup: the raster is still ours to free.
  if (image.isNull()) throw EDamagedData("The bitmap cannot be held as an image");
  raster.release();
  return {std::move(image), charge};
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

void PlayBlt(TPlayContext& ctx, ByteView rec) {
  TGdiDC& dc = ctx.dc;
  TBltRecord b = ReadBlt(BltView(rec));
  TRopPlan plan = PlanRop(b.Rop);
  if (!plan.UsesSource || !b.Source.Present()) {
    if (plan.UsesSource) plan.Fill = 1; // a source operation without a bitmap: paint with the brush
    FillDestination(dc, b.Dest, plan);
    return;
  }
  TDecoded image = DecodeImage(ctx, b.Source);
  if (b.Rop == dib::SRCCOPY) image = Converted(ctx, std::move(image), QImage::Format_RGB32);
  DrawImage(dc, image.Image, b.Dest, QRectF(b.SrcOrigin, b.SrcSize),
            ModeFor(plan, image.Image.hasAlphaChannel()));
}

void PlayStretchDIBits(TPlayContext& ctx, ByteView rec) {
  TGdiDC& dc = ctx.dc;
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
  TDecoded image = DecodeImage(ctx, s, &info);
  if (v.Rop() == dib::SRCCOPY) image = Converted(ctx, std::move(image), QImage::Format_RGB32);
  double top = static_cast<double>(DibSourceTop(info, ySrc, cySrc));
  DrawImage(dc, image.Image, dest, QRectF(xSrc, top, cxSrc, cySrc), plan.Mode);
}

void PlaySetDIBitsToDevice(TPlayContext& ctx, ByteView rec) {
  TGdiDC& dc = ctx.dc;
  SetDIBitsToDeviceView v(rec);
  int32_t xDest = v.DestOrigin().x, yDest = v.DestOrigin().y, xSrc = v.SrcOrigin().x, ySrc = v.SrcOrigin().y;
  int32_t cx = v.Extent().cx, cy = v.Extent().cy;
  DibRef s = v.Source();
  if (!s.Present() || cx <= 0 || cy <= 0) return;
  // The record may carry only some scan lines: those of the bitmap's height that it names.
  TDibInfo full = ParseBitmapInfo(s.BitmapInfo(), s.Usage(), PaletteOf(dc));
  TDibBand band = ScanLineBand(full, v.StartScan(), v.ScanCount());
  if (band.Info.Height <= 0) return;
  if (band.Info.Width > MaxImageWidth)
    throw EBadRecord("a bitmap " + std::to_string(band.Info.Width) +
                         " pixels wide is wider than an image may be",
                     ERROR_INVALID_DATA);
  TBitmapMemory::TCharge charge = ChargeBitmap(ctx, band.Info.Width, band.Info.Height);
  TRaster raster = DecodePixels(band.Info, s.Bits());
  QImage image(reinterpret_cast<const uchar*>(raster.Pixels.data()), raster.Width, raster.Height,
               raster.Width * 4, QImage::Format_RGB32);
  double srcTop = full.TopDown ? ySrc : full.Height - (static_cast<double>(ySrc) + cy);
  DrawImage(dc, image, QRectF(xDest, yDest, cx, cy), QRectF(xSrc, srcTop - band.Top, cx, cy),
            QPainter::CompositionMode_SourceOver);
}

void PlayAlphaBlend(TPlayContext& ctx, ByteView rec) {
  TGdiDC& dc = ctx.dc;
  TBltRecord b = ReadBlt(BltView(rec));
  if (!b.Source.Present()) return;
  uint32_t blend = b.Rop;
  double constant = ((blend >> 16) & 0xFF) / 255.0;
  bool perPixel = ((blend >> 24) & 0xFF) != 0; // AC_SRC_ALPHA
  TDecoded image = DecodeImage(ctx, b.Source);
  if (perPixel) {
    TBitmapMemory::TCharge charge = ChargeBitmap(ctx, image.Image.width(), image.Image.height());
    image = {QImage(image.Image.constBits(), image.Image.width(), image.Image.height(),
                    image.Image.bytesPerLine(), QImage::Format_ARGB32_Premultiplied)
                 .copy(),
             charge};
  } else {
    image = Converted(ctx, std::move(image), QImage::Format_RGB32);
  }
  DrawImage(dc, image.Image, b.Dest, QRectF(b.SrcOrigin, b.SrcSize), QPainter::CompositionMode_SourceOver,
            constant);
}

void PlayTransparentBlt(TPlayContext& ctx, ByteView rec) {
  TGdiDC& dc = ctx.dc;
  TBltRecord b = ReadBlt(BltView(rec));
  if (!b.Source.Present()) return;
  TDecoded decoded = Converted(ctx, DecodeImage(ctx, b.Source), QImage::Format_ARGB32);
  QImage& image = decoded.Image;
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
void PlayMaskBlt(TPlayContext& ctx, ByteView rec) {
  TGdiDC& dc = ctx.dc;
  BltView v(rec);
  TBltRecord b = ReadBlt(v);
  if (!b.Source.Present()) return;
  TDecoded decoded = Converted(ctx, DecodeImage(ctx, b.Source), QImage::Format_ARGB32);
  QImage& image = decoded.Image;
  uint8_t background = static_cast<uint8_t>(b.Rop >> 24);
  DibRef mask = v.Mask();
  if (background == 0xAA && mask.Present()) {
    TDecoded m = DecodeImage(ctx, mask);
    // Mask pixel = source pixel - source origin + mask origin; the origins may lie anywhere in 32 bits.
    const int64_t dx = int64_t(v.MaskOrigin().x) - int64_t(b.SrcOrigin.x()),
                  dy = int64_t(v.MaskOrigin().y) - int64_t(b.SrcOrigin.y());
    for (int y = 0; y < image.height(); ++y) {
      QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
      for (int x = 0; x < image.width(); ++x) {
        const int64_t mx = x + dx, my = y + dy;
        const bool inside = mx >= 0 && my >= 0 && mx < m.Image.width() && my < m.Image.height();
        if (!inside || qGray(m.Image.pixel(int(mx), int(my))) < 128) line[x] = 0;
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
  TDecoded pattern = DecodeImage(ctx, v.Pattern(), &info);
  o.brush.Pattern = std::move(pattern.Image);
  o.brush.PatternCharge = std::move(pattern.Charge);
  o.brush.Monochrome = monochrome && info.BitCount == 1;
  uint32_t index = v.Index();
  if (!ctx.table.Put(index, std::make_shared<TGdiObject>(std::move(o))))
    throw EBadRecord("object index " + std::to_string(index) + " outside the handle table",
                     ERROR_INVALID_HANDLE);
}
} // namespace

bool PlayBitmapRecord(TPlayContext& ctx, uint32_t type, ByteView rec) {
  switch (type) {
  case EMR_BITBLT:
  case EMR_STRETCHBLT:
    PlayBlt(ctx, rec);
    return true;
  case EMR_STRETCHDIBITS:
    PlayStretchDIBits(ctx, rec);
    return true;
  case EMR_SETDIBITSTODEVICE:
    PlaySetDIBitsToDevice(ctx, rec);
    return true;
  case EMR_ALPHABLEND:
    PlayAlphaBlend(ctx, rec);
    return true;
  case EMR_TRANSPARENTBLT:
    PlayTransparentBlt(ctx, rec);
    return true;
  case EMR_MASKBLT:
    PlayMaskBlt(ctx, rec);
    return true;
  case EMR_CREATEDIBPATTERNBRUSHPT:
  case EMR_CREATEMONOBRUSH:
    CreatePatternBrush(ctx, rec, type == EMR_CREATEMONOBRUSH);
    return true;
  default:
    return false;
  }
}
