// Polish text in a PDF read by other programs: extracted as the same text, and drawn with the same
// letters by a reader that cannot find the font files this machine measured with.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

#include "PdfFontTestSupport.h"
#include "PdfTestSupport.h"

namespace {

namespace fs = std::filesystem;

const char16_t* const PolishText = u"Zażółć gęślą jaźń";
const char* const PolishTextUtf8 = "Zażółć gęślą jaźń";

std::string RunCommand(const std::string& Command, int& ExitCode) {
  std::string output;
  FILE* pipe = popen((Command + " 2>&1").c_str(), "r");
  if (!pipe) {
    ExitCode = -1;
    return {};
  }
  std::array<char, 4096> buffer;
  size_t n;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
    output.append(buffer.data(), n);
  int status = pclose(pipe);
  ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return output;
}

struct TGrayImage {
  int Width = 0, Height = 0;
  std::string Pixels;
};

TGrayImage ReadPgm(const std::string& Path) {
  std::ifstream in(Path, std::ios::binary);
  std::string magic;
  TGrayImage image;
  int maxValue = 0;
  in >> magic >> image.Width >> image.Height >> maxValue;
  in.get();
  if (magic != "P5" || maxValue != 255) return {};
  image.Pixels.resize(static_cast<size_t>(image.Width) * image.Height);
  in.read(image.Pixels.data(), static_cast<std::streamsize>(image.Pixels.size()));
  return image;
}

// A font configuration that knows only the DejaVu fonts: no file of "Arial" (Liberation Sans) exists.
std::string DejaVuOnlyConfig(const fs::path& Folder) {
  fs::path path = Folder / "dejavu-only-fonts.conf";
  std::ofstream(path) << "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n<fontconfig>\n"
                      << "  <dir>/usr/share/fonts/truetype/dejavu</dir>\n"
                      << "  <cachedir>" << (Folder / "dejavu-only-cache").string() << "</cachedir>\n"
                      << "</fontconfig>\n";
  return path.string();
}

TGrayImage Rasterise(const std::string& Pdf, const std::string& Environment, const std::string& Stem) {
  int code = 0;
  std::string output =
      RunCommand(Environment + " pdftoppm -r 72 -gray -singlefile '" + Pdf + "' '" + Stem + "'", code);
  EXPECT_EQ(code, 0) << output;
  return ReadPgm(Stem + ".pgm");
}

TEST_F(PdfFontFixture, PolishTextReadsAndDrawsWithoutTheMeasuredFontFiles) {
  ASSERT_NE(canvas->SetFont("Arial", 24, 0), nullptr);
  canvas->BeginText();
  canvas->MoveTextPoint(40, 700);
  W().AddUnicodeHexText(PolishText, false, canvas);
  canvas->EndText();
  std::string pdf = SaveForInspection(doc, "font-polish.pdf");
  ASSERT_EQ(PdfToolProblems(pdf), "");

  int code = 0;
  std::string text = RunCommand("pdftotext -enc UTF-8 '" + pdf + "' -", code);
  ASSERT_EQ(code, 0) << text;
  EXPECT_NE(text.find(PolishTextUtf8), std::string::npos) << text;

  fs::path folder = fs::path(pdf).parent_path();
  std::string config = DejaVuOnlyConfig(folder);
  std::string hidden = "FONTCONFIG_FILE='" + config + "'";
  std::string matched = RunCommand(hidden + " fc-match -f '%{file}' Arial", code);
  ASSERT_EQ(code, 0) << matched;
  ASSERT_EQ(matched.find("Liberation"), std::string::npos) << "the configuration still shows " << matched;

  EXPECT_NE(RunCommand(hidden + " pdftotext -enc UTF-8 '" + pdf + "' -", code).find(PolishTextUtf8),
            std::string::npos);

  TGrayImage normal = Rasterise(pdf, "", (folder / "font-polish-normal").string());
  TGrayImage withoutFont = Rasterise(pdf, hidden, (folder / "font-polish-dejavu-only").string());
  ASSERT_GT(normal.Width, 0);
  ASSERT_EQ(normal.Width, withoutFont.Width);
  ASSERT_EQ(normal.Height, withoutFont.Height);
  // Ink where the line stands (24 points below y = 700 up to its ascent)...
  int top = normal.Height - 700 - 24, bottom = normal.Height - 700 + 8;
  long ink = 0;
  for (int y = top; y < bottom; ++y)
    for (int x = 40; x < normal.Width; ++x)
      ink += static_cast<uint8_t>(normal.Pixels[static_cast<size_t>(y) * normal.Width + x]) < 128;
  EXPECT_GT(ink, 500);
  // ...and the very same pixels in both environments: the letters come from the file itself.
  long differing = 0;
  for (size_t i = 0; i < normal.Pixels.size(); ++i)
    differing += std::abs(int(uint8_t(normal.Pixels[i])) - int(uint8_t(withoutFont.Pixels[i]))) > 64;
  EXPECT_LE(differing, 10);
}

} // namespace
