// The report printer object on the viewer's side: loading with paper recognition, pages, saving, the
// printer index and the page geometry.
#include <gtest/gtest.h>

#include "../metafile/ExpectError.h"
#include "VirtualPrinters.h"
#include "platform/rtl/Stream.h"
#include "store/printer/ZVExportFilter.h"
#include "store/printer/ZVPrinter.h"

namespace {

// Pages at 96 dpi: A4 portrait 794 x 1123, Letter landscape 1056 x 816, a 100 mm square 378 x 378.
struct Recognition {
  const char* What;
  std::vector<int16_t> Offered;
  int32_t Width, Height;
  TZVPaperSize Size;
  TPrinterOrientation Orientation;
};

} // namespace

TEST(ZVPrinterLoad, RecognisesThePaperOfTheFirstPage) {
  const Recognition cases[] = {
      {"A4 with A4Small offered", {9, 10}, 794, 1123, TZVPaperSize::A4Small, poPortrait},
      {"A4 without A4Small", {1, 9}, 794, 1123, TZVPaperSize::A4, poPortrait},
      {"Letter landscape, Note last", {1, 2, 18}, 1056, 816, TZVPaperSize::Note, poLandscape},
      {"Letter landscape, Letter only", {1, 9}, 1056, 816, TZVPaperSize::Letter, poLandscape},
      {"100 mm square", {9, 24, 25, 26}, 378, 378, TZVPaperSize::ESheet, poLandscape},
      {"no row matches: the printer's paper stays", {1, 9, 26}, 500, 300, TZVPaperSize::Letter, poPortrait},
      {"A4 not offered: the printer's paper stays", {1}, 794, 1123, TZVPaperSize::Letter, poPortrait},
  };
  for (const auto& c : cases) {
    // The printer starts on the first paper it offers.
    vp::Installed printers({vp::Queue("Office", c.Offered, c.Offered.front())}, "Office");
    TZVPrinter p;
    p.Load(vp::Report("recognise.zvp", c.Width, c.Height));
    EXPECT_EQ(p.PaperSize(), c.Size) << c.What;
    EXPECT_EQ(p.Orientation(), c.Orientation) << c.What;
  }
}

TEST(ZVPrinterLoad, StateAfterLoadAndPages) {
  vp::Installed printers({vp::Queue("Office")}, "Office");
  TZVPrinter p;
  p.OnExportToFilter = [](TZVExportFilter&) { FAIL() << "a loaded report has no export handler"; };
  p.Load(vp::Report("three.zvp", 794, 1123, 3));
  EXPECT_EQ(p.Status(), mpFinished);
  EXPECT_EQ(p.PageCount(), 3);
  EXPECT_TRUE(p.ReportLoaded());
  EXPECT_EQ(p.XFactor(), 96.0L / 254);
  EXPECT_EQ(p.PageNumber(), 0);
  for (int32_t n : {0, -1, 4})
    EXPECT_EQ(p.GetPage(n), nullptr) << n;
  ASSERT_NE(p.GetPage(3), nullptr);
  EXPECT_EQ(p.GetPage(2)->Width(), 794);
  TZVExportFilter filter("x");
  p.ExportToFilter(filter);
  p.SetPageNumber(2); // a loaded report keeps PageNumber 0: nothing happens
  EXPECT_EQ(p.Page(), nullptr);

  // A4 portrait: PaperWidthValue 2100; turned, 2970 by 2100.
  EXPECT_EQ(p.PaperWidthValue(), 2100);
  p.SetOrientation(poLandscape);
  EXPECT_EQ(p.PaperWidthValue(), 2970);
  EXPECT_EQ(p.PaperLengthValue(), 2100);
  EXPECT_EQ(p.XSize(2970), 1123);
  EXPECT_EQ(p.XPos(100), 19); // from the printable corner: the 5 mm margin read at creation

  p.Cleanup();
  EXPECT_EQ(p.Status(), mpReady);
  EXPECT_EQ(p.GetPage(1), nullptr);
}

TEST(ZVPrinterLoad, SaveCopiesTheFileAndNothingBeforeALoad) {
  vp::Installed printers({vp::Queue("Office")}, "Office");
  TZVPrinter p;
  const std::string copy = vp::OutputPath("copy.zvp");
  std::filesystem::remove(copy);
  p.Save(copy);
  EXPECT_FALSE(std::filesystem::exists(copy));
  const std::string file = vp::Report("original.zvp", 794, 1123, 2);
  p.Load(file);
  p.Save(copy);
  EXPECT_EQ(ReadFileBytes(copy), ReadFileBytes(file));
}

TEST(ZVPrinterLoad, AReportWithoutPagesFailsAndLeavesTheObjectReady) {
  vp::Installed printers({vp::Queue("Office")}, "Office");
  const std::string path = vp::OutputPath("empty.zvp");
  std::filesystem::remove(path);
  {
    TZVPageList list;
    list.SetStream(std::make_unique<TZVStream>(1000));
    list.Finish();
    list.SaveToFile(path);
  }
  TZVPrinter p;
  p.Load(vp::Report("before.zvp", 794, 1123));
  ExpectError<EReadError>([&] { p.Load(path); }, "Stream read error");
  EXPECT_EQ(p.Status(), mpReady);
  EXPECT_EQ(p.GetPage(1), nullptr);
}

TEST(ZVPrinterPrinters, NoPrinterInstalled) {
  vp::Installed printers({}, "");
  TZVPrinter p;
  EXPECT_FALSE(p.PrinterOK());
  ExpectError<EPrinter>([&] { p.PrinterIndex(); }, "There is no default printer currently selected");
  p.SetPrinterIndex(0); // does nothing
  p.Load(vp::Report("noprinter.zvp", 1056, 816));
  EXPECT_EQ(p.PaperSize(), TZVPaperSize::A4);
  EXPECT_EQ(p.Orientation(), poPortrait);
  EXPECT_EQ(p.PaperWidthValue(), 2100);
}

TEST(ZVPrinterPrinters, FollowsTheApplicationPrinterAndRereadsOnAChange) {
  TVirtualQueue letter = vp::Queue("Letter", {1, 5}, 1);
  letter.Dpi = 600;
  vp::Installed printers({vp::Queue("Office"), letter}, "LETTER"); // the default is found without case
  TZVPrinter p;
  EXPECT_EQ(p.PrinterIndex(), 1);
  EXPECT_EQ(p.PaperSize(), TZVPaperSize::Letter);
  EXPECT_EQ(p.Settings().PixelsPerX(), 600);
  p.SetCopies(4);
  p.SetPrinterIndex(0);
  EXPECT_EQ(p.PaperSize(), TZVPaperSize::A4);
  EXPECT_EQ(p.Copies(), 1); // the new driver's defaults
  EXPECT_EQ(p.Settings().Device(), "Office");
  ExpectError<EPrinter>([&] { p.SetPrinterIndex(2); }, "Printer index out of range");
}

TEST(ZVPrinterPrinters, PrintersWithoutADefaultStartOnTheFirst) {
  vp::Installed printers({vp::Queue("One"), vp::Queue("Two")}, "");
  TZVPrinter p;
  EXPECT_TRUE(p.PrinterOK());
  EXPECT_EQ(p.PrinterIndex(), 0);
  ExpectError<EPrinter>([] { Printer().PrinterIndex(); }, "There is no default printer currently selected");
}

TEST(ZVPrinterEvents, ShowingPreviewAndPostedMessages) {
  vp::Installed printers({vp::Queue("Office")}, "Office");
  struct Window : TZVWindow {
    std::vector<std::pair<uint32_t, uintptr_t>> Posted;
    bool Detached = false;
    void PostMessage(uint32_t m, uintptr_t w, intptr_t) override { Posted.emplace_back(m, w); }
    void DetachZVPrinter(TZVPrinter*) override { Detached = true; }
  } window;
  int afterPreview = 0;
  {
    TZVPrinter p;
    p.SetClient(&window);
    p.SetProgress(40);
    p.SetAvailablePages(3);
    EXPECT_EQ(window.Posted, (std::vector<std::pair<uint32_t, uintptr_t>>{{1024, 40}, {1025, 3}}));

    p.AfterPreview = [&](TZVPrinter&) {
      ++afterPreview;
      throw Exception("event failed");
    };
    p.SetShowingPreview(false); // was false: no event
    p.SetShowingPreview(true);
    EXPECT_THROW(p.SetShowingPreview(false), Exception);
    EXPECT_EQ(afterPreview, 1);
    EXPECT_FALSE(p.ShowingPreview()); // set also when the event fails
  }
  EXPECT_TRUE(window.Detached);
}
