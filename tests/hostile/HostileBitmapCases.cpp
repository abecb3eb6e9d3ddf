// Bitmaps, surfaces and gradients whose records claim huge memory or work.
#include <climits>

#include "HostilePage.h"
#include "HostileRecords.h"
#include "platform/dib/DibInfo.h"

using namespace hostile;

namespace {

constexpr uint32_t SRCCOPY = 0x00CC0020;

// One RLE8 bitmap claiming width x height, whose bits end at once.
TDibPart Rle8Claim(int32_t width, int32_t height) {
  return {BitmapInfo(width, height, 8, dib::BI_RLE8, 2), {0x04, 0x01, 0x00, 0x01}};
}

void StretchDIBits(TEmfWriter& w, int32_t x, int32_t y, int32_t cx, int32_t cy, TDibPart dib,
                   int32_t srcWidth, int32_t srcHeight) {
  PlaceDibs(80, {&dib});
  TEmfRecordBuilder r(emf::EMR_STRETCHDIBITS);
  r.Rect(x, y, x + cx - 1, y + cy - 1).I32(x).I32(y).I32(0).I32(0).I32(srcWidth).I32(srcHeight);
  r.U32(dib.InfoOffset).U32(uint32_t(dib.Info.size())).U32(dib.BitsOffset).U32(uint32_t(dib.Bits.size()));
  r.U32(emf::DIB_RGB_COLORS).U32(SRCCOPY).I32(cx).I32(cy);
  AppendDibs(r, {&dib});
  Emit(w, r);
}

void SetDIBitsToDevice(TEmfWriter& w, int32_t x, int32_t y, TDibPart dib, int32_t width, int32_t height,
                       uint32_t startScan, uint32_t scans) {
  PlaceDibs(76, {&dib});
  TEmfRecordBuilder r(emf::EMR_SETDIBITSTODEVICE);
  r.Rect(x, y, x + width - 1, y + height - 1).I32(x).I32(y).I32(0).I32(0).I32(width).I32(height);
  r.U32(dib.InfoOffset).U32(uint32_t(dib.Info.size())).U32(dib.BitsOffset).U32(uint32_t(dib.Bits.size()));
  r.U32(emf::DIB_RGB_COLORS).U32(startScan).U32(scans);
  AppendDibs(r, {&dib});
  Emit(w, r);
}

std::vector<THostileCase> Cases() {
  return {
      // Ten blits of an 8-bit RLE bitmap claiming 80,000,000 x 1 pixels in two bytes of bits.
      {"stretchdibits_rle8_huge_width",
       [](TEmfWriter& w) {
         for (int i = 0; i < 10; ++i)
           StretchDIBits(w, 10, 10 + 12 * i, 200, 10, Rle8Claim(80'000'000, 1), 80'000'000, 1);
       }},
      // Ten pattern brushes of 10,000 x 10,000 RLE8 bitmaps held in the handle table, each used once.
      {"pattern_brushes_rle8_huge",
       [](TEmfWriter& w) {
         // Handles reserved through the writer, emptied behind its back for the raw brushes.
         std::vector<uint32_t> handles;
         for (int i = 0; i < 10; ++i)
           handles.push_back(w.CreateSolidBrush(0));
         for (uint32_t h : handles) {
           TEmfRecordBuilder del(emf::EMR_DELETEOBJECT);
           del.U32(h);
           Emit(w, del);
           TDibPart dib = Rle8Claim(10'000, 10'000);
           PlaceDibs(32, {&dib});
           TEmfRecordBuilder r(emf::EMR_CREATEDIBPATTERNBRUSHPT);
           r.U32(h).U32(emf::DIB_RGB_COLORS).U32(dib.InfoOffset).U32(uint32_t(dib.Info.size()));
           r.U32(dib.BitsOffset).U32(uint32_t(dib.Bits.size()));
           AppendDibs(r, {&dib});
           Emit(w, r);
         }
         w.SelectObject(emf::NULL_PEN);
         for (size_t i = 0; i < handles.size(); ++i) {
           w.SelectObject(handles[i]);
           w.Rectangle(10 + int32_t(i) * 20, 10, 25 + int32_t(i) * 20, 25);
         }
       }},
      // Scan-line bands starting beyond the bitmap or running past it, for each compression.
      {"setdibitstodevice_bands_past_height",
       [](TEmfWriter& w) {
         const std::vector<TDibPart> dibs = {
             {BitmapInfo(8, 8, 24, dib::BI_RGB, 0), std::vector<uint8_t>(8 * 24, 0x80)},
             {BitmapInfo(8, 8, 8, dib::BI_RLE8, 2), {0x08, 0x01, 0x00, 0x00, 0x08, 0x00, 0x00, 0x01}},
             {BitmapInfo(8, 8, 4, dib::BI_RLE4, 2), {0x08, 0x11, 0x00, 0x00, 0x08, 0x00, 0x00, 0x01}},
             {BitmapInfo(8, 8, 1, dib::BI_RGB, 2), std::vector<uint8_t>(8 * 4, 0xAA)},
         };
         const std::vector<std::pair<uint32_t, uint32_t>> bands = {
             {0x7FFFFFF0u, 0x7FFFFFFFu}, {0, 0x7FFFFFFFu}, {5, 10}, {0xFFFFFFFFu, 1}, {8, 1}};
         int32_t y = 10;
         for (const TDibPart& d : dibs)
           for (auto [start, scans] : bands) {
             SetDIBitsToDevice(w, 10, y, d, 8, 8, start, scans);
             y += 10;
           }
       }},
      // MASKBLT whose source and mask origins lie at opposite ends of the 32-bit range.
      {"maskblt_origins_far_apart",
       [](TEmfWriter& w) {
         TDibPart source{BitmapInfo(8, 8, 24, dib::BI_RGB, 0), std::vector<uint8_t>(8 * 24, 0x40)};
         TDibPart mask{BitmapInfo(8, 8, 1, dib::BI_RGB, 2), std::vector<uint8_t>(8 * 4, 0xF0)};
         PlaceDibs(128, {&source, &mask});
         const std::vector<std::pair<int32_t, int32_t>> origins = {
             {INT32_MIN, INT32_MAX}, {INT32_MAX, INT32_MIN}, {0, INT32_MIN}, {INT32_MAX, 0}};
         for (auto [src, msk] : origins) {
           TEmfRecordBuilder r(emf::EMR_MASKBLT);
           r.Rect(10, 10, 109, 109).I32(10).I32(10).I32(100).I32(100).U32(0xCCAA0020u);
           r.I32(src).I32(src).F32(1).F32(0).F32(0).F32(1).F32(0).F32(0).U32(0).U32(emf::DIB_RGB_COLORS);
           r.U32(source.InfoOffset).U32(uint32_t(source.Info.size()));
           r.U32(source.BitsOffset).U32(uint32_t(source.Bits.size()));
           r.I32(msk).I32(msk).U32(emf::DIB_RGB_COLORS).U32(mask.InfoOffset).U32(uint32_t(mask.Info.size()));
           r.U32(mask.BitsOffset).U32(uint32_t(mask.Bits.size()));
           AppendDibs(r, {&source, &mask});
           Emit(w, r);
         }
       }},
      // A page whose frame asks for 30,000 x 30,000 pixels.
      {"frame_30000_square", [](TEmfWriter& w) { w.Line(0, 0, 100, 100); }, 30'000, 30'000},
      // One gradient fill of 125,000 rectangles, each the whole page.
      {"gradient_fill_many_rectangles",
       [](TEmfWriter& w) {
         const uint32_t count = 125'000;
         TEmfRecordBuilder r(emf::EMR_GRADIENTFILL);
         r.Rect(0, 0, 799, 599).U32(2).U32(count).U32(emf::GRADIENT_FILL_RECT_H);
         r.I32(0).I32(0).U16(0xFF00).U16(0).U16(0).U16(0);
         r.I32(800).I32(600).U16(0).U16(0xFF00).U16(0).U16(0);
         for (uint32_t i = 0; i < count; ++i)
           r.U32(0).U32(1);
         Emit(w, r);
       }},
  };
}

} // namespace

std::vector<THostileCase> HostileBitmapCases() {
  return Cases();
}
