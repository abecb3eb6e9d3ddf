#pragma once
// TPdfDibRaster: the raster an image object is made from when a metafile draws a device-independent
// bitmap (header + bits as the record carries them). The bitmap is decoded and stretched onto a fresh
// white raster of the requested size with the record's raster operation, as StretchDIBits would draw it
// into a new bitmap: a 1-bit bitmap gives a palette raster (one index per pixel, its two colours kept),
// any other a 24-bit raster held in 32-bit words. Raster() views pixels this object owns, so the image
// is built from them without another copy of the whole picture.
//
// Error policy: a bitmap that cannot be decoded raises EDamagedData (EUnsupportedBitmap for JPEG/PNG
// payloads), as does a raster size of 0 or below or above dib::DIB_MAX_PIXELS pixels.
#include <cstdint>

#include "pdf/PdfRaster.h"
#include "platform/dib/DibDecode.h"
#include "platform/rtl/ByteView.h"

class TPdfDibRaster {
 public:
  // (XSrc, YSrc, CxSrc, CySrc) is the source rectangle in the bitmap's own coordinates (origin at the
  // lower-left corner of a bottom-up bitmap); the whole raster, Width x Height, is the destination.
  // Usage is DIB_RGB_COLORS or DIB_PAL_COLORS (indices into the default palette).
  TPdfDibRaster(ByteView Bmi, ByteView Bits, uint32_t Usage, int32_t XSrc, int32_t YSrc, int32_t CxSrc,
                int32_t CySrc, int32_t Width, int32_t Height, uint32_t Rop);
  TPdfDibRaster(const TPdfDibRaster&) = delete;
  TPdfDibRaster& operator=(const TPdfDibRaster&) = delete;

  // Valid while this object lives.
  const TPdfRaster& Raster() const { return FRaster; }
  // A colour in the COLORREF layout whose pixels are not painted (the colour key of transparent blits).
  void SetTransparentColor(uint32_t ColorRef) { FRaster.TransparentColor = ColorRef; }

 private:
  TRaster FTrueColour;
  TIndexedRaster FIndexed;
  TPdfRaster FRaster;
};
