// Metafile records and the content-stream operators the renderer writes for them.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <limits>

#include "PdfRenderTestSupport.h"
#include "pdf/PdfEnum.h"
#include "pdf/PdfErrors.h"

using namespace emf;

namespace {

constexpr uint32_t PATCOPY = 0x00F00021, BLACKNESS = 0x00000042;

// The parameters of a BITBLT without a source bitmap.
TParams BrushBlt(int32_t x, int32_t y, int32_t cx, int32_t cy, uint32_t rop) {
  TParams p;
  p.Ints({0, 0, -1, -1, x, y, cx, cy}).U32(rop).Ints({0, 0});
  p.F32(1).F32(0).F32(0).F32(1).F32(0).F32(0);
  p.Ints({0, 0, 0, 0, 0, 0});
  return p;
}

struct TRecordCase {
  const char* Name;
  std::function<void(TEmfWriter&)> Draw;
  const char* Expected; // between the renderer's "q" and "Q"
};

TEST(PdfRenderRecords, OperatorsOfEachRecord) {
  const TRecordCase cases[] = {
      {"header and end only", [](TEmfWriter&) {}, ""},
      {"line to",
       [](TEmfWriter& w) {
         w.SelectObject(w.CreatePen(PS_SOLID, 1, 0));
         w.Line(0, 0, 100, 0);
       },
       "0 0 0 RG\n[] 0 d\n0.75 w\n0 72 m\n75 72 l\nS\n"},
      {"rectangle after a line strokes once more",
       [](TEmfWriter& w) {
         w.SelectObject(w.CreatePen(PS_SOLID, 1, 0));
         w.Line(0, 0, 100, 0);
         w.Rectangle(10, 10, 20, 20);
       },
       "0 0 0 RG\n[] 0 d\n0.75 w\n0 72 m\n75 72 l\nS\nS\n7.5 57 7.5 7.5 re\nS\n"},
      {"polygon with null pen and null brush",
       [](TEmfWriter& w) {
         w.SelectObject(NULL_PEN);
         w.SelectObject(NULL_BRUSH);
         const TPointL pts[] = {{0, 0}, {10, 0}, {10, 10}};
         w.Polygon(pts);
       },
       ""},
      {"filled polygon",
       [](TEmfWriter& w) {
         w.SelectObject(NULL_PEN);
         w.SelectObject(w.CreateSolidBrush(0x0000FF));
         const TPointL pts[] = {{0, 0}, {10, 0}, {10, 10}};
         w.Polygon(pts);
       },
       "1 0 0 rg\n0 72 m\n7.5 72 l\n7.5 64.5 l\nh\nf\n"},
      {"miter limit 0.1", [](TEmfWriter& w) { w.RawRecord(EMR_SETMITERLIMIT, TParams().F32(0.1f)); }, ""},
      {"miter limit 4", [](TEmfWriter& w) { w.RawRecord(EMR_SETMITERLIMIT, TParams().F32(4)); }, "4 M\n"},
      {"negative pen width is a null pen",
       [](TEmfWriter& w) {
         uint32_t pen = w.CreatePen(PS_SOLID, 1, 0);
         w.RawRecord(EMR_CREATEPEN, TParams().Ints({static_cast<int32_t>(pen), PS_SOLID, -1, 0, 0}));
         w.SelectObject(pen);
         w.Line(0, 0, 100, 0);
       },
       "0 72 m\n75 72 l\nn\n"},
      {"geometric dotted extended pen",
       [](TEmfWriter& w) {
         uint32_t pen = w.CreatePen(PS_SOLID, 1, 0);
         w.RawRecord(EMR_EXTCREATEPEN, TParams()
                                           .Ints({static_cast<int32_t>(pen), 0, 0, 0, 0})
                                           .U32(PS_GEOMETRIC | PS_DOT)
                                           .Ints({2, BS_SOLID, 0x0000FF, 0, 0}));
         w.SelectObject(pen);
         w.Line(0, 0, 100, 0);
       },
       "1 0 0 RG\n[1 1 ] 0 d\n1.5 w\n0 72 m\n75 72 l\nS\n"},
      {"user-styled pens: each its own lengths in logical units, all zero is solid",
       [](TEmfWriter& w) {
         const uint32_t first = w.CreatePen(PS_SOLID, 1, 0), second = w.CreatePen(PS_SOLID, 1, 0),
                        third = w.CreatePen(PS_SOLID, 1, 0);
         const std::pair<uint32_t, TParams> pens[] = {
             {first, TParams().Ints({2, BS_SOLID, 0x0000FF, 0, 2, 8, 4})},
             {second, TParams().Ints({2, BS_SOLID, 0x0000FF, 0, 4, 8, 4, 2, 4})},
             {third, TParams().Ints({2, BS_SOLID, 0x0000FF, 0, 2, 0, 0})}};
         for (const auto& [pen, rest] : pens) {
           w.RawRecord(EMR_EXTCREATEPEN, TParams()
                                             .Ints({static_cast<int32_t>(pen), 0, 0, 0, 0})
                                             .U32(PS_GEOMETRIC | PS_USERSTYLE)
                                             .Bytes(rest.Data()));
           w.SelectObject(pen);
           w.Line(0, 0, 100, 0);
         }
       },
       "1 0 0 RG\n[6 3 ] 0 d\n1.5 w\n0 72 m\n75 72 l\nS\n"
       "[6 3 1.5 3 ] 0 d\n0 72 m\n75 72 l\nS\n"
       "[] 0 d\n0 72 m\n75 72 l\nS\n"},
      {"pattern blit fills with the brush",
       [](TEmfWriter& w) {
         w.SelectObject(w.CreateSolidBrush(0x0000FF));
         w.RawRecord(EMR_BITBLT, BrushBlt(10, 10, 20, 20, PATCOPY));
       },
       "n\n1 0 0 rg\n7.5 49.5 15 15 re\nf\n"},
      {"blackness blit draws nothing",
       [](TEmfWriter& w) {
         w.SelectObject(w.CreateSolidBrush(0x0000FF));
         w.RawRecord(EMR_BITBLT, BrushBlt(10, 10, 20, 20, BLACKNESS));
       },
       ""},
      {"pixel",
       [](TEmfWriter& w) {
         w.RawRecord(EMR_SETPIXELV, TParams().Ints({50, 50, 0x0000FF}));
       },
       "0.75 w\n1 0 0 RG\n37.5 34.5 0 0 re\nS\n0 w\n0 0 0 RG\n"},
      {"poly-draw: a move and one curve",
       [](TEmfWriter& w) {
         w.RawRecord(EMR_POLYDRAW, TParams()
                                       .Ints({0, 0, -1, -1, 4, 0, 0, 10, 0, 20, 10, 30, 30})
                                       .U8(PT_MOVETO)
                                       .U8(PT_BEZIERTO)
                                       .U8(PT_BEZIERTO)
                                       .U8(PT_BEZIERTO));
       },
       "0 0 0 RG\n[] 0 d\n0.75 w\n0 72 m\n7.5 72 15 64.5 22.5 49.5 c\nS\n"},
      {"poly-polyline: two open figures, one stroke",
       [](TEmfWriter& w) {
         w.RawRecord(EMR_POLYPOLYLINE,
                     TParams().Ints({0, 0, -1, -1, 2, 4, 2, 2, 0, 0, 10, 0, 0, 10, 10, 10}));
       },
       "0 0 0 RG\n[] 0 d\n0.75 w\nn\n0 72 m\n7.5 72 l\n0 64.5 m\n7.5 64.5 l\nS\n"},
      {"poly-polygon with the alternate rule",
       [](TEmfWriter& w) {
         w.SelectObject(NULL_PEN);
         w.SelectObject(WHITE_BRUSH);
         w.RawRecord(EMR_POLYPOLYGON16,
                     TParams().Ints({0, 0, -1, -1, 1, 3, 3}).I16(0).I16(0).I16(10).I16(0).I16(10).I16(10));
       },
       "1 1 1 rg\nn\n0 72 m\n7.5 72 l\n7.5 64.5 l\n0 72 l\nf*\n"},
      {"poly-line-to outside a path is stroked",
       [](TEmfWriter& w) {
         w.MoveTo(0, 0);
         w.RawRecord(EMR_POLYLINETO, TParams().Ints({0, 0, -1, -1, 2, 10, 0, 10, 10}));
       },
       "0 0 0 RG\n[] 0 d\n0.75 w\n0 72 m\n7.5 72 l\n7.5 64.5 l\nS\n"},
      {"figures inside a path bracket wait for the path's painting",
       [](TEmfWriter& w) {
         w.SelectObject(NULL_PEN);
         w.SelectObject(w.CreateSolidBrush(0x00FF00));
         w.RawRecord(EMR_BEGINPATH, {});
         w.Rectangle(0, 0, 10, 10);
         w.RawRecord(EMR_ENDPATH, {});
         w.RawRecord(EMR_FILLPATH, TParams().Ints({0, 0, -1, -1}));
       },
       "n\n0 72 m\n0 1 0 rg\n0 64.5 7.5 7.5 re\nf\nn\n"},
      {"round rectangle",
       [](TEmfWriter& w) {
         w.SelectObject(NULL_BRUSH);
         w.RawRecord(EMR_ROUNDRECT, TParams().Ints({20, 20, 0, 0, 8, 8}));
       },
       "0 0 0 RG\n[] 0 d\n0.75 w\n3 72 m\n12 72 l\n13.66 72 15 70.66 15 69 c\n15 60 l\n15 58.34 13.66 57 12 "
       "57 c\n"
       "3 57 l\n1.34 57 0 58.34 0 60 c\n0 69 l\n0 70.66 1.34 72 3 72 c\nh\nS\n"},
      {"gradient rectangle is filled flat in its middle colour",
       [](TEmfWriter& w) {
         w.RawRecord(EMR_GRADIENTFILL, TParams()
                                           .Ints({0, 0, -1, -1, 2, 1, GRADIENT_FILL_RECT_H})
                                           .Ints({0, 0})
                                           .U32(0xFF00)
                                           .U32(0)
                                           .Ints({10, 10})
                                           .U32(0xFF00)
                                           .U32(0xFF00)
                                           .Ints({0, 1}));
       },
       "n\n1 0 0.5 rg\n0 72 m\n0 64.5 l\n7.5 64.5 l\n7.5 72 l\nh\nf\n"},
  };
  for (const TRecordCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TEmfWriter w = SmallPage();
    c.Draw(w);
    TRenderPage page;
    EXPECT_EQ(page.RenderBody(w.ToMetafile()), c.Expected);
  }
}

TEST(PdfRenderRecords, AnisotropicWithOnlyAWindowExtentStartsFromOneToOne) {
  // The viewport keeps the text mode's extent (1, 1): two logical units to the pixel.
  TEmfWriter w = SmallPage();
  w.SetMapMode(MM_ANISOTROPIC);
  w.SetWindowExt(2, 2);
  w.Line(0, 0, 100, 0);
  TRenderPage page;
  EXPECT_EQ(page.RenderBody(w.ToMetafile()), "0 0 0 RG\n[] 0 d\n0.38 w\n0 72 m\n37.5 72 l\nS\n");
}

TEST(PdfRenderRecords, TheFrameCornerIsThePageCorner) {
  TEmfWriter w = SmallPage();
  w.Line(96, 96, 196, 96);
  std::vector<uint8_t> bytes = w.Finish();
  // Move the frame (hundredths of a millimetre, at 24) by 25 mm, the page's 96 pixels, both ways.
  for (size_t at = 24; at < 40; at += 4) {
    int32_t v;
    std::memcpy(&v, &bytes[at], 4);
    v += 2500;
    std::memcpy(&bytes[at], &v, 4);
  }
  TMetafile mf;
  mf.LoadFromBytes(bytes);
  ASSERT_EQ(mf.Width(), 96);
  TRenderPage page;
  EXPECT_EQ(page.RenderBody(mf), "0 0 0 RG\n[] 0 d\n0.75 w\n0 72 m\n75 72 l\nS\n");
}

TEST(PdfRenderRecords, ColoursAndStateStack) {
  TRenderPage page;
  TPdfEnum e(&page.Canvas());
  TEmfWriter w = SmallPage();
  w.SetTextColor(0x1FFFFFFF);
  w.SetBkColor(0x1FFFFFFF);
  w.SaveDC();
  w.SaveDC();
  w.SaveDC();
  w.RestoreDC(-2);
  TMetafile mf = w.ToMetafile();
  page.Doc().AddPage();
  mf.EnumerateRecords([&e](const TEmfRecord& r) { return EmfRecordCallback(r, e); });
  EXPECT_EQ(e.State().TextColor, 0);
  EXPECT_EQ(e.State().BkColor, 0);
  EXPECT_EQ(e.Depth(), 2); // three saved, one restored: the level is not taken from the record
}

TEST(PdfRenderRecords, ThirtyTwoNestedSavesStopThePageBalanced) {
  TEmfWriter w = SmallPage();
  for (int i = 0; i < 31; ++i)
    w.SaveDC();
  TRenderPage fits;
  EXPECT_EQ(fits.RenderBody(w.ToMetafile()), "");

  TEmfWriter deep = SmallPage();
  for (int i = 0; i < 32; ++i)
    deep.SaveDC();
  deep.Line(0, 0, 10, 10);
  TRenderPage page;
  EXPECT_THROW(page.Render(deep.ToMetafile()), EPdfInvalidOperation);
  EXPECT_EQ(page.Content(), "q\nQ\n");
}

TEST(PdfRenderRecords, RestoringTheFirstStateRaises) {
  TEmfWriter w = SmallPage();
  w.RestoreDC(-1);
  TRenderPage page;
  EXPECT_THROW(page.Render(w.ToMetafile()), EPdfInvalidOperation);
  EXPECT_EQ(page.Content(), "q\nQ\n");
}

TEST(PdfRenderRecords, StockPensAndBrushes) {
  TRenderPage page;
  TPdfEnum e(&page.Canvas());
  TEmfWriter w = SmallPage();
  w.SelectObject(w.CreatePen(PS_DASH, 7, 0x123456));
  w.SelectObject(WHITE_PEN);
  w.SelectObject(GRAY_BRUSH);
  TMetafile mf = w.ToMetafile();
  page.Doc().AddPage();
  mf.EnumerateRecords([&e](const TEmfRecord& r) { return EmfRecordCallback(r, e); });
  EXPECT_FALSE(e.State().Pen.Null);
  EXPECT_EQ(e.State().Pen.Color, 0xFFFFFF);
  EXPECT_EQ(e.State().Pen.Width, 0); // a stock pen is one pixel wide whatever was selected before
  EXPECT_EQ(e.State().Pen.Style, static_cast<int32_t>(PS_SOLID));
  EXPECT_FALSE(e.State().Brush.Null);
  EXPECT_EQ(e.State().Brush.Color, 0x808080);
}

// The metric modes and MM_ISOTROPIC measure with the metafile's reference device (here 96 pixels over
// 25 mm), as a device context on that device does; the extents the metafile sets count only in the
// scalable modes.
TEST(PdfRenderRecords, MetricAndIsotropicModesUseTheReferenceDevice) {
  struct TCase {
    const char* Name;
    std::function<void(TEmfWriter&)> Setup;
    TPdfIntSize View, Win;
  };
  const TCase cases[] = {
      {"lometric", [](TEmfWriter& w) { w.SetMapMode(MM_LOMETRIC); }, {96, -96}, {250, 250}},
      {"himetric ignores a window extent",
       [](TEmfWriter& w) {
         w.SetMapMode(MM_HIMETRIC);
         w.SetWindowExt(7, 7);
       },
       {96, -96},
       {2500, 2500}},
      {"twips", [](TEmfWriter& w) { w.SetMapMode(MM_TWIPS); }, {96, -96}, {1417, 1417}},
      {"isotropic with a window extent of 1000",
       [](TEmfWriter& w) {
         w.SetMapMode(MM_ISOTROPIC);
         w.SetWindowExt(1000, 1000);
       },
       {96, -96},
       {1000, 1000}},
      {"isotropic shrinks the axis with the larger scale",
       [](TEmfWriter& w) {
         w.SetMapMode(MM_ISOTROPIC);
         w.SetWindowExt(100, 100);
         w.SetViewportExt(50, 80);
       },
       {50, 50},
       {100, 100}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TEmfWriter w = SmallPage();
    c.Setup(w);
    TRenderPage page;
    page.Render(w.ToMetafile());
    TPdfCanvas& canvas = page.Canvas();
    EXPECT_EQ(canvas.FViewSize.cx, c.View.cx);
    EXPECT_EQ(canvas.FViewSize.cy, c.View.cy);
    EXPECT_EQ(canvas.FWinSize.cx, c.Win.cx);
    EXPECT_EQ(canvas.FWinSize.cy, c.Win.cy);
  }
}

TEST(PdfRenderRecords, LometricLinesLandWhereTheDeviceDrawsThem) {
  TEmfWriter w = SmallPage();
  w.SetMapMode(MM_LOMETRIC);
  w.SelectObject(w.CreatePen(PS_SOLID, 0, 0));
  w.Line(0, 0, 250, -250); // 25 mm right and down: the page's other corner
  TRenderPage page;
  std::string body = page.RenderBody(w.ToMetafile());
  EXPECT_NE(body.find("0 72 m\n72 0 l\nS\n"), std::string::npos) << body;
}

TEST(PdfRenderRecords, PrinterResolutionOfTheDocument) {
  TRenderPage page;
  EXPECT_EQ(page.Doc().PrinterPxPerInch().x, 300);
  int asked = 0;
  TRenderPage probed;
  probed.Doc().PrinterResolutionProbe = [&asked] {
    ++asked;
    return TPdfIntPoint{600, 1200};
  };
  TEmfWriter metric = SmallPage();
  metric.SetMapMode(MM_LOMETRIC);
  probed.Render(metric.ToMetafile());
  EXPECT_EQ(asked, 0); // rendering needs no printer
  EXPECT_EQ(probed.Doc().PrinterPxPerInch().y, 1200);
  EXPECT_EQ(probed.Doc().PrinterPxPerInch().x, 600);
  EXPECT_EQ(asked, 1);
  TRenderPage silent;
  silent.Doc().PrinterResolutionProbe = [] { return TPdfIntPoint{0, 0}; };
  EXPECT_EQ(silent.Doc().PrinterPxPerInch().x, 300);
}

TEST(PdfRenderRecords, WorldTransformsCombine) {
  TRenderPage page;
  TPdfEnum e(&page.Canvas());
  TEmfWriter w = SmallPage();
  // Set a scale by 2, then left-multiply a move by (10, 0): the move is scaled.
  w.RawRecord(EMR_SETWORLDTRANSFORM, TParams().F32(2).F32(0).F32(0).F32(2).F32(0).F32(0));
  w.RawRecord(EMR_MODIFYWORLDTRANSFORM,
              TParams().F32(1).F32(0).F32(0).F32(1).F32(10).F32(0).U32(MWT_LEFTMULTIPLY));
  TMetafile mf = w.ToMetafile();
  page.Doc().AddPage();
  mf.EnumerateRecords([&e](const TEmfRecord& r) { return EmfRecordCallback(r, e); });
  EXPECT_FLOAT_EQ(page.Canvas().FWorldFactorX, 2);
  EXPECT_FLOAT_EQ(page.Canvas().FWorldOffsetX, 20);
  // An undefined term is not taken.
  TEmfWriter bad = SmallPage();
  bad.RawRecord(EMR_SETWORLDTRANSFORM,
                TParams().F32(std::numeric_limits<float>::quiet_NaN()).F32(0).F32(0).F32(1).F32(0).F32(0));
  TPdfEnum fresh(&page.Canvas());
  bad.ToMetafile().EnumerateRecords([&fresh](const TEmfRecord& r) { return EmfRecordCallback(r, fresh); });
  EXPECT_FLOAT_EQ(page.Canvas().FWorldFactorX, 1);
}

} // namespace
