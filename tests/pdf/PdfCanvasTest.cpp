// The canvas operators, their small-value rules, text state against the page, fonts and XObjects.
#include <gtest/gtest.h>

#include <functional>

#include "PdfTestSupport.h"
#include "pdf/PdfDocument.h"
#include "pdf/PdfErrors.h"

namespace {

// A page whose content writer the tests read back.
struct CanvasFixture : ::testing::Test {
  CanvasFixture() : doc(true, 1250) {
    doc.SetCompressionMethod(cmNone);
    doc.AddPage();
    canvas = doc.Canvas();
  }
  std::string Content() { return canvas->Contents()->Writer().ToPDFString(); }
  std::string Produce(const std::function<void(TPdfCanvas&)>& Draw) {
    std::string before = Content();
    Draw(*canvas);
    return Content().substr(before.size());
  }

  TPdfDocumentGDI doc;
  TPdfCanvas* canvas;
};

// A font as the font layer will make them: a registered dictionary and a short name.
class TTestFont : public TPdfFontWinAnsi {
 public:
  TTestFont(TPdfDocument& Doc, int Width) : FWidth(Width) {
    auto* dict = new TPdfDictionary(Doc.Xref());
    Doc.Xref()->AddObject(dict);
    dict->AddItem("Type", "Font");
    SetData(dict);
    fTrueTypeFontsIndex = 1;
    fHasWinAnsiWidth = true;
    for (auto& w : fWinAnsiWidth)
      w = static_cast<uint16_t>(Width);
    fWinAnsiWidth[0] = static_cast<uint16_t>(Width / 2); // the space
    fDefaultWidth = 100;
  }
  int GetWideCharWidth(char16_t c) override { return c == u'?' ? 0 : FWidth; }

 private:
  int FWidth;
};

struct TOperatorCase {
  const char* Name;
  std::function<void(TPdfCanvas&)> Draw;
  const char* Expected;
};

TEST_F(CanvasFixture, EveryOperatorOfTheTable) {
  const TOperatorCase cases[] = {
      {"GSave", [](TPdfCanvas& c) { c.GSave(); }, "q\n"},
      {"GRestore", [](TPdfCanvas& c) { c.GRestore(); }, "Q\n"},
      {"ConcatToCTM", [](TPdfCanvas& c) { c.ConcatToCTM(1, 0, 0, 1, 0, 0, 6); },
       "1.000000 0.000000 0.000000 1.000000 0.000000 0.000000 cm\n"},
      {"ConcatToCTM small", [](TPdfCanvas& c) { c.ConcatToCTM(0.004, 2, 3, 4, 5.5, -6, 2); },
       "0.00 2.00 3.00 4.00 5.50 -6.00 cm\n"},
      {"SetFlat", [](TPdfCanvas& c) { c.SetFlat(50); }, "50 i\n"},
      {"SetLineCap", [](TPdfCanvas& c) { c.SetLineCap(lcProjectingSquareEnd); }, "2 J\n"},
      {"SetLineJoin", [](TPdfCanvas& c) { c.SetLineJoin(ljRoundJoin); }, "1 j\n"},
      {"SetLineWidth", [](TPdfCanvas& c) { c.SetLineWidth(0.75f); }, "0.75 w\n"},
      {"SetLineWidth small", [](TPdfCanvas& c) { c.SetLineWidth(0.004f); }, "0 w\n"},
      {"SetMiterLimit", [](TPdfCanvas& c) { c.SetMiterLimit(10); }, "10 M\n"},
      {"MoveTo", [](TPdfCanvas& c) { c.MoveTo(12.1f, -3.456f); }, "12.1 -3.46 m\n"},
      {"LineTo", [](TPdfCanvas& c) { c.LineTo(595.28f, 0.001f); }, "595.28 0 l\n"},
      {"CurveToC", [](TPdfCanvas& c) { c.CurveToC(1, 2, 3, 4, 5, 6); }, "1 2 3 4 5 6 c\n"},
      {"CurveToV", [](TPdfCanvas& c) { c.CurveToV(1, 2, 3, 4); }, "1 2 3 4 v\n"},
      {"CurveToY", [](TPdfCanvas& c) { c.CurveToY(1, 2, 3, 4); }, "1 2 3 4 y\n"},
      {"Rectangle", [](TPdfCanvas& c) { c.Rectangle(0, 0, 595, 842); }, "0 0 595 842 re\n"},
      {"Closepath", [](TPdfCanvas& c) { c.Closepath(); }, "h\n"},
      {"Stroke", [](TPdfCanvas& c) { c.Stroke(); }, "S\n"},
      {"ClosePathStroke", [](TPdfCanvas& c) { c.ClosePathStroke(); }, "s\n"},
      {"Fill", [](TPdfCanvas& c) { c.Fill(); }, "f\n"},
      {"EoFill", [](TPdfCanvas& c) { c.EoFill(); }, "f*\n"},
      {"FillStroke", [](TPdfCanvas& c) { c.FillStroke(); }, "B\n"},
      {"ClosepathFillStroke", [](TPdfCanvas& c) { c.ClosepathFillStroke(); }, "b\n"},
      {"EofillStroke", [](TPdfCanvas& c) { c.EofillStroke(); }, "B*\n"},
      {"ClosepathEofillStroke", [](TPdfCanvas& c) { c.ClosepathEofillStroke(); }, "b*\n"},
      {"Clip", [](TPdfCanvas& c) { c.Clip(); }, "W\n"},
      {"EoClip", [](TPdfCanvas& c) { c.EoClip(); }, "W*\n"},
      {"NewPath", [](TPdfCanvas& c) { c.NewPath(); }, "n\n"},
      {"SetFontAndSize", [](TPdfCanvas& c) { c.SetFontAndSize("F0", 12); }, "/F0 12 Tf\n"},
      {"SetTextRenderingMode", [](TPdfCanvas& c) { c.SetTextRenderingMode(trInvisible); }, "3 Tr\n"},
      {"SetTextRise", [](TPdfCanvas& c) { c.SetTextRise(65535); }, "65535 Ts\n"},
      {"BeginText", [](TPdfCanvas& c) { c.BeginText(); }, "BT\n"},
      {"EndText", [](TPdfCanvas& c) { c.EndText(); }, "ET\n"},
      {"MoveToNextLine", [](TPdfCanvas& c) { c.MoveToNextLine(); }, "T*\n"},
      {"MoveTextPoint", [](TPdfCanvas& c) { c.MoveTextPoint(72, -14.4f); }, "72 -14.4 Td\n"},
      {"SetTextMatrix", [](TPdfCanvas& c) { c.SetTextMatrix(1, 0, 0, 1, 100, 700); }, "1 0 0 1 100 700 Tm\n"},
      {"ExecuteXObject", [](TPdfCanvas& c) { c.ExecuteXObject("ZVImg0"); }, "/ZVImg0 Do\n"},
      {"SetRGBFillColor", [](TPdfCanvas& c) { c.SetRGBFillColor(255); }, "1 0 0 rg\n"},
      {"SetRGBStrokeColor", [](TPdfCanvas& c) { c.SetRGBStrokeColor(0x808080); }, "0.5 0.5 0.5 RG\n"},
      {"SetRGBFillColor system", [](TPdfCanvas& c) { c.SetRGBFillColor(static_cast<int32_t>(0xFF000008u)); },
       "0 0 0 rg\n"},
      {"SetCMYKFillColor", [](TPdfCanvas& c) { c.SetCMYKFillColor(100, 50, 25, 0); }, "1 0.5 0.25 0 k\n"},
      {"SetCMYKStrokeColor", [](TPdfCanvas& c) { c.SetCMYKStrokeColor(0, 0, 0, 100); }, "0 0 0 1 K\n"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Produce(c.Draw), c.Expected) << c.Name;
}

TEST_F(CanvasFixture, SetDashForms) {
  EXPECT_EQ(Produce([](TPdfCanvas& c) { c.SetDash({}, 0); }), "[] 0 d\n");
  EXPECT_EQ(Produce([](TPdfCanvas& c) { c.SetDash({0, 3}, 2); }), "[] 2 d\n");
  EXPECT_EQ(Produce([](TPdfCanvas& c) { c.SetDash({3, 1, 0}, 1); }), "[3 1 0 ] 1 d\n");
}

TEST_F(CanvasFixture, TextStateWrittenOnlyWhenItChanges) {
  EXPECT_EQ(Produce([](TPdfCanvas& c) { c.SetCharSpace(0); }), ""); // the page starts at 0
  EXPECT_EQ(Produce([](TPdfCanvas& c) {
              c.SetCharSpace(1.5f);
              c.SetCharSpace(1.5f);
              c.SetWordSpace(2);
              c.SetWordSpace(2);
              c.SetLeading(14.4f);
              c.SetLeading(14.4f);
            }),
            "1.5 Tc\n2 Tw\n14.4 TL\n");
  EXPECT_EQ(Produce([](TPdfCanvas& c) {
              c.SetHorizontalScaling(0.004f);
              c.SetHorizontalScaling(95.5f);
              c.SetHorizontalScaling(95.5f);
            }),
            "0 Tz\n95.5 Tz\n");
  // The page clamps 5 to 10 while the operator carries 5, so the same call writes again.
  EXPECT_EQ(Produce([](TPdfCanvas& c) {
              c.SetHorizontalScaling(5);
              c.SetHorizontalScaling(5);
            }),
            "5 Tz\n5 Tz\n");
  EXPECT_EQ(doc.CurrentPage()->HorizontalScaling(), 10);
}

TEST_F(CanvasFixture, TextStateSettersThatRaiseWriteNothing) {
  struct {
    std::function<void(TPdfCanvas&)> Set;
    const char* Message;
  } cases[] = {{[](TPdfCanvas& c) { c.SetCharSpace(-31); }, "SetCharSpace"},
               {[](TPdfCanvas& c) { c.SetWordSpace(-1); }, "SetWordSpace"},
               {[](TPdfCanvas& c) { c.SetLeading(301); }, "SetLeading"}};
  for (const auto& c : cases) {
    std::string before = Content();
    try {
      c.Set(*canvas);
      ADD_FAILURE() << c.Message;
    } catch (const EPdfInvalidValue& e) {
      EXPECT_EQ(e.Message(), c.Message);
    }
    EXPECT_EQ(Content(), before);
  }
}

TEST_F(CanvasFixture, SelectingFontsIntoThePage) {
  auto* font = new TTestFont(doc, 500);
  doc.AddFontToList(std::unique_ptr<TPdfFont>(font));
  EXPECT_EQ(font->ShortCut(), "F0");
  EXPECT_EQ(Produce([&](TPdfCanvas& c) {
              c.SetPDFFont(font, 12);
              c.SetPDFFont(font, 12);
              c.SetPDFFont(font, 9.5f);
              c.SetPDFFont(nullptr, 3);
            }),
            "/F0 12 Tf\n/F0 9.5 Tf\n");
  TPdfDictionary* fonts = doc.CurrentPage()->PdfDictionaryByName("Resources")->PdfDictionaryByName("Font");
  EXPECT_EQ(WrittenForm(*fonts), "<</F0 " + std::to_string(font->Data()->ObjectNumber()) + " 0 R>>");
  EXPECT_EQ(DefinitionBody(*font->Data()), "<</Type/Font/Name/F0>>");

  // The operator goes out before the page checks the size.
  std::string before = Content();
  EXPECT_THROW(canvas->SetPDFFont(font, 2001), EPdfInvalidValue);
  EXPECT_EQ(Content().substr(before.size()), "/F0 2001 Tf\n");
}

TEST_F(CanvasFixture, UnicodeTextWidth) {
  EXPECT_EQ(canvas->UnicodeTextWidth(nullptr), 0);
  EXPECT_EQ(canvas->UnicodeTextWidth(u""), 0);
  auto* font = new TTestFont(doc, 500);
  doc.AddFontToList(std::unique_ptr<TPdfFont>(font));
  canvas->SetPDFFont(font, 10);
  EXPECT_FLOAT_EQ(canvas->UnicodeTextWidth(u"ab"), 10.0f);
  // Characters the font lacks (and no fallback family exists) count 600/1000 em.
  EXPECT_FLOAT_EQ(canvas->UnicodeTextWidth(u"a??"), 5.0f + 12.0f);
}

TEST_F(CanvasFixture, ByteStringWidthsWithSpacing) {
  EXPECT_EQ(canvas->TextWidth("abc"), 0); // no font yet
  auto* font = new TTestFont(doc, 500);
  doc.AddFontToList(std::unique_ptr<TPdfFont>(font));
  canvas->SetPDFFont(font, 10);
  canvas->SetCharSpace(1);
  canvas->SetWordSpace(2);
  // (500 + 500 + 250 + 500) * 10 / 1000, one unit of character spacing per byte, word spacing once.
  EXPECT_FLOAT_EQ(canvas->TextWidth("ab c"), 17.5f + 4 + 2);
  EXPECT_FLOAT_EQ(canvas->TextWidth("\t"), 1 + 1); // control bytes take the default width
  EXPECT_EQ(canvas->MeasureText("ab c", 12), 2);
  EXPECT_EQ(canvas->MeasureText("ab c", 100), 4);
  EXPECT_EQ(canvas->MeasureText("ab c", 5), 0);
}

TEST_F(CanvasFixture, WithoutContentStreamNothingIsWrittenButNewPathStillFlags) {
  TPdfDocument bare;
  TPdfCanvas* c = bare.Canvas();
  EXPECT_EQ(c->Contents(), nullptr);
  c->MoveTo(1, 2);
  c->NewPath();
  EXPECT_TRUE(c->FNewPath);
  EXPECT_THROW(c->Page(), EPdfInvalidOperation);
  try {
    c->Page();
  } catch (const EPdfInvalidOperation& e) {
    EXPECT_EQ(e.Message(), "GetPage");
  }
  TPdfCanvas orphan(nullptr);
  try {
    orphan.Doc();
    FAIL();
  } catch (const EPdfInvalidOperation& e) {
    EXPECT_EQ(e.Message(), "GetDoc");
  }
}

TEST_F(CanvasFixture, FiguresAndNewPathCarryOverPages) {
  EXPECT_EQ(Produce([](TPdfCanvas& c) { c.Ellipse(0, 0, 200, 100); }),
            "0 50 m\n0 22.39 44.77 0 100 0 c\n155.23 0 200 22.39 200 50 c\n"
            "200 77.61 155.23 100 100 100 c\n44.77 100 0 77.61 0 50 c\n");
  EXPECT_EQ(Produce([](TPdfCanvas& c) { c.RoundRect(0, 0, 100, 50, 20, 10); }),
            "10 0 m\n90 0 l\n95.52 0 100 2.24 100 5 c\n100 45 l\n100 47.76 95.52 50 90 50 c\n10 50 l\n"
            "4.48 50 0 47.76 0 45 c\n0 5 l\n0 2.24 4.48 0 10 0 c\nh\n");
  canvas->NewPath();
  doc.AddPage();
  EXPECT_TRUE(canvas->FNewPath);
}

struct TTestImage : TPdfXObject {
  explicit TTestImage(TPdfDocument* Doc) : TPdfXObject(Doc, true) {
    Attributes()->AddItem("Type", "XObject");
    Attributes()->AddItem("Subtype", "Image");
  }
};

TEST_F(CanvasFixture, DrawXObjectPlacesARegisteredImage) {
  auto* image = new TTestImage(&doc);
  EXPECT_EQ(doc.AddXObject("ZVImg0", image), 0);
  EXPECT_EQ(doc.GetXObject("ZVImg0"), image);
  EXPECT_EQ(Produce([](TPdfCanvas& c) { c.DrawXObject(10, 20, 300, 150.5f, "ZVImg0"); }),
            "q\n300.000000 0.000000 0.000000 150.500000 10.000000 20.000000 cm\n/ZVImg0 Do\nQ\n");
  canvas->FNewPath = true;
  EXPECT_EQ(Produce([](TPdfCanvas& c) { c.DrawXObjectEx(10, 20, 300, 150, 0, 0, 100, 50, "ZVImg0"); }),
            "q\n0 0 100 50 re\nW\nn\n300.000000 0.000000 0.000000 150.000000 10.000000 20.000000 cm\n"
            "/ZVImg0 Do\nQ\n");
  EXPECT_FALSE(canvas->FNewPath);
  TPdfDictionary* xObjects =
      doc.CurrentPage()->PdfDictionaryByName("Resources")->PdfDictionaryByName("XObject");
  EXPECT_EQ(xObjects->ItemCount(), 1);
  EXPECT_EQ(xObjects->ValueByName("ZVImg0"), image);

  image->Writer().Add(std::string("\xFF\x00\x00", 3));
  image->Attributes()->AddItem("Width", 1);
  image->Attributes()->AddItem("Height", 1);
  image->Attributes()->AddItem("ColorSpace", "DeviceRGB");
  image->Attributes()->AddItem("BitsPerComponent", 8);
  std::string path = SaveForInspection(doc, "drawn-image.pdf");
  EXPECT_EQ(PdfToolProblems(path), "");
}

TEST_F(CanvasFixture, DrawXObjectErrorsComeBeforeAnyOutput) {
  std::string before = Content();
  try {
    canvas->DrawXObject(0, 0, 1, 1, "ZVImg9");
    FAIL();
  } catch (const EPdfInvalidValue& e) {
    EXPECT_EQ(e.Message(), "DrawXObject: unknown ZVImg9");
  }
  auto* image = new TTestImage(&doc);
  doc.AddXObject("ZVImg0", image);
  doc.CurrentPage()->PdfDictionaryByName("Resources")->RemoveItem("XObject");
  try {
    canvas->DrawXObjectEx(0, 0, 1, 1, 0, 0, 1, 1, "ZVImg0");
    FAIL();
  } catch (const EPdfInvalidValue& e) {
    EXPECT_EQ(e.Message(), "DrawXObject: no XObject");
  }
  EXPECT_EQ(Content(), before);
}

TEST_F(CanvasFixture, XObjectRegistrationRules) {
  auto message = [](const std::function<void()>& f) -> std::string {
    try {
      f();
    } catch (const EPdfInvalidValue& e) {
      return e.Message();
    }
    return "(none)";
  };
  EXPECT_EQ(message([&] { doc.RegisterXObject(nullptr, "a"); }), "RegisterXObject: no AObject");
  TPdfXObject untyped(&doc, true);
  EXPECT_EQ(message([&] { doc.RegisterXObject(&untyped, "a"); }), "RegisterXObject: no XObject");
  EXPECT_EQ(message([&] { doc.AddXObject("a", &untyped); }), "AddXObject: invalid TPdfImage a");
  TPdfXObject noSubtype(&doc, true);
  noSubtype.Attributes()->AddItem("Type", "XObject");
  EXPECT_EQ(message([&] { doc.AddXObject("a", &noSubtype); }), "AddXObject: invalid TPdfImage a");

  doc.AddXObject("ZVImg0", new TTestImage(&doc));
  TTestImage duplicate(&doc);
  EXPECT_EQ(message([&] { doc.AddXObject("ZVImg0", &duplicate); }), "AddXObject: dup name ZVImg0");
  EXPECT_EQ(message([&] { doc.RegisterXObject(&duplicate, "ZVImg0"); }), "RegisterXObject: dup name ZVImg0");
  EXPECT_EQ(duplicate.ObjectType(), otDirectObject); // refused before registration: still ours
  auto* second = new TTestImage(&doc);
  EXPECT_EQ(doc.RegisterXObject(second, "ZVImg1"), 1);
  EXPECT_EQ(doc.RegisterXObject(second, "ZVImg1"), -1); // already named
}

} // namespace
