// Bitmap records of every depth become image objects that draw the bitmap's pixels where the metafile
// put them (checked by rasterising the saved file), and files that pass the structural checker.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "PdfRenderTestSupport.h"
#include "PdfTestSupport.h"

using namespace emf;

namespace {

struct TRgb {
  int r = 0, g = 0, b = 0;
};

// A 2 x 2 bitmap: top row red, green; bottom row blue, black.
const TRgb Quadrants[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {0, 0, 0}};

void PaletteEntry(std::vector<uint8_t>& v, TRgb c) {
  v.insert(v.end(), {static_cast<uint8_t>(c.b), static_cast<uint8_t>(c.g), static_cast<uint8_t>(c.r), 0});
}

// BITMAPINFO and bits (bottom-up rows padded to 4 bytes) of the quadrants at a bit depth.
void QuadrantDib(int bitCount, std::vector<uint8_t>& bmi, std::vector<uint8_t>& bits) {
  int colours = bitCount <= 8 ? (bitCount == 1 ? 2 : 4) : 0;
  TParams h;
  h.Ints({40, 2, 2}).U32(1u | (static_cast<uint32_t>(bitCount) << 16)).Ints({0, 0, 0, 0, colours, 0});
  bmi = h.Data();
  // Indices of the pixels, bottom row first; the 1-bit bitmap has two colours: red and blue.
  const int order[2][2] = {{2, 3}, {0, 1}};
  if (bitCount == 1) {
    PaletteEntry(bmi, Quadrants[0]);
    PaletteEntry(bmi, Quadrants[2]);
    bits = {0x80, 0, 0, 0, 0x40, 0, 0, 0}; // bottom: blue, red; top: red, blue
    return;
  }
  if (colours) {
    for (int i = 0; i < colours; ++i)
      PaletteEntry(bmi, Quadrants[i]);
  }
  for (const auto& row : order) {
    std::vector<uint8_t> line;
    if (bitCount == 4) {
      line.push_back(static_cast<uint8_t>(row[0] << 4 | row[1]));
    } else if (bitCount == 8) {
      line = {static_cast<uint8_t>(row[0]), static_cast<uint8_t>(row[1])};
    } else {
      for (int k : row) {
        TRgb c = Quadrants[k];
        if (bitCount == 16) {
          uint16_t v = static_cast<uint16_t>((c.r >> 3) << 10 | (c.g >> 3) << 5 | (c.b >> 3));
          line.insert(line.end(), {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)});
        } else {
          line.insert(line.end(),
                      {static_cast<uint8_t>(c.b), static_cast<uint8_t>(c.g), static_cast<uint8_t>(c.r)});
          if (bitCount == 32) line.push_back(0);
        }
      }
    }
    line.resize((line.size() + 3) / 4 * 4);
    bits.insert(bits.end(), line.begin(), line.end());
  }
}

TParams StretchDIBits(int32_t x, int32_t y, int32_t cx, int32_t cy, const std::vector<uint8_t>& bmi,
                      const std::vector<uint8_t>& bits) {
  TParams p;
  p.Ints({x, y, x + cx - 1, y + cy - 1, x, y, 0, 0, 2, 2});
  p.Ints({80, static_cast<int32_t>(bmi.size()), static_cast<int32_t>(80 + bmi.size()),
          static_cast<int32_t>(bits.size()), DIB_RGB_COLORS, 0x00CC0020, cx, cy});
  p.Bytes(bmi).Bytes(bits);
  return p;
}

// The page rasterised at 96 dpi as rows of RGB bytes (binary PPM).
std::vector<uint8_t> Rasterise(const std::string& pdf, int& width, int& height) {
  std::string base = pdf.substr(0, pdf.size() - 4);
  std::string command = "pdftoppm -r 96 -singlefile '" + pdf + "' '" + base + "'";
  if (std::system(command.c_str()) != 0) return {};
  FILE* f = std::fopen((base + ".ppm").c_str(), "rb");
  if (!f) return {};
  int maxValue = 0;
  if (std::fscanf(f, "P6 %d %d %d", &width, &height, &maxValue) != 3) {
    std::fclose(f);
    return {};
  }
  std::fgetc(f);
  std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 3);
  size_t got = std::fread(pixels.data(), 1, pixels.size(), f);
  std::fclose(f);
  pixels.resize(got);
  return pixels;
}

TEST(PdfRenderBitmaps, EveryDepthDrawsItsPixels) {
  for (int depth : {1, 4, 8, 16, 24, 32}) {
    SCOPED_TRACE(depth);
    std::vector<uint8_t> bmi, bits;
    QuadrantDib(depth, bmi, bits);
    TEmfWriter w = SmallPage();
    w.RawRecord(EMR_STRETCHDIBITS, StretchDIBits(8, 8, 80, 80, bmi, bits));
    TRenderPage page;
    page.Render(w.ToMetafile());
    std::string path = SaveForInspection(page.Doc(), "render-bitmap-" + std::to_string(depth) + ".pdf");
    EXPECT_EQ(PdfToolProblems(path), "");
    int width = 0, height = 0;
    std::vector<uint8_t> px = Rasterise(path, width, height);
    ASSERT_EQ(px.size(), 96u * 96 * 3);
    auto at = [&](int x, int y) {
      const uint8_t* p = &px[(static_cast<size_t>(y) * width + x) * 3];
      return TRgb{p[0], p[1], p[2]};
    };
    // The quadrants' centres: 8 + 20 and 8 + 60 pixels.
    const int xs[2] = {28, 68};
    for (int row = 0; row < 2; ++row)
      for (int col = 0; col < 2; ++col) {
        TRgb expected = depth == 1 ? Quadrants[(row + col) % 2 == 0 ? 0 : 2] : Quadrants[row * 2 + col];
        TRgb got = at(xs[col], xs[row]);
        EXPECT_NEAR(got.r, expected.r, 8) << row << "," << col;
        EXPECT_NEAR(got.g, expected.g, 8) << row << "," << col;
        EXPECT_NEAR(got.b, expected.b, 8) << row << "," << col;
      }
    // Outside the destination the page stays white.
    TRgb corner = at(3, 3);
    EXPECT_EQ(corner.r + corner.g + corner.b, 3 * 255);
  }
}

TEST(PdfRenderBitmaps, AMirroringMappingMirrorsTheBitmap) {
  std::vector<uint8_t> bmi, bits;
  QuadrantDib(24, bmi, bits);
  TEmfWriter w = SmallPage();
  // Logical y runs upwards: the destination's top edge (y + cy) is on the page's upper side.
  w.SetMapMode(MM_ANISOTROPIC);
  w.SetWindowExt(1, -1);
  w.SetViewportExt(1, 1);
  w.SetViewportOrg(0, 96);
  w.RawRecord(EMR_STRETCHDIBITS, StretchDIBits(8, 8, 80, 80, bmi, bits));
  TRenderPage page;
  page.Render(w.ToMetafile());
  std::string path = SaveForInspection(page.Doc(), "render-bitmap-mirrored.pdf");
  EXPECT_EQ(PdfToolProblems(path), "");
  int width = 0, height = 0;
  std::vector<uint8_t> px = Rasterise(path, width, height);
  ASSERT_EQ(px.size(), 96u * 96 * 3);
  // Drawn upside down: blue at the top left.
  const uint8_t* p = &px[(static_cast<size_t>(28) * width + 28) * 3];
  EXPECT_LT(p[0], 8);
  EXPECT_GT(p[2], 247);
}

} // namespace
