#include "ToolRunner.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {
std::string Quote(const std::string& s) {
  std::string out = "'";
  for (char c : s)
    out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}
} // namespace

TScratch::TScratch() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  FDir =
      fs::path(ZVP_TEST_OUTPUT_DIR) / "zvptool" / (std::string(info->test_suite_name()) + "." + info->name());
  fs::remove_all(FDir);
  fs::create_directories(FDir);
}

TRunResult TScratch::Run(const std::string& program, const std::vector<std::string>& args) const {
  std::string command = Quote(std::string(ZVP_BIN_DIR) + "/" + program);
  for (const std::string& a : args)
    command += " " + Quote(a);
  return Shell(command);
}

TRunResult TScratch::Shell(const std::string& commandLine) const {
  const std::string command = "cd " + Quote(FDir.string()) + " && " + commandLine + " > .stdout 2> .stderr";
  const int raw = std::system(command.c_str());
  TRunResult r;
  r.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.Out = ReadText(FDir / ".stdout");
  r.Err = ReadText(FDir / ".stderr");
  fs::remove(FDir / ".stdout");
  fs::remove(FDir / ".stderr");
  return r;
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}
