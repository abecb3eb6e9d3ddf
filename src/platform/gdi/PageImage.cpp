#include "PageImage.h"

#include <QPainter>
#include <cmath>

#include "Player.h"

QSize PageImageSize(const TMetafile& metafile, const TPageImageOptions& options) {
  double w = metafile.Width(), h = metafile.Height();
  if (!(w > 0) || !(h > 0))
    throw EDamagedData("The metafile has no size (frame " + std::to_string(w) + " x " + std::to_string(h) +
                       ")");
  double scale = options.Dpi > 0 ? options.Dpi / 96 : 1;
  w *= scale;
  h *= scale;
  if (options.Fit > 0 && std::max(w, h) > options.Fit) {
    double k = options.Fit / std::max(w, h);
    w *= k;
    h *= k;
  }
  auto side = [](double v) { return static_cast<int>(std::clamp(std::round(v), 1.0, 30000.0)); };
  return QSize(side(w), side(h));
}

QSize LimitedImageSize(QSize size, uint64_t maxPixels) {
  const double pixels = double(size.width()) * size.height();
  if (pixels <= double(maxPixels)) return size;
  const double k = std::sqrt(double(maxPixels) / pixels);
  return QSize(std::max(1, int(size.width() * k)), std::max(1, int(size.height() * k)));
}

TPageImage RenderPageImage(const TMetafile& metafile, const TPageImageOptions& options,
                           const TPageLimits& limits) {
  TPageImage result;
  result.Asked = PageImageSize(metafile, options);
  QSize size = LimitedImageSize(result.Asked, limits.SurfacePixels);
  result.Image = QImage(size, QImage::Format_RGB32);
  if (result.Image.isNull())
    throw EDamagedData("An image of " + std::to_string(size.width()) + " x " + std::to_string(size.height()) +
                       " pixels cannot be made");
  result.Image.fill(Qt::white);
  QPainter painter(&result.Image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  TGdiDC dc(painter);
  dc.SetLimits(limits);
  TEmfRect rect{0, 0, size.width() - 1,
                size.height() - 1}; // the stretch-draw rule: right and bottom included
  result.Complete = EnumEnhMetaFile(
      dc, metafile,
      [&](TGdiDC& d, THandleTable& table, const TEmfRecord& record, int count, void*) {
        if (!PlayEnhMetaFileRecord(d, table, record, static_cast<unsigned>(count))) {
          if (result.SkippedRecords++ == 0) result.FirstProblem = GetLastErrorMessage();
        }
        return 1;
      },
      nullptr, rect);
  if (!result.Complete) {
    result.TimedOut = GetLastError() == ERROR_TIMEOUT;
    result.FirstProblem = GetLastErrorMessage();
  }
  return result;
}
