// zvptool pdf FILE.(zvp|emf)... [-o OUT.pdf] [--compress]: converts each input into one PDF document, as
// the viewer's PDF button does (uncompressed streams unless --compress). The output is the input's name
// with ".pdf" beside it, or -o with a single input; it is replaced only when complete. An input that fails
// is named in a message and ends with status 1; the other inputs are still converted.
#include <cstdio>
#include <filesystem>

#include "Command.h"
#include "OutputFiles.h"
#include "PageSource.h"
#include "pdf/PdfExport.h"

namespace {

std::string DefaultOutput(const std::string& input) {
  return std::filesystem::path(input).replace_extension(".pdf").string();
}

void Convert(const std::string& input, const std::string& output, bool compress) {
  RefuseInputAsOutput(output, {input});
  TPageSource source(input);
  TPdfExportOptions options;
  options.Compress = compress;
  ExportPdf(
      source.PageCount(), [&](int32_t page) { return source.GetPage(page); }, output, options);
}

int RunPdf(const std::vector<std::string>& Args) {
  std::vector<std::string> inputs;
  std::string output;
  bool compress = false;
  for (size_t i = 0; i < Args.size(); ++i) {
    const std::string& a = Args[i];
    if (a == "-o" && i + 1 < Args.size())
      output = Args[++i];
    else if (a == "--compress")
      compress = true;
    else if (!a.empty() && a[0] != '-')
      inputs.push_back(a);
    else
      throw EUsage("unexpected argument \"" + a + "\"");
  }
  if (inputs.empty()) throw EUsage("at least one input file is needed");
  if (!output.empty() && inputs.size() > 1) throw EUsage("-o takes a single input");

  int status = 0;
  for (const std::string& input : inputs) {
    try {
      Convert(input, output.empty() ? DefaultOutput(input) : output, compress);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "zvptool pdf: %s: %s\n", input.c_str(), e.what());
      status = 1;
    }
  }
  return status;
}

} // namespace

extern const TCommand PdfCommand{
    "pdf", "FILE.(zvp|emf)... [-o OUT.pdf] [--compress]", "convert reports or metafiles into PDF documents",
    RunPdf,
    "  -o OUT.pdf   the PDF to write (one input only; default: each input's name with .pdf)\n"
    "  --compress   deflate the PDF's streams\n"};
