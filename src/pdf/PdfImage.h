#pragma once
// TPdfImage: an image XObject made from a raster (TPdfRaster). The dictionary carries Type, Subtype,
// ColorSpace (DeviceRGB, or an indexed space over the 256-entry palette), Mask (a colour key, only for a
// 24-bit raster with a fixed transparent colour), Width, Height and BitsPerComponent 8; the data are the
// pixels row by row from the top: three bytes red, green, blue per pixel for true colour, one palette
// index per pixel for palette rasters (1-bit rasters are widened to bytes). The raster is only read
// during construction; the pixels then live in the stream until the document writes it.
#include <array>
#include <cstdint>

#include "pdf/PdfMd5.h"
#include "pdf/PdfRaster.h"
#include "pdf/PdfStream.h"

// Fingerprint of an image's pixels, palette and colour key (see PdfImageHashOf).
using TPdfImageHash = TPdfMd5Digest;

class TPdfImage : public TPdfXObject {
 public:
  // Raises EPdfInvalidValue "TPdfImage" for a palette raster with too few colours, and
  // EPdfInvalidValue "TPdfImage: …" for rows that do not match the raster's size. With DontAddToFXref
  // the document registers the image when it adds it (CreateOrGetImage, AddXObject).
  TPdfImage(TPdfDocument* aDoc, const TPdfRaster& aImage, bool DontAddToFXref = true);

  int32_t PixelWidth() const { return fPixelWidth; }
  int32_t PixelHeight() const { return fPixelHeight; }
  // Filled by the document for image reuse; all zero until then.
  const TPdfImageHash& Hash() const { return fHash; }
  void SetHash(const TPdfImageHash& Value) { fHash = Value; }

 private:
  int32_t fPixelHeight = 0;
  int32_t fPixelWidth = 0;
  TPdfImageHash fHash{};
};

// The 16-byte digest that tells equal images apart: started from the bits per pixel and fed with the
// palette, every row's image data and the colour key, so two rasters share it only when their image
// objects would be the same. Checks the raster first (as TPdfImage does).
TPdfImageHash PdfImageHashOf(const TPdfRaster& aImage);

// The palette colour space's lookup string: "<", then "RRGGBB " for each of the 256 entries, then ">"
// (1794 characters). Missing entries of a 1-bit raster's palette are black.
std::string PdfIndexedLookup(const std::vector<uint32_t>& Palette);
