// The viewer's print loop on the application-wide printer: copies, page ranges, one job, and a page that
// fails.
#include <gtest/gtest.h>

#include "../metafile/ExpectError.h"
#include "RasterPrinter.h"
#include "printing/Excptn.h"
#include "printing/PrintLoop.h"

namespace {

std::vector<int> PagesShown(TRasterPrinter& printer) {
  std::vector<int> shown;
  for (const QImage& page : printer.Pages)
    shown.push_back(raster::PageShown(page));
  return shown;
}

} // namespace

TEST(PrintLoop, CopiesAndRangesInOneJob) {
  struct Case {
    const char* What;
    int32_t Copies, From, To;
    std::vector<int> Shown;
  } cases[] = {
      {"2 copies of pages 2 to 3", 2, 2, 3, {2, 3, 2, 3}},
      {"every page", 1, 0, 0, {1, 2, 3, 4, 5}},
      {"no copies count as one", 0, 5, 5, {5}},
      {"a range that selects nothing: an empty job", 1, 4, 2, {0}},
  };
  const std::string file = raster::Report("five.zvp", 5);
  for (const auto& c : cases) {
    raster::Installed printers;
    TZVPrinter report;
    report.Load(file);
    TPrintChoice choice;
    choice.NumCopies = c.Copies;
    choice.FromPage = c.From;
    choice.ToPage = c.To;
    choice.Title = "five";
    PrintReport(report, choice);
    ASSERT_EQ(printers.Spool->Jobs.size(), 1u) << c.What;
    EXPECT_TRUE(printers.Spool->Jobs[0].Ended) << c.What;
    EXPECT_EQ(printers.Spool->Jobs[0].Title, "five");
    EXPECT_EQ(PagesShown(printers.Printer()), c.Shown) << c.What;
    EXPECT_FALSE(Printer().Printing());
  }
}

TEST(PrintLoop, PrintsOnTheChosenPrinter) {
  raster::Installed printers({raster::Queue("First"), raster::Queue("Second")}, "First");
  TZVPrinter report;
  report.Load(raster::Report("two.zvp", 2));
  TPrintChoice choice;
  choice.PrinterIndex = 1;
  EXPECT_EQ(PrintReport(report, choice), 2);
  ASSERT_EQ(printers.Spool->Jobs.size(), 1u);
  EXPECT_EQ(printers.Spool->Jobs[0].Printer, "Second");
}

// A page that cannot be printed abandons the job and reports why; the printer is free again.
TEST(PrintLoop, AFailingPageAbandonsTheJob) {
  raster::Installed printers;
  const std::string path = std::string(ZVP_TEST_OUTPUT_DIR) + "/printing-failing.zvp";
  std::filesystem::remove(path);
  {
    TZVPageList list;
    list.SetStream(std::make_unique<TZVStream>(1 << 20));
    list.AddPage(raster::NumberedPage(1));
    TEmfWriter w(raster::PageWidth, raster::PageHeight, 96);
    list.AddPage(
        WithRecords(w, {Record(TEmfRecordBuilder(EMR_SELECTOBJECT).U32(40))})); // selects a handle never made
    list.AddPage(raster::NumberedPage(3));
    list.Finish();
    list.SaveToFile(path);
  }
  TZVPrinter report;
  report.Load(path);
  EXPECT_THROW(PrintReport(report, TPrintChoice{}), EGDIError);
  ASSERT_EQ(printers.Spool->Jobs.size(), 1u);
  EXPECT_TRUE(printers.Spool->Jobs[0].Aborted);
  EXPECT_FALSE(Printer().Printing());
  EXPECT_EQ(PagesShown(printers.Printer()), (std::vector<int>{1, 0}));
}

TEST(PrintLoop, WithoutPrintersNoJobStarts) {
  raster::Installed printers({}, "");
  TZVPrinter report;
  report.Load(raster::Report("none.zvp", 1));
  ExpectError<EPrinter>([&] { PrintReport(report, TPrintChoice{}); },
                        "There is no default printer currently selected");
  EXPECT_TRUE(printers.Spool->Jobs.empty());
}
