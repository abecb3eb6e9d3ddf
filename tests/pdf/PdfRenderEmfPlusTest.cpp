// Pages drawn only with EMF+ records: their strings become PDF text, read back by the PDF tools, and their
// shapes filled and stroked paths.
#include <gtest/gtest.h>

#include "../text/EmfPlusComment.h"
#include "PdfRenderTestSupport.h"
#include "PdfTestSupport.h"

TEST(PdfRenderEmfPlus, StringsOfAnEmfPlusPageAreText) {
  TRenderPage page(true);
  TEmfWriter w(400, 200, 96);
  TEmfPlusComment plus;
  plus.Header().Font(1, 16, emfplus::UnitPixel, u"Arial").String(1, u"Zażółć gęślą jaźń", 10, 20);
  plus.Font(2, 12, emfplus::UnitPoint, u"Times New Roman", emfplus::FontBold)
      .String(2, u"Razem: 100,00 zł", 10, 80);
  plus.Into(w);
  page.Render(w.ToMetafile());
  const std::string path = SaveForInspection(page.Doc(), "render-emf-plus-text.pdf");
  EXPECT_EQ(PdfToolProblems(path), "");
  const std::string text = PdfText(path);
  EXPECT_EQ(Count(text, "Zażółć gęślą jaźń"), 1) << text;
  EXPECT_EQ(Count(text, "Razem: 100,00 zł"), 1) << text;
}

TEST(PdfRenderEmfPlus, APageWithGdiDrawingIgnoresItsEmfPlusLayer) {
  TRenderPage page(true);
  TEmfWriter w(400, 200, 96);
  TEmfPlusComment plus;
  plus.Header().Font(1, 16, emfplus::UnitPixel, u"Arial").String(1, u"warstwa", 10, 20).Into(w);
  w.Line(0, 0, 100, 0);
  const std::string body = page.RenderBody(w.ToMetafile());
  EXPECT_EQ(Count(body, "BT"), 0) << body;
}

TEST(PdfRenderEmfPlus, ShapesOfAnEmfPlusPageAreFilledAndStrokedPaths) {
  TRenderPage page;
  TEmfWriter w = SmallPage();
  TEmfPlusComment plus;
  plus.Header().FillRect(0xFF0000FF, 10, 10, 40, 20).Pen(1, 2, 0xFFFF0000).Lines(1, {{10, 50}, {80, 50}});
  plus.Into(w);
  const std::string body = page.RenderBody(w.ToMetafile());
  EXPECT_EQ(Count(body, "0 0 1 rg"), 1) << body;
  EXPECT_EQ(Count(body, "1 0 0 RG"), 1) << body;
  EXPECT_GE(Count(body, "f\n") + Count(body, "f*\n"), 1) << body;
  EXPECT_GE(Count(body, "S\n"), 1) << body;
}
