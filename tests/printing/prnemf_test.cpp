// Metafile pages on printer pages: the page rectangle, text records redrawn with plain text output, and
// the failure of a record.
#include <gtest/gtest.h>

#include "../metafile/ExpectError.h"
#include "RasterPrinter.h"
#include "printing/Excptn.h"
#include "printing/PrnEmf.h"

namespace {

TMetafile Sized(int32_t w, int32_t h) {
  TEmfWriter writer(w, h, 96);
  return writer.ToMetafile();
}

// The rightmost dark column of a band of rows, or -1.
int RightmostInk(const QImage& image, int top, int bottom) {
  for (int x = image.width() - 1; x >= 0; --x)
    for (int y = top; y < bottom && y < image.height(); ++y)
      if (qGray(image.pixel(x, y)) < 128) return x;
  return -1;
}

} // namespace

TEST(MetafilePageRect, FollowsThePrintableWidthAndTheAspectRatio) {
  struct Case {
    int32_t Printable, W, H, Bottom;
  } cases[] = {
      {4800, 800, 400, 2400}, // half as high as wide
      {472, 794, 1123, 668},  // A4 at 60 dpi: 667.57 rounds up
      {3, 2, 1, 2},           // 1.5: halves away from zero
  };
  for (const auto& c : cases) {
    const TEmfRect r = MetafilePageRect(c.Printable, Sized(c.W, c.H));
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, c.Printable);
    EXPECT_EQ(r.bottom, c.Bottom) << c.Printable << " " << c.W << "x" << c.H;
  }

  // A page without width has no height (instead of a division by zero).
  TEmfWriter w(10, 10, 96);
  std::vector<uint8_t> bytes = w.Finish();
  std::memset(bytes.data() + 24, 0, 16); // rclFrame
  TMetafile flat;
  flat.LoadFromBytes(bytes);
  EXPECT_EQ(MetafilePageRect(4800, flat).bottom, 0);
}

TEST(PrintMetafilePage, DrawsThePageAcrossThePrintableWidth) {
  raster::Installed printers;
  Printer().BeginDoc();
  PrintMetafilePage(raster::NumberedPage(3));
  Printer().EndDoc();
  ASSERT_EQ(printers.Printer().Pages.size(), 1u);
  const QImage& page = printers.Printer().Pages[0];
  EXPECT_EQ(page.width(), 472);
  EXPECT_EQ(raster::PageShown(page), 3);
}

// Text recorded with wide explicit spacing prints with the font's own spacing; played whole it keeps the
// recorded spacing.
TEST(PrintMetafilePage, TextKeepsTheFontsOwnSpacing) {
  raster::Installed printers;
  TEmfWriter w(raster::PageWidth, raster::PageHeight, 96);
  w.SelectObject(w.CreateFont({.Face = "Liberation Sans", .Height = -40}));
  const std::vector<int32_t> wide(6, 100);
  w.ExtTextOut(20, 200, 0, nullptr, u"IIIIII", std::span<const int32_t>(wide));
  const TMetafile page = w.ToMetafile();

  Printer().BeginDoc();
  PrintMetafilePage(page);
  Printer().NewPage();
  PlayMetafilePage(page);
  Printer().EndDoc();
  const auto& pages = printers.Printer().Pages;
  ASSERT_EQ(pages.size(), 2u);
  const int printed = RightmostInk(pages[0], 110, 160), played = RightmostInk(pages[1], 110, 160);
  ASSERT_GT(printed, 0);
  EXPECT_LT(printed, 12 + 100); // six narrow letters: well under 100 page pixels wide
  EXPECT_GT(played, 12 + 250);  // 500 page pixels of recorded spacing, scaled by 0.59
}

TEST(PrintMetafilePage, AFailingRecordEndsThePageWithTheGraphicsError) {
  raster::Installed printers;
  TEmfWriter w(raster::PageWidth, raster::PageHeight, 96);
  const TMetafile page = WithRecords(
      w, {Record(TEmfRecordBuilder(EMR_SELECTOBJECT).U32(40)),   // EMR_SELECTOBJECT of a handle never made
          Record(TEmfRecordBuilder(EMR_EXTTEXTOUTW).Zeros(4))}); // a text record cut short
  Printer().BeginDoc();
  try {
    PrintMetafilePage(page);
    ADD_FAILURE() << "no error";
  } catch (const EGDIError& e) {
    EXPECT_EQ(e.Message().rfind(" GDI: ", 0), 0u) << e.Message();
    EXPECT_NE(e.Message().find("(LE: $"), std::string::npos);
    EXPECT_EQ(e.LastError(), GetLastError());
  }
  EXPECT_TRUE(Printer().Printing()); // the job is the caller's
  Printer().Abort();

  TEmfWriter t(raster::PageWidth, raster::PageHeight, 96);
  const TMetafile shortText = WithRecords(t, {Record(TEmfRecordBuilder(EMR_EXTTEXTOUTW).Zeros(20))});
  Printer().BeginDoc();
  ExpectError<EGDIError>([&] { PrintMetafilePage(shortText); }, " GDI: Text record 1 is too short (LE: $D)");
  Printer().Abort();
}

TEST(PrintMetafilePage, NeedsARunningJob) {
  raster::Installed printers;
  ExpectError<EPrinter>([] { PrintMetafilePage(raster::NumberedPage(1)); },
                        "Printer is not currently printing");
}
