// zvptool pdf against real files: reports and metafiles in, PDF documents checked by qpdf and read back
// by the system's PDF tools.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "ToolRunner.h"
#include "platform/emfwriter/EmfWriter.h"

namespace {

// An A4 page at 96 dpi (794 x 1123 pixels) with a heading in Polish and a box.
std::vector<uint8_t> A4Page(const std::string& heading) {
  TEmfWriter writer(794, 1123, 96);
  writer.SelectObject(writer.CreateFont({.Face = "Arial", .Height = -16}));
  writer.TextOut(60, 60, heading);
  writer.SelectObject(writer.CreateSolidBrush(emf::EmfRgb(200, 220, 240)));
  writer.Rectangle(60, 120, 400, 300);
  return writer.Finish();
}

class PdfCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteBytes(S.Path("p1.emf"), A4Page("Faktura nr 1/2026 – Zażółć gęślą jaźń"));
    WriteBytes(S.Path("p2.emf"), A4Page("Strona druga"));
    ASSERT_EQ(S.Run("zvptool", {"pack", "report.zvp", "p1.emf", "p2.emf"}).Status, 0);
  }
  std::string Text(const std::string& pdf) { return S.Shell("pdftotext -layout " + pdf + " -").Out; }
  TScratch S;
};

TEST_F(PdfCommandTest, AReportBecomesOnePdfBesideIt) {
  TRunResult r = S.Run("zvptool", {"pdf", "report.zvp"});
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(r.Err, "");
  EXPECT_EQ(S.Shell("qpdf --check report.pdf").Status, 0);
  const std::string info = S.Shell("pdfinfo report.pdf").Out;
  EXPECT_NE(info.find("Pages:           2"), std::string::npos) << info;
  EXPECT_NE(info.find("Page size:       596 x 842 pts"), std::string::npos) << info;
  const std::string text = Text("report.pdf");
  EXPECT_NE(text.find("Zażółć gęślą jaźń"), std::string::npos) << text;
  EXPECT_NE(text.find("Strona druga"), std::string::npos) << text;
  EXPECT_FALSE(S.PartFilesLeft());
}

TEST_F(PdfCommandTest, CompressionIsAskedFor) {
  ASSERT_EQ(S.Run("zvptool", {"pdf", "p1.emf", "-o", "plain.pdf"}).Status, 0);
  ASSERT_EQ(S.Run("zvptool", {"pdf", "--compress", "p1.emf", "-o", "packed.pdf"}).Status, 0);
  const std::vector<uint8_t> plain = ReadBytes(S.Path("plain.pdf")), packed = ReadBytes(S.Path("packed.pdf"));
  auto has = [](const std::vector<uint8_t>& bytes, const std::string& what) {
    return std::search(bytes.begin(), bytes.end(), what.begin(), what.end()) != bytes.end();
  };
  EXPECT_FALSE(has(plain, "/FlateDecode"));
  EXPECT_TRUE(has(packed, "/FlateDecode"));
  EXPECT_LT(packed.size(), plain.size());
  EXPECT_EQ(Text("plain.pdf"), Text("packed.pdf"));
}

TEST_F(PdfCommandTest, ADamagedInputIsNamedAndTheOthersAreStillConverted) {
  std::vector<uint8_t> damaged = ReadBytes(S.Path("report.zvp"));
  damaged.resize(damaged.size() - 40);
  WriteBytes(S.Path("damaged.zvp"), damaged);
  WriteBytes(S.Path("damaged.pdf"), {'o', 'l', 'd'});
  TRunResult r = S.Run("zvptool", {"pdf", "p1.emf", "damaged.zvp", "p2.emf"});
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(r.Err.rfind("zvptool pdf: damaged.zvp: ", 0), 0u) << r.Err;
  EXPECT_EQ(S.Shell("qpdf --check p1.pdf").Status, 0);
  EXPECT_EQ(S.Shell("qpdf --check p2.pdf").Status, 0);
  EXPECT_EQ(ReadBytes(S.Path("damaged.pdf")), (std::vector<uint8_t>{'o', 'l', 'd'})) << "left as it was";
  EXPECT_FALSE(S.PartFilesLeft());
}

TEST_F(PdfCommandTest, UsageAndRefusedOutputs) {
  const std::vector<uint8_t> page = ReadBytes(S.Path("p1.emf"));
  struct Case {
    std::vector<std::string> args;
    int status;
  } cases[] = {
      {{"pdf"}, 2},
      {{"pdf", "p1.emf", "p2.emf", "-o", "both.pdf"}, 2},
      {{"pdf", "--colour", "p1.emf"}, 2},
      {{"pdf", "p1.emf", "-o", "p1.emf"}, 1},
      {{"pdf", "missing.zvp"}, 1},
  };
  for (const Case& c : cases) {
    TRunResult r = S.Run("zvptool", c.args);
    EXPECT_EQ(r.Status, c.status) << c.args.back() << ": " << r.Err;
  }
  EXPECT_EQ(ReadBytes(S.Path("p1.emf")), page) << "an input is never an output";
  EXPECT_FALSE(std::filesystem::exists(S.Path("both.pdf")));
}

TEST(ZvptoolStart, CommandsThatDrawNothingLoadNoQt) {
  TScratch s;
  TRunResult r = s.Shell("ldd " + std::string(ZVP_BIN_DIR) + "/zvptool");
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(r.Out.find("libQt"), std::string::npos) << r.Out;
  EXPECT_EQ(r.Out.find("libcups"), std::string::npos) << r.Out;
  TRunResult render = s.Run("zvptool", {"render"});
  EXPECT_EQ(render.Status, 2) << "the drawing commands still answer: " << render.Err;
  EXPECT_NE(render.Err.find("zvptool render: "), std::string::npos) << render.Err;
}

} // namespace
