#include "PdfTestSupport.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sys/wait.h>

#include "pdf/PdfDate.h"
#include "pdf/PdfDocument.h"
#include "pdf/PdfWrite.h"
#include "platform/rtl/Stream.h"

namespace {

std::string Run(const std::string& Command, int& ExitCode) {
  std::string output;
  FILE* pipe = popen((Command + " 2>&1").c_str(), "r");
  if (!pipe) {
    ExitCode = -1;
    return "cannot run " + Command;
  }
  std::array<char, 4096> buffer;
  size_t n;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
    output.append(buffer.data(), n);
  int status = pclose(pipe);
  ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return output;
}

TDateTime FixedDate() {
  return EncodePdfDateTime(2024, 1, 31, 23, 59, 59);
}

} // namespace

std::string WrittenForm(TPdfObject& AObject) {
  TMemoryStream stream;
  TPdfWrite w(nullptr, &stream);
  AObject.WriteTo(w);
  return w.ToPDFString();
}

std::string SavedBytes(TPdfDocument& ADoc) {
  ADoc.Info()->SetCreationDate(FixedDate());
  TMemoryStream stream;
  ADoc.SaveToStream(stream, FixedDate());
  return std::string(reinterpret_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

std::string SaveForInspection(TPdfDocument& ADoc, const std::string& FileName) {
  std::filesystem::path folder = std::filesystem::path(ZVP_TEST_OUTPUT_DIR) / "pdf";
  std::filesystem::create_directories(folder);
  std::string path = (folder / FileName).string();
  std::string bytes = SavedBytes(ADoc);
  WriteFileBytes(path, bytes.data(), bytes.size());
  return path;
}

std::string PdfToolProblems(const std::string& Path) {
  int code = 0;
  std::string check = Run("qpdf --check '" + Path + "'", code);
  if (code != 0 || check.find("No syntax or stream encoding errors found") == std::string::npos)
    return "qpdf --check: " + check;
  std::string info = Run("pdfinfo '" + Path + "'", code);
  if (code != 0 || info.find("Syntax Error") != std::string::npos ||
      info.find("Syntax Warning") != std::string::npos)
    return "pdfinfo: " + info;
  return {};
}

std::string PdfText(const std::string& Path) {
  int code = 0;
  return Run("pdftotext -layout '" + Path + "' -", code);
}

int PdfInfoPages(const std::string& Path) {
  int code = 0;
  std::string info = Run("pdfinfo '" + Path + "'", code);
  size_t at = info.find("\nPages:");
  return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + 7);
}

std::string DefinitionBody(TPdfObject& AObject) {
  TMemoryStream stream;
  TPdfWrite w(nullptr, &stream);
  AObject.WriteValueTo(w);
  std::string text = w.ToPDFString();
  size_t start = text.find(" obj\n") + 5;
  return text.substr(start, text.size() - start - 8);
}
