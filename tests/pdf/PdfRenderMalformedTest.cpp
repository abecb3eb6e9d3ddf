// Malformed records are skipped before anything of them is written; a damaged metafile structure stops
// the page with the metafile's own error, the page's content still balanced.
#include <gtest/gtest.h>

#include <functional>

#include "PdfRenderTestSupport.h"
#include "pdf/PdfEnum.h"

using namespace emf;

namespace {

struct TMalformedCase {
  const char* Name;
  std::function<void(TEmfWriter&)> Draw;
  const char* Expected; // between the renderer's "q" and "Q"
  int Skipped;
};

TEST(PdfRenderMalformed, RecordsWhoseDataDoesNotFit) {
  const TMalformedCase cases[] = {
      {"poly-line count past the points",
       [](TEmfWriter& w) {
         w.RawRecord(EMR_POLYLINE, TParams().Ints({0, 0, -1, -1, 1000, 0, 0, 10, 10}));
       },
       "", 1},
      {"polygon without points",
       [](TEmfWriter& w) {
         w.RawRecord(EMR_POLYGON16, TParams().Ints({0, 0, -1, -1, 0}));
       },
       "", 1},
      {"poly-bezier with a count near 2^32",
       [](TEmfWriter& w) {
         w.RawRecord(EMR_POLYBEZIER, TParams().Ints({0, 0, -1, -1, -1, 0, 0}));
       },
       "", 1},
      {"poly-polygon figures past the points",
       [](TEmfWriter& w) {
         w.RawRecord(EMR_POLYPOLYGON, TParams().Ints({0, 0, -1, -1, 2, 4, 3, 3, 0, 0, 1, 0, 1, 1, 0, 1}));
       },
       "", 1},
      {"poly-polyline with a huge figure count",
       [](TEmfWriter& w) {
         w.RawRecord(EMR_POLYPOLYLINE, TParams().Ints({0, 0, -1, -1, 0x40000000, 2, 2, 0, 0, 1, 1}));
       },
       "", 1},
      {"poly-draw curve without its three points stops the figure",
       [](TEmfWriter& w) {
         w.RawRecord(EMR_POLYDRAW,
                     TParams().Ints({0, 0, -1, -1, 2, 0, 0, 10, 0}).U8(PT_MOVETO).U8(PT_BEZIERTO));
       },
       "0 0 0 RG\n[] 0 d\n0.75 w\n0 72 m\nS\n", 0},
      {"poly-draw types past the record",
       [](TEmfWriter& w) {
         w.RawRecord(EMR_POLYDRAW, TParams().Ints({0, 0, -1, -1, 3, 0, 0, 10, 0, 20, 0}));
       },
       "", 1},
      {"gradient vertex outside the vertex array",
       [](TEmfWriter& w) {
         w.RawRecord(EMR_GRADIENTFILL, TParams()
                                           .Ints({0, 0, -1, -1, 2, 1, GRADIENT_FILL_RECT_H})
                                           .Ints({0, 0, 0, 0, 10, 10, 0, 0})
                                           .Ints({0, 5}));
       },
       "n\n", 0},
      {"gradient mesh past the record",
       [](TEmfWriter& w) {
         w.RawRecord(
             EMR_GRADIENTFILL,
             TParams().Ints({0, 0, -1, -1, 2, 50, GRADIENT_FILL_TRIANGLE}).Ints({0, 0, 0, 0, 10, 10, 0, 0}));
       },
       "", 1},
      {"text count past the record",
       [](TEmfWriter& w) {
         w.RawRecord(EMR_EXTTEXTOUTW, TParams()
                                          .Ints({0, 0, -1, -1, GM_COMPATIBLE, 0, 0})
                                          .Ints({10, 10, 5000, 76, 0, 0, 0, 0, 0, 0})
                                          .Ints({0x00620061}));
       },
       "", 1},
      {"line record too short for its point",
       [](TEmfWriter& w) { w.RawRecord(EMR_LINETO, TParams().I32(5)); }, "", 1},
      {"bitmap bits past the record",
       [](TEmfWriter& w) {
         w.RawRecord(EMR_STRETCHDIBITS, TParams()
                                            .Ints({0, 0, 10, 10, 0, 0, 0, 0, 2, 2})
                                            .Ints({80, 40, 120, 4000, DIB_RGB_COLORS, 0x00CC0020, 10, 10})
                                            .Ints({40, 2, 2, 0x00180001, 0, 16, 0, 0, 0, 0})
                                            .Ints({0, 0, 0, 0}));
       },
       "", 1},
      {"bitmap header claiming a huge picture",
       [](TEmfWriter& w) {
         w.RawRecord(EMR_STRETCHDIBITS, TParams()
                                            .Ints({0, 0, 10, 10, 0, 0, 0, 0, 100000, 100000})
                                            .Ints({80, 40, 120, 16, DIB_RGB_COLORS, 0x00CC0020, 10, 10})
                                            .Ints({40, 100000, 100000, 0x00180001, 0, 16, 0, 0, 0, 0})
                                            .Ints({0, 0, 0, 0}));
       },
       "", 1},
      {"objects outside the table are ignored",
       [](TEmfWriter& w) {
         w.RawRecord(EMR_CREATEPEN, TParams().Ints({1000, PS_SOLID, 5, 0, 0xFF}));
         w.RawRecord(EMR_SELECTOBJECT, TParams().I32(1000));
         w.RawRecord(EMR_DELETEOBJECT, TParams().I32(0));
       },
       "", 0},
  };
  for (const TMalformedCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TEmfWriter w = SmallPage();
    c.Draw(w);
    TMetafile mf = w.ToMetafile();
    TRenderPage page;
    EXPECT_EQ(page.RenderBody(mf), c.Expected);
    TRenderPage counted;
    counted.Doc().AddPage();
    TPdfEnum e(&counted.Canvas());
    mf.EnumerateRecords([&e](const TEmfRecord& r) { return EmfRecordCallback(r, e); });
    EXPECT_EQ(e.SkippedRecords(), c.Skipped);
  }
}

TEST(PdfRenderMalformed, ARecordRunningPastTheMetafileStopsThePage) {
  TEmfWriter w = SmallPage();
  w.Line(0, 0, 10, 0);
  w.Line(0, 5, 10, 5);
  std::vector<uint8_t> bytes = w.Finish();
  // The second line's LINETO claims to run far past the end.
  size_t at = bytes.size() - 20 - 16;
  ASSERT_EQ(bytes[at], EMR_LINETO);
  bytes[at + 5] = 0x10;
  TMetafile mf;
  mf.LoadFromBytes(bytes);
  TRenderPage page;
  EXPECT_THROW(page.Render(mf), EDamagedData);
  std::string content = page.Content();
  EXPECT_EQ(content.substr(0, 2), "q\n");
  EXPECT_EQ(content.substr(content.size() - 2), "Q\n");
  EXPECT_EQ(Count(content, "S\n"), 1); // the first line only
}

} // namespace
