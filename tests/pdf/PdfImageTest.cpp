// Image objects from rasters: dictionary, colour spaces, colour key and data layout; rasters made from
// bitmaps of every depth through the bitmap decoder; reuse of equal images; the file as PDF tools see it.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "../dib/DibBytes.h"
#include "PdfTestSupport.h"
#include "pdf/PdfDibRaster.h"
#include "pdf/PdfDocument.h"
#include "pdf/PdfErrors.h"
#include "pdf/PdfImage.h"
#include "platform/dib/RasterOp.h"
#include "platform/rtl/Stream.h"

namespace {

using Bytes = std::vector<uint8_t>;

// A raster over bytes the caller keeps.
TPdfRaster RasterOver(const Bytes& Rows, TPdfRasterFormat Format, int32_t Width, int32_t Height,
                      int64_t Stride, int32_t PixelStep = 3) {
  TPdfRaster r;
  r.Width = Width;
  r.Height = Height;
  r.Format = Format;
  r.Rows = ByteView(Rows.data(), Rows.size());
  r.Stride = Stride;
  r.PixelStep = PixelStep;
  return r;
}

std::vector<uint32_t> GreyPalette(size_t Count) {
  std::vector<uint32_t> palette;
  for (size_t i = 0; i < Count; ++i)
    palette.push_back(static_cast<uint32_t>(i * 0x010101));
  return palette;
}

struct TWrittenImage {
  std::string Dictionary, Data;
};

// The dictionary and the data bytes an image writes.
TWrittenImage Written(TPdfImage& Image) {
  std::string body = DefinitionBody(Image);
  size_t data = body.find("\nstream\n");
  EXPECT_NE(data, std::string::npos);
  EXPECT_EQ(body.substr(body.size() - 9), "endstream");
  return {body.substr(0, data), body.substr(data + 8, body.size() - 9 - data - 8)};
}

std::unique_ptr<TPdfDocument> PlainDocument() {
  auto doc = std::make_unique<TPdfDocument>(false, 1250);
  doc->SetCompressionMethod(cmNone);
  return doc;
}

TWrittenImage WrittenImageOf(const TPdfRaster& Raster) {
  auto doc = PlainDocument();
  auto* image = new TPdfImage(doc.get(), Raster, false);
  return Written(*image);
}

template <class E> std::string MessageOf(const std::function<void()>& Action) {
  try {
    Action();
  } catch (const E& e) {
    return e.Message();
  }
  return "(no exception)";
}

TEST(PdfImage, TrueColourDataIsRedGreenBlueFromTheTopRow) {
  Bytes blueRed = {0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF}; // blue, green, red in memory
  TWrittenImage image = WrittenImageOf(RasterOver(blueRed, rf24Bit, 2, 1, 6));
  EXPECT_EQ(image.Data, std::string("\x00\x00\xFF\xFF\x00\x00", 6));
  EXPECT_EQ(
      image.Dictionary,
      "<</Length 6/Type/XObject/Subtype/Image/ColorSpace/DeviceRGB/Width 2/Height 1/BitsPerComponent 8>>");
}

struct TLayoutCase {
  std::string Name;
  TPdfRasterFormat Format;
  int32_t Width, Height, PixelStep;
  int64_t Stride;
  Bytes Rows;
  std::string ExpectedData;
};

// Padding after a row's pixels and the fourth byte of 32-bit pixels never reach the data.
TEST(PdfImage, RowLayouts) {
  const std::vector<TLayoutCase> cases = {
      {"24-bit, padded rows", rf24Bit, 1, 2, 3, 4, {1, 2, 3, 0xEE, 4, 5, 6}, std::string("\3\2\1\6\5\4", 6)},
      {"24-bit in 32-bit words", rf24Bit, 2, 1, 4, 8, {1, 2, 3, 0xEE, 4, 5, 6, 0xEE}, "\3\2\1\6\5\4"},
      {"32-bit", rf32Bit, 1, 2, 4, 4, {1, 2, 3, 0xEE, 4, 5, 6, 0xEE}, "\3\2\1\6\5\4"},
      {"8-bit, padded rows", rf8Bit, 3, 2, 1, 4, {7, 8, 9, 0xEE, 10, 11, 12}, "\7\10\11\12\13\14"},
      {"1-bit, width 10",
       rf1Bit,
       10,
       2,
       1,
       4,
       {0xA5, 0xC0, 0xFF, 0xFF, 0x01, 0x7F},
       std::string("\1\0\1\0\0\1\0\1\1\1\0\0\0\0\0\0\0\1\0\1", 20)},
  };
  for (const auto& c : cases) {
    TPdfRaster raster = RasterOver(c.Rows, c.Format, c.Width, c.Height, c.Stride, c.PixelStep);
    raster.Palette = GreyPalette(256);
    EXPECT_EQ(WrittenImageOf(raster).Data, c.ExpectedData) << c.Name;
  }
}

TEST(PdfImage, ColourKeyOnlyFor24BitRasters) {
  Bytes pixels = {0xFF, 0x00, 0xFF, 0, 0, 0, 0, 0};
  TPdfRaster keyed = RasterOver(pixels, rf24Bit, 1, 1, 3);
  keyed.TransparentColor = 0x00FF00FF; // magenta
  EXPECT_NE(WrittenImageOf(keyed).Dictionary.find("/ColorSpace/DeviceRGB/Mask[255 255 0 0 255 255]/Width 1"),
            std::string::npos);
  keyed.TransparentColor = 0x00332211;
  EXPECT_NE(WrittenImageOf(keyed).Dictionary.find("/Mask[17 17 34 34 51 51]"), std::string::npos);

  TPdfRaster wide = RasterOver(pixels, rf32Bit, 1, 1, 4, 4);
  wide.TransparentColor = 0x00FF00FF;
  EXPECT_EQ(WrittenImageOf(wide).Dictionary.find("/Mask"), std::string::npos);
  keyed.TransparentColor.reset();
  EXPECT_EQ(WrittenImageOf(keyed).Dictionary.find("/Mask"), std::string::npos);
}

TEST(PdfImage, PaletteRasterGetsTheIndexedColourSpace) {
  Bytes rows = {0x40, 0x00, 0, 0};
  TPdfRaster raster = RasterOver(rows, rf1Bit, 10, 1, 4);
  raster.Palette = {0xFF0000, 0xFF0000FF}; // the high byte is not a colour
  raster.TransparentColor = 0xFF0000;      // no colour key on a palette raster
  TWrittenImage image = WrittenImageOf(raster);
  std::string lookup = PdfIndexedLookup(raster.Palette);
  EXPECT_EQ(lookup.size(), 1794u);
  std::string expectedLookup = "<FF0000 0000FF ";
  for (int i = 2; i < 256; ++i)
    expectedLookup += "000000 ";
  EXPECT_EQ(lookup, expectedLookup + ">");
  EXPECT_EQ(image.Dictionary, "<</Length 10/Type/XObject/Subtype/Image/ColorSpace[/Indexed/DeviceRGB 255 " +
                                  lookup + "]/Width 10/Height 1/BitsPerComponent 8>>");
  EXPECT_EQ(image.Data, std::string("\0\1\0\0\0\0\0\0\0\0", 10));
}

TEST(PdfImage, HundredByFiftyTrueColour) {
  Bytes pixels(100 * 50 * 3, 0x80);
  auto doc = PlainDocument();
  auto* image = new TPdfImage(doc.get(), RasterOver(pixels, rf24Bit, 100, 50, 300), false);
  EXPECT_EQ(image->PixelWidth(), 100);
  EXPECT_EQ(image->PixelHeight(), 50);
  TWrittenImage written = Written(*image);
  EXPECT_EQ(written.Data.size(), 15000u);
  EXPECT_NE(written.Dictionary.find("/Length 15000/"), std::string::npos);
  EXPECT_NE(written.Dictionary.find("/Width 100/Height 50/BitsPerComponent 8>>"), std::string::npos);
}

TEST(PdfImage, RefusedRasters) {
  Bytes rows(64, 0);
  auto doc = PlainDocument();
  auto attempt = [&](TPdfRaster Raster) {
    return MessageOf<EPdfInvalidValue>([&] { TPdfImage image(doc.get(), Raster); });
  };
  TPdfRaster indexed = RasterOver(rows, rf8Bit, 4, 4, 4);
  indexed.Palette = GreyPalette(255);
  EXPECT_EQ(attempt(indexed), "TPdfImage");
  TPdfRaster mono = RasterOver(rows, rf1Bit, 4, 4, 4);
  mono.Palette = {0};
  EXPECT_EQ(attempt(mono), "TPdfImage");

  const std::string rowsMismatch = "TPdfImage: raster rows do not match its size";
  EXPECT_EQ(attempt(RasterOver(rows, rf24Bit, 4, 6, 12)), rowsMismatch); // 72 bytes needed
  EXPECT_EQ(attempt(RasterOver(rows, rf24Bit, 4, 2, 11)), rowsMismatch); // stride shorter than a row
  EXPECT_EQ(attempt(RasterOver(rows, rf24Bit, 1, 2, INT64_MAX)), rowsMismatch);
  EXPECT_EQ(attempt(RasterOver(rows, rf24Bit, 0, 1, 0)), "TPdfImage: raster without pixels");
  EXPECT_EQ(attempt(RasterOver(rows, rf24Bit, 1, -1, 3)), "TPdfImage: raster without pixels");
  EXPECT_EQ(attempt(RasterOver(rows, rf24Bit, 1, 1, 3, 5)), "TPdfImage: pixel step must be 3 or 4");
  EXPECT_EQ(attempt(RasterOver(rows, rf32Bit, 1, 1, 4, 3)), "TPdfImage: pixel step must be 4");
  // The last row may end right after its pixels.
  EXPECT_EQ(attempt(RasterOver(rows, rf24Bit, 4, 5, 13)), "(no exception)");
}

// ---- Rasters from device-independent bitmaps ----

// A 2 x 2 picture: red, green over blue, white.
const std::string RedGreenBlueWhite("\xFF\0\0"
                                    "\0\xFF\0"
                                    "\0\0\xFF"
                                    "\xFF\xFF\xFF",
                                    12);

struct TDibCase {
  std::string Name;
  TBytes Bmi, Bits;
};

std::vector<TDibCase> TwoByTwoOfEveryDepth() {
  std::vector<TDibCase> cases;
  auto palette = [](TBytes b) { return b.Quads({0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}); };
  // Bottom-up: the first stored row is the lower one.
  cases.push_back({"4-bit", palette(InfoHeader(2, 2, 4)), TBytes().U8({0x23, 0, 0, 0, 0x01, 0, 0, 0})});
  cases.push_back({"8-bit", palette(InfoHeader(2, 2, 8)), TBytes().U8({2, 3, 0, 0, 0, 1, 0, 0})});
  cases.push_back({"16-bit", InfoHeader(2, 2, 16), TBytes().U16(0x001F).U16(0x7FFF).U16(0x7C00).U16(0x03E0)});
  cases.push_back({"24-bit", InfoHeader(2, 2, 24),
                   TBytes().U8({0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0xFF, 0, 0xFF, 0, 0, 0})});
  cases.push_back(
      {"32-bit", InfoHeader(2, 2, 32), TBytes().U32(0x0000FF).U32(0xFFFFFF).U32(0xFF0000).U32(0x00FF00)});
  cases.push_back({"24-bit top-down", InfoHeader(2, -2, 24),
                   TBytes().U8({0, 0, 0xFF, 0, 0xFF, 0, 0, 0, 0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0})});
  return cases;
}

TWrittenImage FromDib(const TBytes& Bmi, const TBytes& Bits, int32_t XSrc, int32_t YSrc, int32_t CxSrc,
                      int32_t CySrc, int32_t Width, int32_t Height, uint32_t Rop = dib::SRCCOPY) {
  TPdfDibRaster raster(Bmi.View(), Bits.View(), dib::DIB_RGB_COLORS, XSrc, YSrc, CxSrc, CySrc, Width, Height,
                       Rop);
  return WrittenImageOf(raster.Raster());
}

TEST(PdfDibRaster, EveryTrueColourDepthGivesTheSamePixels) {
  for (const auto& c : TwoByTwoOfEveryDepth()) {
    TWrittenImage image = FromDib(c.Bmi, c.Bits, 0, 0, 2, 2, 2, 2);
    EXPECT_EQ(image.Data, RedGreenBlueWhite) << c.Name;
    EXPECT_NE(image.Dictionary.find("/ColorSpace/DeviceRGB/Width 2/Height 2/"), std::string::npos) << c.Name;
  }
}

TBytes MonoInfo() {
  return InfoHeader(2, 2, 1).Quads({0xFF0000, 0x0000FF});
}
// Red, blue over blue, red.
TBytes MonoBits() {
  return TBytes().U8({0x80, 0, 0, 0, 0x40, 0, 0, 0});
}

TEST(PdfDibRaster, OneBitBitmapStaysAPaletteRasterWithItsColours) {
  TWrittenImage image = FromDib(MonoInfo(), MonoBits(), 0, 0, 2, 2, 2, 2);
  EXPECT_EQ(image.Data, std::string("\0\1\1\0", 4));
  EXPECT_NE(image.Dictionary.find("/ColorSpace[/Indexed/DeviceRGB 255 <FF0000 0000FF FFFFFF 000000 "),
            std::string::npos);
}

struct TStretchCase {
  std::string Name;
  bool Mono;
  int32_t XSrc, YSrc, CxSrc, CySrc, Width, Height;
  uint32_t Rop;
  std::string ExpectedData;
  std::string ExpectedLookupStart = ""; // palette rasters only
};

TEST(PdfDibRaster, SourceRectangleStretchAndRasterOperation) {
  const std::string R("\xFF\0\0", 3), G("\0\xFF\0", 3), B("\0\0\xFF", 3), W("\xFF\xFF\xFF", 3);
  const std::vector<TStretchCase> cases = {
      {"doubled width", false, 0, 0, 2, 2, 4, 2, dib::SRCCOPY, R + R + G + G + B + B + W + W},
      {"upper row only (bitmap origin at the bottom)", false, 0, 1, 2, 1, 2, 1, dib::SRCCOPY, R + G},
      {"mirrored", false, 2, 0, -2, 2, 2, 2, dib::SRCCOPY, G + R + W + B},
      {"inverted colours", false, 0, 0, 2, 2, 2, 2, dib::NOTSRCCOPY,
       std::string("\0\xFF\xFF"
                   "\xFF\0\xFF"
                   "\xFF\xFF\0"
                   "\0\0\0",
                   12)},
      {"source beyond the bitmap leaves white", false, 1, 0, 2, 2, 2, 2, dib::SRCCOPY, G + W + W + W},
      {"1-bit inverted through its palette", true, 0, 0, 2, 2, 2, 2, dib::NOTSRCCOPY,
       std::string("\0\1\1\0", 4), "<00FFFF FFFF00 FFFFFF "},
      {"1-bit beyond the bitmap", true, 0, 1, 3, 1, 3, 1, dib::SRCCOPY, std::string("\0\1\2", 3),
       "<FF0000 0000FF FFFFFF "},
      {"1-bit pattern copy ignores the bits", true, 0, 0, 2, 2, 2, 1, dib::PATCOPY, std::string("\2\2", 2),
       "<000000 000000 000000 "},
  };
  TBytes trueColourInfo = InfoHeader(2, 2, 24);
  TBytes trueColourBits = TBytes().U8({0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0xFF, 0, 0xFF, 0, 0, 0});
  for (const auto& c : cases) {
    TWrittenImage image =
        c.Mono ? FromDib(MonoInfo(), MonoBits(), c.XSrc, c.YSrc, c.CxSrc, c.CySrc, c.Width, c.Height, c.Rop)
               : FromDib(trueColourInfo, trueColourBits, c.XSrc, c.YSrc, c.CxSrc, c.CySrc, c.Width, c.Height,
                         c.Rop);
    EXPECT_EQ(image.Data, c.ExpectedData) << c.Name;
    if (!c.ExpectedLookupStart.empty()) {
      EXPECT_NE(image.Dictionary.find(c.ExpectedLookupStart), std::string::npos)
          << c.Name << image.Dictionary;
    }
  }
}

TEST(PdfDibRaster, DamagedBitmapsAndSizesRaise) {
  TBytes shortBits = TBytes().U8({0xFF, 0, 0});
  EXPECT_THROW(TPdfDibRaster(InfoHeader(2, 2, 24).View(), shortBits.View(), dib::DIB_RGB_COLORS, 0, 0, 2, 2,
                             2, 2, dib::SRCCOPY),
               EDamagedData);
  TBytes truncatedHeader = TBytes().U32(40).U32(2);
  EXPECT_THROW(TPdfDibRaster(truncatedHeader.View(), MonoBits().View(), dib::DIB_RGB_COLORS, 0, 0, 2, 2, 2, 2,
                             dib::SRCCOPY),
               EDamagedData);
  for (auto [w, h] : std::vector<std::pair<int32_t, int32_t>>{{0, 2}, {2, -1}, {100000, 100000}})
    EXPECT_EQ(MessageOf<EDamagedData>([&] {
                TPdfDibRaster(MonoInfo().View(), MonoBits().View(), dib::DIB_RGB_COLORS, 0, 0, 2, 2, w, h,
                              dib::SRCCOPY);
              }),
              "Bitmap raster size out of range: " + std::to_string(w) + " x " + std::to_string(h));
}

// ---- The document: reuse and placing ----

TEST(PdfImageReuse, EqualPixelsShareOneImage) {
  auto doc = PlainDocument();
  doc->AddPage();
  Bytes first = {0xFF, 0, 0, 0, 0, 0xFF}, same = first, other = {0xFF, 0, 0, 0, 0xFF, 0};
  TPdfBox at{10, 20, 30, 40};
  EXPECT_EQ(doc->CreateOrGetImage(RasterOver(first, rf24Bit, 2, 1, 6), &at), "ZVImg0");
  EXPECT_EQ(doc->CreateOrGetImage(RasterOver(same, rf24Bit, 2, 1, 6), &at), "ZVImg0");
  EXPECT_EQ(doc->CreateOrGetImage(RasterOver(other, rf24Bit, 2, 1, 6), &at), "ZVImg1");
  // The same bytes as another size, another depth or with a colour key are other images.
  EXPECT_EQ(doc->CreateOrGetImage(RasterOver(first, rf24Bit, 1, 2, 3)), "ZVImg2");
  TPdfRaster wide = RasterOver(first, rf24Bit, 1, 1, 4, 4);
  TPdfRaster wide32 = RasterOver(first, rf32Bit, 1, 1, 4, 4);
  EXPECT_EQ(doc->CreateOrGetImage(wide), "ZVImg3");
  EXPECT_EQ(doc->CreateOrGetImage(wide32), "ZVImg4");
  TPdfRaster keyed = RasterOver(first, rf24Bit, 2, 1, 6);
  keyed.TransparentColor = 0xFF0000;
  EXPECT_EQ(doc->CreateOrGetImage(keyed), "ZVImg5");
  EXPECT_EQ(doc->CreateOrGetImage(keyed), "ZVImg5");

  TPdfImage* image = dynamic_cast<TPdfImage*>(doc->GetXObject("ZVImg0"));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(doc->GetXObjectImageName(image->Hash(), 2, 1), "ZVImg0");
  // Six equal data bytes as 1 x 2: the size tells them apart.
  EXPECT_EQ(doc->GetXObjectImageName(image->Hash(), 1, 2), "ZVImg2");
  EXPECT_EQ(doc->GetXObjectImageName(image->Hash(), 3, 3), "");

  TPdfDictionary* xObjects =
      doc->CurrentPage()->PdfDictionaryByName("Resources")->PdfDictionaryByName("XObject");
  EXPECT_EQ(xObjects->ItemCount(), 2); // only the drawn ones
  std::string content = doc->Canvas()->Contents()->Writer().ToPDFString();
  std::string placed = "q\n30.000000 0.000000 0.000000 40.000000 10.000000 20.000000 cm\n/ZVImg0 Do\nQ\n";
  EXPECT_EQ(content, placed + placed +
                         "q\n30.000000 0.000000 0.000000 40.000000 10.000000 20.000000 cm\n/ZVImg1 Do\nQ\n");
}

TEST(PdfImageReuse, DibsWithEqualPixelsShareOneImageAndClipBoxes) {
  auto doc = PlainDocument();
  doc->AddPage();
  TPdfBox at{0, 0, 50, 50}, clip{5, 5, 10, 10};
  std::vector<std::string> names;
  for (int copy = 0; copy < 2; ++copy) {
    TPdfDibRaster raster(MonoInfo().View(), MonoBits().View(), dib::DIB_RGB_COLORS, 0, 0, 2, 2, 2, 2,
                         dib::SRCCOPY);
    names.push_back(doc->CreateOrGetImage(raster.Raster(), &at, &clip));
  }
  EXPECT_EQ(names, (std::vector<std::string>{"ZVImg0", "ZVImg0"}));
  std::string content = doc->Canvas()->Contents()->Writer().ToPDFString();
  EXPECT_EQ(content.find("q\n5 5 10 10 re\nW\nn\n50.000000 0.000000 0.000000 50.000000 0.000000 0.000000 cm\n"
                         "/ZVImg0 Do\nQ\n"),
            0u);

  doc->SetForceNoBitmapReuse(true);
  TPdfDibRaster raster(MonoInfo().View(), MonoBits().View(), dib::DIB_RGB_COLORS, 0, 0, 2, 2, 2, 2,
                       dib::SRCCOPY);
  EXPECT_EQ(doc->CreateOrGetImage(raster.Raster()), "ZVImg1");
  EXPECT_EQ(doc->CreateOrGetImage(raster.Raster()), "ZVImg2");
}

TEST(PdfImageReuse, RefusedRasterAddsNothing) {
  auto doc = PlainDocument();
  doc->AddPage();
  Bytes rows(4, 0);
  TPdfRaster indexed = RasterOver(rows, rf8Bit, 2, 2, 2);
  indexed.Palette = GreyPalette(16);
  int before = doc->Xref()->ItemCount();
  TPdfBox at{0, 0, 1, 1};
  EXPECT_EQ(MessageOf<EPdfInvalidValue>([&] { doc->CreateOrGetImage(indexed, &at); }), "TPdfImage");
  EXPECT_EQ(doc->Xref()->ItemCount(), before);
  EXPECT_EQ(doc->GetXObject("ZVImg0"), nullptr);
  EXPECT_EQ(doc->Canvas()->Contents()->Writer().ToPDFString(), "");
}

// ---- The file as PDF tools read and draw it ----

struct TRendered {
  int Width = 0, Height = 0;
  std::string Rgb;
  std::array<int, 3> At(int X, int Y) const {
    size_t i = (static_cast<size_t>(Y) * Width + X) * 3;
    return {static_cast<uint8_t>(Rgb[i]), static_cast<uint8_t>(Rgb[i + 1]), static_cast<uint8_t>(Rgb[i + 2])};
  }
};

// One page drawn at 72 pixels per inch (one pixel per point).
TRendered RenderPage(const std::string& Path, int Page) {
  std::string prefix = Path + "-page" + std::to_string(Page);
  std::string command = "pdftoppm -r 72 -singlefile -f " + std::to_string(Page) + " -l " +
                        std::to_string(Page) + " '" + Path + "' '" + prefix + "'";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
  std::vector<uint8_t> file = ReadFileBytes(prefix + ".ppm");
  std::string ppm(file.begin(), file.end());
  TRendered r;
  int maxValue = 0, consumed = 0;
  if (std::sscanf(ppm.c_str(), "P6 %d %d %d%n", &r.Width, &r.Height, &maxValue, &consumed) != 3) return r;
  r.Rgb = ppm.substr(static_cast<size_t>(consumed) + 1);
  EXPECT_EQ(r.Rgb.size(), static_cast<size_t>(r.Width) * r.Height * 3);
  return r;
}

TEST(PdfImageFile, ImagesPassTheCheckerAndDrawTheirColours) {
  auto doc = std::make_unique<TPdfDocumentGDI>(true, 1250);
  doc->SetCompressionMethod(cmNone);
  doc->SetDefaultPageWidth(100);
  doc->SetDefaultPageHeight(100);
  TPdfBox page{0, 0, 100, 100};

  doc->AddPage(); // blue | red
  Bytes blueRed = {0xFF, 0, 0, 0, 0, 0xFF};
  doc->CreateOrGetImage(RasterOver(blueRed, rf24Bit, 2, 1, 6), &page);

  doc->AddPage(); // magenta (keyed out) | green
  Bytes magentaGreen = {0xFF, 0, 0xFF, 0, 0xFF, 0};
  TPdfRaster keyed = RasterOver(magentaGreen, rf24Bit, 2, 1, 6);
  keyed.TransparentColor = 0x00FF00FF;
  doc->CreateOrGetImage(keyed, &page);

  doc->AddPage(); // a 1-bit bitmap: red, blue over blue, red; the same bitmap again into the left half
  for (const TPdfBox& box : {page, TPdfBox{0, 0, 50, 100}}) {
    TPdfDibRaster mono(MonoInfo().View(), MonoBits().View(), dib::DIB_RGB_COLORS, 0, 0, 2, 2, 2, 2,
                       dib::SRCCOPY);
    doc->CreateOrGetImage(mono.Raster(), &box);
  }

  doc->AddPage(); // the 16-bit bitmap, clipped to its lower-left quarter
  auto sixteen = TwoByTwoOfEveryDepth()[2];
  TPdfDibRaster raster(sixteen.Bmi.View(), sixteen.Bits.View(), dib::DIB_RGB_COLORS, 0, 0, 2, 2, 2, 2,
                       dib::SRCCOPY);
  TPdfBox quarter{0, 0, 50, 50};
  doc->CreateOrGetImage(raster.Raster(), &page, &quarter);

  std::string path = SaveForInspection(*doc, "images.pdf");
  EXPECT_EQ(PdfToolProblems(path), "");
  EXPECT_EQ(PdfInfoPages(path), 4);
  EXPECT_EQ(doc->GetXObject("ZVImg4"), nullptr); // the third page's two placings share one image

  using RGB = std::array<int, 3>;
  const RGB red{255, 0, 0}, green{0, 255, 0}, blue{0, 0, 255}, white{255, 255, 255};
  struct TProbe {
    int Page, X, Y;
    RGB Expected;
  };
  const std::vector<TProbe> probes = {
      {1, 25, 50, blue}, {1, 75, 50, red},   {2, 25, 50, white}, {2, 75, 50, green},
      {3, 12, 25, red},  {3, 37, 25, blue},  {3, 75, 25, blue},  {3, 75, 75, red},
      {4, 25, 75, blue}, {4, 75, 75, white}, {4, 25, 25, white},
  };
  for (const auto& p : probes) {
    TRendered r = RenderPage(path, p.Page);
    ASSERT_EQ(r.Width, 100);
    EXPECT_EQ(r.At(p.X, p.Y), p.Expected) << "page " << p.Page << " at " << p.X << ", " << p.Y;
  }
}

} // namespace
