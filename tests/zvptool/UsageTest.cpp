// What the programs say about themselves: zvptool --version and COMMAND --help, zvpview --help and
// --version (without any window system), the text the manual pages are made from.
#include <gtest/gtest.h>

#include <sstream>

#include "ToolRunner.h"

namespace {

// The command names in the order `zvptool --help` lists them.
std::vector<std::string> ListedCommands(const std::string& usage) {
  std::vector<std::string> names;
  std::istringstream lines(usage.substr(usage.find("Commands:\n") + 10));
  std::string line;
  while (std::getline(lines, line) && line.starts_with("  "))
    names.push_back(line.substr(2, line.find(' ', 2) - 2));
  return names;
}

TEST(UsageTest, VersionNamesTheReleaseAndTheCommit) {
  TScratch s;
  TRunResult r = s.Run("zvptool", {"--version"});
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_TRUE(r.Out.starts_with("zvptool 2.")) << r.Out;
  EXPECT_NE(r.Out.find("\nCommit ID: "), std::string::npos) << r.Out;
  EXPECT_GT(r.Out.size(), std::string("zvptool 2.00\nCommit ID: \n").size());
}

TEST(UsageTest, EveryCommandAnswersHelpWithItsOwnUsage) {
  TScratch s;
  TRunResult all = s.Run("zvptool", {"--help"});
  ASSERT_EQ(all.Status, 0);
  const std::vector<std::string> names = ListedCommands(all.Out);
  ASSERT_GE(names.size(), 8u) << all.Out;
  EXPECT_NE(all.Out.find("Exit status: 0 done, 1 failed"), std::string::npos);
  for (const std::string& name : names)
    for (const char* flag : {"--help", "-h"}) {
      TRunResult r = s.Run("zvptool", {name, flag});
      EXPECT_EQ(r.Status, 0) << name << " " << flag << ": " << r.Err;
      EXPECT_TRUE(r.Out.starts_with("Usage: zvptool " + name + " ")) << r.Out;
      EXPECT_EQ(r.Err, "") << name;
    }
  struct Case {
    const char* Command;
    const char* Option;
  } options[] = {{"pdf", "--compress"},   {"pdf", "-o OUT.pdf"},    {"render", "--dpi D"},
                 {"print", "--copies N"}, {"thumbnail", "-s SIZE"}, {"pack", "--compress"}};
  for (const Case& c : options)
    EXPECT_NE(s.Run("zvptool", {c.Command, "--help"}).Out.find(std::string("\n  ") + c.Option),
              std::string::npos)
        << c.Command << " " << c.Option;
}

TEST(UsageTest, ViewerAnswersHelpAndVersionWithoutAWindowSystem) {
  TScratch s;
  const std::string viewer =
      "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" + std::string(ZVP_BIN_DIR) + "/zvpview' ";
  TRunResult help = s.Shell(viewer + "--help");
  EXPECT_EQ(help.Status, 0) << help.Err;
  EXPECT_NE(help.Out.find("Usage: "), std::string::npos) << help.Out;
  EXPECT_NE(help.Out.find("[FILE.zvp]"), std::string::npos) << help.Out;
  EXPECT_NE(help.Out.find("--version"), std::string::npos);
  TRunResult version = s.Shell(viewer + "--version");
  EXPECT_EQ(version.Status, 0) << version.Err;
  EXPECT_TRUE(version.Out.starts_with("zvpview 2.")) << version.Out;
  EXPECT_NE(version.Out.find("\nCommit ID: "), std::string::npos) << version.Out;
}

} // namespace
