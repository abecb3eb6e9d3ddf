#include "pdf/PdfImage.h"

#include <functional>
#include <string>
#include <vector>

#include "pdf/PdfArray.h"
#include "pdf/PdfErrors.h"
#include "pdf/PdfWrite.h"

namespace {

constexpr int PaletteSize = 256;

// Calls Emit with each row's image data, top row first. Rows of an 8-bit raster are handed over where
// they are; other formats are converted one row at a time into a buffer of one row.
void ForEachImageRow(const TPdfRaster& R, const std::function<void(const uint8_t*, size_t)>& Emit) {
  const uint8_t* rows = R.Rows.data();
  size_t width = static_cast<size_t>(R.Width);
  std::vector<uint8_t> buffer(R.Format == rf8Bit ? 0 : (R.IsPalette() ? width : width * 3));
  for (int32_t y = 0; y < R.Height; ++y) {
    const uint8_t* row = rows + static_cast<size_t>(y) * static_cast<size_t>(R.Stride);
    switch (R.Format) {
    case rf8Bit:
      Emit(row, width);
      continue;
    case rf1Bit:
      for (size_t x = 0; x < width; ++x)
        buffer[x] = (row[x / 8] >> (7 - x % 8)) & 1;
      break;
    case rf24Bit:
    case rf32Bit:
      for (size_t x = 0; x < width; ++x) {
        const uint8_t* p = row + x * static_cast<size_t>(R.PixelStep);
        buffer[x * 3] = p[2];
        buffer[x * 3 + 1] = p[1];
        buffer[x * 3 + 2] = p[0];
      }
      break;
    }
    Emit(buffer.data(), buffer.size());
  }
}

bool HasColorKey(const TPdfRaster& R) {
  return R.Format == rf24Bit && R.TransparentColor.has_value();
}

} // namespace

std::string PdfIndexedLookup(const std::vector<uint32_t>& Palette) {
  static const char Digits[] = "0123456789ABCDEF";
  std::string lookup = "<";
  lookup.reserve(2 + PaletteSize * 7);
  for (size_t i = 0; i < PaletteSize; ++i) {
    uint32_t colour = i < Palette.size() ? Palette[i] : 0;
    for (int shift = 20; shift >= 0; shift -= 4)
      lookup += Digits[(colour >> shift) & 15];
    lookup += ' ';
  }
  return lookup + ">";
}

TPdfImage::TPdfImage(TPdfDocument* aDoc, const TPdfRaster& aImage, bool DontAddToFXref)
    : TPdfXObject(aDoc, DontAddToFXref) {
  aImage.Check();
  fPixelWidth = aImage.Width;
  fPixelHeight = aImage.Height;
  TPdfDictionary* attributes = Attributes();
  attributes->AddItem("Type", "XObject");
  attributes->AddItem("Subtype", "Image");
  if (aImage.IsPalette()) {
    auto* space = new TPdfArray(attributes->ObjectMgr());
    space->AddItem(new TPdfName("Indexed"));
    space->AddItem(new TPdfName("DeviceRGB"));
    space->AddItem(new TPdfNumber(PaletteSize - 1));
    space->AddItem(new TPdfRawText(PdfIndexedLookup(aImage.Palette)));
    attributes->AddItem("ColorSpace", space);
  } else {
    attributes->AddItem("ColorSpace", "DeviceRGB");
    if (HasColorKey(aImage)) {
      uint32_t key = *aImage.TransparentColor;
      double r = key & 0xFF, g = (key >> 8) & 0xFF, b = (key >> 16) & 0xFF;
      attributes->AddItem("Mask", TPdfArray::CreateReals(attributes->ObjectMgr(), {r, r, g, g, b, b}));
    }
  }
  attributes->AddItem("Width", fPixelWidth);
  attributes->AddItem("Height", fPixelHeight);
  attributes->AddItem("BitsPerComponent", 8);
  TPdfWrite& w = Writer();
  ForEachImageRow(aImage,
                  [&](const uint8_t* Row, size_t Size) { w.Add(reinterpret_cast<const char*>(Row), Size); });
}

TPdfImageHash PdfImageHashOf(const TPdfRaster& aImage) {
  aImage.Check();
  TPdfMd5 md5;
  std::string start(16, static_cast<char>(aImage.BitsPerPixel()));
  md5.Update(start);
  if (aImage.IsPalette()) md5.Update(PdfIndexedLookup(aImage.Palette));
  ForEachImageRow(aImage, [&](const uint8_t* Row, size_t Size) { md5.Update(Row, Size); });
  if (HasColorKey(aImage)) {
    uint32_t key = *aImage.TransparentColor & 0xFFFFFF;
    uint8_t marker[4] = {'K', static_cast<uint8_t>(key), static_cast<uint8_t>(key >> 8),
                         static_cast<uint8_t>(key >> 16)};
    md5.Update(marker, sizeof(marker));
  }
  return md5.Finish();
}
