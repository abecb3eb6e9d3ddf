// The page limits as the player applies them: a record over a limit is skipped and counted while the rest
// of the page draws, bitmap memory is given back when a bitmap is no longer needed, the deadline stops a
// page between records, and a playback ended by an exception leaves painter and context as they were.
#include <gtest/gtest.h>

#include <thread>

#include "../gdi/GdiTestSupport.h"
#include "HostileRecords.h"
#include "platform/dib/DibInfo.h"
#include "platform/gdi/GdiConsts.h"
#include "platform/gdi/PageImage.h"

using namespace hostile;

namespace {

constexpr uint32_t Red = emf::EmfRgb(255, 0, 0);

TPageImage Render(TEmfWriter& w, const TPageLimits& limits) {
  EnsureGuiApplication();
  return RenderPageImage(w.ToMetafile(), TPageImageOptions{}, limits);
}

bool IsRed(const QImage& image, int x, int y) {
  return (image.pixel(x, y) & 0xFFFFFF) == 0xFF0000;
}

// A pattern brush of a width x height 24-bit bitmap created into a handle reserved through the writer.
uint32_t CreatePatternBrush(TEmfWriter& w, int32_t width, int32_t height) {
  const uint32_t handle = w.CreateSolidBrush(0);
  TEmfRecordBuilder del(emf::EMR_DELETEOBJECT);
  del.U32(handle);
  Emit(w, del);
  const size_t stride = (size_t(width) * 3 + 3) / 4 * 4;
  TDibPart dib{BitmapInfo(width, height, 24, dib::BI_RGB, 0), std::vector<uint8_t>(stride * height, 0x80)};
  PlaceDibs(32, {&dib});
  TEmfRecordBuilder r(emf::EMR_CREATEDIBPATTERNBRUSHPT);
  r.U32(handle).U32(emf::DIB_RGB_COLORS).U32(dib.InfoOffset).U32(uint32_t(dib.Info.size()));
  r.U32(dib.BitsOffset).U32(uint32_t(dib.Bits.size()));
  AppendDibs(r, {&dib});
  Emit(w, r);
  return handle;
}

TEmfDib RedBitmap(int32_t width, int32_t height) {
  return TEmfDib::Rgb24(width, height, std::vector<uint32_t>(size_t(width) * height, Red));
}

TEST(PageLimits, BitmapMemoryIsGivenBackWhenTheBrushHoldingItIsDeleted) {
  TPageLimits limits;
  limits.BitmapBytes = 2'000'000; // one 500 x 500 bitmap (1 MB decoded) beside another, not three
  TEmfWriter w(300, 100);
  const uint32_t brush = CreatePatternBrush(w, 500, 500);
  const uint32_t second = CreatePatternBrush(w, 500, 500);
  w.StretchDIBits(0, 0, 100, 100, RedBitmap(500, 500)); // a third: over the limit
  w.DeleteObject(brush);
  w.StretchDIBits(100, 0, 100, 100, RedBitmap(500, 500)); // fits again
  w.DeleteObject(second);
  w.StretchDIBits(200, 0, 100, 100, RedBitmap(500, 500));
  const TPageImage page = Render(w, limits);
  EXPECT_TRUE(page.Complete);
  EXPECT_EQ(page.SkippedRecords, 1);
  EXPECT_NE(page.FirstProblem.find("beyond"), std::string::npos) << page.FirstProblem;
  EXPECT_FALSE(IsRed(page.Image, 50, 50));
  EXPECT_TRUE(IsRed(page.Image, 150, 50));
  EXPECT_TRUE(IsRed(page.Image, 250, 50));
}

TEST(PageLimits, BitmapWiderThanAnImageIsSkippedAndTheRestDrawn) {
  TEmfWriter w(100, 100);
  TDibPart dib{BitmapInfo(80'000'000, 1, 8, dib::BI_RLE8, 2), {0x00, 0x01}};
  PlaceDibs(80, {&dib});
  TEmfRecordBuilder r(emf::EMR_STRETCHDIBITS);
  r.Rect(0, 0, 49, 49).I32(0).I32(0).I32(0).I32(0).I32(80'000'000).I32(1);
  r.U32(dib.InfoOffset).U32(uint32_t(dib.Info.size())).U32(dib.BitsOffset).U32(uint32_t(dib.Bits.size()));
  r.U32(emf::DIB_RGB_COLORS).U32(emf::SRCCOPY).I32(50).I32(50);
  AppendDibs(r, {&dib});
  Emit(w, r);
  w.StretchDIBits(50, 50, 50, 50, RedBitmap(2, 2));
  const TPageImage page = Render(w, DefaultPageLimits());
  EXPECT_EQ(page.SkippedRecords, 1);
  EXPECT_TRUE(IsRed(page.Image, 75, 75));
}

// SETDIBITSTODEVICE names scan lines [start, start + count); a band running past the bitmap's height
// draws the lines that exist.
TEST(PageLimits, ScanLineBandPastTheHeightDrawsTheLinesThatExist) {
  TEmfWriter w(40, 80);
  // A bottom-up 4 x 8 bitmap handing over its lines 6 and 7 (the top two rows), asking for ten.
  TDibPart dib{BitmapInfo(4, 8, 24, dib::BI_RGB, 0), {}};
  for (int i = 0; i < 2 * 4; ++i)
    dib.Bits.insert(dib.Bits.end(), {0, 0, 255}); // blue, green, red: red
  PlaceDibs(76, {&dib});
  TEmfRecordBuilder r(emf::EMR_SETDIBITSTODEVICE);
  r.Rect(0, 0, 3, 7).I32(0).I32(0).I32(0).I32(0).I32(4).I32(8);
  r.U32(dib.InfoOffset).U32(uint32_t(dib.Info.size())).U32(dib.BitsOffset).U32(uint32_t(dib.Bits.size()));
  r.U32(emf::DIB_RGB_COLORS).U32(6).U32(10);
  AppendDibs(r, {&dib});
  Emit(w, r);
  const TPageImage page = Render(w, DefaultPageLimits());
  EXPECT_EQ(page.SkippedRecords, 0) << page.FirstProblem;
  EXPECT_TRUE(IsRed(page.Image, 1, 0));
  EXPECT_TRUE(IsRed(page.Image, 1, 1));
  EXPECT_FALSE(IsRed(page.Image, 1, 2));
}

// A record over a limit is skipped and counted; within the limits the same record draws.
TEST(PageLimits, RecordsOverTheirLimitAreSkippedAndCounted) {
  struct TCase {
    const char* Name;
    void (*Write)(TEmfWriter&);
    void (*Tighten)(TPageLimits&);
  };
  const TCase cases[] = {
      {"text",
       [](TEmfWriter& w) {
         w.SelectObject(w.CreateFont({.Face = "DejaVu Sans", .Height = -40}));
         w.TextOut(10, 20, "MMMMMMMMMM");
       },
       [](TPageLimits& l) { l.RunGlyphPixels = 300; }},
      {"gradient",
       [](TEmfWriter& w) {
         TEmfRecordBuilder r(emf::EMR_GRADIENTFILL);
         r.Rect(0, 0, 199, 99).U32(2).U32(1).U32(emf::GRADIENT_FILL_RECT_H);
         r.I32(0).I32(0).U16(0).U16(0).U16(0).U16(0);
         r.I32(200).I32(100).U16(0).U16(0).U16(0x8000).U16(0);
         r.U32(0).U32(1);
         Emit(w, r);
       },
       [](TPageLimits& l) { l.GradientItems = 2; }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TPageLimits tight;
    c.Tighten(tight);
    for (const TPageLimits* limits : {&DefaultPageLimits(), static_cast<const TPageLimits*>(&tight)}) {
      TEmfWriter w(200, 100);
      c.Write(w);
      const TPageImage page = Render(w, *limits);
      const bool over = limits == &tight;
      EXPECT_EQ(page.SkippedRecords, over ? 1 : 0) << page.FirstProblem;
      int ink = 0;
      for (int y = 0; y < page.Image.height(); ++y)
        for (int x = 0; x < page.Image.width(); ++x)
          ink += page.Image.pixel(x, y) != qRgb(255, 255, 255);
      EXPECT_EQ(ink > 0, !over);
    }
  }
}

TEST(PageLimits, SurfaceKeepsItsShapeWithinThePixelLimit) {
  EXPECT_EQ(LimitedImageSize(QSize(30000, 30000), 36'000'000), QSize(6000, 6000));
  EXPECT_EQ(LimitedImageSize(QSize(800, 600), 36'000'000), QSize(800, 600));
  TPageLimits limits;
  limits.SurfacePixels = 10'000;
  TEmfWriter w(800, 400);
  w.SelectObject(w.CreateSolidBrush(Red));
  w.Rectangle(0, 0, 800, 400);
  const TPageImage page = Render(w, limits);
  EXPECT_EQ(page.Asked, QSize(800, 400));
  EXPECT_EQ(page.Image.size(), QSize(141, 70));
  EXPECT_TRUE(IsRed(page.Image, 70, 35));
}

// A page playing past its deadline stops between records and says why.
TEST(PageLimits, DeadlineStopsThePageBetweenRecords) {
  EnsureGuiApplication();
  TEmfWriter w(100, 100);
  for (int i = 0; i < 10; ++i)
    w.Rectangle(i, i, i + 10, i + 10);
  const TMetafile metafile = w.ToMetafile();
  QImage image(100, 100, QImage::Format_RGB32);
  QPainter painter(&image);
  TGdiDC dc(painter);
  TPageLimits limits;
  limits.Deadline = std::chrono::milliseconds(10);
  dc.SetLimits(limits);
  int played = 0;
  const bool complete = EnumEnhMetaFile(
      dc, metafile,
      [&](TGdiDC&, THandleTable&, const TEmfRecord&, int, void*) {
        ++played;
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        return 1;
      },
      nullptr, TEmfRect{0, 0, 99, 99});
  EXPECT_FALSE(complete);
  EXPECT_EQ(played, 1);
  EXPECT_EQ(GetLastError(), ERROR_TIMEOUT);
  EXPECT_NE(GetLastErrorMessage().find("longer than"), std::string::npos) << GetLastErrorMessage();
}

// An exception out of a playback (a failed allocation) leaves painter and context as they were.
TEST(PageLimits, PlaybackEndedByAnExceptionRestoresPainterAndContext) {
  EnsureGuiApplication();
  TEmfWriter w(100, 100);
  w.SetMapMode(emf::MM_ANISOTROPIC);
  w.SetViewportOrg(30, 30);
  w.SaveDC();
  w.IntersectClipRect(0, 0, 10, 10);
  w.Rectangle(0, 0, 5, 5);
  const TMetafile metafile = w.ToMetafile();
  QImage image(100, 100, QImage::Format_RGB32);
  QPainter painter(&image);
  const QTransform before = QTransform::fromTranslate(3, 4);
  painter.setTransform(before);
  TGdiDC dc(painter);
  int played = 0;
  EXPECT_THROW(EnumEnhMetaFile(
                   dc, metafile,
                   [&](TGdiDC& d, THandleTable& table, const TEmfRecord& record, int count, void*) {
                     if (++played == 6) throw std::bad_alloc();
                     return int(PlayEnhMetaFileRecord(d, table, record, unsigned(count)));
                   },
                   nullptr, TEmfRect{0, 0, 99, 99}),
               std::bad_alloc);
  EXPECT_EQ(played, 6);
  EXPECT_EQ(painter.transform(), before);
  EXPECT_FALSE(painter.hasClipping());
  EXPECT_EQ(dc.SavedLevels(), 0u);
  EXPECT_EQ(dc.State().MapMode, int32_t(emf::MM_TEXT));
}

} // namespace
