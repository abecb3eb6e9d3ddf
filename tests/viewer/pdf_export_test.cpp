// The PDF button: the open report into metafilepdf.pdf and meta<N>.emf in the current directory.
#include <QDir>
#include <filesystem>
#include <fstream>

#include "MainWindow.h"
#include "ViewerTestSupport.h"

using namespace viewer_test;
namespace fs = std::filesystem;

namespace {

std::string Sh(const std::string& command) {
  std::string out;
  if (FILE* p = popen((command + " 2>/dev/null").c_str(), "r")) {
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, p)) > 0)
      out.append(buffer, n);
    pclose(p);
  }
  return out;
}

// A fresh current directory for the test, restored afterwards.
class PdfExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureApplication();
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    FDir = fs::path(ZVP_TEST_OUTPUT_DIR) / "viewer-pdf" / info->name();
    fs::remove_all(FDir);
    fs::create_directories(FDir);
    FOld = fs::current_path();
    fs::current_path(FDir);
  }
  void TearDown() override {
    fs::permissions(FDir, fs::perms::owner_all, fs::perm_options::add);
    fs::current_path(FOld);
  }
  std::unique_ptr<TfrmDodEdidoPreview> Open(const char* sample) {
    QStringList args{"zvpview"};
    if (sample) args << QString::fromStdString(SamplePath(sample));
    auto window = std::make_unique<TfrmDodEdidoPreview>(args);
    window->show();
    QCoreApplication::processEvents();
    return window;
  }
  fs::path FDir, FOld;
};

TEST_F(PdfExportTest, WritesEveryPageAsEmfAndOnePdfOfA4Pages) {
  TModalRecorder boxes;
  auto w = Open("faktura.zvp");
  const int32_t pages = w->ZVPrinter()->PageCount();
  ASSERT_GE(pages, 2);
  w->BitBtn1->click();
  EXPECT_TRUE(boxes.Seen.empty()) << boxes.Seen[0].Text.toStdString();
  for (int32_t i = 1; i <= pages; ++i) {
    auto page = w->ZVPrinter()->GetPage(i);
    std::ifstream emf("meta" + std::to_string(i) + ".emf", std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(emf)), {});
    EXPECT_EQ(bytes, page->Bytes()) << "page " << i;
  }
  EXPECT_FALSE(fs::exists("meta" + std::to_string(pages + 1) + ".emf"));
  ASSERT_TRUE(fs::exists("metafilepdf.pdf"));
  EXPECT_NE(Sh("qpdf --check metafilepdf.pdf").find("No syntax or stream encoding errors"),
            std::string::npos);
  const std::string info = Sh("pdfinfo metafilepdf.pdf");
  EXPECT_NE(info.find("Pages:           " + std::to_string(pages)), std::string::npos) << info;
  EXPECT_NE(info.find("Page size:       596 x 842 pts"), std::string::npos) << info;
  EXPECT_EQ(Sh("grep -c FlateDecode metafilepdf.pdf"), "0\n") << "the viewer writes plain streams";
}

TEST_F(PdfExportTest, AFileThatCannotBeWrittenIsReportedAndTheOldPdfStays) {
  {
    std::ofstream old("metafilepdf.pdf");
    old << "old";
  }
  // A folder where the EMF of page 1 should go: the export stops there and writes no PDF.
  fs::create_directory("meta1.emf");
  TModalRecorder boxes;
  auto w = Open("faktura.zvp");
  w->BitBtn1->click();
  ASSERT_EQ(boxes.Seen.size(), 1u);
  EXPECT_NE(boxes.Seen[0].Text.toStdString().find("meta1.emf"), std::string::npos)
      << boxes.Seen[0].Text.toStdString();
  EXPECT_EQ(Sh("cat metafilepdf.pdf"), "old");

  // The PDF itself cannot be replaced: its failure is reported too, not passed over.
  fs::remove("meta1.emf");
  fs::remove("metafilepdf.pdf");
  fs::create_directory("metafilepdf.pdf");
  boxes.Seen.clear();
  w->BitBtn1->click();
  ASSERT_EQ(boxes.Seen.size(), 1u);
  EXPECT_NE(boxes.Seen[0].Text.toStdString().find("metafilepdf.pdf"), std::string::npos)
      << boxes.Seen[0].Text.toStdString();
  EXPECT_TRUE(fs::is_directory("metafilepdf.pdf"));
}

TEST_F(PdfExportTest, WithNoReportOpenNothingIsWrittenAndTheUserIsTold) {
  TModalRecorder boxes;
  auto w = Open(nullptr);
  const size_t before = boxes.Seen.size(); // the first-run notice may come first
  w->BitBtn1->click();
  EXPECT_EQ(boxes.Seen.size(), before + 1);
  EXPECT_FALSE(fs::exists("metafilepdf.pdf"));
  EXPECT_FALSE(fs::exists("meta1.emf"));
}

} // namespace
