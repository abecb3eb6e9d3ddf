// Printing through a real CUPS scheduler (started by tests/printing/cups-start.sh): the queues as printer
// objects, and `zvptool print` producing PDF files through cups-pdf. Skipped when no scheduler answers.
#include <gtest/gtest.h>

#include <QPrinterInfo>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>
#include <unistd.h>

#include "../gdi/GdiTestSupport.h"
#include "platform/printer/QtPrinter.h"
#include "store/ZVPageList.h"
#include "store/printer/PrinterSettings.h"

namespace fs = std::filesystem;

// The print-system library keeps a few strings of each queue's PPD cache for good; not ours to free.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libcups.so\n";
}

namespace {

std::string Shell(const std::string& command, int* status = nullptr) {
  std::string out;
  if (FILE* pipe = popen((command + " 2>&1").c_str(), "r")) {
    char buffer[4096];
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe))
      out.append(buffer, n);
    const int rc = pclose(pipe);
    if (status) *status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  }
  return out;
}

// Runs `zvptool print ARGS`. Under the leak checker the child meets the same print-system leak as this
// program, so it gets the same suppression.
std::string ZvptoolPrint(const std::string& args, int* status, const std::string& environment = "") {
  static const std::string suppressions = [] {
    const std::string path = std::string(ZVP_TEST_OUTPUT_DIR) + "/lsan-print-system.supp";
    std::ofstream(path) << "leak:libcups.so\n";
    return path;
  }();
  return Shell(environment + " LSAN_OPTIONS=suppressions=" + suppressions + " " + ZVP_BIN_DIR +
                   "/zvptool print " + args,
               status);
}

const std::string PdfDir = getenv("ZVP_CUPS_PDF_DIR") ? getenv("ZVP_CUPS_PDF_DIR") : "/tmp/zvp-cups-pdf";

class CupsPrinting : public ::testing::Test {
 protected:
  void SetUp() override {
    if (Shell("lpstat -r").find("is running") == std::string::npos)
      GTEST_SKIP() << "no CUPS scheduler answers (start one with tests/printing/cups-start.sh)";
    EnsureGuiApplication();
    if (!QPrinterInfo::availablePrinterNames().contains("PDF") ||
        !QPrinterInfo::availablePrinterNames().contains("Null"))
      GTEST_SKIP() << "the queues PDF and Null are missing (tests/printing/cups-start.sh makes them)";
  }
};

int32_t IndexOf(TPrinter& p, const std::string& name) {
  const auto& list = p.Printers();
  return static_cast<int32_t>(std::find(list.begin(), list.end(), name) - list.begin());
}

// A report whose page n reads "Seite n" in large letters.
std::string TextReport(const std::string& name, int pages) {
  const std::string path = std::string(ZVP_TEST_OUTPUT_DIR) + "/" + name + ".zvp";
  fs::remove(path);
  TZVPageList list;
  list.SetStream(std::make_unique<TZVStream>(1 << 20));
  for (int p = 1; p <= pages; ++p) {
    TEmfWriter w(794, 1123, 96);
    w.SelectObject(w.CreateFont({.Face = "Liberation Sans", .Height = -40}));
    w.TextOut(100, 100, "Seite " + std::to_string(p));
    list.AddPage(w.ToMetafile());
  }
  list.Finish();
  list.SaveToFile(path);
  return path;
}

// Waits for cups-pdf's "<title>-job_<id>.pdf" and returns its path, or "" after a minute.
std::string AwaitPdf(const std::string& title) {
  for (int i = 0; i < 600; ++i) {
    for (const auto& entry : fs::directory_iterator(PdfDir))
      if (entry.path().filename().string().rfind(title + "-job_", 0) == 0 &&
          entry.path().extension() == ".pdf") {
        std::this_thread::sleep_for(std::chrono::milliseconds(300)); // cups-pdf may still be writing
        return entry.path().string();
      }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return {};
}

std::string UniqueTitle(const std::string& base) {
  return base + "-" + std::to_string(getpid());
}

// The newest job number the scheduler knows for the queue (0 when none).
int LastJobId(const std::string& queue) {
  const std::string list = Shell("lpstat -W all -o " + queue);
  int last = 0;
  for (size_t at = list.find(queue + "-"); at != std::string::npos; at = list.find(queue + "-", at + 1))
    last = std::max(last, std::atoi(list.c_str() + at + queue.size() + 1));
  return last;
}

// The scheduler's attributes of a job, as ipptool prints them ("name (type) = value" lines).
std::string JobAttributes(int id) {
  return Shell("ipptool -tv ipp://localhost/jobs/" + std::to_string(id) +
               " /usr/share/cups/ipptool/get-job-attributes.test");
}

} // namespace

TEST_F(CupsPrinting, QueuesAsPrinterObjects) {
  TQtPrinter printer;
  EXPECT_EQ(printer.Printers()[printer.PrinterIndex()], "PDF"); // the default
  std::string device, driver, port;
  TDevMode* mode = printer.GetPrinter(device, driver, port);
  ASSERT_NE(mode, nullptr);
  EXPECT_EQ(device, "PDF");
  EXPECT_EQ(port, "cups-pdf:/");
  EXPECT_FALSE(driver.empty());
  EXPECT_EQ(mode->dmFields & DM_DEFAULTSOURCE, 0u); // no paper sources on this platform
  EXPECT_NE(mode->dmFields & DM_PAPERSIZE, 0u);
  EXPECT_EQ(mode->dmPaperSize, 9); // the queue's default, A4

  const std::vector<uint16_t> papers = printer.PaperCodes();
  EXPECT_NE(std::find(papers.begin(), papers.end(), 9), papers.end());
  EXPECT_NE(std::find(papers.begin(), papers.end(), 1), papers.end());
  const int dpi = printer.GetDeviceCaps(LOGPIXELSX);
  ASSERT_GT(dpi, 0);
  EXPECT_NEAR(printer.GetDeviceCaps(PHYSICALWIDTH), 210 / 25.4 * dpi, dpi / 50); // Qt's A4 is 595 points

  // The Null queue's default is Letter and it offers duplex: a new selection takes both.
  printer.SetPrinterIndex(IndexOf(printer, "Null"));
  mode = printer.GetPrinter(device, driver, port);
  EXPECT_EQ(mode->dmPaperSize, 1);
  EXPECT_NE(mode->dmFields & DM_DUPLEX, 0u);
  EXPECT_NEAR(printer.GetDeviceCaps(PHYSICALWIDTH), 8.5 * dpi, dpi / 50);

  TPrinterSettings settings;
  settings.SetPrinter(&printer);
  EXPECT_EQ(settings.Device(), "Null");
  EXPECT_EQ(settings.PaperSize(), TZVPaperSize::Letter);
  EXPECT_TRUE(settings.PaperSizeSupported(TZVPaperSize::Custom));
  EXPECT_TRUE(settings.PaperSizeSupported(TZVPaperSize::A4));
  settings.SetPaperSize(TZVPaperSize::A4);
  settings.SetOrientation(poLandscape);
  settings.ApplySettings();
  EXPECT_NEAR(printer.GetDeviceCaps(PHYSICALWIDTH), 297 / 25.4 * dpi, dpi / 50);
}

TEST_F(CupsPrinting, CopiesOfARangeMakeOnePdf) {
  const std::string title = UniqueTitle("zvp-copies");
  const std::string report = TextReport(title, 5);
  int status = 0;
  const std::string out = ZvptoolPrint(report + " --printer PDF --copies 2 --from 2 --to 3", &status);
  ASSERT_EQ(status, 0) << out;
  EXPECT_NE(out.find("Printed 4 page(s) on PDF"), std::string::npos) << out;
  const std::string pdf = AwaitPdf(title);
  ASSERT_FALSE(pdf.empty()) << "no PDF from cups-pdf in " << PdfDir;
  EXPECT_NE(Shell("pdfinfo " + pdf).find("Pages:           4"), std::string::npos);
  std::string text = Shell("pdftotext " + pdf + " -");
  std::vector<std::string> seen;
  for (size_t at = text.find("Seite "); at != std::string::npos; at = text.find("Seite ", at + 1))
    seen.push_back(text.substr(at, 7));
  EXPECT_EQ(seen, (std::vector<std::string>{"Seite 2", "Seite 3", "Seite 2", "Seite 3"})) << text;
  fs::remove(pdf);
}

// Qt would spool a blank sheet for a job without pages; none reaches the scheduler.
TEST_F(CupsPrinting, AnEmptyRangeReachesNoPrinter) {
  const struct {
    int Pages;
    const char* Range;
  } cases[] = {{5, " --from 4 --to 2"}, {3, " --from 5 --to 9"}};
  for (const auto& c : cases) {
    const std::string report = TextReport(UniqueTitle("zvp-empty"), c.Pages);
    const int before = LastJobId("Null");
    int status = 0;
    const std::string out = ZvptoolPrint(report + " --printer Null" + c.Range, &status);
    ASSERT_EQ(status, 0) << out;
    EXPECT_NE(out.find("Printed 0 page(s) on Null"), std::string::npos) << out;
    EXPECT_EQ(LastJobId("Null"), before) << c.Range << ": a job reached the scheduler";
  }
}

// A page that fails to print abandons the job: what was drawn before it never prints.
TEST_F(CupsPrinting, AJobWhosePageFailsIsCancelled) {
  if (Shell("command -v ipptool").empty()) GTEST_SKIP() << "ipptool is missing";
  const std::string title = UniqueTitle("zvp-failing");
  const std::string report = std::string(ZVP_TEST_OUTPUT_DIR) + "/" + title + ".zvp";
  fs::remove(report);
  TZVPageList list;
  list.SetStream(std::make_unique<TZVStream>(1 << 20));
  for (int p = 1; p <= 3; ++p) {
    TEmfWriter w(794, 1123, 96);
    w.TextOut(40, 40, "Seite " + std::to_string(p));
    TMetafile page = w.ToMetafile();
    if (p == 2) {
      std::vector<uint8_t> bytes = page.Bytes();
      // EMR_SELECTOBJECT of handle 50, which no record created, before EMR_EOF (the last 20 bytes).
      const uint8_t select[12] = {37, 0, 0, 0, 12, 0, 0, 0, 50, 0, 0, 0};
      bytes.insert(bytes.end() - 20, select, select + 12);
      auto bump = [&](size_t at, uint32_t by) {
        uint32_t v;
        std::memcpy(&v, &bytes[at], 4);
        v += by;
        std::memcpy(&bytes[at], &v, 4);
      };
      bump(48, 12); // nBytes
      bump(52, 1);  // nRecords
      page.LoadFromBytes(bytes);
    }
    list.AddPage(page);
  }
  list.Finish();
  list.SaveToFile(report);

  const int before = LastJobId("Null");
  int status = 0;
  const std::string out = ZvptoolPrint(report + " --printer Null", &status);
  EXPECT_NE(status, 0) << out;
  EXPECT_NE(out.find("GDI"), std::string::npos) << out;
  EXPECT_EQ(out.find("Printed"), std::string::npos) << out;
  const int job = LastJobId("Null");
  if (job > before) {
    const std::string attributes = JobAttributes(job);
    EXPECT_NE(attributes.find("job-state (enum) = canceled"), std::string::npos) << attributes;
  }
}

// The device mode's duplex reaches the job; copies are passes of the print loop, so the job itself asks
// for one copy (else every page would come out copies × copies times).
TEST_F(CupsPrinting, DuplexReachesTheJobAndCopiesAreNotDoubled) {
  if (Shell("command -v ipptool").empty()) GTEST_SKIP() << "ipptool is missing";
  const int before = LastJobId("Null");
  TQtPrinter printer;
  printer.SetPrinterIndex(IndexOf(printer, "Null"));
  std::string device, driver, port;
  TDevMode mode = *printer.GetPrinter(device, driver, port);
  ASSERT_NE(mode.dmFields & DM_DUPLEX, 0u);
  mode.dmDuplex = DMDUP_VERTICAL;
  printer.SetPrinter(device, driver, port, &mode);
  TEmfWriter w(100, 100);
  w.Rectangle(10, 10, 90, 90);
  const TMetafile page = w.ToMetafile();
  printer.Title = UniqueTitle("zvp-duplex");
  printer.BeginDoc();
  printer.StretchDraw(TEmfRect{0, 0, 400, 400}, page);
  printer.NewPage();
  printer.StretchDraw(TEmfRect{0, 0, 400, 400}, page);
  printer.EndDoc();
  const int duplexJob = LastJobId("Null");
  ASSERT_GT(duplexJob, before);
  EXPECT_NE(JobAttributes(duplexJob).find("sides (keyword) = two-sided-long-edge"), std::string::npos)
      << JobAttributes(duplexJob);

  int status = 0;
  const std::string report = TextReport(UniqueTitle("zvp-copies-null"), 2);
  const std::string out = ZvptoolPrint(report + " --printer Null --copies 3", &status);
  ASSERT_EQ(status, 0) << out;
  EXPECT_NE(out.find("Printed 6 page(s) on Null"), std::string::npos) << out;
  const int copiesJob = LastJobId("Null");
  ASSERT_GT(copiesJob, duplexJob);
  const std::string attributes = JobAttributes(copiesJob);
  EXPECT_NE(attributes.find("job-state"), std::string::npos) << attributes;
  EXPECT_EQ(attributes.find("copies (integer) = 3"), std::string::npos) << attributes;
}

// Without a scheduler Qt lists no printer (and would silently write PDF); the printer's own error comes out.
// Runs with or without a scheduler: this one is pointed at a socket where none answers.
TEST(CupsPrintingWithout, NoPrinterAtAll) {
  const std::string report = TextReport(UniqueTitle("zvp-none"), 1);
  int status = 0;
  const std::string out = ZvptoolPrint(report, &status, "CUPS_SERVER=/nonexistent/cups.sock");
  EXPECT_EQ(status, 1);
  EXPECT_NE(out.find("zvptool: There is no default printer currently selected"), std::string::npos) << out;
}
