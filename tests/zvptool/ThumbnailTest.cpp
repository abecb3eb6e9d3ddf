// zvptool thumbnail: page 1 fitted into SIZE x SIZE on white, through zvptool-qt; nothing written for a
// damaged report.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <cstring>
#include <functional>

#include "ToolRunner.h"
#include "platform/emfwriter/EmfWriter.h"

namespace {

// A page with a dark box in its top-left quarter and white elsewhere.
std::vector<uint8_t> Page(int32_t w, int32_t h) {
  TEmfWriter writer(w, h, 96);
  writer.SelectObject(writer.CreateSolidBrush(emf::EmfRgb(20, 40, 160)));
  writer.Rectangle(0, 0, w / 2, h / 2);
  return writer.Finish();
}

void PutI32(std::vector<uint8_t>& bytes, size_t at, int32_t v) {
  std::memcpy(bytes.data() + at, &v, 4);
}

class ThumbnailTest : public ::testing::Test {
 protected:
  // report.zvp of one page of the given size.
  std::vector<uint8_t> Report(int32_t w, int32_t h, bool compress = false) {
    WriteBytes(S.Path("page.emf"), Page(w, h));
    std::vector<std::string> args = {"pack"};
    if (compress) args.push_back("--compress");
    args.insert(args.end(), {"report.zvp", "page.emf"});
    TRunResult r = S.Run("zvptool", args);
    EXPECT_EQ(r.Status, 0) << r.Err;
    return ReadBytes(S.Path("report.zvp"));
  }
  TScratch S;
};

TEST_F(ThumbnailTest, FitsPageOneIntoTheSquareOnWhite) {
  struct Case {
    int32_t W, H;
    std::vector<std::string> Size;
    int ImageW, ImageH;
  } cases[] = {
      {400, 200, {}, 256, 128},             // default size, scaled up
      {2000, 1000, {"-s", "100"}, 100, 50}, // scaled down
      {300, 600, {"-s", "64"}, 32, 64},     // portrait
      {500, 500, {"-s", "1"}, 1, 1},
  };
  for (const Case& c : cases) {
    Report(c.W, c.H, c.W == 300);
    std::vector<std::string> args = {"thumbnail"};
    args.insert(args.end(), c.Size.begin(), c.Size.end());
    args.insert(args.end(), {"report.zvp", "thumb.png"});
    TRunResult r = S.Run("zvptool", args);
    ASSERT_EQ(r.Status, 0) << c.W << "x" << c.H << ": " << r.Err;
    EXPECT_EQ(r.Out, "");
    QImage image(QString::fromStdString(S.Path("thumb.png")));
    ASSERT_FALSE(image.isNull()) << c.W << "x" << c.H;
    EXPECT_EQ(image.size(), QSize(c.ImageW, c.ImageH)) << c.W << "x" << c.H;
    if (c.ImageW < 8) continue;
    EXPECT_EQ(QColor(image.pixel(image.width() - 2, image.height() - 2)), QColor(Qt::white));
    const QColor box = image.pixel(image.width() / 8, image.height() / 8);
    EXPECT_LT(box.red(), 60) << "the page's box is drawn, not just the white ground";
    EXPECT_GT(box.blue(), 120);
  }
  EXPECT_FALSE(S.PartFilesLeft());
}

TEST_F(ThumbnailTest, TheSampleReportGivesAPortraitThumbnail) {
  TRunResult r =
      S.Run("zvptool", {"thumbnail", std::string(ZVP_SOURCE_DIR) + "/samples/faktura.zvp", "f.png"});
  ASSERT_EQ(r.Status, 0) << r.Err;
  QImage image(QString::fromStdString(S.Path("f.png")));
  EXPECT_EQ(image.height(), 256);
  EXPECT_LT(image.width(), 256);
}

TEST_F(ThumbnailTest, ADamagedReportGivesStatusOneAndLeavesTheOutputAlone) {
  const auto good = Report(200, 100);
  const size_t page = 120 + 8; // page 1's metafile in a plain report
  struct Case {
    const char* Name;
    std::function<void(std::vector<uint8_t>&)> Damage;
  } cases[] = {
      {"not a report", [](auto& b) { b.assign(300, 0x41); }},
      {"cut inside page 1", [](auto& b) { b.resize(160); }},
      {"metafile record beyond its page", [&](auto& b) { PutI32(b, page + 108 + 4, 0xFFFF); }},
      {"metafile without size",
       [&](auto& b) {
         for (size_t field = 8; field < 40; field += 4) // bounds and frame
           PutI32(b, page + field, 0);
       }},
      {"no pages", [](auto& b) { PutI32(b, 5, 0); }},
  };
  for (const Case& c : cases) {
    auto bytes = good;
    c.Damage(bytes);
    WriteBytes(S.Path("damaged.zvp"), bytes);
    WriteBytes(S.Path("old.png"), {'o', 'l', 'd'});
    TRunResult r = S.Run("zvptool", {"thumbnail", "damaged.zvp", "old.png"});
    EXPECT_EQ(r.Status, 1) << c.Name << ": " << r.Err;
    EXPECT_EQ(r.Err.rfind("zvptool: ", 0), 0u) << c.Name << ": " << r.Err;
    EXPECT_EQ(ReadBytes(S.Path("old.png")), std::vector<uint8_t>({'o', 'l', 'd'})) << c.Name;
    r = S.Run("zvptool", {"thumbnail", "damaged.zvp", "new.png"});
    EXPECT_EQ(r.Status, 1) << c.Name;
    EXPECT_FALSE(std::filesystem::exists(S.Path("new.png"))) << c.Name;
  }
  EXPECT_FALSE(S.PartFilesLeft());
}

TEST_F(ThumbnailTest, WrongUsageGivesStatusTwo) {
  Report(100, 100);
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"thumbnail", "report.zvp"},
           {"thumbnail", "-s", "0", "report.zvp", "t.png"},
           {"thumbnail", "-s", "big", "report.zvp", "t.png"},
           {"thumbnail", "--fit", "9", "report.zvp", "t.png"},
       }) {
    TRunResult r = S.Run("zvptool", args);
    EXPECT_EQ(r.Status, 2) << args[2];
    EXPECT_NE(r.Err.find("Usage: zvptool"), std::string::npos) << r.Err;
  }
  TRunResult same = S.Run("zvptool", {"thumbnail", "report.zvp", "report.zvp"});
  EXPECT_EQ(same.Status, 1) << "the report is never its own thumbnail";
  EXPECT_FALSE(std::filesystem::exists(S.Path("t.png")));
}

} // namespace
