// The producer's side of the report printer object: recording pages into a report, printing them
// directly with a page range, and printing a finished report.
#include <gtest/gtest.h>

#include "../metafile/ExpectError.h"
#include "VirtualPrinters.h"
#include "store/printer/ZVPrinter.h"

namespace {

void Produce(TZVPrinter& p, int pages) {
  p.BeginDoc();
  for (int n = 1; n <= pages; ++n) {
    p.NewPage();
    p.Canvas()->TextOut(p.XPos(100), p.YPos(100), "Page " + std::to_string(n));
  }
  p.EndDoc();
}

// Page numbers drawn on each printed page, read back from the recorded metafiles' text.
std::vector<size_t> DrawingsPerPage(const TVirtualJob& job) {
  std::vector<size_t> counts;
  for (const auto& page : job.Pages)
    counts.push_back(page.Drawings.size());
  return counts;
}

} // namespace

TEST(ZVPrinterProduction, RecordsPagesIntoAReportThatLoadsAgain) {
  vp::Installed printers({vp::Queue("Office")}, "Office");
  struct Window : TZVWindow {
    std::vector<uintptr_t> Available;
    void PostMessage(uint32_t m, uintptr_t w, intptr_t) override {
      if (m == ZVM_PAGEAVAILABLE) Available.push_back(w);
    }
  } window;
  TZVPrinter p;
  p.SetClient(&window);
  p.Pages().SetFixedDate(46000.5);
  Produce(p, 3);
  EXPECT_EQ(p.Status(), mpFinished);
  EXPECT_EQ(p.PageCount(), 3);
  EXPECT_EQ(window.Available, (std::vector<uintptr_t>{1, 2, 3}));
  ASSERT_NE(p.GetPage(2), nullptr);
  EXPECT_EQ(p.GetPage(2)->Width(), 794); // A4 at screen resolution
  ExpectError<EZVError>([&] { p.BeginDoc(); }, "ZVPrinter not ready");

  const std::string file = vp::OutputPath("produced.zvp");
  std::filesystem::remove(file);
  p.Save(file);
  TZVPrinter q;
  q.Load(file);
  EXPECT_EQ(q.PageCount(), 3);
  EXPECT_EQ(q.PaperSize(), TZVPaperSize::A4);
  p.SetClient(nullptr);
}

TEST(ZVPrinterProduction, MisuseIsReported) {
  vp::Installed printers({vp::Queue("Office")}, "Office");
  TZVPrinter p;
  ExpectError<EZVError>([&] { p.NewPage(); }, "Illegal call to NewPage");
  p.EndDoc(); // outside production: nothing
  EXPECT_EQ(p.Status(), mpReady);
}

// An aborted report keeps the pages produced so far, also in its saved header.
TEST(ZVPrinterProduction, AbortedReportKeepsItsPages) {
  vp::Installed printers({vp::Queue("Office")}, "Office");
  TZVPrinter p;
  p.BeginDoc();
  p.NewPage();
  p.NewPage();
  p.AbortDoc();
  EXPECT_EQ(p.Status(), mpFinished);
  const std::string file = vp::OutputPath("aborted.zvp");
  std::filesystem::remove(file);
  p.Save(file);
  TZVPrinter q;
  q.Load(file);
  EXPECT_EQ(q.PageCount(), 2);
}

TEST(ZVPrinterProduction, DirectPrintingHonoursThePageRange) {
  vp::Installed printers({vp::Queue("Office")}, "Office");
  TZVPrinter p;
  int afterPrint = 0;
  p.AfterPrint = [&](TZVPrinter&) { ++afterPrint; };
  p.SetTitle("Direct");
  p.SetDestination(zvdPrinter);
  p.SetFirstPage(2);
  p.SetLastPage(3);
  Produce(p, 5);
  ASSERT_EQ(printers.Spool->Jobs.size(), 1u);
  const TVirtualJob& job = printers.Spool->Jobs[0];
  EXPECT_EQ(job.Title, "Direct");
  EXPECT_TRUE(job.Ended);
  EXPECT_EQ(DrawingsPerPage(job), (std::vector<size_t>{1, 1}));
  EXPECT_EQ(job.Pages[0].Drawings[0].Metafile.Width(), 2480 - 2 * 59); // printable width at 300 dpi
  EXPECT_EQ(afterPrint, 1);
  EXPECT_EQ(p.LeftWaste(), 50);
}

TEST(ZVPrinterPrint, PrintsALoadedReportWithItsSettings) {
  vp::Installed printers({vp::Queue("Office")}, "Office");
  TZVPrinter p;
  p.Load(vp::Report("print.zvp", 1056, 816, 4));
  p.SetTitle("Loaded");
  p.SetFirstPage(2);
  p.Print();
  ASSERT_EQ(printers.Spool->Jobs.size(), 1u);
  const TVirtualJob& job = printers.Spool->Jobs[0];
  EXPECT_EQ(DrawingsPerPage(job), (std::vector<size_t>{1, 1, 1}));
  EXPECT_TRUE(job.Ended);
  EXPECT_EQ(job.Mode.dmPaperSize, 1); // recognised as Letter landscape and applied
  EXPECT_EQ(job.Mode.dmOrientation, DMORIENT_LANDSCAPE);
  const TEmfRect r = job.Pages[0].Drawings[0].Rect;
  EXPECT_EQ(r.right, 3300 - 2 * 59);
  EXPECT_EQ(r.bottom, 2550 - 2 * 59);
}

TEST(ZVPrinterPrint, CancelAbortsAndAFailingPageLeavesNoJobOpen) {
  vp::Installed printers({vp::Queue("Office")}, "Office");
  TZVPrinter p;
  p.Load(vp::Report("cancel.zvp", 794, 1123, 3));
  p.Cancel();
  p.Print();
  ASSERT_EQ(printers.Spool->Jobs.size(), 1u);
  EXPECT_TRUE(printers.Spool->Jobs[0].Aborted);
  EXPECT_EQ(printers.Spool->Jobs[0].Pages.size(), 2u);

  // A report whose chain to the last page is broken: the error comes out and the job is abandoned.
  std::vector<uint8_t> bytes = ReadFileBytes(vp::OutputPath("cancel.zvp"));
  for (size_t i = bytes.size() - 4; i < bytes.size(); ++i)
    bytes[i] = 0x7F;
  const std::string damaged = vp::OutputPath("damaged.zvp");
  std::filesystem::remove(damaged);
  WriteFileBytes(damaged, bytes.data(), bytes.size());
  p.SetCancelled(false);
  p.Load(damaged);
  EXPECT_THROW(p.Print(), EDamagedData);
  ASSERT_EQ(printers.Spool->Jobs.size(), 2u);
  EXPECT_TRUE(printers.Spool->Jobs[1].Aborted);
  EXPECT_EQ(printers.Spool->Jobs[1].Pages.size(), 3u); // page 3 had begun
}
