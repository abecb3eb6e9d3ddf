// Text records as PDF text: spacing, scaling, alignment, clipping, background, decoration, fonts by
// LOGFONT with Polish text, 8-bit strings in the font's code page (of one byte or two a character), and
// transforms without a scale.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <numeric>
#include <string>
#include <vector>

#include "PdfRenderTestSupport.h"
#include "PdfTestSupport.h"
#include "pdf/PdfCodePages.h"
#include "platform/rtl/MathUtil.h"

using namespace emf;

namespace {

// An EXTTEXTOUTW (or, with Ansi, EXTTEXTOUTA) record's parameters, laid out as the format gives them.
TParams TextRecord(int32_t x, int32_t y, uint32_t options, TEmfRect rcl, const std::u16string& text,
                   const std::vector<int32_t>& dx, TEmfRect bounds = {0, 0, -1, -1},
                   const std::string* ansi = nullptr) {
  const uint32_t count = ansi ? static_cast<uint32_t>(ansi->size()) : static_cast<uint32_t>(text.size());
  const uint32_t stringBytes = ansi ? count : count * 2;
  const uint32_t padded = (stringBytes + 3) / 4 * 4;
  TParams p;
  p.Ints({bounds.left, bounds.top, bounds.right, bounds.bottom, GM_COMPATIBLE}).F32(1).F32(1);
  p.Ints({x, y}).U32(count).U32(76).U32(options).Ints({rcl.left, rcl.top, rcl.right, rcl.bottom});
  p.U32(dx.empty() ? 0 : 76 + padded);
  if (ansi) {
    for (char ch : *ansi)
      p.U8(static_cast<uint8_t>(ch));
  } else {
    for (char16_t ch : text)
      p.I16(static_cast<int16_t>(ch));
  }
  for (uint32_t i = stringBytes; i < padded; ++i)
    p.U8(0);
  for (int32_t d : dx)
    p.I32(d);
  return p;
}

TLogFontW Arial16() {
  TLogFontW lf;
  lf.lfHeight = -16;
  lf.lfWeight = emf::FW_NORMAL;
  lf.lfCharSet = emf::DEFAULT_CHARSET;
  lf.SetFaceName(u"Arial");
  return lf;
}

// The width in logical units the renderer measures for the text in Arial at -16 (12 points).
int32_t Measured(const std::u16string& text) {
  TRenderPage probe(true);
  probe.Doc().AddPage();
  probe.Canvas().SetFont(Arial16(), 12);
  return static_cast<int32_t>(RoundEven(probe.Canvas().UnicodeTextWidth(text.c_str()) / 0.75));
}

// Advances summing to Width, spread over the characters.
std::vector<int32_t> Spread(size_t n, int32_t Width) {
  std::vector<int32_t> dx(n, Width / static_cast<int32_t>(n));
  dx.back() += Width - std::accumulate(dx.begin(), dx.end(), 0);
  return dx;
}

struct TextFixture : ::testing::Test {
  TextFixture() : page(true), w(SmallPage()) {
    w.SelectObject(w.CreateFont({.Face = "Arial", .Height = -16}));
    w.SetTextAlign(TA_BASELINE);
  }
  std::string Body() { return page.RenderBody(w.ToMetafile()); }
  TRenderPage page;
  TEmfWriter w;
};

TEST_F(TextFixture, EmptyTextWritesNothing) {
  w.RawRecord(EMR_EXTTEXTOUTW, TextRecord(10, 50, 0, {}, u"", {}));
  EXPECT_EQ(Body(), "");
}

TEST_F(TextFixture, JustifiedByWordSpacing) {
  const std::u16string text = u"ab cd";
  w.RawRecord(EMR_EXTTEXTOUTW, TextRecord(10, 50, 0, {}, text, Spread(text.size(), Measured(text) + 40)));
  std::string body = Body();
  // 40 logical units over one space, 0.75 points each.
  size_t tw = body.find("30 Tw\n"), bt = body.find("BT\n"), et = body.find("ET\n"),
         reset = body.find("0 Tw\n", et);
  ASSERT_NE(tw, std::string::npos) << body;
  EXPECT_LT(tw, bt);
  EXPECT_NE(reset, std::string::npos) << body;
  EXPECT_EQ(Count(body, "Tz"), 0);
  EXPECT_NE(body.find("7.5 34.5 Td\n"), std::string::npos) << body;
}

TEST_F(TextFixture, NarrowerTextIsScaledOutsideTheDeadZone) {
  const std::u16string text = u"ab cd";
  const int32_t m = Measured(text);
  struct TCase {
    double Ratio;
    bool Scaled;
  };
  // One unit narrower than measured leaves no room for spacing: scaled, by (m - 1) / m.
  for (TCase c : {TCase{0.995, false}, TCase{0.95, true}, TCase{1.0 - 1.0 / m, (m - 1) * 100.0 / m < 99}}) {
    SCOPED_TRACE(c.Ratio);
    TRenderPage p(true);
    TEmfWriter t = SmallPage();
    t.SelectObject(t.CreateFont({.Face = "Arial", .Height = -16}));
    int32_t width = static_cast<int32_t>(std::lround(m * c.Ratio));
    t.RawRecord(EMR_EXTTEXTOUTW, TextRecord(10, 50, 0, {}, text, Spread(text.size(), width)));
    std::string body = p.RenderBody(t.ToMetafile());
    EXPECT_EQ(Count(body, "Tw"), 0) << body;
    if (!c.Scaled) {
      EXPECT_EQ(Count(body, "Tz"), 0) << body;
      continue;
    }
    size_t tz = body.find(" Tz\n");
    ASSERT_NE(tz, std::string::npos) << body;
    size_t start = body.rfind('\n', tz) + 1;
    EXPECT_NEAR(std::stod(body.substr(start, tz - start)), width * 100.0 / m, 0.01);
    EXPECT_LT(tz, body.find("BT\n"));
    EXPECT_GT(body.find("100 Tz\n"), body.find("ET\n"));
  }
}

TEST_F(TextFixture, TextWithoutSpacesIsScaled) {
  const std::u16string text = u"abcd";
  w.RawRecord(EMR_EXTTEXTOUTW, TextRecord(10, 50, 0, {}, text, Spread(text.size(), Measured(text) + 20)));
  std::string body = Body();
  EXPECT_EQ(Count(body, "Tw"), 0);
  EXPECT_EQ(Count(body, " Tz\n"), 2) << body;
}

TEST_F(TextFixture, AdvancesNarrowerThanTheBoundsAreDropped) {
  const std::u16string text = u"ab cd";
  // The advances sum to 10, the bounds are 200 wide: the measured width stands, nothing is spaced.
  w.RawRecord(EMR_EXTTEXTOUTW, TextRecord(10, 50, 0, {}, text, Spread(text.size(), 10), {10, 30, 210, 60}));
  std::string body = Body();
  EXPECT_EQ(Count(body, "Tw"), 0) << body;
  EXPECT_EQ(Count(body, "Tz"), 0) << body;
}

TEST_F(TextFixture, GlyphIndicesAreShownUnmeasured) {
  w.SetTextAlign(TA_RIGHT | TA_BASELINE);
  w.RawRecord(EMR_EXTTEXTOUTW, TextRecord(50, 50, ETO_GLYPH_INDEX, {}, u"\x0024\x0025", {30, 30}));
  std::string body = Body();
  EXPECT_EQ(Count(body, "Tw"), 0);
  EXPECT_EQ(Count(body, "Tz"), 0);
  // Right-aligned by the advances: 60 units to the left of x = 50.
  EXPECT_NE(body.find("-7.5 34.5 Td\n"), std::string::npos) << body;
  EXPECT_NE(body.find("<00240025> Tj"), std::string::npos) << body;
}

TEST_F(TextFixture, ARectangleClipsWithoutTheClippedOption) {
  w.RawRecord(EMR_EXTTEXTOUTW, TextRecord(10, 50, 0, {0, 0, 40, 60}, u"ab", {}));
  std::string body = Body();
  EXPECT_NE(body.find("q\nn\n0 72 m\n0 27 l\n30 27 l\n30 72 l\nh\nW\nn\n"), std::string::npos) << body;
  EXPECT_EQ(body.substr(body.size() - 2), "Q\n");

  TRenderPage plain(true);
  TEmfWriter t = SmallPage();
  t.SelectObject(t.CreateFont({.Face = "Arial", .Height = -16}));
  t.RawRecord(EMR_EXTTEXTOUTW, TextRecord(10, 50, 0, {}, u"ab", {}));
  std::string unclipped = plain.RenderBody(t.ToMetafile());
  EXPECT_EQ(Count(unclipped, "q\n"), 0) << unclipped;
  EXPECT_EQ(Count(unclipped, "Q\n"), 0) << unclipped;
}

TEST_F(TextFixture, OpaqueBackgroundInTheBackgroundColourButNeverWhite) {
  w.SelectObject(w.CreateSolidBrush(0x00FF00)); // the brush plays no part
  w.SetBkMode(TRANSPARENT);
  w.SetBkColor(0x0000FF);
  w.RawRecord(EMR_EXTTEXTOUTW, TextRecord(10, 50, ETO_OPAQUE, {}, u"ab", {20, 20}));
  w.RawRecord(EMR_EXTTEXTOUTW, TextRecord(10, 70, 0, {}, u"cd", {20, 20})); // transparent
  w.SetBkMode(OPAQUE);
  w.SetBkColor(0xFFFFFF);
  w.RawRecord(EMR_EXTTEXTOUTW, TextRecord(10, 90, ETO_OPAQUE, {}, u"ef", {20, 20})); // white
  std::string body = Body();
  // One background: red, over the text's cell (40 wide; from the ascent, 14, above the baseline at y = 50
  // to the descent, 3, below it), before the text.
  EXPECT_EQ(Count(body, " re\nf\n"), 1) << body;
  EXPECT_NE(body.find("1 0 0 rg\n7.5 32.25 30 12.75 re\nf\n"), std::string::npos) << body;
  EXPECT_LT(body.find("re\nf\n"), body.find("BT\n"));
}

TEST_F(TextFixture, AlignmentFollowsAnUpwardAxis) {
  // Logical y runs upwards: top-aligned text hangs below its reference point on the page all the same.
  TEmfWriter t = SmallPage();
  t.SetMapMode(MM_ANISOTROPIC);
  t.SetWindowExt(1, -1);
  t.SetViewportExt(1, 1);
  t.SetViewportOrg(0, 96);
  t.SelectObject(t.CreateFont({.Face = "Arial", .Height = -16}));
  t.SetTextAlign(TA_TOP);
  t.RawRecord(EMR_EXTTEXTOUTW, TextRecord(10, 46, 0, {}, u"ab", {20, 20}));
  std::string body = page.RenderBody(t.ToMetafile());
  // The reference point is 50 pixels from the top; the baseline is the ascent (14) lower.
  EXPECT_NE(body.find("7.5 24 Td\n"), std::string::npos) << body;
}

TEST_F(TextFixture, AClipRectangleClipsLaterText) {
  w.SaveDC();
  w.IntersectClipRect(0, 0, 40, 40);
  w.RawRecord(EMR_EXTTEXTOUTW, TextRecord(10, 30, 0, {}, u"ab", {20, 20}));
  w.RestoreDC(-1);
  w.RawRecord(EMR_EXTTEXTOUTW, TextRecord(10, 60, 0, {}, u"cd", {20, 20}));
  std::string body = Body();
  size_t clip = body.find("q\n0 42 30 30 re\nW\nn\n");
  ASSERT_NE(clip, std::string::npos) << body;
  EXPECT_LT(clip, body.find("(ab) Tj"));
  EXPECT_LT(body.find("Q\n"), body.find("(cd) Tj"));
  EXPECT_EQ(Count(body, "W\n"), 1) << body; // the restored state has no clip
}

TEST_F(TextFixture, EscapementTurnsTheOtherWayOnAnUpwardAxis) {
  TEmfWriter t = SmallPage();
  t.SetMapMode(MM_ANISOTROPIC);
  t.SetWindowExt(1, -1);
  t.SetViewportExt(1, 1);
  t.SetViewportOrg(0, 96);
  t.SelectObject(t.CreateFont({.Face = "Arial", .Height = -16, .Escapement = 900}));
  t.SetTextAlign(TA_BASELINE);
  t.RawRecord(EMR_EXTTEXTOUTW, TextRecord(40, 16, 0, {}, u"ab", {20, 20}));
  std::string body = page.RenderBody(t.ToMetafile());
  EXPECT_NE(body.find("BT\n0 -1 1 0 30 12 Tm\n"), std::string::npos) << body;
}

TEST_F(TextFixture, EscapementPlacesTheTextWithAMatrix) {
  TEmfWriter t = SmallPage();
  t.SelectObject(t.CreateFont({.Face = "Arial", .Height = -16, .Escapement = 900}));
  t.SetTextAlign(TA_BASELINE);
  t.RawRecord(EMR_EXTTEXTOUTW, TextRecord(40, 80, 0, {}, u"ab cd", Spread(5, 300)));
  std::string body = page.RenderBody(t.ToMetafile());
  EXPECT_NE(body.find("BT\n0 1 -1 0 30 12 Tm\n"), std::string::npos) << body;
  EXPECT_EQ(Count(body, "Td"), 0);
  EXPECT_EQ(Count(body, "Tz"), 0);
}

TEST_F(TextFixture, TurnedTextIsMeasuredAlongTheAxisItRunsOn) {
  // x is squeezed to half, y is not: text turned upright runs along y, so its advances keep 0.75
  // points a unit and the 40 units beyond the measured width become word spacing as for level text.
  const std::u16string text = u"ab cd";
  for (int escapement : {900, 2700}) {
    SCOPED_TRACE(escapement);
    TRenderPage p(true);
    TEmfWriter t = SmallPage();
    t.SetMapMode(MM_ANISOTROPIC);
    t.SetWindowExt(2, 1);
    t.SetViewportExt(1, 1);
    t.SelectObject(t.CreateFont({.Face = "Arial", .Height = -16, .Escapement = escapement}));
    t.SetTextAlign(TA_BASELINE);
    t.RawRecord(EMR_EXTTEXTOUTW, TextRecord(80, 50, 0, {}, text, Spread(text.size(), Measured(text) + 40)));
    std::string body = p.RenderBody(t.ToMetafile());
    EXPECT_NE(body.find("30 Tw\n"), std::string::npos) << body;
    EXPECT_EQ(Count(body, "Tz"), 0) << body;
  }
}

TEST_F(TextFixture, UnderlineAndStrikeOut) {
  TEmfWriter t = SmallPage();
  t.SelectObject(t.CreateFont({.Face = "Arial", .Height = -16, .Underline = true, .StrikeOut = true}));
  t.SetTextAlign(TA_BASELINE);
  t.SetTextColor(0x00FF00);
  t.RawRecord(EMR_EXTTEXTOUTW, TextRecord(10, 50, 0, {}, u"ab", {20, 20}));
  std::string body = page.RenderBody(t.ToMetafile());
  size_t et = body.find("ET\n");
  ASSERT_NE(et, std::string::npos);
  // 12 / 8 points below and 12 / 3 points above the baseline (y = 34.5), 40 units (30 points) long,
  // 12 / 15 points wide, in the text colour.
  std::string after = body.substr(et);
  EXPECT_NE(after.find("0 1 0 RG\n[] 0 d\n0.8 w\n7.5 33 m\n37.5 33 l\nS\n"), std::string::npos) << after;
  EXPECT_NE(after.find("7.5 38.5 m\n37.5 38.5 l\nS\n"), std::string::npos) << after;
}

TEST_F(TextFixture, QuarterTurnedWorldHasNoMeasurement) {
  TEmfWriter t = SmallPage();
  t.SelectObject(t.CreateFont({.Face = "Arial", .Height = -16, .Underline = true}));
  t.RawRecord(EMR_SETWORLDTRANSFORM, TParams().F32(0).F32(1).F32(-1).F32(0).F32(50).F32(0));
  t.RawRecord(EMR_EXTTEXTOUTW, TextRecord(10, 50, 0, {}, u"ab cd", Spread(5, 300)));
  std::string body = page.RenderBody(t.ToMetafile());
  EXPECT_EQ(Count(body, "Tw"), 0) << body;
  EXPECT_EQ(Count(body, "Tz"), 0) << body;
  EXPECT_EQ(Count(body, "BT\n"), 1) << body;
  EXPECT_EQ(Count(body, "S\n"), 0) << body; // no decoration without a scale to draw it with
}

TEST_F(TextFixture, AFontTooLargeForThePageLeavesOnlyThatTextOut) {
  TEmfWriter t = SmallPage();
  t.SelectObject(t.CreateFont({.Face = "Arial", .Height = -4000}));
  t.RawRecord(EMR_EXTTEXTOUTW, TextRecord(10, 50, 0, {}, u"ab", {}));
  t.Line(0, 0, 10, 0);
  std::string body = page.RenderBody(t.ToMetafile());
  EXPECT_EQ(Count(body, "BT"), 0) << body;
  EXPECT_EQ(Count(body, "S\n"), 1) << body;
}

// Whole files: Polish text from a LOGFONT, UTF-16 and 8-bit records, through the PDF tools.
TEST(PdfRenderTextFile, PolishTextByLogFontIsExtractable) {
  TRenderPage page(true);
  TEmfWriter w(400, 200, 96);
  w.SelectObject(w.CreateFont({.Face = "Arial", .Height = -16, .CharSet = emf::EASTEUROPE_CHARSET}));
  w.TextOut(10, 20, "Zażółć gęślą jaźń");
  w.SelectObject(w.CreateFont({.Face = "Times New Roman",
                               .Height = -16,
                               .Weight = emf::FW_BOLD,
                               .CharSet = emf::EASTEUROPE_CHARSET}));
  // The same words as 8-bit text of code page 1250.
  const std::string ansi = "Za\xBF\xF3\xB3\xE6 g\xEA\x9C\x6C\xB9 ja\x9F\xF1";
  w.RawRecord(EMR_EXTTEXTOUTA, TextRecord(10, 60, 0, {}, u"", {}, {0, 0, -1, -1}, &ansi));
  page.Render(w.ToMetafile());
  std::string path = SaveForInspection(page.Doc(), "render-polish-text.pdf");
  EXPECT_EQ(PdfToolProblems(path), "");
  std::string text = PdfText(path);
  EXPECT_EQ(Count(text, "Zażółć gęślą jaźń"), 2) << text;
}

// 8-bit text of a Shift-JIS font: characters of two bytes, each placed by the sum of its bytes'
// advances. The letters are ones western fonts have too, so they come through whichever font serves.
TEST(PdfRenderTextFile, ShiftJisTextIsDecodedAndPlacedPerCharacter) {
  TRenderPage page(true);
  TEmfWriter w(400, 200, 96);
  w.SelectObject(w.CreateFont({.Face = "Arial", .Height = -16, .CharSet = emf::SHIFTJIS_CHARSET}));
  w.SetTextAlign(TA_BASELINE);
  const std::string ansi = "\x83\xBF\x83\xC0\x41"; // alpha, beta, A
  w.RawRecord(EMR_EXTTEXTOUTA, TextRecord(10, 60, 0, {}, u"", {4, 5, 3, 6, 10}, {0, 0, -1, -1}, &ansi));
  page.Doc().SetDefaultPageWidth(300);
  page.Doc().SetDefaultPageHeight(150);
  page.Doc().AddPage();
  page.Canvas().RenderMetaFile(w.ToMetafile(), 1.0f, 0, 0, tpExactTextCharacterPositining, 99.0f, 101.0f);
  std::string content = page.Content();
  // At x = 10, 19 and 28 units (0.75 points each) on the baseline 60 units down a 150 point page.
  for (const char* move : {"7.5 105 Td\n", "14.25 105 Td\n", "21 105 Td\n"})
    EXPECT_EQ(Count(content, move), 1) << move << content;
  EXPECT_EQ(Count(content, " Td\n"), 3) << content;

  std::string path = SaveForInspection(page.Doc(), "render-shift-jis-text.pdf");
  EXPECT_EQ(PdfToolProblems(path), "");
  std::string text = PdfText(path);
  EXPECT_NE(text.find("αβA"), std::string::npos) << text;
}

} // namespace
