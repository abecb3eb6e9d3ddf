// zvptool render FILE.(zvp|emf) [--page N] [--dpi D] [--fit PX] -o OUT.png: draws one page onto a white
// image and writes it as PNG. A damaged file ends with status 1 and nothing written.
#include <cstdio>
#include <memory>

#include "Command.h"
#include "DrawingCommands.h"
#include "OffscreenGui.h"
#include "PageSource.h"
#include "platform/gdi/PageImage.h"

namespace {

int RunRender(const std::vector<std::string>& Args) {
  std::string input, output;
  int page = 1;
  TPageImageOptions options;
  for (size_t i = 0; i < Args.size(); ++i) {
    const std::string& a = Args[i];
    bool hasValue = i + 1 < Args.size();
    if (a == "--page" && hasValue)
      page = ParseNumberOption(a, Args[++i], 1, 1 << 30);
    else if (a == "--dpi" && hasValue)
      options.Dpi = ParseNumberOption(a, Args[++i], 1, 2400);
    else if (a == "--fit" && hasValue)
      options.Fit = ParseNumberOption(a, Args[++i], 1, 30000);
    else if (a == "-o" && hasValue)
      output = Args[++i];
    else if (!a.empty() && a[0] != '-' && input.empty())
      input = a;
    else
      throw EUsage("unexpected argument \"" + a + "\"");
  }
  if (input.empty() || output.empty()) throw EUsage("an input file and -o OUT.png are needed");

  TOffscreenGui gui("render");

  std::unique_ptr<TMetafile> metafile = TPageSource(input).GetPage(page);
  TPageImage result = RenderPageImage(*metafile, options);
  if (result.TimedOut) throw EDamagedData(result.FirstProblem);
  if (!result.Complete) throw EDamagedData("Damaged metafile: " + result.FirstProblem);
  if (result.Image.size() != result.Asked)
    std::fprintf(stderr,
                 "zvptool render: the page of %d x %d pixels is drawn at %d x %d, the most a page may take\n",
                 result.Asked.width(), result.Asked.height(), result.Image.width(), result.Image.height());
  if (result.SkippedRecords > 0)
    std::fprintf(stderr, "zvptool render: %d malformed record(s) skipped, the first: %s\n",
                 result.SkippedRecords, result.FirstProblem.c_str());
  if (!result.Image.save(QString::fromStdString(output), "PNG"))
    throw EFCreateError(output, "the image could not be written");
  return 0;
}

} // namespace

extern const TCommand RenderCommand{RenderText.Name, RenderText.Arguments, RenderText.Summary, RunRender,
                                    RenderText.Options};
