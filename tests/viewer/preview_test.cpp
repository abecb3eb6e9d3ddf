// The preview control: zoom rules and limits, fitting, page numbers, resizing, and the painted sheet.
#include <QImage>
#include <QScrollBar>

#include "ViewerTestSupport.h"
#include "preview/ZVPreview.h"
#include "preview/ZVPreviewZoom.h"

using namespace viewer_test;

namespace {

class PreviewTest : public ::testing::Test {
 protected:
  void SetUp() override { EnsureApplication(); }

  // A preview showing a loaded sample on A4 printers.
  void Attach(const char* sample) {
    report = std::make_unique<TZVPrinter>();
    report->Load(SamplePath(sample));
    preview.SetZVPrinter(report.get());
  }

  TApplicationFirst app;
  TVirtualPrinters printers;
  TZVPreview preview;
  std::unique_ptr<TZVPrinter> report;
};

TEST_F(PreviewTest, WithoutPrinterTheLetterSheetSizesTheImage) {
  preview.SetZoom(100);
  EXPECT_EQ(preview.PreviewImage()->size(), QSize(220, 283));
  EXPECT_FALSE(preview.PreviewImage()->ImageOK());
}

TEST_F(PreviewTest, A4PageAtZoom100IsItsPixelsPlusBorder) {
  Attach("faktura.zvp");
  preview.SetZoom(100);
  EXPECT_EQ(preview.PreviewImage()->size(), QSize(794 + 4, 1123 + 4));
  EXPECT_TRUE(preview.PreviewImage()->ImageOK());
  EXPECT_EQ(preview.PreviewImage()->Zoom, 100);
}

TEST_F(PreviewTest, ZoomOutsideTheLimitsChangesNothing) {
  struct Case {
    int32_t Zoom;
    bool Accepted;
  } cases[] = {{1, false}, {2001, false}, {-5, false}, {2, true}, {2000, true}};
  for (const Case& c : cases) {
    preview.SetZoom(50);
    preview.ZoomState = zvZoomToFit;
    preview.SetZoom(c.Zoom);
    EXPECT_EQ(preview.Zoom(), c.Accepted ? c.Zoom : 50) << c.Zoom;
    EXPECT_EQ(preview.ZoomState, c.Accepted ? zvZoomOther : zvZoomToFit) << c.Zoom;
  }
}

TEST_F(PreviewTest, FitAboveTheLimitKeepsTheZoomButRecordsTheState) {
  preview.resize(20000, 20000);
  preview.SetZoom(100);
  preview.ZoomToFit();
  EXPECT_EQ(preview.Zoom(), 100);
  EXPECT_EQ(preview.ZoomState, zvZoomToFit);
}

TEST_F(PreviewTest, FitAndWidthFollowTheirFormulas) {
  Attach("faktura.zvp");
  preview.resize(832, 422);
  preview.ZoomToFit();
  // min(round(832 / 794 * 95), round(422 / 1123 * 95)) = min(100, 36)
  EXPECT_EQ(preview.Zoom(), 36);
  EXPECT_EQ(preview.ZoomState, zvZoomToFit);
  preview.ZoomToWidth();
  // round(832 / 794 * 90)
  EXPECT_EQ(preview.Zoom(), 94);
  EXPECT_EQ(preview.ZoomState, zvZoomToWidth);
}

TEST_F(PreviewTest, ResizeKeepsFittedPagesFittedAndChosenZoomsAlone) {
  Attach("faktura.zvp");
  preview.show();
  preview.resize(832, 422);
  preview.ZoomToFit();
  preview.resize(832, 844);
  EXPECT_EQ(preview.Zoom(), ZVFitZoom(report.get(), 832, 844));
  EXPECT_EQ(preview.ZoomState, zvZoomToFit);

  preview.ZoomToWidth();
  preview.resize(500, 844);
  EXPECT_EQ(preview.Zoom(), ZVWidthZoom(report.get(), 500));
  EXPECT_EQ(preview.ZoomState, zvZoomToWidth);

  preview.SetZoom(20);
  preview.resize(700, 700);
  EXPECT_EQ(preview.Zoom(), 20);
  // A page smaller than the preview sits centred.
  const QSize image = preview.PreviewImage()->size();
  EXPECT_EQ(preview.PreviewImage()->pos(), QPoint((700 - image.width()) / 2, (700 - image.height()) / 2));
}

TEST_F(PreviewTest, PageNumbersOutsideTheReportAreIgnored) {
  Attach("zestawienie.zvp");
  preview.resize(300, 300);
  preview.SetZoom(100);
  preview.SetPageNumber(3);
  preview.SetVertPosition(40);
  for (int32_t n : {0, -1, 6, 1000}) {
    preview.SetPageNumber(n);
    EXPECT_EQ(preview.PageNumber(), 3) << n;
    EXPECT_EQ(preview.PreviewImage()->PageNumber(), 3) << n;
    EXPECT_EQ(preview.VertPosition(), 40) << n;
  }
  preview.SetPageNumber(5);
  EXPECT_EQ(preview.PageNumber(), 5);
  EXPECT_EQ(preview.VertPosition(), 0);
}

TEST_F(PreviewTest, PaintShowsSheetFrameAndShadow) {
  Attach("faktura.zvp");
  preview.resize(600, 800);
  preview.SetZoom(30);
  TZVPreviewImage& image = *preview.PreviewImage();
  QImage shot(image.size(), QImage::Format_ARGB32);
  shot.fill(Qt::red);
  image.render(&shot, QPoint(), QRegion(), QWidget::RenderFlags());
  const int W = shot.width(), H = shot.height();
  EXPECT_EQ(shot.pixelColor(0, H / 2), QColor(Qt::black));     // frame, left
  EXPECT_EQ(shot.pixelColor(W - 3, H / 2), QColor(Qt::black)); // frame, right
  EXPECT_EQ(shot.pixelColor(W - 1, H / 2), QColor(Qt::black)); // shadow, right
  EXPECT_EQ(shot.pixelColor(W / 2, H - 1), QColor(Qt::black)); // shadow, bottom
  EXPECT_EQ(shot.pixelColor(W - 1, 0), QColor(Qt::red));       // above the shadow: background
  EXPECT_EQ(shot.pixelColor(3, 3), QColor(Qt::white));         // the sheet's margin
}

TEST_F(PreviewTest, ProgressAndPageAvailableArriveAsPostedEvents) {
  Attach("faktura.zvp");
  int progress = -1, available = -1;
  preview.OnProgressUpdate = [&](QObject*, int32_t p) { progress = p; };
  preview.OnPageAvailable = [&](QObject*, int32_t p) { available = p; };
  report->SetProgress(0x10042);
  report->SetAvailablePages(2);
  EXPECT_EQ(progress, -1); // posted, not sent
  QCoreApplication::processEvents();
  EXPECT_EQ(progress, 0x42);
  EXPECT_EQ(available, 2);
}

TEST_F(PreviewTest, DestroyingTheReportPrinterDetachesIt) {
  Attach("faktura.zvp");
  report.reset();
  EXPECT_EQ(preview.ZVPrinter(), nullptr);
  EXPECT_FALSE(preview.PreviewImage()->ImageOK());
}

} // namespace
