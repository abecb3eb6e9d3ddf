#pragma once
// Runs the project's command-line programs from the build's bin folder in a scratch folder of the test,
// capturing exit status, standard output and standard error.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct TRunResult {
  int Status = -1;
  std::string Out, Err;
};

class TScratch {
 public:
  // A fresh, empty folder named after the running test.
  TScratch();
  const std::filesystem::path& Dir() const { return FDir; }
  std::string Path(const std::string& name) const { return (FDir / name).string(); }
  // Whether an output's temporary file (".<name>.<suffix>.part") was left in the scratch folder.
  bool PartFilesLeft() const {
    for (const auto& entry : std::filesystem::directory_iterator(FDir))
      if (entry.path().extension() == ".part") return true;
    return false;
  }

  // Runs bin/<program> with the arguments (each quoted) inside the scratch folder.
  TRunResult Run(const std::string& program, const std::vector<std::string>& args) const;
  // Runs a shell command line (a system program such as pdfinfo) inside the scratch folder.
  TRunResult Shell(const std::string& commandLine) const;

 private:
  std::filesystem::path FDir;
};

std::vector<uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
