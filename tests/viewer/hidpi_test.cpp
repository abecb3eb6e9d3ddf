// On a screen of device pixel ratio 2 the page is drawn at the screen's own resolution: its image has
// twice the pixels each way, and they carry detail of their own, not pixels doubled.
#include <QPainter>
#include <QPixmap>
#include <cstdlib>

#include "ViewerTestSupport.h"
#include "platform/gdi/Player.h"
#include "preview/ZVPreview.h"

using namespace viewer_test;

namespace {

// Set before the application starts, as a desktop would.
const bool Scaled = [] {
  qputenv("QT_SCALE_FACTOR", "2");
  return true;
}();

// Of the 2 x 2 blocks inside `r` that are not all white, the share whose four pixels are not all alike.
double DetailedShare(const QImage& image, const QRect& r) {
  int blocks = 0, detailed = 0;
  for (int y = r.top() & ~1; y + 1 <= r.bottom(); y += 2)
    for (int x = r.left() & ~1; x + 1 <= r.right(); x += 2) {
      const QRgb a = image.pixel(x, y), b = image.pixel(x + 1, y), c = image.pixel(x, y + 1),
                 d = image.pixel(x + 1, y + 1);
      if (a == qRgb(255, 255, 255) && b == a && c == a && d == a) continue;
      ++blocks;
      if (a != b || a != c || a != d) ++detailed;
    }
  return blocks ? double(detailed) / blocks : 0;
}

QImage Drawn(const TMetafile& page, QSize size) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  StretchDrawMetafile(painter, TEmfRect{0, 0, size.width(), size.height()}, page);
  return image;
}

class HiDpiTest : public ::testing::Test {
 protected:
  void SetUp() override { EnsureApplication(); }
  TApplicationFirst app;
  TVirtualPrinters printers;
};

TEST_F(HiDpiTest, PageIsDrawnAtDeviceResolution) {
  ASSERT_TRUE(Scaled);
  TZVPrinter report;
  report.Load(SamplePath("faktura.zvp"));
  TZVPreview preview;
  preview.resize(600, 800);
  preview.SetZVPrinter(&report);
  preview.SetZoom(60);
  preview.show();
  QCoreApplication::processEvents();
  ASSERT_DOUBLE_EQ(preview.devicePixelRatioF(), 2.0);

  TZVPreviewImage& image = *preview.PreviewImage();
  const QPixmap shot = image.grab();
  EXPECT_DOUBLE_EQ(shot.devicePixelRatio(), 2.0);
  EXPECT_EQ(shot.size(), image.size() * 2);

  const QImage pixels = shot.toImage().convertToFormat(QImage::Format_RGB32);
  // Inside the frame, where the page is.
  const QRect inside(8, 8, pixels.width() - 16, pixels.height() - 16);
  const double share = DetailedShare(pixels, inside);
  EXPECT_GT(share, 0.25) << share;

  // The page drawn at the window's size with its pixels doubled, as a blurred screen would show it, has
  // none of that detail.
  const QImage doubled = Drawn(*image.MetaFile(), image.size()).scaled(pixels.size());
  EXPECT_EQ(DetailedShare(doubled, inside), 0.0);
}

} // namespace
