// The printer object's rules, the same on every back end: default printer, index range, jobs.
#include <gtest/gtest.h>

#include "../metafile/ExpectError.h"
#include "VirtualPrinters.h"

namespace {

TVirtualPrinter Make(std::vector<TVirtualQueue> queues, const std::string& def,
                     std::shared_ptr<TVirtualSpool> spool = std::make_shared<TVirtualSpool>()) {
  return TVirtualPrinter(std::move(queues), def, std::move(spool));
}

} // namespace

TEST(PrinterRules, DefaultPrinterAndIndexRange) {
  TVirtualPrinter p = Make({vp::Queue("Alpha"), vp::Queue("Beta")}, "beta");
  EXPECT_EQ(p.Printers(), (std::vector<std::string>{"Alpha", "Beta"}));
  EXPECT_EQ(p.PrinterIndex(), 1);
  p.SetPrinterIndex(0);
  EXPECT_EQ(p.PrinterIndex(), 0);
  p.SetPrinterIndex(-1); // the default again
  EXPECT_EQ(p.PrinterIndex(), 1);
  for (int32_t bad : {-2, 2})
    ExpectError<EPrinter>([&] { p.SetPrinterIndex(bad); }, "Printer index out of range");
  ExpectError<EPrinter>([&] { p.SetPrinter("Gamma", "", "", nullptr); }, "Printer selected is not valid");

  TVirtualPrinter none = Make({vp::Queue("Alpha")}, "");
  ExpectError<EPrinter>([&] { none.PrinterIndex(); }, "There is no default printer currently selected");
  ExpectError<EPrinter>([&] { none.BeginDoc(); }, "There is no default printer currently selected");
}

// A new selection and a device mode of null both make the driver's defaults current.
TEST(PrinterRules, DeviceModeResetsToTheDriversDefaults) {
  TVirtualPrinter p = Make({vp::Queue("Alpha", {1, 9}, 9), vp::Queue("Beta", {1, 9}, 1)}, "Alpha");
  std::string device, driver, port;
  TDevMode* mode = p.GetPrinter(device, driver, port);
  ASSERT_NE(mode, nullptr);
  mode->dmPaperSize = 1;
  p.SetPrinter(device, driver, port, mode);
  EXPECT_EQ(p.GetDeviceCaps(PHYSICALWIDTH), 2550); // Letter at 300 dpi
  p.SetPrinter("ALPHA", "", "", nullptr);
  EXPECT_EQ(p.GetPrinter(device, driver, port)->dmPaperSize, 9);
  p.SetPrinterIndex(1);
  EXPECT_EQ(p.GetPrinter(device, driver, port)->dmPaperSize, 1);
  EXPECT_EQ(device, "Beta");
}

TEST(PrinterRules, OneJobWithConsecutivePages) {
  auto spool = std::make_shared<TVirtualSpool>();
  TVirtualPrinter p = Make({vp::Queue("Alpha")}, "Alpha", spool);
  for (auto call : {&TPrinter::NewPage, &TPrinter::EndDoc, &TPrinter::Abort})
    ExpectError<EPrinter>([&] { (p.*call)(); }, "Printer is not currently printing");
  p.Title = "Job";
  p.BeginDoc();
  EXPECT_EQ(p.PageNumber(), 1);
  ExpectError<EPrinter>([&] { p.BeginDoc(); }, "Printing in progress");
  ExpectError<EPrinter>([&] { p.SetPrinterIndex(0); }, "Printing in progress");
  p.NewPage();
  EXPECT_EQ(p.PageNumber(), 2);
  p.EndDoc();
  EXPECT_FALSE(p.Printing());
  ASSERT_EQ(spool->Jobs.size(), 1u);
  EXPECT_EQ(spool->Jobs[0].Title, "Job");
  EXPECT_EQ(spool->Jobs[0].Pages.size(), 2u);
  EXPECT_TRUE(spool->Jobs[0].Ended);
}

// A job the spooler refuses leaves the object idle; the next page or end reports it.
TEST(PrinterRules, RefusedJob) {
  TVirtualQueue q = vp::Queue("Alpha");
  q.RefusesJobs = true;
  TVirtualPrinter p = Make({q}, "Alpha");
  p.BeginDoc();
  EXPECT_FALSE(p.Printing());
  ExpectError<EPrinter>([&] { p.NewPage(); }, "Printer is not currently printing");
  ExpectError<EPrinter>([&] { p.EndDoc(); }, "Printer is not currently printing");
}
