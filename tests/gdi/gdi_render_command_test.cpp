// `zvptool render` as a user runs it: pages of a report or a metafile into PNG files, sizes from the
// resolution or the fit, and a clean failure on damaged input.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

struct TRender {
  int Status;
  fs::path Png;
};

TRender Render(const std::string& input, const std::string& options, const std::string& name) {
  fs::path out = fs::path(ZVP_TEST_OUTPUT_DIR) / ("render-" + name + ".png");
  fs::remove(out);
  std::string command = std::string(ZVP_BIN_DIR) + "/zvptool render '" + input + "' " + options + " -o '" +
                        out.string() + "' 2>/dev/null";
  int raw = std::system(command.c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, out};
}

const std::string kSample = std::string(ZVP_SOURCE_DIR) + "/samples/faktura.zvp";

TEST(RenderCommand, PagesBecomeImagesOfTheirScaledSize) {
  if (!fs::exists(kSample)) GTEST_SKIP() << "no sample report";
  struct {
    const char* Options;
    int Width, Height; // an A4 page of 794 x 1123 pixels
  } cases[] = {{"--page 2", 794, 1123}, {"--dpi 48", 397, 562}, {"--fit 500", 354, 500}};
  for (auto c : cases) {
    SCOPED_TRACE(c.Options);
    TRender r = Render(kSample, c.Options, std::to_string(c.Width));
    ASSERT_EQ(r.Status, 0);
    QImage image(QString::fromStdString(r.Png.string()));
    EXPECT_EQ(image.width(), c.Width);
    EXPECT_EQ(image.height(), c.Height);
    EXPECT_EQ(image.pixel(2, 2), qRgb(255, 255, 255)); // a white page
  }
}

TEST(RenderCommand, DamagedOrMissingInputFailsWithoutWriting) {
  fs::path damaged =
      fs::path(ZVP_SHARED_DIR) / "corpus" / "corrupted" / "bad_corrupted_2014-12-02-215338.emf";
  struct {
    std::string Input, Options;
  } cases[] = {{(fs::path(ZVP_TEST_OUTPUT_DIR) / "no-such-file.zvp").string(), ""}, {kSample, "--page 99"}};
  for (const auto& c : cases) {
    TRender r = Render(c.Input, c.Options, "failed");
    EXPECT_EQ(r.Status, 1);
    EXPECT_FALSE(fs::exists(r.Png));
  }
  if (fs::exists(damaged)) {
    TRender r = Render(damaged.string(), "", "damaged");
    EXPECT_EQ(r.Status, 1);
    EXPECT_FALSE(fs::exists(r.Png));
  }
}

} // namespace
