// Every hostile page, drawn by `zvptool render` in a child process under a 2 GB memory limit: it must end
// with exit status 0 or 1 on its own, and when it draws the page, what follows the hostile records is
// drawn too.
#include <gtest/gtest.h>

#include <QImage>
#include <QImageReader>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "HostilePage.h"
#include "LimitedRun.h"

namespace fs = std::filesystem;

// Cases print as their names in test output.
void PrintTo(const THostileCase& hostile, std::ostream* out) {
  *out << hostile.Name;
}

namespace {

fs::path OutputDir() {
  fs::path dir = fs::path(ZVP_TEST_OUTPUT_DIR) / "hostile";
  fs::create_directories(dir);
  return dir;
}

void WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  ASSERT_TRUE(out.good()) << path;
}

class HostilePage : public ::testing::TestWithParam<THostileCase> {};

TEST_P(HostilePage, RendersWithinLimitsAndDrawsTheRest) {
  const THostileCase& hostile = GetParam();
  const fs::path input = OutputDir() / (hostile.Name + ".emf");
  const fs::path output = OutputDir() / (hostile.Name + ".png");
  WriteFile(input, HostilePageBytes(hostile));
  fs::remove(output);

  const TLimitedRun run = RunLimited(std::string(ZVP_BIN_DIR) + "/zvptool", {"render", input, "-o", output});
  ASSERT_EQ(run.Verdict(), "") << run.Err;
  if (run.ExitCode == 1) {
    EXPECT_NE(run.Err.find("zvptool"), std::string::npos) << "exit 1 without a message";
    EXPECT_FALSE(fs::exists(output));
    return;
  }
  // A clamped page may still be larger than Qt's readers take by default.
  QImageReader::setAllocationLimit(1024);
  QImage image(QString::fromStdString(output.string()));
  ASSERT_FALSE(image.isNull());
  const int x = int(image.width() * (MarkerLeft + MarkerRight) / 2);
  const int y = int(image.height() * (MarkerTop + MarkerBottom) / 2);
  EXPECT_EQ(image.pixel(x, y) & 0xFFFFFF, MarkerRgb) << "the marker after the hostile records is missing";
}

// The PDF export plays the same records through its own renderer, under the same limits: a complete
// document, or status 1 with a message and no file.
TEST_P(HostilePage, ConvertsToPdfWithinLimits) {
  const THostileCase& hostile = GetParam();
  const fs::path input = OutputDir() / (hostile.Name + "-pdf.emf");
  const fs::path output = OutputDir() / (hostile.Name + ".pdf");
  WriteFile(input, HostilePageBytes(hostile));
  fs::remove(output);

  const TLimitedRun run = RunLimited(std::string(ZVP_BIN_DIR) + "/zvptool", {"pdf", input, "-o", output});
  ASSERT_EQ(run.Verdict(), "") << run.Err;
  if (run.ExitCode == 1) {
    EXPECT_NE(run.Err.find("zvptool"), std::string::npos) << "exit 1 without a message";
    EXPECT_FALSE(fs::exists(output));
    return;
  }
  std::ifstream in(output, std::ios::binary);
  const std::string pdf((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u);
  EXPECT_NE(pdf.find("%%EOF", pdf.size() > 16 ? pdf.size() - 16 : 0), std::string::npos) << "cut short";
}

// Test names take letters, digits and underscores only.
std::string TestName(const ::testing::TestParamInfo<THostileCase>& info) {
  std::string name = info.param.Name;
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(Cases, HostilePage, ::testing::ValuesIn(HostileCases()), TestName);

// The limit is real: a program that takes more than it allows is judged a failure, whether it dies or
// reports the failed allocation and exits with 1 the way zvptool does.
TEST(LimitedRun, ProgramOverTheLimitFails) {
  for (const char* how : {"one", "many"}) {
    const TLimitedRun run = RunLimited(std::string(ZVP_BIN_DIR) + "/hostile-hog", {how});
    EXPECT_NE(run.Verdict(), "") << how << ": " << run.Err;
  }
}

TEST(LimitedRun, ProgramWithinTheLimitPasses) {
  const TLimitedRun run = RunLimited(std::string(ZVP_BIN_DIR) + "/hostile-hog", {"small"});
  EXPECT_EQ(run.Verdict(), "") << run.Err;
  EXPECT_EQ(run.ExitCode, 0);
}

} // namespace
