// The document: skeleton numbering, pages, properties, the save phases and the whole file.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "PdfTestSupport.h"
#include "pdf/PdfDate.h"
#include "pdf/PdfDocument.h"
#include "pdf/PdfErrors.h"

namespace {

// Header, object definitions, then the table and trailer with the offsets those objects get.
std::string ExpectedFile(const std::vector<std::string>& Objects, const std::string& TrailerDict) {
  std::string file = "%PDF-1.3\n";
  std::string table = "xref\n0 " + std::to_string(Objects.size() + 1) + "\n0000000000 65535 f \n";
  for (size_t i = 0; i < Objects.size(); ++i) {
    char line[32];
    std::snprintf(line, sizeof(line), "%010zu 00000 n \n", file.size());
    table += line;
    file += std::to_string(i + 1) + " 0 obj\n" + Objects[i] + "\nendobj\n";
  }
  size_t xref = file.size();
  return file + table + "trailer\n" + TrailerDict + "\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
}

const std::string Catalog = "<</Type/Catalog/PageLayout/SinglePage/Outlines 2 0 R/Pages 4 0 R>>";
const std::string Info =
    "<</Producer(Zevrin PDF engine 1.0)/CreationDate(D:20240131235959)/ModDate(D:20240131235959)>>";

// What the viewer's export sets up.
std::unique_ptr<TPdfDocumentGDI> ViewerDocument() {
  auto doc = std::make_unique<TPdfDocumentGDI>(true, 1250, false);
  doc->SetCompressionMethod(cmNone);
  return doc;
}

template <class E> std::string MessageOf(const std::function<void()>& Action) {
  try {
    Action();
  } catch (const E& e) {
    return e.Message();
  }
  return "(no exception)";
}

TEST(PdfDocument, OnePageWithoutFontsWholeFile) {
  auto doc = ViewerDocument();
  doc->SetDefaultPageWidth(596);
  doc->SetDefaultPageHeight(842);
  doc->AddPage();
  std::string expected =
      ExpectedFile({Catalog, "<</Type/Outlines/Count 0>>", Info, "<</Type/Pages/Kids[5 0 R]/Count 1>>",
                    "<</MediaBox[0 0 596 842]/Type/Page/Parent 4 0 "
                    "R/Resources<</Font<<>>/XObject<<>>/ProcSet[/PDF/Text/ImageC]>>"
                    "/Contents 6 0 R>>",
                    "<</Length 0>>\nstream\nendstream"},
                   "<</Size 7/Root 1 0 R/Info 3 0 R>>");
  EXPECT_EQ(SavedBytes(*doc), expected);
  EXPECT_EQ(doc->Xref()->ItemCount(), 7);

  auto again = ViewerDocument();
  again->SetDefaultPageWidth(596);
  again->AddPage();
  std::string path = SaveForInspection(*again, "one-page.pdf");
  EXPECT_EQ(PdfToolProblems(path), "");
  EXPECT_EQ(PdfInfoPages(path), 1);
}

TEST(PdfDocument, EmptyGdiDocumentSavesAnEmptyPageTree) {
  auto doc = ViewerDocument();
  EXPECT_EQ(SavedBytes(*doc),
            ExpectedFile({Catalog, "<</Type/Outlines/Count 0>>", Info, "<</Type/Pages/Kids[]/Count 0>>"},
                         "<</Size 5/Root 1 0 R/Info 3 0 R>>"));
}

TEST(PdfDocument, BaseDocumentRefusesToSaveWithoutPage) {
  TPdfDocument doc(true, 1250);
  TMemoryStream stream;
  EXPECT_EQ(MessageOf<EPdfInvalidOperation>([&] { doc.SaveToStream(stream); }),
            "TPdfDocument.Document is null");
  EXPECT_FALSE(doc.SaveToFile(std::string(ZVP_TEST_OUTPUT_DIR) + "/pdf-never-written.pdf"));
}

TEST(PdfDocument, WithoutOutlinesTheNumbersMoveUp) {
  TPdfDocument doc(false, 1250);
  doc.SetCompressionMethod(cmNone);
  doc.AddPage();
  EXPECT_EQ(doc.Root()->Data()->ObjectNumber(), 1);
  EXPECT_EQ(doc.Info()->Data()->ObjectNumber(), 2);
  EXPECT_EQ(doc.Root()->Pages()->ObjectNumber(), 3);
  EXPECT_EQ(doc.CurrentPage()->ObjectNumber(), 4);
  EXPECT_EQ(MessageOf<EPdfInvalidOperation>([&] { doc.OutlineRoot(); }), "TPdfDocument.Document is null");
  EXPECT_EQ(doc.CreateOutline(u"x", 1, 0), nullptr);
  std::string bytes = SavedBytes(doc);
  EXPECT_NE(bytes.find("1 0 obj\n<</Type/Catalog/PageLayout/SinglePage/Pages 3 0 R>>\nendobj\n"),
            std::string::npos);
  EXPECT_NE(bytes.find("trailer\n<</Size 6/Root 1 0 R/Info 2 0 R>>\n"), std::string::npos);
}

TEST(PdfDocument, CreationDefaults) {
  TPdfDocumentGDI doc;
  EXPECT_EQ(doc.CodePage(), 1252); // the host's ANSI code page
  EXPECT_EQ(doc.CharSet(), 0);
  EXPECT_EQ(doc.DefaultPaperSize(), psA4);
  EXPECT_EQ(doc.DefaultPageWidth(), 595);
  EXPECT_EQ(doc.DefaultPageHeight(), 842);
  EXPECT_EQ(doc.CompressionMethod(), cmFlateDecode);
  EXPECT_EQ(doc.ScreenLogPixels(), 96);
  EXPECT_TRUE(doc.UseFontFallBack());
  EXPECT_EQ(doc.FontFallBackIndex(), -1); // no font service: no families
  EXPECT_TRUE(doc.TrueTypeFonts().empty());
  EXPECT_EQ(doc.fUseMetaFileTextPositioning, tpSetTextJustification);
  EXPECT_EQ(doc.fKerningHScaleBottom, 99.0f);
  EXPECT_EQ(doc.fKerningHScaleTop, 101.0f);
  EXPECT_FLOAT_EQ(doc.Canvas()->FFactor, 0.75f);
  EXPECT_EQ(MessageOf<EPdfInvalidOperation>([] { TPdfDocument pdfa(false, 0, true); }),
            "PDF/A-1 output is not supported");

  struct {
    int CodePage, CharSet;
  } charSets[] = {{874, 222},  {932, 128},  {936, 134},  {949, 129},  {1250, 238}, {1251, 204}, {1253, 161},
                  {1254, 162}, {1255, 177}, {1256, 178}, {1257, 186}, {1258, 163}, {1252, 0},   {437, 0}};
  for (const auto& c : charSets)
    EXPECT_EQ(TPdfDocument(false, c.CodePage).CharSet(), c.CharSet) << c.CodePage;
}

TEST(PdfDocument, PaperSizesAndOrientation) {
  TPdfDocument doc;
  struct {
    TPDFPaperSize Size;
    int Width, Height;
  } sizes[] = {
      {psA4, 595, 842}, {psA5, 419, 595}, {psA3, 842, 1190}, {psLetter, 612, 792}, {psLegal, 612, 1008}};
  for (const auto& s : sizes) {
    doc.SetDefaultPaperSize(s.Size);
    EXPECT_EQ(doc.DefaultPageWidth(), s.Width);
    EXPECT_EQ(doc.DefaultPageHeight(), s.Height);
  }
  doc.SetDefaultPageLandscape(true);
  EXPECT_EQ(doc.DefaultPageWidth(), 1008);
  EXPECT_EQ(doc.DefaultPaperSize(), psLegal);
  doc.SetDefaultPageWidth(500);
  EXPECT_EQ(doc.DefaultPaperSize(), psUserDefined);
  doc.SetDefaultPaperSize(psUserDefined);
  EXPECT_EQ(doc.DefaultPageWidth(), 500);
  EXPECT_EQ(doc.DefaultPageHeight(), 612);
}

TEST(PdfDocument, PagesKeepTheSizeTheyWereAddedWith) {
  TPdfDocument doc;
  doc.SetDefaultPageWidth(596);
  doc.SetDefaultPageHeight(842);
  TPdfPage* first = doc.AddPage();
  doc.SetDefaultPageWidth(300);
  TPdfPage* second = doc.AddPage();
  EXPECT_EQ(first->PageWidth(), 596);
  EXPECT_EQ(second->PageWidth(), 300);
  EXPECT_EQ(doc.RawPages().size(), 2u);
  EXPECT_EQ(doc.Root()->Pages()->PdfNumberByName("Count")->Value(), 2);
  EXPECT_EQ(doc.CurrentPage(), second);
  second->SetPageLandscape(true);
  EXPECT_EQ(second->PageWidth(), 842);
  EXPECT_EQ(second->PageHeight(), 300);
}

TEST(PdfDocument, CreatePagesUnderAPageTreeNodeAddsAKid) {
  TPdfDocument doc;
  TPdfDictionary* root = doc.Root()->Pages();
  doc.AddPage();
  TPdfDictionary* child = doc.CreatePages(root);
  EXPECT_EQ(doc.Root()->Pages(), root); // the tree with its page stays the catalog's
  EXPECT_EQ(WrittenForm(*root->PdfArrayByName("Kids")),
            "[4 0 R " + std::to_string(child->ObjectNumber()) + " 0 R]");
  EXPECT_EQ(root->PdfNumberByName("Count")->Value(), 2);
  EXPECT_EQ(child->ValueByName("Parent"), root);
  TPdfDictionary* fresh = doc.CreatePages(nullptr);
  EXPECT_EQ(doc.Root()->Pages(), fresh);
}

TEST(PdfDocument, PageTextStateLimits) {
  TPdfDocument doc;
  TPdfPage* page = doc.AddPage();
  struct {
    std::function<void()> Set;
    const char* Message;
  } refused[] = {{[&] { page->SetCharSpace(-31); }, "SetCharSpace"},
                 {[&] { page->SetCharSpace(301); }, "SetCharSpace"},
                 {[&] { page->SetWordSpace(-0.5f); }, "SetWordSpace"},
                 {[&] { page->SetFontSize(2001); }, "SetFontSize"},
                 {[&] { page->SetFontSize(-1); }, "SetFontSize"},
                 {[&] { page->SetLeading(300.5f); }, "SetLeading"}};
  for (const auto& r : refused)
    EXPECT_EQ(MessageOf<EPdfInvalidValue>(r.Set), r.Message);
  page->SetCharSpace(-30);
  page->SetFontSize(2000);
  page->SetLeading(0);
  EXPECT_EQ(page->CharSpace(), -30);
  page->SetHorizontalScaling(5);
  EXPECT_EQ(page->HorizontalScaling(), 10);
  page->SetHorizontalScaling(301);
  EXPECT_EQ(page->HorizontalScaling(), 300);
}

TEST(PdfDocument, DateStrings) {
  TDateTime date = EncodePdfDateTime(2024, 1, 31, 23, 59, 59);
  EXPECT_EQ(PdfDateToString(date), "D:20240131235959");
  EXPECT_EQ(PdfStringToDate("D:20240131235959"), date);
  for (const char* bad : {"D:2024013123595", "D:202401312359590", "D:20240131245959", "D:20240131236059",
                          "D:20240131235960", "D:20240231235959", "X:20240131235959", "D:2024013123595x"})
    EXPECT_EQ(PdfStringToDate(bad), 0) << bad;
  TPdfDocument doc;
  doc.Info()->SetModDate(date);
  EXPECT_EQ(doc.Info()->ModDate(), date);
  EXPECT_EQ(doc.Info()->Data()->PdfTextValueByName("ModDate"), "D:20240131235959");
  doc.Info()->SetTitle(u"Raport sprzedaży");
  EXPECT_EQ(doc.Info()->Title(), u"Raport sprzedaży");
}

TEST(PdfDocument, SavePhases) {
  auto doc = ViewerDocument();
  doc->AddPage();
  TMemoryStream first, second;
  EXPECT_EQ(MessageOf<EPdfInvalidOperation>([&] { doc->SaveToStreamDirectEnd(); }), "SaveToStreamDirectEnd");
  EXPECT_EQ(MessageOf<EPdfInvalidOperation>([&] { doc->SaveToStreamDirectPageFlush(); }),
            "SaveToStreamDirectPageFlush");
  doc->SaveToStreamDirectBegin(first);
  EXPECT_EQ(MessageOf<EPdfInvalidOperation>([&] { doc->SaveToStreamDirectBegin(second); }),
            "SaveToStreamDirectBegin called twice");
  doc->SaveToStreamDirectEnd();
  EXPECT_FALSE(doc->IsSaving());
  doc->SaveToStreamDirectBegin(second); // accepted again after End
  doc->SaveToStreamDirectEnd();
}

TEST(PdfDocument, PageFlushWritesWhatIsNotKeptForTheEnd) {
  TPdfDocument doc(true, 1250);
  doc.SetCompressionMethod(cmNone);
  doc.AddPage();
  doc.Canvas()->MoveTo(1, 2);
  TMemoryStream stream;
  doc.SaveToStreamDirectBegin(stream, EncodePdfDateTime(2024, 1, 31, 23, 59, 59));
  doc.SaveToStreamDirectPageFlush();
  // The base document's content stream is not kept for the end: only it goes out with the flush, and
  // the end does not write it again.
  EXPECT_EQ(doc.Xref()->GetItem(6)->ByteOffset(), 9);
  for (int kept = 1; kept <= 5; ++kept)
    EXPECT_EQ(doc.Xref()->GetItem(kept)->ByteOffset(), -1) << kept;
  doc.SaveToStreamDirectEnd();
  std::string all(reinterpret_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
  EXPECT_EQ(all.find("6 0 obj\n<</Length 6>>\nstream\n1 2 m\nendstream\nendobj\n1 0 obj\n"), 9u);
  EXPECT_EQ(all.find("6 0 obj"), all.rfind("6 0 obj"));
}

class TFailingStream : public TMemoryStream {
 public:
  int32_t Write(const void* Buffer, int32_t Count) override {
    if (Size() + Count > 200) return 0;
    return TMemoryStream::Write(Buffer, Count);
  }
};

TEST(PdfDocument, FailedEndReleasesTheSaveAndSaveToFileReportsFalse) {
  auto doc = ViewerDocument();
  doc->AddPage();
  doc->Canvas()->Rectangle(0, 0, 100, 100);
  TFailingStream failing;
  doc->SaveToStreamDirectBegin(failing);
  EXPECT_THROW(doc->SaveToStreamDirectEnd(), EWriteError);
  EXPECT_FALSE(doc->IsSaving());

  // A file that cannot be created: false, and nothing escapes.
  auto other = ViewerDocument();
  other->AddPage();
  EXPECT_FALSE(other->SaveToFile("/nonexistent-folder/x/metafilepdf.pdf"));
}

TEST(PdfDocument, SaveToFileReplacesTheFileOnlyWhenComplete) {
  std::string path = std::string(ZVP_TEST_OUTPUT_DIR) + "/pdf-replaced.pdf";
  WriteFileBytes(path, "old", 3);
  TPdfDocument noPage;
  EXPECT_FALSE(noPage.SaveToFile(path));
  EXPECT_EQ(ReadFileBytes(path).size(), 3u); // a failed save leaves the old file alone
  auto doc = ViewerDocument();
  doc->AddPage();
  EXPECT_TRUE(doc->SaveToFile(path));
  EXPECT_EQ(PdfToolProblems(path), "");
}

TEST(PdfDocument, NewDocAfterPagesStartsAFreshDocument) {
  auto doc = ViewerDocument();
  doc->AddPage();
  doc->AddPage();
  doc->NewDoc();
  EXPECT_TRUE(doc->RawPages().empty());
  EXPECT_EQ(doc->CurrentPage(), nullptr);
  EXPECT_EQ(doc->Canvas()->Contents(), nullptr);
  EXPECT_EQ(doc->Xref()->ItemCount(), 5);
  doc->AddPage();
  EXPECT_EQ(doc->CurrentPage()->ObjectNumber(), 5);
  std::string path = SaveForInspection(*doc, "newdoc-after-pages.pdf");
  EXPECT_EQ(PdfToolProblems(path), "");
}

TEST(PdfDocument, ManyPagesWithCompressedContentPassTheTools) {
  TPdfDocumentGDI doc(true, 1250);
  for (int p = 0; p < 3; ++p) {
    doc.AddPage();
    TPdfCanvas* c = doc.Canvas();
    c->SetRGBStrokeColor(0x0000FF);
    for (int i = 0; i < 50; ++i) {
      c->MoveTo(10 + i * 5.5f, 10);
      c->LineTo(10 + i * 5.5f, 800 - p * 10.25f);
    }
    c->Stroke();
    c->Ellipse(100, 100, 200, 120);
    c->FillStroke();
  }
  std::string path = SaveForInspection(doc, "three-compressed-pages.pdf");
  EXPECT_EQ(PdfToolProblems(path), "");
  EXPECT_EQ(PdfInfoPages(path), 3);
}

} // namespace
