// zvptool thumbnail [-s SIZE] REPORT.zvp OUT.png: page 1 scaled so that its longer side is SIZE pixels,
// drawn on white, for file managers (the desktop's thumbnailer entry calls it). Any damage to the page
// ends with status 1 and no image, so a file manager falls back to the type's icon.
#include <QBuffer>
#include <algorithm>
#include <cstdio>
#include <memory>

#include "Command.h"
#include "DrawingCommands.h"
#include "OffscreenGui.h"
#include "OutputFiles.h"
#include "PageSource.h"
#include "platform/gdi/PageImage.h"
#include "platform/rtl/ReplacingFile.h"

namespace {

constexpr int DefaultSize = 256;
constexpr int MaxSize = 4096;

int RunThumbnail(const std::vector<std::string>& Args) {
  std::vector<std::string> files;
  int size = DefaultSize;
  for (size_t i = 0; i < Args.size(); ++i) {
    const std::string& a = Args[i];
    if (a == "-s" && i + 1 < Args.size())
      size = ParseNumberOption(a, Args[++i], 1, MaxSize);
    else if (!a.empty() && a[0] != '-')
      files.push_back(a);
    else
      throw EUsage("unexpected argument \"" + a + "\"");
  }
  if (files.size() != 2) throw EUsage("a report and an output image are needed");
  const std::string& input = files[0];
  const std::string& output = files[1];
  RefuseInputAsOutput(output, {input});

  // A thumbnailer runs unseen; only real failures are worth a line.
  TOffscreenGui gui("thumbnail");

  std::unique_ptr<TMetafile> page = TPageSource(input).GetPage(1);
  TPageImageOptions options;
  // Drawn at the final size rather than scaled afterwards: text and lines stay sharp and it is faster.
  const QSize natural = PageImageSize(*page, options);
  options.Dpi = 96.0 * size / std::max(natural.width(), natural.height());
  options.Fit = size;
  TPageImage result = RenderPageImage(*page, options);
  if (!result.Complete) throw EDamagedData("Damaged metafile: " + result.FirstProblem);

  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  if (!result.Image.save(&buffer, "PNG")) throw EFCreateError(output, "the image could not be encoded");
  WriteFileReplacing(output, png.constData(), static_cast<size_t>(png.size()));
  return 0;
}

} // namespace

extern const TCommand ThumbnailCommand{ThumbnailText.Name, ThumbnailText.Arguments, ThumbnailText.Summary,
                                       RunThumbnail, ThumbnailText.Options};
