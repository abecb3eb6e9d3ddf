// The record catalogue and the typed record views: each view on a good record (hand-built bytes or the EMF
// writer's output), and counts or offsets that do not fit the record raising EDamagedData.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/emfwriter/EmfWriter.h"
#include "platform/metafile/EmfRecordViews.h"
#include "platform/rtl/Exception.h"

using namespace emf;

namespace {
// A record under construction: type, size (filled in by View()), then little-endian fields.
struct TRec {
  std::vector<uint8_t> b;
  explicit TRec(uint32_t type) {
    U32(type);
    U32(0);
  }
  TRec& U32(uint32_t v) {
    size_t at = b.size();
    b.resize(at + 4);
    std::memcpy(b.data() + at, &v, 4);
    return *this;
  }
  TRec& I32(int32_t v) { return U32(static_cast<uint32_t>(v)); }
  TRec& U16(uint16_t v) {
    size_t at = b.size();
    b.resize(at + 2);
    std::memcpy(b.data() + at, &v, 2);
    return *this;
  }
  TRec& F32(float v) {
    uint32_t u;
    std::memcpy(&u, &v, 4);
    return U32(u);
  }
  TRec& Bytes(std::initializer_list<uint8_t> v) {
    b.insert(b.end(), v.begin(), v.end());
    return *this;
  }
  TRec& Zeros(size_t n) {
    b.resize(b.size() + n, 0);
    return *this;
  }
  TRec& Rect(int32_t l, int32_t t, int32_t r, int32_t bo) { return I32(l).I32(t).I32(r).I32(bo); }
  void Set32(size_t at, uint32_t v) { std::memcpy(b.data() + at, &v, 4); }
  ByteView View() {
    while (b.size() % 4)
      b.push_back(0);
    Set32(4, static_cast<uint32_t>(b.size()));
    return ByteView(b.data(), b.size());
  }
};

template <typename F> void ExpectDamaged(F&& f) {
  EXPECT_THROW(f(), EDamagedData);
}

// The records of a metafile the writer made, by type (the first of each).
std::vector<std::vector<uint8_t>> RecordsOf(const std::vector<uint8_t>& emf) {
  std::vector<std::vector<uint8_t>> out;
  ByteView all(emf.data(), emf.size());
  for (size_t at = 0; at < all.size();) {
    uint32_t size = all.U32(at + 4);
    out.emplace_back(emf.begin() + at, emf.begin() + at + size);
    at += size;
  }
  return out;
}
const std::vector<uint8_t>* FirstOf(const std::vector<std::vector<uint8_t>>& records, uint32_t type) {
  for (const auto& r : records)
    if (ByteView(r.data(), r.size()).U32(0) == type) return &r;
  return nullptr;
}
ByteView V(const std::vector<uint8_t>& r) {
  return ByteView(r.data(), r.size());
}
} // namespace

TEST(EmfRecordTypes, NamesEveryTypeFrom1To122) {
  for (uint32_t t = EMR_MIN; t <= EMR_MAX; ++t) {
    ASSERT_NE(EmfRecordName(t), nullptr) << t;
    EXPECT_EQ(std::string(EmfRecordName(t)).rfind("EMR_", 0), 0u);
  }
  EXPECT_STREQ(EmfRecordName(EMR_EXTTEXTOUTW), "EMR_EXTTEXTOUTW");
  EXPECT_STREQ(EmfRecordName(84), "EMR_EXTTEXTOUTW");
  EXPECT_STREQ(EmfRecordName(122), "EMR_CREATECOLORSPACEW");
  EXPECT_STREQ(EmfRecordName(118), "EMR_GRADIENTFILL");
  EXPECT_EQ(EmfRecordName(0), nullptr);
  EXPECT_EQ(EmfRecordName(123), nullptr);
  EXPECT_EQ(EmfRecordLabel(14), "EMR_EOF (14)");
  EXPECT_EQ(EmfRecordLabel(200), "unknown record type 200");
  EXPECT_TRUE(IsPoint16Record(EMR_POLYDRAW16));
  EXPECT_FALSE(IsPoint16Record(EMR_POLYDRAW));
  EXPECT_EQ(StockIndex(NULL_PEN), 8u);
}

TEST(EmfRecordViews, HeaderAndFixedPart) {
  TRec r(EMR_SETMAPMODE);
  r.I32(MM_ANISOTROPIC);
  ValueRecordView v(r.View());
  EXPECT_EQ(v.Type(), uint32_t(EMR_SETMAPMODE));
  EXPECT_EQ(v.Size(), 12u);
  EXPECT_EQ(v.SignedValue(), MM_ANISOTROPIC);
  RecordHeader h(r.View());
  EXPECT_EQ(h.Type, uint32_t(EMR_SETMAPMODE));
  EXPECT_EQ(h.Size, 12u);
  ExpectDamaged([&] { ValueRecordView(r.View().Sub(0, 8)); });
  ExpectDamaged([&] { RecordView(ByteView(r.b.data(), 4), 0); });
}

TEST(EmfRecordViews, PolyRecordsOfBothPointSizes) {
  TRec r(EMR_POLYLINE);
  r.Rect(0, 0, 10, 10).U32(3).I32(1).I32(2).I32(-3).I32(4).I32(5).I32(6);
  PolyView v(r.View());
  EXPECT_FALSE(v.ShortPoints());
  PointSpan pts = v.Points();
  ASSERT_EQ(pts.size(), 3u);
  EXPECT_EQ(pts[1], (PointL{-3, 4}));
  std::vector<PointL> seen(pts.begin(), pts.end());
  EXPECT_EQ(seen.back(), (PointL{5, 6}));
  ExpectDamaged([&] { (void)pts[3]; });

  TRec s(EMR_POLYGON16);
  s.Rect(0, 0, 10, 10).U32(2).U16(1).U16(0xFFFF).U16(300).U16(7);
  PolyView sv(s.View());
  EXPECT_TRUE(sv.ShortPoints());
  ASSERT_EQ(sv.Points().size(), 2u);
  EXPECT_EQ(sv.Points()[0], (PointL{1, -1}));
  EXPECT_EQ(sv.Points().back(), (PointL{300, 7}));
}

TEST(EmfRecordViews, PointCountsThatDoNotFitRaise) {
  TRec r(EMR_POLYLINE);
  r.Rect(0, 0, 10, 10).U32(3).I32(1).I32(2).I32(3).I32(4); // two points for three
  PolyView v(r.View());
  ExpectDamaged([&] { v.Points(); });
  r.Set32(24, 0xFFFFFFFFu); // a claim of 4 G points: refused before anything is read or allocated
  ExpectDamaged([&] { PolyView(r.View()).Points(); });
  TRec s(EMR_POLYLINE16);
  s.Rect(0, 0, 1, 1).U32(0x40000000u);
  ExpectDamaged([&] { PolyView(s.View()).Points(); });
}

TEST(EmfRecordViews, PolyPolyCountsAndPoints) {
  TRec r(EMR_POLYPOLYGON16);
  r.Rect(0, 0, 10, 10).U32(2).U32(5).U32(3).U32(2);
  for (int i = 0; i < 5; ++i)
    r.U16(static_cast<uint16_t>(i)).U16(static_cast<uint16_t>(10 * i));
  PolyPolyView v(r.View());
  Span<uint32_t> counts = v.Counts();
  ASSERT_EQ(counts.size(), 2u);
  EXPECT_EQ(counts[0], 3u);
  EXPECT_EQ(counts[1], 2u);
  EXPECT_TRUE(v.CountsFit());
  PointSpan pts = v.Points();
  ASSERT_EQ(pts.size(), 5u);
  EXPECT_EQ(pts.subspan(3, 2)[1], (PointL{4, 40}));
  ExpectDamaged([&] { pts.subspan(4, 2); });

  r.Set32(36, 9); // the figures claim more points than there are
  EXPECT_FALSE(PolyPolyView(r.View()).CountsFit());
  r.Set32(28, 6); // total beyond the record
  ExpectDamaged([&] { PolyPolyView(r.View()).Points(); });
  r.Set32(24, 0x7FFFFFFF); // figure counts beyond the record
  ExpectDamaged([&] { PolyPolyView(r.View()).Counts(); });
  ExpectDamaged([&] { PolyPolyView(r.View()).Points(); });
}

TEST(EmfRecordViews, PolyDrawPointsAndTypes) {
  TRec r(EMR_POLYDRAW);
  r.Rect(0, 0, 10, 10).U32(2).I32(1).I32(1).I32(5).I32(5).Bytes({PT_MOVETO, PT_LINETO | PT_CLOSEFIGURE});
  PolyDrawView v(r.View());
  EXPECT_EQ(v.Points().size(), 2u);
  ASSERT_EQ(v.Types().size(), 2u);
  EXPECT_EQ(v.Types()[1], PT_LINETO | PT_CLOSEFIGURE);
  TRec cut(EMR_POLYDRAW);
  cut.Rect(0, 0, 10, 10).U32(2).I32(1).I32(1).I32(5).I32(5); // types missing
  PolyDrawView c(ByteView(cut.View().data(), 44));
  EXPECT_EQ(c.Points().size(), 2u);
  ExpectDamaged([&] { c.Types(); });
}

TEST(EmfRecordViews, ExtTextOutFromTheWriter) {
  TEmfWriter w(200, 100);
  int32_t dx[] = {7, 8, 9};
  TEmfRect box{1, 2, 30, 40};
  w.ExtTextOut(10, 20, ETO_OPAQUE, &box, u"Ab\u00e9", std::span<const int32_t>(dx));
  auto records = RecordsOf(w.Finish());
  const auto* rec = FirstOf(records, EMR_EXTTEXTOUTW);
  ASSERT_NE(rec, nullptr);
  ExtTextOutView v(V(*rec));
  EmrTextView t = v.Text();
  EXPECT_TRUE(t.Wide());
  EXPECT_EQ(t.Reference(), (PointL{10, 20}));
  EXPECT_EQ(t.Count(), 3u);
  EXPECT_EQ(t.Options() & ETO_OPAQUE, ETO_OPAQUE);
  EXPECT_EQ(t.Rect(), (RectL{1, 2, 30, 40}));
  Span<char16_t> text = t.Utf16();
  EXPECT_EQ(std::u16string(text.begin(), text.end()), u"Ab\u00e9");
  ASSERT_TRUE(t.HasDx());
  Span<int32_t> adv = t.Dx();
  EXPECT_EQ(std::vector<int32_t>(adv.begin(), adv.end()), (std::vector<int32_t>{7, 8, 9}));
  ExpectDamaged([&] { t.Ansi(); });

  // A count beyond the record: the string and the advances raise, HasDx() says no.
  std::vector<uint8_t> bad = *rec;
  ByteView b(bad.data(), bad.size());
  uint32_t huge = 0x7FFFFFFF;
  std::memcpy(bad.data() + 36 + 8, &huge, 4);
  EmrTextView bt = ExtTextOutView(b).Text();
  ExpectDamaged([&] { bt.Utf16(); });
  ExpectDamaged([&] { bt.Dx(); });
  EXPECT_FALSE(bt.HasDx());
  // Cut inside EMRTEXT.
  ExpectDamaged([&] { ExtTextOutView(b.Sub(0, 60)); });
}

TEST(EmfRecordViews, AnsiTextWithPdyAdvancesAndNoAdvances) {
  TRec r(EMR_EXTTEXTOUTA);
  r.Rect(0, 0, 0, 0).U32(GM_COMPATIBLE).F32(1).F32(1);
  r.I32(5).I32(6).U32(2).U32(76).U32(ETO_PDY).Rect(0, 0, 0, 0).U32(80);
  r.Bytes({'h', 'i', 0, 0}).I32(3).I32(0).I32(4).I32(1);
  EmrTextView t = ExtTextOutView(r.View()).Text();
  EXPECT_FALSE(t.Wide());
  Span<uint8_t> s = t.Ansi();
  EXPECT_EQ(std::string(s.begin(), s.end()), "hi");
  EXPECT_EQ(t.DxEntryCount(), 4u);
  EXPECT_EQ(t.Dx()[2], 4);
  r.Set32(36 + 36, 0); // offDx 0: the font's spacing
  EXPECT_FALSE(ExtTextOutView(r.View()).Text().HasDx());
}

TEST(EmfRecordViews, PolyTextOut) {
  TRec r(EMR_POLYTEXTOUTW);
  r.Rect(0, 0, 0, 0).U32(GM_COMPATIBLE).F32(1).F32(1).U32(2);
  r.I32(1).I32(2).U32(1).U32(120).U32(0).Rect(0, 0, 0, 0).U32(0);
  r.I32(3).I32(4).U32(1).U32(122).U32(0).Rect(0, 0, 0, 0).U32(0);
  r.U16(u'x').U16(u'y');
  PolyTextOutView v(r.View());
  EXPECT_EQ(v.Count(), 2u);
  v.CheckTexts();
  EXPECT_EQ(v.Text(1).Reference(), (PointL{3, 4}));
  EXPECT_EQ(v.Text(1).Utf16()[0], u'y');
  ExpectDamaged([&] { v.Text(2); });
  r.Set32(36, 1000);
  ExpectDamaged([&] { PolyTextOutView(r.View()).CheckTexts(); });
  ExpectDamaged([&] { PolyTextOutView(r.View()).Text(500); });
}

TEST(EmfRecordViews, SmallTextOut) {
  TRec r(EMR_SMALLTEXTOUT);
  r.I32(4).I32(5).U32(3).U32(ETO_NO_RECT | ETO_SMALL_CHARS).U32(GM_COMPATIBLE).F32(1).F32(1);
  r.Bytes({'a', 'b', 'c'});
  SmallTextOutView v(r.View());
  EXPECT_FALSE(v.HasRect());
  EXPECT_FALSE(v.Wide());
  EXPECT_EQ(v.Ansi()[2], 'c');
  ExpectDamaged([&] { v.Rect(); });
  ExpectDamaged([&] { v.Utf16(); });

  TRec w(EMR_SMALLTEXTOUT);
  w.I32(4).I32(5).U32(2).U32(0).U32(GM_COMPATIBLE).F32(1).F32(1).Rect(1, 2, 3, 4).U16(u'Q').U16(u'R');
  SmallTextOutView wv(w.View());
  EXPECT_EQ(wv.Rect(), (RectL{1, 2, 3, 4}));
  EXPECT_EQ(wv.Utf16()[1], u'R');
  w.Set32(16, 3);
  ExpectDamaged([&] { SmallTextOutView(w.View()).Utf16(); });
}

TEST(EmfRecordViews, FontFromTheWriterAndCutFaceNames) {
  TEmfWriter w(200, 100);
  TEmfFont f;
  f.Height = -13;
  f.Weight = FW_BOLD;
  f.Italic = true;
  f.Face = "Arial";
  f.CharSet = EASTEUROPE_CHARSET;
  w.CreateFont(f);
  auto records = RecordsOf(w.Finish());
  const auto* rec = FirstOf(records, EMR_EXTCREATEFONTINDIRECTW);
  ASSERT_NE(rec, nullptr);
  CreateFontView v(V(*rec));
  EXPECT_EQ(v.Index(), 1u);
  EXPECT_EQ(v.Font().Height(), -13);
  EXPECT_EQ(v.Font().Weight(), FW_BOLD);
  EXPECT_EQ(v.Font().Italic(), 1);
  EXPECT_EQ(v.Font().CharSet(), EASTEUROPE_CHARSET);
  EXPECT_EQ(v.Font().FaceName(), u"Arial");
  EXPECT_EQ(v.Font().FaceNameUnits().size(), 5u);
  // Cut inside the face name: the units that are there.
  EXPECT_EQ(CreateFontView(V(*rec).Sub(0, 46)).Font().FaceName(), u"Ari");
  // Cut before lfPitchAndFamily: raises.
  ExpectDamaged([&] { CreateFontView(V(*rec).Sub(0, 39)); });
}

TEST(EmfRecordViews, PensAndBrushes) {
  TRec p(EMR_CREATEPEN);
  p.U32(2).U32(PS_DASH).I32(3).I32(0).U32(0x00FF00);
  CreatePenView pv(p.View());
  EXPECT_EQ(pv.Index(), 2u);
  EXPECT_EQ(pv.Style(), PS_DASH);
  EXPECT_EQ(pv.Width(), 3);
  EXPECT_EQ(pv.Color(), 0x00FF00u);

  TRec e(EMR_EXTCREATEPEN);
  e.U32(3).U32(0).U32(0).U32(0).U32(0);
  e.U32(PS_GEOMETRIC | PS_USERSTYLE).U32(5).U32(BS_SOLID).U32(0xFF).U32(0).U32(3).U32(10).U32(4).U32(2);
  ExtCreatePenView ev(e.View());
  EXPECT_EQ(ev.Style() & PS_STYLE_MASK, PS_USERSTYLE);
  EXPECT_EQ(ev.Width(), 5u);
  EXPECT_FALSE(ev.Pattern().Present());
  Span<uint32_t> entries = ev.StyleEntries();
  EXPECT_EQ(std::vector<uint32_t>(entries.begin(), entries.end()), (std::vector<uint32_t>{10, 4, 2}));
  e.Set32(48, 4);
  ExpectDamaged([&] { ExtCreatePenView(e.View()).StyleEntries(); });

  TRec b(EMR_CREATEBRUSHINDIRECT);
  b.U32(4).U32(BS_HATCHED).U32(0x123456).U32(HS_CROSS);
  CreateBrushView bv(b.View());
  EXPECT_EQ(bv.Style(), BS_HATCHED);
  EXPECT_EQ(bv.Color(), 0x123456u);
  EXPECT_EQ(bv.Hatch(), HS_CROSS);
  ExpectDamaged([&] { CreateBrushView(b.View().Sub(0, 20)); });

  TRec pal(EMR_CREATEPALETTE);
  pal.U32(5).U16(0x300).U16(3).U32(0x010203).U32(0x040506);
  CreatePaletteView palv(pal.View());
  EXPECT_EQ(palv.Count(), 3u);
  ExpectDamaged([&] { palv.Entries(); });
  EXPECT_EQ(palv.PresentEntries().size(), 2u);
}

TEST(EmfRecordViews, PatternBrushBitmap) {
  TRec r(EMR_CREATEDIBPATTERNBRUSHPT);
  r.U32(1).U32(DIB_RGB_COLORS).U32(32).U32(8).U32(40).U32(4).Bytes({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
  PatternBrushView v(r.View());
  DibRef d = v.Pattern();
  ASSERT_TRUE(d.Present());
  EXPECT_EQ(d.BitmapInfo().size(), 8u);
  EXPECT_EQ(d.BitmapInfo().U8(0), 1);
  EXPECT_EQ(d.Bits().U8(3), 12);
  r.Set32(28, 5);
  ExpectDamaged([&] { PatternBrushView(r.View()).Pattern().Bits(); });
  r.Set32(24, 0xFFFFFFF0u);
  ExpectDamaged([&] { PatternBrushView(r.View()).Pattern().Bits(); });
}

TEST(EmfRecordViews, StretchDIBitsFromTheWriter) {
  TEmfWriter w(200, 100);
  TEmfDib dib = TEmfDib::Rgb24(2, 2, {0, 0xFF, 0xFF00, 0xFF0000});
  w.StretchDIBits(5, 6, 20, 30, dib);
  auto records = RecordsOf(w.Finish());
  const auto* rec = FirstOf(records, EMR_STRETCHDIBITS);
  ASSERT_NE(rec, nullptr);
  StretchDIBitsView v(V(*rec));
  EXPECT_EQ(v.DestOrigin(), (PointL{5, 6}));
  EXPECT_EQ(v.DestExtent(), (SizeL{20, 30}));
  EXPECT_EQ(v.SrcExtent(), (SizeL{2, 2}));
  EXPECT_EQ(v.Rop(), SRCCOPY);
  DibRef d = v.Source();
  EXPECT_TRUE(d.Present());
  EXPECT_EQ(d.BitmapInfo().U32(0), 40u); // BITMAPINFOHEADER
  EXPECT_EQ(d.Bits().size(), d.CbBits());
  ExpectDamaged([&] { StretchDIBitsView(V(*rec).Sub(0, 76)); });
}

TEST(EmfRecordViews, BlitHeaders) {
  auto head = [](TRec& r) {
    r.Rect(0, 0, 9, 9).I32(1).I32(2).I32(30).I32(40).U32(0x00CC0020).I32(3).I32(4);
    r.F32(1).F32(0).F32(0).F32(1).F32(0).F32(0).U32(0xFFFFFF).U32(DIB_RGB_COLORS);
  };
  TRec bit(EMR_BITBLT);
  head(bit);
  bit.U32(0).U32(0).U32(0).U32(0);
  BltView b(bit.View());
  EXPECT_EQ(b.DestOrigin(), (PointL{1, 2}));
  EXPECT_EQ(b.Rop(), 0x00CC0020u);
  EXPECT_EQ(b.SrcOrigin(), (PointL{3, 4}));
  EXPECT_EQ(b.SrcTransform().eM22, 1.0f);
  EXPECT_FALSE(b.HasSrcExtent());
  EXPECT_EQ(b.SrcExtent(), (SizeL{30, 40}));
  EXPECT_FALSE(b.Source().Present());
  ExpectDamaged([&] { b.Mask(); });

  TRec st(EMR_STRETCHBLT);
  head(st);
  st.U32(108).U32(4).U32(112).U32(4).I32(7).I32(8).U32(40).U32(0xAABBCCDD);
  BltView s(st.View());
  EXPECT_EQ(s.SrcExtent(), (SizeL{7, 8}));
  EXPECT_EQ(s.Source().BitmapInfo().U32(0), 40u);
  EXPECT_EQ(s.Source().Bits().U32(0), 0xAABBCCDDu);
  ExpectDamaged([&] { BltView(st.View().Sub(0, 104)); });

  for (uint32_t type : {EMR_ALPHABLEND, EMR_TRANSPARENTBLT}) {
    TRec a(type);
    head(a);
    a.U32(0).U32(0).U32(0).U32(0).I32(5).I32(6);
    BltView av(a.View());
    EXPECT_EQ(av.BlendFunction(), 0x00CC0020u);
    EXPECT_EQ(av.TransparentColor(), 0x00CC0020u);
    EXPECT_EQ(av.SrcExtent(), (SizeL{5, 6}));
  }

  TRec m(EMR_MASKBLT);
  head(m);
  m.U32(0).U32(0).U32(0).U32(0).I32(9).I32(10).U32(DIB_RGB_COLORS).U32(128).U32(4).U32(132).U32(4);
  m.U32(40).U32(1);
  BltView mv(m.View());
  EXPECT_EQ(mv.MaskOrigin(), (PointL{9, 10}));
  EXPECT_EQ(mv.Mask().Bits().U32(0), 1u);
  ExpectDamaged([&] { BltView(m.View().Sub(0, 124)); });

  TRec other(EMR_LINETO);
  other.I32(0).I32(0);
  ExpectDamaged([&] { BltView(other.View()); });
}

TEST(EmfRecordViews, PlgBltAndSetDIBitsToDevice) {
  TRec p(EMR_PLGBLT);
  p.Rect(0, 0, 9, 9).I32(1).I32(2).I32(3).I32(4).I32(5).I32(6).I32(7).I32(8).I32(9).I32(10);
  p.F32(1).F32(0).F32(0).F32(1).F32(0).F32(0).U32(0);
  p.U32(0).U32(140).U32(4).U32(144).U32(4).I32(11).I32(12).U32(0).U32(0).U32(0).U32(0).U32(0);
  p.U32(40).U32(77);
  PlgBltView pv(p.View());
  EXPECT_EQ(pv.Dest(2), (PointL{5, 6}));
  EXPECT_EQ(pv.SrcOrigin(), (PointL{7, 8}));
  EXPECT_EQ(pv.SrcExtent(), (SizeL{9, 10}));
  EXPECT_EQ(pv.MaskOrigin(), (PointL{11, 12}));
  EXPECT_EQ(pv.Source().Bits().U32(0), 77u);
  EXPECT_FALSE(pv.Mask().Present());

  TRec s(EMR_SETDIBITSTODEVICE);
  s.Rect(0, 0, 9, 9)
      .I32(1)
      .I32(2)
      .I32(3)
      .I32(4)
      .I32(5)
      .I32(6)
      .U32(76)
      .U32(4)
      .U32(80)
      .U32(8)
      .U32(0)
      .U32(1)
      .U32(2);
  s.U32(40).U32(1).U32(2);
  SetDIBitsToDeviceView sv(s.View());
  EXPECT_EQ(sv.Extent(), (SizeL{5, 6}));
  EXPECT_EQ(sv.StartScan(), 1u);
  EXPECT_EQ(sv.ScanCount(), 2u);
  EXPECT_EQ(sv.Source().Bits().size(), 8u);
  s.Set32(60, 9);
  ExpectDamaged([&] { SetDIBitsToDeviceView(s.View()).Source().Bits(); });
}

TEST(EmfRecordViews, RegionRecords) {
  TRec r(EMR_EXTSELECTCLIPRGN);
  r.U32(64).U32(RGN_COPY).U32(32).U32(1).U32(2).U32(32).Rect(0, 0, 10, 10);
  r.Rect(0, 0, 5, 5).Rect(5, 5, 10, 10);
  RegionRecordView v(r.View());
  EXPECT_EQ(v.Mode(), RGN_COPY);
  ASSERT_TRUE(v.HasRegion());
  RegionDataView data = v.Region();
  EXPECT_EQ(data.BoundingRect(), (RectL{0, 0, 10, 10}));
  Span<RectL> rects = data.Rects();
  ASSERT_EQ(rects.size(), 2u);
  EXPECT_EQ(rects[1], (RectL{5, 5, 10, 10}));
  r.Set32(24, 3); // three rectangles claimed, two there
  ExpectDamaged([&] { RegionRecordView(r.View()).Region().Rects(); });
  r.Set32(8, 1000); // a region size past the record is cut to the record (lenient)
  EXPECT_EQ(RegionRecordView(r.View()).Region().Bytes().size(), 64u);

  TRec none(EMR_EXTSELECTCLIPRGN);
  none.U32(0).U32(RGN_COPY);
  EXPECT_FALSE(RegionRecordView(none.View()).HasRegion());

  TRec f(EMR_FRAMERGN);
  f.Rect(0, 0, 1, 1).U32(32).U32(2).I32(3).I32(4).U32(32).U32(1).U32(0).U32(0).Rect(0, 0, 1, 1);
  RegionRecordView fv(f.View());
  EXPECT_EQ(fv.BrushIndex(), 2u);
  EXPECT_EQ(fv.FrameSize(), (SizeL{3, 4}));
  EXPECT_EQ(fv.Region().Count(), 0u);
  EXPECT_TRUE(fv.Region().Rects().empty());
  TRec cut(EMR_PAINTRGN);
  cut.Rect(0, 0, 1, 1).U32(32).U32(32);
  ExpectDamaged([&] { RegionRecordView(cut.View()).Region(); });
}

TEST(EmfRecordViews, GradientFill) {
  TRec r(EMR_GRADIENTFILL);
  r.Rect(0, 0, 9, 9).U32(2).U32(1).U32(GRADIENT_FILL_RECT_H);
  r.I32(0).I32(0).U16(0xFF00).U16(0).U16(0).U16(0);
  r.I32(10).I32(10).U16(0).U16(0).U16(0xFF00).U16(0);
  r.U32(0).U32(1);
  GradientFillView v(r.View());
  Span<TriVertex> vs = v.Vertices();
  ASSERT_EQ(vs.size(), 2u);
  EXPECT_EQ(vs[0].red, 0xFF00);
  EXPECT_EQ(vs[1].x, 10);
  EXPECT_EQ(vs[1].blue, 0xFF00);
  EXPECT_EQ(v.Rects()[0].lowerRight, 1u);
  ExpectDamaged([&] { v.Triangles(); }); // 12 bytes do not fit in the 8 that are there
  r.Set32(28, 2);
  ExpectDamaged([&] { GradientFillView(r.View()).Rects(); });
  r.Set32(24, 0x10000000);
  ExpectDamaged([&] { GradientFillView(r.View()).Vertices(); });

  TRec t(EMR_GRADIENTFILL);
  t.Rect(0, 0, 9, 9).U32(0).U32(1).U32(GRADIENT_FILL_TRIANGLE).U32(0).U32(1).U32(2);
  EXPECT_EQ(GradientFillView(t.View()).Triangles()[0].vertex3, 2u);
}

TEST(EmfRecordViews, TransformsAndSmallRecords) {
  TRec s(EMR_SETWORLDTRANSFORM);
  s.F32(2).F32(0.1f).F32(-0.1f).F32(3).F32(10.5f).F32(-7);
  XForm x = XFormView(s.View()).Transform();
  EXPECT_EQ(x.eM11, 2.0f);
  EXPECT_EQ(x.eM12, 0.1f);
  EXPECT_EQ(x.eM21, -0.1f);
  EXPECT_EQ(x.eDx, 10.5f);
  EXPECT_EQ(x.eDy, -7.0f);
  TRec m(EMR_MODIFYWORLDTRANSFORM);
  m.F32(1).F32(0).F32(0).F32(1).F32(0).F32(0).U32(MWT_LEFTMULTIPLY);
  EXPECT_EQ(XFormView(m.View()).Mode(), MWT_LEFTMULTIPLY);
  ExpectDamaged([&] { XFormView(m.View().Sub(0, 32)); });

  TRec a(EMR_ANGLEARC);
  a.I32(5).I32(6).U32(7).F32(30).F32(90);
  AngleArcView av(a.View());
  EXPECT_EQ(av.Center(), (PointL{5, 6}));
  EXPECT_EQ(av.Radius(), 7u);
  EXPECT_EQ(av.SweepAngle(), 90.0f);
  TRec arc(EMR_PIE);
  arc.Rect(1, 2, 3, 4).I32(5).I32(6).I32(7).I32(8);
  EXPECT_EQ(ArcView(arc.View()).End(), (PointL{7, 8}));
  TRec rr(EMR_ROUNDRECT);
  rr.Rect(1, 2, 3, 4).I32(5).I32(6);
  EXPECT_EQ(RoundRectView(rr.View()).Corner(), (SizeL{5, 6}));
  TRec sc(EMR_SCALEVIEWPORTEXTEX);
  sc.I32(1).I32(2).I32(3).I32(4);
  EXPECT_EQ(ScaleExtView(sc.View()).YDenom(), 4);
  TRec px(EMR_SETPIXELV);
  px.I32(1).I32(2).U32(0xABCDEF);
  EXPECT_EQ(SetPixelView(px.View()).Color(), 0xABCDEFu);
  TRec ext(EMR_SETWINDOWEXTEX);
  ext.I32(100).I32(-50);
  EXPECT_EQ(SizeRecordView(ext.View()).Extent(), (SizeL{100, -50}));
  TRec org(EMR_MOVETOEX);
  org.I32(-1).I32(2);
  EXPECT_EQ(PointRecordView(org.View()).Point(), (PointL{-1, 2}));
  TRec rc(EMR_INTERSECTCLIPRECT);
  rc.Rect(1, 2, 3, 4);
  EXPECT_EQ(RectRecordView(rc.View()).Rect(), (RectL{1, 2, 3, 4}));
  ExpectDamaged([&] { RectRecordView(rc.View().Sub(0, 20)); });
}
