// The PDF export sizes each page from its metafile: a page recorded for a printer's resolution comes out
// at the paper's size, with its drawing scaled to match, as a page recorded for the screen does.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>

#include "PdfRenderTestSupport.h"
#include "pdf/PdfExport.h"

namespace {

std::string ReadFile(const std::filesystem::path& Path) {
  std::ifstream in(Path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

// The largest x of the "m" and "l" operators of the content.
double LargestLineX(const std::string& Pdf) {
  double largest = 0;
  std::istringstream lines(Pdf);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.size() < 3 || (line.back() != 'm' && line.back() != 'l') || line[line.size() - 2] != ' ')
      continue;
    std::istringstream numbers(line);
    double x = 0, y = 0;
    if (numbers >> x >> y) largest = std::max(largest, x);
  }
  return largest;
}

TEST(PdfExportScale, APageOfAnyReferenceResolutionIsThePapersSize) {
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("pdf-export-scale-" + std::to_string(getpid()) + ".pdf");
  struct TCase {
    int32_t Dpi;
    const char* MediaBox;
  };
  // A4 at each printer resolution: 794 x 1123 pixels at 96 dpi, 596 x 842 points. A screen of 120 dpi
  // keeps its pixels: 992 x 1403 of them, 744 x 1052 points.
  for (TCase c : {TCase{96, "/MediaBox[0 0 596 842]"}, TCase{300, "/MediaBox[0 0 596 842]"},
                  TCase{1200, "/MediaBox[0 0 596 842]"}, TCase{120, "/MediaBox[0 0 744 1052]"}}) {
    SCOPED_TRACE(c.Dpi);
    const int32_t width = static_cast<int32_t>(std::lround(210 / 25.4 * c.Dpi));
    const int32_t height = static_cast<int32_t>(std::lround(297 / 25.4 * c.Dpi));
    TEmfWriter w(width, height, c.Dpi);
    w.Line(0, height / 2, width, height / 2);
    TMetafile page = w.ToMetafile();
    ExportPdf(
        1, [&](int32_t) { return std::make_unique<TMetafile>(page); }, file.string());
    const std::string pdf = ReadFile(file);
    EXPECT_NE(pdf.find(c.MediaBox), std::string::npos) << pdf.substr(0, 600);
    // The line across the page ends at the page's right edge.
    const double right = c.Dpi == 120 ? 744 : 595.5;
    EXPECT_NEAR(LargestLineX(pdf), right, 1.0);
  }
  std::filesystem::remove(file);
}

} // namespace
