// TPdfEnum: bitmaps, brush-filled blits, region fills and gradients.
#include <cmath>

#include "pdf/PdfCanvas.h"
#include "pdf/PdfDibRaster.h"
#include "pdf/PdfDocument.h"
#include "pdf/PdfEnum.h"
#include "pdf/PdfSystemColors.h"
#include "platform/dib/DibInfo.h"
#include "platform/metafile/PageBudget.h"

using namespace emf;

namespace {

constexpr uint32_t PATCOPY = 0x00F00021, SRCCOPY = 0x00CC0020;

int32_t Trunc(double v) {
  if (!(v > -2147483648.0)) return INT32_MIN;
  if (!(v < 2147483647.0)) return INT32_MAX;
  return static_cast<int32_t>(v);
}

// The raster needs no more pixels than the source rectangle has.
int32_t RasterSize(int32_t logical, int32_t source) {
  int32_t s = source < 0 ? -source : source;
  return s >= 1 && s < logical ? s : logical;
}

int32_t Average(uint16_t a, uint16_t b) {
  return ((a >> 8) + (b >> 8)) / 2;
}

} // namespace

bool TPdfEnum::HandleBitmapRecord(const TEmfRecord& R) {
  switch (R.Type) {
  case EMR_BITBLT:
  case EMR_STRETCHBLT: {
    BltView v(R.Data);
    DibRef source = v.Source();
    PointL d = v.DestOrigin();
    SizeL de = v.DestExtent();
    if (source.Present() && source.OffBmi() != 0 && source.OffBits() != 0) {
      SizeL se = R.Type == EMR_BITBLT ? de : v.SrcExtent();
      XForm x = v.SrcTransform();
      DrawBitmap(v.SrcOrigin().x, v.SrcOrigin().y, se.cx, se.cy, d.x, d.y, de.cx, de.cy, source, &x, v.Rop(),
                 nullptr);
    } else if (v.Rop() == PATCOPY) {
      FillRectangle({d.x, d.y, d.x + de.cx, d.y + de.cy});
    }
    return true;
  }
  case EMR_STRETCHDIBITS: {
    StretchDIBitsView v(R.Data);
    DibRef source = v.Source();
    if (!source.Present()) return true;
    DrawBitmap(v.SrcOrigin().x, v.SrcOrigin().y, v.SrcExtent().cx, v.SrcExtent().cy, v.DestOrigin().x,
               v.DestOrigin().y, v.DestExtent().cx, v.DestExtent().cy, source, nullptr, v.Rop(), nullptr);
    return true;
  }
  case EMR_TRANSPARENTBLT: {
    BltView v(R.Data);
    DibRef source = v.Source();
    if (!source.Present()) return true;
    XForm x = v.SrcTransform();
    int32_t transparent = static_cast<int32_t>(v.TransparentColor());
    DrawBitmap(v.SrcOrigin().x, v.SrcOrigin().y, v.SrcExtent().cx, v.SrcExtent().cy, v.DestOrigin().x,
               v.DestOrigin().y, v.DestExtent().cx, v.DestExtent().cy, source, &x, SRCCOPY, &transparent);
    return true;
  }
  case EMR_FILLRGN: {
    RegionRecordView v(R.Data);
    RegionDataView region = v.Region();
    RectL bound = region.BoundingRect();
    SelectObjectFromIndex(v.BrushIndex());
    NeedBrushAndPen();
    FillRectangle({bound.left, bound.top, bound.right, bound.bottom});
    return true;
  }
  default:
    return false;
  }
}

void TPdfEnum::DrawBitmap(int32_t xs, int32_t ys, int32_t ws, int32_t hs, int32_t xd, int32_t yd, int32_t wd,
                          int32_t hd, const DibRef& Bitmap, const XForm* xSrcTransform, uint32_t dwRop,
                          const int32_t* Transparent) {
  double sx = 1, sy = 1, ox = 0, oy = 0;
  if (xSrcTransform) {
    sx = xSrcTransform->eM11;
    sy = xSrcTransform->eM22;
    ox = xSrcTransform->eDx;
    oy = xSrcTransform->eDy;
  }
  int32_t srcX = Trunc(xs + ox), srcY = Trunc(ys + oy), srcW = Trunc(ws * sx), srcH = Trunc(hs * sy);
  // A bitmap is decoded whole before its part is taken: one whose raster would pass the page's bitmap
  // memory is skipped like a damaged record.
  const TDibInfo info = ParseBitmapInfo(Bitmap.BitmapInfo(), Bitmap.Usage());
  const uint64_t decodedBytes = static_cast<uint64_t>(info.Width) * static_cast<uint64_t>(info.Height) * 4;
  if (decodedBytes > DefaultPageLimits().BitmapBytes)
    throw EDamagedData("a bitmap of " + std::to_string(info.Width) + " x " + std::to_string(info.Height) +
                       " pixels is over the page's bitmap memory");
  TPdfDibRaster raster(Bitmap.BitmapInfo(), Bitmap.Bits(), Bitmap.Usage(), srcX, srcY, srcW, srcH,
                       RasterSize(ws, srcW), RasterSize(hs, srcH), dwRop);
  if (Transparent) {
    int32_t color = *Transparent;
    raster.SetTransparentColor(color < 0 ? SystemColorRGB(color & 255) : static_cast<uint32_t>(color));
  }
  // The box in points; it keeps the direction the mapping gives the destination, so that a bitmap drawn
  // onto a mirrored destination is mirrored on the page as well.
  float x0 = Canvas->ToPdfX(xd), x1 = Canvas->ToPdfX(static_cast<double>(xd) + wd);
  float yTop = Canvas->ToPdfY(yd), yBottom = Canvas->ToPdfY(static_cast<double>(yd) + hd);
  TPdfBox box{x0, yBottom, x1 - x0, yTop - yBottom};
  TPdfBox clip = GetClipRect();
  bool clipped = clip.Width > 0 && clip.Height > 0;
  Canvas->Doc()->CreateOrGetImage(raster.Raster(), &box, clipped ? &clip : nullptr);
}

void TPdfEnum::GradientFill(const GradientFillView& R) {
  if (static_cast<uint64_t>(R.VertexCount()) + R.MeshCount() > DefaultPageLimits().GradientItems)
    throw EDamagedData("a gradient of " + std::to_string(R.VertexCount()) + " vertices and " +
                       std::to_string(R.MeshCount()) + " shapes is over the page's limit");
  Span<TriVertex> ver = R.Vertices();
  if (ver.empty()) return;
  switch (R.Mode()) {
  case GRADIENT_FILL_RECT_H:
  case GRADIENT_FILL_RECT_V: {
    Span<GradientRect> rects = R.Rects();
    EndPathUnpainted();
    for (GradientRect g : rects) {
      // Corners outside the vertex array are skipped.
      if (g.upperLeft >= ver.size() || g.lowerRight >= ver.size()) continue;
      TriVertex a = ver[g.upperLeft], b = ver[g.lowerRight];
      // Flat, in the colour halfway along the gradient.
      SelectFillColor(Average(a.red, b.red) | Average(a.green, b.green) << 8 | Average(a.blue, b.blue) << 16);
      Canvas->MoveToLogical(a.x, a.y);
      Canvas->LineToLogical(a.x, b.y);
      Canvas->LineToLogical(b.x, b.y);
      Canvas->LineToLogical(b.x, a.y);
      Canvas->Closepath();
      Canvas->Fill();
    }
    return;
  }
  case GRADIENT_FILL_TRIANGLE: {
    Span<GradientTriangle> triangles = R.Triangles();
    EndPathUnpainted();
    for (GradientTriangle g : triangles) {
      if (g.vertex1 >= ver.size() || g.vertex2 >= ver.size() || g.vertex3 >= ver.size()) continue;
      TriVertex a = ver[g.vertex1], b = ver[g.vertex2], c = ver[g.vertex3];
      SelectFillColor((a.red >> 8) | (a.green >> 8) << 8 | (a.blue >> 8) << 16);
      Canvas->MoveToLogical(a.x, a.y);
      Canvas->LineToLogical(b.x, b.y);
      Canvas->LineToLogical(c.x, c.y);
      Canvas->LineToLogical(a.x, a.y);
      Canvas->Closepath();
      Canvas->Fill();
    }
    return;
  }
  default:
    return;
  }
}
