// Text of a page: records placed as the preview places them, read back in reading order.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/emfwriter/EmfRecordBuilder.h"
#include "platform/emfwriter/EmfWriter.h"
#include "platform/rtl/Utf8.h"
#include "platform/text/PageText.h"

using namespace emf;

namespace {

std::string Read(const TMetafile& page) {
  return Utf16ToUtf8(ReadingOrder(ExtractPageText(page)).Text);
}

void Raw(TEmfWriter& w, TEmfRecordBuilder& b) {
  const std::vector<uint8_t>& bytes = b.Bytes();
  w.RawRecord(b.Bytes()[0] | bytes[1] << 8, std::span(bytes).subspan(8));
}

// EXTTEXTOUTA / EXTTEXTOUTW without advances (offDx 0), as some writers leave them out.
void TextWithoutAdvances(TEmfWriter& w, int32_t x, int32_t y, std::u16string_view text) {
  TEmfRecordBuilder b(EMR_EXTTEXTOUTW);
  b.Rect(0, 0, -1, -1).U32(GM_COMPATIBLE).F32(1).F32(1);
  b.I32(x).I32(y).U32(static_cast<uint32_t>(text.size())).U32(76).U32(0).Rect(0, 0, 0, 0).U32(0);
  b.Raw(text.data(), text.size() * 2);
  Raw(w, b);
}

void AnsiText(TEmfWriter& w, int32_t x, int32_t y, std::string_view bytes) {
  TEmfRecordBuilder b(EMR_EXTTEXTOUTA);
  b.Rect(0, 0, -1, -1).U32(GM_COMPATIBLE).F32(1).F32(1);
  const uint32_t dxAt = 76 + static_cast<uint32_t>((bytes.size() + 3) / 4 * 4);
  b.I32(x).I32(y).U32(static_cast<uint32_t>(bytes.size())).U32(76).U32(0).Rect(0, 0, 0, 0).U32(dxAt);
  b.Raw(bytes.data(), bytes.size()).Align4();
  for (size_t i = 0; i < bytes.size(); ++i)
    b.I32(8);
  Raw(w, b);
}

void SmallText(TEmfWriter& w, int32_t x, int32_t y, std::string_view bytes) {
  TEmfRecordBuilder b(EMR_SMALLTEXTOUT);
  b.I32(x).I32(y).U32(static_cast<uint32_t>(bytes.size())).U32(ETO_NO_RECT | ETO_SMALL_CHARS);
  b.U32(GM_COMPATIBLE).F32(1).F32(1).Raw(bytes.data(), bytes.size());
  Raw(w, b);
}

// POLYTEXTOUTW with strings at the given reference points, each character 9 units wide.
void PolyText(TEmfWriter& w, const std::vector<std::pair<TPointL, std::u16string>>& strings) {
  TEmfRecordBuilder b(EMR_POLYTEXTOUTW);
  b.Rect(0, 0, -1, -1).U32(GM_COMPATIBLE).F32(1).F32(1).U32(static_cast<uint32_t>(strings.size()));
  uint32_t at = 40 + 40 * static_cast<uint32_t>(strings.size());
  std::vector<uint32_t> textAt, dxAt;
  for (const auto& [p, s] : strings) {
    textAt.push_back(at);
    at += static_cast<uint32_t>((s.size() * 2 + 3) / 4 * 4);
    dxAt.push_back(at);
    at += static_cast<uint32_t>(s.size() * 4);
  }
  for (size_t i = 0; i < strings.size(); ++i) {
    const auto& [p, s] = strings[i];
    b.I32(p.x)
        .I32(p.y)
        .U32(static_cast<uint32_t>(s.size()))
        .U32(textAt[i])
        .U32(0)
        .Rect(0, 0, 0, 0)
        .U32(dxAt[i]);
  }
  for (const auto& [p, s] : strings) {
    b.Raw(s.data(), s.size() * 2).Align4();
    for (size_t i = 0; i < s.size(); ++i)
      b.I32(9);
  }
  Raw(w, b);
}

TPageTextBox BoxOfFirst(const TPageText& text) {
  EXPECT_FALSE(text.Runs.empty());
  return text.Runs.empty() ? TPageTextBox{} : text.Runs.front().Boxes.front();
}

} // namespace

TEST(PageText, ReadsLinesTopToBottomAndRunsLeftToRight) {
  TEmfWriter w(400, 300);
  w.SelectObject(w.CreateFont({.Face = "Arial", .Height = -16}));
  // Written in no reading order: the second line first, a line's right-hand word before its left one.
  w.TextOut(20, 60, "Druga");
  w.TextOut(120, 61, "kolumna");
  w.TextOut(200, 20, "świat");
  w.TextOut(20, 21, "Witaj,");
  w.TextOut(20 + w.TextWidth("Witaj,"), 21, "!"); // touching: no space between
  EXPECT_EQ(Read(w.ToMetafile()), "Witaj,! świat\nDruga kolumna\n");
}

TEST(PageText, AddsASpaceOnlyWhereTheGapIsWide) {
  struct TCase {
    int32_t gap;
    const char* expected;
  } cases[] = {{0, "ab\n"}, {1, "ab\n"}, {4, "a b\n"}, {40, "a b\n"}};
  for (const TCase& c : cases) {
    TEmfWriter w(400, 100);
    w.SelectObject(w.CreateFont({.Face = "Arial", .Height = -20}));
    w.TextOut(10, 10, "a");
    w.TextOut(10 + w.TextWidth("a") + c.gap, 10, "b");
    EXPECT_EQ(Read(w.ToMetafile()), c.expected) << "gap " << c.gap;
  }
}

TEST(PageText, PlacesCharactersAsTheAlignmentAndMappingSay) {
  struct TCase {
    const char* name;
    uint32_t align;
    int32_t mapScale; // logical units per page pixel (anisotropic mapping)
    double left, top;
  } cases[] = {
      {"top left", TA_LEFT | TA_TOP, 1, 100, 50},
      {"right", TA_RIGHT | TA_TOP, 1, 100 - 3 * 10, 50},
      {"centre", TA_CENTER | TA_TOP, 1, 100 - 3 * 10 / 2.0, 50},
      {"baseline", TA_LEFT | TA_BASELINE, 1, 100, 50 - 0.905 * 20},
      {"bottom", TA_LEFT | TA_BOTTOM, 1, 100, 50 - (0.905 + 0.212) * 20},
      {"mapped", TA_LEFT | TA_TOP, 2, 50, 25},
  };
  for (const TCase& c : cases) {
    TEmfWriter w(400, 300);
    if (c.mapScale != 1) {
      w.SetMapMode(MM_ANISOTROPIC);
      w.SetWindowExt(400 * c.mapScale, 300 * c.mapScale);
      w.SetViewportExt(400, 300);
    }
    w.SelectObject(w.CreateFont({.Face = "Arial", .Height = -20 * c.mapScale}));
    w.SetTextAlign(c.align);
    const int32_t advances[] = {10 * c.mapScale, 10 * c.mapScale, 10 * c.mapScale};
    w.ExtTextOut(100, 50, 0, nullptr, u"abc", advances);
    TPageText text = ExtractPageText(w.ToMetafile());
    ASSERT_EQ(text.Runs.size(), 1u) << c.name;
    const TPageGlyphRun& run = text.Runs[0];
    ASSERT_EQ(run.Boxes.size(), 3u);
    // Page pixels: the preview's 0 .. width - 1 onto the 400-pixel frame.
    const double k = 399.0 / 400;
    EXPECT_NEAR(run.Boxes[0].Left, c.left * k, 1) << c.name;
    EXPECT_NEAR(run.Boxes[0].Top, c.top * k, 1) << c.name;
    EXPECT_NEAR(run.Boxes[1].Left - run.Boxes[0].Left, 10 * k, 0.5) << c.name;
    EXPECT_NEAR(run.Boxes[2].Right, run.Boxes[0].Left + 30 * k, 1) << c.name;
    EXPECT_NEAR(run.Height, (0.905 + 0.212) * 20 * k, 1) << c.name;
  }
}

TEST(PageText, FollowsTheWorldTransformAndKeepsRotatedTextInItsOwnOrder) {
  TEmfWriter w(400, 400);
  w.SelectObject(w.CreateFont({.Face = "Arial", .Height = -16, .Escapement = 900}));
  w.TextOut(30, 300, "pionowo"); // upwards, on a line of its own
  w.SelectObject(w.CreateFont({.Face = "Arial", .Height = -16}));
  // Moves everything after it 100 pixels right and 50 down.
  const float move[] = {1, 0, 0, 1, 100, 50};
  w.RawRecord(EMR_SETWORLDTRANSFORM, std::span(reinterpret_cast<const uint8_t*>(move), sizeof move));
  w.TextOut(0, 0, "przesunięty");
  TPageText text = ExtractPageText(w.ToMetafile());
  ASSERT_EQ(text.Runs.size(), 2u);
  EXPECT_NEAR(text.Runs[0].Angle, 90, 0.01);
  EXPECT_LT(text.Runs[0].Boxes[1].Top, text.Runs[0].Boxes[0].Top); // each letter above the one before
  EXPECT_NEAR(text.Runs[1].Boxes[0].Left, 100 * 399.0 / 400, 1);
  EXPECT_NEAR(text.Runs[1].Boxes[0].Top, 50 * 399.0 / 400, 1);
  EXPECT_EQ(Utf16ToUtf8(ReadingOrder(text).Text), "przesunięty\npionowo\n");
}

TEST(PageText, DecodesEveryKindOfTextRecord) {
  TEmfWriter w(600, 400);
  w.SelectObject(w.CreateFont({.Face = "Arial", .Height = -16, .CharSet = EASTEUROPE_CHARSET}));
  AnsiText(w, 20, 20, "\xA3\xF3\xBF\x6B\x6F");  // "Łóżko" in code page 1250
  SmallText(w, 20, 60, "\x8C\x6C\xEA\x9F\x61"); // "Ślęźa"
  w.SelectObject(w.CreateFont({.Face = "Arial", .Height = -16, .CharSet = RUSSIAN_CHARSET}));
  AnsiText(w, 20, 100, "\xCC\xE8\xF0"); // "Мир" in code page 1251
  PolyText(w, {{{300, 140}, u"prawy"}, {{20, 140}, u"lewy"}});
  TextWithoutAdvances(w, 20, 180, u"Zażółć");
  EXPECT_EQ(Read(w.ToMetafile()), "Łóżko\nŚlęźa\nМир\nlewy prawy\nZażółć\n");
}

TEST(PageText, MeasuresTextWithoutAdvancesWithTheFontsOwnWidths) {
  TEmfWriter w(600, 100);
  w.SelectObject(w.CreateFont({.Face = "Arial", .Height = -40}));
  TextWithoutAdvances(w, 10, 10, u"iiii");
  TextWithoutAdvances(w, 10, 60, u"WWWW");
  TPageText text = ExtractPageText(w.ToMetafile());
  ASSERT_EQ(text.Runs.size(), 2u);
  auto width = [](const TPageGlyphRun& r) { return r.Boxes.back().Right - r.Boxes.front().Left; };
  // Arial's (and its metric twin's) advances at an em of 40 pixels: i 0.222 em, W 0.944 em.
  EXPECT_NEAR(width(text.Runs[0]), 4 * 0.222 * 40 * 399 / 400, 1.5);
  EXPECT_NEAR(width(text.Runs[1]), 4 * 0.944 * 40 * 399 / 400, 1.5);
}

TEST(PageText, SkipsADamagedRecordAndRaisesForABrokenPage) {
  TEmfWriter w(400, 200);
  w.SelectObject(w.CreateFont({.Face = "Arial", .Height = -16}));
  TEmfRecordBuilder b(EMR_EXTTEXTOUTW); // claims 1000 characters and holds 2
  b.Rect(0, 0, -1, -1).U32(GM_COMPATIBLE).F32(1).F32(1);
  b.I32(10).I32(10).U32(1000).U32(76).U32(0).Rect(0, 0, 0, 0).U32(0).Raw(u"xy", 4);
  Raw(w, b);
  const uint32_t noSuchObject = 0x7FFF; // the font stays selected
  w.RawRecord(EMR_SELECTOBJECT, std::span(reinterpret_cast<const uint8_t*>(&noSuchObject), 4));
  w.TextOut(10, 50, "dalej");
  std::vector<uint8_t> bytes = w.Finish();
  TMetafile page;
  page.LoadFromBytes(bytes);
  EXPECT_EQ(Read(page), "dalej\n");
  const TPageTextBox box = BoxOfFirst(ExtractPageText(page));
  EXPECT_GT(box.Bottom - box.Top, 15); // still the 16-pixel font

  // A record claiming to run past the end of the page.
  const uint32_t firstAfterHeader = bytes[4] | bytes[5] << 8;
  bytes[firstAfterHeader + 4] = 0xF0;
  bytes[firstAfterHeader + 5] = 0xFF;
  TMetafile broken;
  broken.LoadFromBytes(bytes);
  EXPECT_THROW(ExtractPageText(broken), EDamagedData);
}

TEST(PageText, LeavesOutWhatThePageDoesNotShowAndReadsOverprintOnce) {
  TEmfWriter w(400, 200);
  w.SelectObject(w.CreateFont({.Face = "Arial", .Height = -16}));
  w.TextOut(10, -100, "nad stroną"); // above the frame
  w.TextOut(500, 20, "obok strony"); // right of it
  w.TextOut(10, 20, "cień");
  w.TextOut(11, 21, "cień"); // a shadow one pixel off
  const TEmfRect cell{10, 60, 10 + w.TextWidth("Kolumna"), 80};
  w.ExtTextOut(10, 60, ETO_CLIPPED, &cell, u"Kolumna przycięta");
  EXPECT_EQ(Read(w.ToMetafile()), "cień\nKolumna\n");
}

TEST(PageText, TextPastThePageEdgeIsReadOnlyForTheWholeDrawing) {
  TEmfWriter w(400, 200);
  w.SelectObject(w.CreateFont({.Face = "Arial", .Height = -16}));
  w.TextOut(20, 20, "Nagłówek");
  w.TextOut(20, -120, "nad stroną");   // above the frame
  w.TextOut(390, 60, "ucięty wiersz"); // starts on the page, runs past its right edge
  w.TextOut(500, 100, "obok");         // wholly to the right
  const TMetafile page = w.ToMetafile();
  EXPECT_EQ(Utf16ToUtf8(ReadingOrder(ExtractPageText(page)).Text), "Nagłówek\nucięty wiersz\n");
  EXPECT_EQ(Utf16ToUtf8(ReadingOrder(ExtractPageText(page, TTextExtent::Drawing)).Text),
            "nad stroną\nNagłówek\nucięty wiersz\nobok\n");
}
