// zvptool text FILE.(zvp|emf) [--page N] [-o OUT.txt]: the text of each page in reading order, UTF-8, each
// page ended by a form feed. Every text record counts, also one drawn past the page's edge. The output goes
// to standard output, or to OUT.txt, which is replaced only when every page has been read. A damaged file
// ends with a message and status 1.
#include <cstdio>
#include <memory>

#include "Command.h"
#include "OutputFiles.h"
#include "PageSource.h"
#include "platform/rtl/ReplacingFile.h"
#include "platform/rtl/Utf8.h"
#include "platform/text/PageText.h"

namespace {

std::string PageTextUtf8(const TMetafile& page) {
  std::string text = Utf16ToUtf8(ReadingOrder(ExtractPageText(page, TTextExtent::Drawing)).Text);
  text += '\f';
  return text;
}

int RunText(const std::vector<std::string>& Args) {
  std::string input, output;
  int32_t only = 0;
  for (size_t i = 0; i < Args.size(); ++i) {
    const std::string& a = Args[i];
    if (a == "-o" && i + 1 < Args.size())
      output = Args[++i];
    else if (a == "--page" && i + 1 < Args.size())
      only = ParseNumberOption(a, Args[++i], 1, INT32_MAX);
    else if (!a.empty() && a[0] != '-' && input.empty())
      input = a;
    else
      throw EUsage("unexpected argument \"" + a + "\"");
  }
  if (input.empty()) throw EUsage("an input file is needed");
  if (!output.empty()) RefuseInputAsOutput(output, {input});

  TPageSource source(input);
  int32_t first = only ? only : 1, last = only ? only : source.PageCount();
  if (only) source.GetPage(only); // a page outside the report fails before any output is made
  std::unique_ptr<TReplacingFileStream> file;
  if (!output.empty()) file = std::make_unique<TReplacingFileStream>(output);
  for (int32_t page = first; page <= last; ++page) {
    std::string text = PageTextUtf8(*source.GetPage(page));
    if (file)
      file->Write(text.data(), static_cast<int32_t>(text.size()));
    else if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size())
      throw Exception("cannot write the text to standard output");
  }
  if (file) file->Commit();
  if (!file && std::fflush(stdout) != 0) throw Exception("cannot write the text to standard output");
  return 0;
}

} // namespace

extern const TCommand TextCommand{"text", "FILE.(zvp|emf) [--page N] [-o OUT.txt]",
                                  "print the text of each page in reading order (UTF-8)", RunText};
