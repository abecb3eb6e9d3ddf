#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <vector>

#include "platform/emfwriter/EmfTextWidths.h"
#include "platform/emfwriter/EmfWriter.h"
#include "platform/rtl/Exception.h"

using namespace emf;

namespace {

constexpr TPointL zigzag[] = {{30, 40}, {50, 10}, {70, 40}};

struct TRecordCopy {
  uint32_t Type;
  std::vector<uint8_t> Bytes;
};

std::vector<TRecordCopy> Records(const TMetafile& m) {
  std::vector<TRecordCopy> out;
  m.EnumerateRecords([&](const TEmfRecord& r) {
    out.push_back({r.Type, std::vector<uint8_t>(r.Data.data(), r.Data.data() + r.Data.size())});
    return 1;
  });
  return out;
}

// The first record of a type after the header.
TRecordCopy Find(const TMetafile& m, uint32_t type) {
  for (auto& r : Records(m))
    if (r.Type == type) return r;
  ADD_FAILURE() << "no record of type " << type;
  return {};
}

// Little-endian 32-bit words, for comparing whole records.
std::vector<uint8_t> Words(std::initializer_list<uint32_t> words) {
  std::vector<uint8_t> out;
  for (uint32_t w : words)
    for (int i = 0; i < 4; i++)
      out.push_back(static_cast<uint8_t>(w >> (8 * i)));
  return out;
}

bool SameRect(const TEmfRect& a, const TEmfRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Show(const TEmfRect& r) {
  return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) + ", " +
         std::to_string(r.bottom) + ")";
}

} // namespace

TEST(EmfWriter, HeaderDescribesTheWholeMetafile) {
  TEmfWriter w(794, 1123, 96);
  uint32_t pen = w.CreatePen(PS_SOLID, 1, EmfRgb(0, 0, 0));
  uint32_t brush = w.CreateSolidBrush(EmfRgb(255, 0, 0));
  w.SelectObject(pen);
  w.SelectObject(brush);
  w.Rectangle(10, 20, 110, 70);
  TMetafile m = w.ToMetafile();

  const TEnhMetaHeader& h = m.Header();
  EXPECT_EQ(m.Width(), 794);
  EXPECT_EQ(m.Height(), 1123);
  EXPECT_EQ(h.szlDevice.cx, 794);
  EXPECT_EQ(h.szlDevice.cy, 1123);
  EXPECT_EQ(h.szlMillimeters.cx, 210);
  EXPECT_EQ(h.szlMillimeters.cy, 297);
  EXPECT_TRUE(SameRect(h.rclFrame, {0, 0, 21000, 29700})) << Show(h.rclFrame);
  EXPECT_EQ(h.nVersion, 0x10000u);
  EXPECT_EQ(h.nBytes, m.Bytes().size());
  EXPECT_EQ(h.nHandles, 3); // entry 0 and two objects
  auto records = Records(m);
  EXPECT_EQ(h.nRecords, records.size());
  std::vector<uint32_t> types;
  for (auto& r : records)
    types.push_back(r.Type);
  EXPECT_EQ(types, (std::vector<uint32_t>{EMR_HEADER, EMR_CREATEPEN, EMR_CREATEBRUSHINDIRECT,
                                          EMR_SELECTOBJECT, EMR_SELECTOBJECT, EMR_RECTANGLE, EMR_EOF}));
  EXPECT_EQ(records.front().Bytes.size(), 108u);
  EXPECT_EQ(records.back().Bytes, Words({EMR_EOF, 20, 0, 16, 20}));
  EXPECT_TRUE(SameRect(h.rclBounds, {10, 20, 109, 69})) << Show(h.rclBounds);
}

TEST(EmfWriter, PixelSizeComesBackExactlyForEveryPageAndResolution) {
  struct Case {
    int32_t w, h, dpi;
  } cases[] = {{794, 1123, 96},   {1056, 816, 96}, {2480, 3508, 300},
               {4961, 7016, 600}, {1, 1, 96},      {3, 5000, 72}};
  for (const auto& c : cases) {
    TMetafile m = TEmfWriter(c.w, c.h, c.dpi).ToMetafile();
    EXPECT_EQ(m.Width(), c.w) << c.w << "x" << c.h << "@" << c.dpi;
    EXPECT_EQ(m.Height(), c.h) << c.w << "x" << c.h << "@" << c.dpi;
  }
}

TEST(EmfWriter, EmptyPageHasEmptyBoundsAndOneHandleEntry) {
  TMetafile m = TEmfWriter(100, 100).ToMetafile();
  EXPECT_TRUE(SameRect(m.Header().rclBounds, {0, 0, -1, -1})) << Show(m.Header().rclBounds);
  EXPECT_EQ(m.Header().nHandles, 1);
  EXPECT_EQ(m.Header().nRecords, 2u);
  EXPECT_EQ(m.Bytes().size(), 108u + 20u);
}

TEST(EmfWriter, BoundsAreTheDevicePixelsDrawn) {
  struct Case {
    const char* name;
    void (*draw)(TEmfWriter&);
    TEmfRect expected;
  } cases[] = {
      {"rectangle, default pen", [](TEmfWriter& w) { w.Rectangle(10, 10, 20, 20); }, {10, 10, 19, 19}},
      {"wide pen widens by half its width",
       [](TEmfWriter& w) {
         w.SelectObject(w.CreatePen(PS_SOLID, 5, 0));
         w.Rectangle(10, 10, 20, 20);
       },
       {8, 8, 21, 21}},
      {"fill only",
       [](TEmfWriter& w) {
         w.SelectObject(NULL_PEN);
         w.Ellipse(10, 10, 20, 30);
       },
       {10, 10, 19, 29}},
      {"null pen and null brush draw nothing",
       [](TEmfWriter& w) {
         w.SelectObject(NULL_PEN);
         w.SelectObject(NULL_BRUSH);
         w.Rectangle(10, 10, 20, 20);
         w.Line(0, 0, 50, 50);
       },
       {0, 0, -1, -1}},
      {"lines cover both ends", [](TEmfWriter& w) { w.Line(5, 60, 40, 7); }, {5, 7, 40, 60}},
      {"clip rectangle limits what is drawn",
       [](TEmfWriter& w) {
         w.IntersectClipRect(0, 0, 50, 50);
         w.Rectangle(10, 10, 200, 200);
       },
       {10, 10, 49, 49}},
      {"restored state drops the clip",
       [](TEmfWriter& w) {
         w.SaveDC();
         w.IntersectClipRect(0, 0, 50, 50);
         w.RestoreDC(-1);
         w.Rectangle(10, 10, 200, 200);
       },
       {10, 10, 199, 199}},
      {"anisotropic mapping scales to the device",
       [](TEmfWriter& w) {
         w.SetMapMode(MM_ANISOTROPIC);
         w.SetWindowExt(1000, 1000);
         w.SetViewportExt(100, 100);
         w.SetViewportOrg(10, 20);
         w.Rectangle(0, 0, 500, 200);
       },
       {10, 20, 59, 39}},
      {"isotropic mapping takes the smaller scale on both axes",
       [](TEmfWriter& w) {
         w.SetMapMode(MM_ISOTROPIC);
         w.SetWindowExt(100, 100);
         w.SetViewportExt(400, 200);
         w.Rectangle(0, 0, 50, 50);
       },
       {0, 0, 99, 99}},
      {"metric mapping grows upwards", // 0.1 mm: 800 px over 212 mm
       [](TEmfWriter& w) {
         w.SetMapMode(MM_LOMETRIC);
         w.SetViewportOrg(0, 600);
         w.Rectangle(0, 0, 2120, 1590);
       },
       {0, 0, 799, 599}},
      {"bitmap covers its destination",
       [](TEmfWriter& w) {
         w.StretchDIBits(100, 200, 40, 30, TEmfDib::Mono(2, 2, {0, 1, 1, 0}, 0, 0xFFFFFF));
       },
       {100, 200, 139, 229}},
      {"right-aligned baseline text ends at its reference point",
       [](TEmfWriter& w) {
         w.SetTextAlign(TA_RIGHT | TA_BASELINE);
         int32_t advances[] = {10, 10, 10};
         w.SelectObject(w.CreateFont({.Height = -100}));
         w.ExtTextOut(300, 400, 0, nullptr, u"abc", advances);
       },
       {270, 309, 299, 421}}, // ascent 90.5, descent 21.2, rounded outwards
      {"polygon filled and outlined",
       [](TEmfWriter& w) { w.Polygon16(std::span(zigzag)); },
       {30, 10, 70, 40}},
  };
  for (const auto& c : cases) {
    TEmfWriter w(800, 600);
    c.draw(w);
    TMetafile m = w.ToMetafile();
    EXPECT_TRUE(SameRect(m.Header().rclBounds, c.expected)) << c.name << ": " << Show(m.Header().rclBounds);
  }
}

TEST(EmfWriter, ObjectRecordsHaveThePublishedLayout) {
  TEmfWriter w(100, 100);
  uint32_t pen = w.CreatePen(PS_DASH, 3, EmfRgb(1, 2, 3));
  uint32_t brush = w.CreateBrush(BS_HATCHED, EmfRgb(4, 5, 6), 2);
  w.SelectObject(pen);
  w.DeleteObject(pen);
  w.SelectObject(brush);
  TMetafile m = w.ToMetafile();
  EXPECT_EQ(Find(m, EMR_CREATEPEN).Bytes, Words({EMR_CREATEPEN, 28, 1, PS_DASH, 3, 0, 0x030201}));
  EXPECT_EQ(Find(m, EMR_CREATEBRUSHINDIRECT).Bytes,
            Words({EMR_CREATEBRUSHINDIRECT, 24, 2, BS_HATCHED, 0x060504, 2}));
  EXPECT_EQ(Find(m, EMR_DELETEOBJECT).Bytes, Words({EMR_DELETEOBJECT, 12, 1}));
}

TEST(EmfWriter, FontRecordCarriesTheLogFont) {
  TEmfWriter w(100, 100);
  w.CreateFont(
      {.Face = "Arial", .Height = -21, .Weight = FW_BOLD, .Italic = true, .CharSet = EASTEUROPE_CHARSET});
  auto r = Find(w.ToMetafile(), EMR_EXTCREATEFONTINDIRECTW).Bytes;
  ASSERT_EQ(r.size(), 368u); // ENUMLOGFONTEXDVW, as GDI records it
  ByteView v(r.data(), r.size());
  EXPECT_EQ(v.U32(8), 1u);       // handle
  EXPECT_EQ(v.I32(12), -21);     // lfHeight
  EXPECT_EQ(v.I32(28), FW_BOLD); // lfWeight
  EXPECT_EQ(v.U8(32), 1);        // lfItalic
  EXPECT_EQ(v.U8(35), EASTEUROPE_CHARSET);
  const char16_t face[] = u"Arial";
  for (size_t i = 0; i < 6; i++)
    EXPECT_EQ(v.U16(40 + 2 * i), face[i]);
  EXPECT_EQ(v.U32(360), 0x08007664u); // design vector signature, no axes
}

TEST(EmfWriter, TextRecordHoldsStringAndAdvances) {
  TEmfWriter w(800, 600);
  w.SelectObject(w.CreateFont({.Height = -20}));
  int32_t advances[] = {11, 12, 13};
  TEmfRect clip{0, 0, 500, 500};
  w.ExtTextOut(40, 50, ETO_CLIPPED, &clip, u"Łód", advances);
  auto r = Find(w.ToMetafile(), EMR_EXTTEXTOUTW).Bytes;
  ByteView v(r.data(), r.size());
  ASSERT_EQ(r.size(), 76u + 8u + 12u); // three characters padded to 8 bytes, three advances
  EXPECT_EQ(v.I32(36), 40);
  EXPECT_EQ(v.I32(40), 50);
  EXPECT_EQ(v.U32(44), 3u);  // nChars
  EXPECT_EQ(v.U32(48), 76u); // offString
  EXPECT_EQ(v.U32(52), ETO_CLIPPED);
  EXPECT_EQ(v.I32(64), 500); // rcl.right
  EXPECT_EQ(v.U32(72), 84u); // offDx
  EXPECT_EQ(v.U16(76), u'Ł');
  EXPECT_EQ(v.U16(80), u'd');
  EXPECT_EQ(v.U16(82), 0); // padding
  EXPECT_EQ(v.I32(84), 11);
  EXPECT_EQ(v.I32(92), 13);
  EXPECT_EQ(v.I32(8), 40);           // rclBounds.left
  EXPECT_EQ(v.I32(16), 40 + 36 - 1); // rclBounds.right: the advances
}

TEST(EmfWriter, PolyRecordsInBothSizes) {
  const TPointL points[] = {{1, 2}, {3, 4}, {5, 6}};
  TEmfWriter w(100, 100);
  w.Polyline16(points);
  w.Polyline(points);
  TMetafile m = w.ToMetafile();
  EXPECT_EQ(Find(m, EMR_POLYLINE16).Bytes,
            Words({EMR_POLYLINE16, 40, 1, 2, 5, 6, 3, 0x00020001, 0x00040003, 0x00060005}));
  EXPECT_EQ(Find(m, EMR_POLYLINE).Bytes, Words({EMR_POLYLINE, 52, 1, 2, 5, 6, 3, 1, 2, 3, 4, 5, 6}));
}

TEST(EmfWriter, BitmapRecordsCarryHeaderPaletteAndPaddedRows) {
  TEmfWriter w(100, 100);
  // 3 x 2 pixels: rows of 9 bytes padded to 12 in 24 bits, of one byte padded to 4 in 1 bit.
  w.StretchDIBits(0, 0, 30, 20, TEmfDib::Rgb24(3, 2, {0x0000FF, 0x00FF00, 0xFF0000, 1, 2, 3}));
  w.StretchDIBits(0, 0, 30, 20,
                  TEmfDib::Mono(3, 2, {1, 0, 1, 0, 1, 0}, EmfRgb(255, 255, 255), EmfRgb(0, 0, 0)));
  auto records = Records(w.ToMetafile());
  auto rgb = records[1].Bytes, mono = records[2].Bytes;
  ByteView v(rgb.data(), rgb.size());
  ASSERT_EQ(v.U32(0), EMR_STRETCHDIBITS);
  EXPECT_EQ(v.U32(48), 80u);  // offBmiSrc
  EXPECT_EQ(v.U32(52), 40u);  // cbBmiSrc
  EXPECT_EQ(v.U32(56), 120u); // offBitsSrc
  EXPECT_EQ(v.U32(60), 24u);  // cbBitsSrc
  EXPECT_EQ(v.U32(68), SRCCOPY);
  EXPECT_EQ(v.I32(72), 30);      // cxDest
  EXPECT_EQ(v.U16(80 + 14), 24); // biBitCount
  EXPECT_EQ(v.I32(80 + 8), 2);   // bottom-up
  // The bottom row comes first: pixel (0, 1) is the COLORREF 1, stored blue, green, red.
  EXPECT_EQ(v.U8(120), 0);
  EXPECT_EQ(v.U8(122), 1);
  EXPECT_EQ(v.U8(120 + 12), 0x00); // top row, red pixel: blue 0, green 0, red 0xFF
  EXPECT_EQ(v.U8(120 + 12 + 2), 0xFF);
  ByteView b(mono.data(), mono.size());
  EXPECT_EQ(b.U32(52), 48u); // header and two palette entries
  EXPECT_EQ(b.U32(60), 8u);
  EXPECT_EQ(b.U32(80 + 40), 0x00FFFFFFu); // colour of 0 bits
  EXPECT_EQ(b.U8(128), 0x40);             // bottom row 0 1 0
  EXPECT_EQ(b.U8(132), 0xA0);             // top row 1 0 1
}

TEST(EmfWriter, CommentsAndRawRecordsArePaddedAndLeaveTheBoundsAlone) {
  TEmfWriter w(100, 100);
  const uint8_t comment[] = {'z', 'v', 'p', 0, 1};
  const uint8_t params[] = {7, 0, 0, 0, 9, 0};
  w.Comment(comment);
  w.RawRecord(EMR_SETMITERLIMIT, params); // written as given, padded to four bytes
  TMetafile m = w.ToMetafile();
  auto records = Records(m);
  ASSERT_EQ(records.size(), 4u);
  EXPECT_EQ(records[1].Bytes,
            (std::vector<uint8_t>{70, 0, 0, 0, 20, 0, 0, 0, 5, 0, 0, 0, 'z', 'v', 'p', 0, 1, 0, 0, 0}));
  EXPECT_EQ(records[2].Bytes, (std::vector<uint8_t>{58, 0, 0, 0, 16, 0, 0, 0, 7, 0, 0, 0, 9, 0, 0, 0}));
  EXPECT_TRUE(SameRect(m.Header().rclBounds, {0, 0, -1, -1}));
}

TEST(EmfWriter, HandlesReuseTheLowestFreeSlot) {
  TEmfWriter w(100, 100);
  uint32_t a = w.CreatePen(PS_SOLID, 1, 0), b = w.CreatePen(PS_SOLID, 1, 0), c = w.CreatePen(PS_SOLID, 1, 0);
  w.DeleteObject(b);
  EXPECT_EQ(w.CreateSolidBrush(0), b);
  EXPECT_EQ(w.CreateSolidBrush(0), 4u);
  w.DeleteObject(a);
  w.DeleteObject(c);
  EXPECT_EQ(w.ToMetafile().Header().nHandles, 5); // the table must hold the highest handle ever used
}

TEST(EmfWriter, MisuseIsRefused) {
  TEmfWriter w(100, 100);
  uint32_t pen = w.CreatePen(PS_SOLID, 1, 0);
  w.DeleteObject(pen);
  EXPECT_THROW(w.SelectObject(pen), Exception);
  EXPECT_THROW(w.DeleteObject(pen), Exception);
  const TPointL far[] = {{0, 0}, {40000, 0}};
  EXPECT_THROW(w.Polyline16(far), Exception);
  int32_t oneAdvance[] = {5};
  EXPECT_THROW(w.ExtTextOut(0, 0, 0, nullptr, u"ab", oneAdvance), Exception);
  w.Finish();
  EXPECT_THROW(w.Rectangle(0, 0, 1, 1), Exception);
  EXPECT_THROW(w.Finish(), Exception);
  EXPECT_THROW(TEmfWriter(0, 100), Exception);
  EXPECT_THROW(TEmfWriter(1000000, 100, 1), Exception); // 25 km: the frame would not fit 32 bits
}

TEST(EmfTextWidths, AdvancesAddUpToTheExactWidth) {
  std::u16string text = u"Zażółć gęślą jaźń ĄĆĘŁŃÓŚŹŻ 1234,56 zł";
  int64_t thousandths = 0;
  for (char16_t ch : text)
    thousandths += SansCharWidth(ch, false);
  auto advances = SansAdvances(text, 13, false);
  int64_t sum = std::accumulate(advances.begin(), advances.end(), int64_t(0));
  EXPECT_EQ(sum, std::llround(thousandths * 13 / 1000.0));
  EXPECT_EQ(SansCharWidth(u'ł', false), SansCharWidth(u'l', false));
  EXPECT_EQ(SansCharWidth(u'Ż', true), SansCharWidth(u'Z', true));
  EXPECT_GT(SansCharWidth(u'b', true), SansCharWidth(u'b', false));
}

TEST(EmfTextWidths, Utf8ConversionReplacesMalformedBytes) {
  EXPECT_EQ(Utf8ToUtf16("zażółć"), u"zażółć");
  EXPECT_EQ(Utf8ToUtf16("a\xC5"), u"a\uFFFD");
  EXPECT_EQ(Utf8ToUtf16("\xF0\x9F\x98\x80"), u"\U0001F600");
  EXPECT_EQ(Utf8ToUtf16("\xFF"
                        "b"),
            u"\uFFFDb");
}
