// Destinations, bookmarks, links, annotations and the outline tree.
#include <gtest/gtest.h>

#include "PdfTestSupport.h"
#include "pdf/PdfDocument.h"
#include "pdf/PdfErrors.h"

namespace {

std::unique_ptr<TPdfDocumentGDI> DocumentWithPage() {
  auto doc = std::make_unique<TPdfDocumentGDI>(true, 1250);
  doc->SetCompressionMethod(cmNone);
  doc->AddPage();
  return doc;
}

// The body of object Number in a saved file.
std::string ObjectText(const std::string& Bytes, int Number) {
  std::string head = std::to_string(Number) + " 0 obj\n";
  size_t start = Bytes.find(head);
  if (start == std::string::npos) return "(missing)";
  start += head.size();
  return Bytes.substr(start, Bytes.find("\nendobj\n", start) - start);
}

TEST(PdfNavigation, DestinationForms) {
  auto doc = DocumentWithPage();
  TPdfDestination* dest = doc->CreateDestination();
  dest->SetTop(700);
  dest->SetZoom(0);
  struct {
    TPdfDestinationType Type;
    const char* Expected;
  } cases[] = {{dtXYZ, "[5 0 R/XYZ 0 700 0]"}, {dtFit, "[5 0 R/Fit]"},
               {dtFitB, "[5 0 R/FitB]"},       {dtFitH, "[5 0 R/FitH 700]"},
               {dtFitBH, "[5 0 R/FitBH 700]"}, {dtFitV, "[5 0 R/FitV 0]"},
               {dtFitBV, "[5 0 R/FitBV 0]"},   {dtFitR, "[5 0 R/FitR 0 0 0 700]"}};
  for (const auto& c : cases) {
    dest->SetDestinationType(c.Type);
    std::unique_ptr<TPdfArray> value(dest->GetValue());
    EXPECT_EQ(WrittenForm(*value), c.Expected);
  }
  dest->SetDestinationType(dtXYZ);
  dest->SetLeft(-5);
  dest->SetZoom(1.5f);
  std::unique_ptr<TPdfArray> value(dest->GetValue());
  EXPECT_EQ(WrittenForm(*value), "[5 0 R/XYZ null 700 1.5]");
  EXPECT_EQ(dest->Left(), -1);
}

TEST(PdfNavigation, DestinationRefusals) {
  TPdfDocument noPage;
  try {
    noPage.CreateDestination();
    FAIL();
  } catch (const EPdfInvalidOperation& e) {
    EXPECT_EQ(e.Message(), "GetPage");
  }
  EXPECT_THROW(TPdfDestination(nullptr), EPdfInvalidOperation);
  auto doc = DocumentWithPage();
  TPdfDestination* dest = doc->CreateDestination();
  for (auto [zoom, message] : {std::pair{-0.5f, "Zoom<0"}, std::pair{10.5f, "Zoom>10"}}) {
    try {
      dest->SetZoom(zoom);
      FAIL();
    } catch (const EPdfInvalidValue& e) {
      EXPECT_EQ(e.Message(), message);
    }
  }
  dest->SetZoom(10);
  EXPECT_EQ(dest->Zoom(), 10);
}

TEST(PdfNavigation, LinkCreatedBeforeItsBookmarkGetsItsDestination) {
  auto doc = DocumentWithPage();
  TPdfDictionary* early = doc->CreateLink({10, 20, 110, 40}, "x");
  TPdfDictionary* other = doc->CreateLink({0, 0, 5, 5}, "never");
  EXPECT_EQ(early->ValueByName("Dest"), nullptr);
  doc->CreateBookMark(700.5, "x"); // rounds half to even: 700
  TPdfDictionary* late = doc->CreateLink({1, 2, 3, 4}, "x");
  EXPECT_EQ(DefinitionBody(*early),
            "<</Type/Annot/Subtype/Link/F 4/Rect[10 20 110 40]/Dest[5 0 R/XYZ 0 700 0]>>");
  EXPECT_EQ(DefinitionBody(*late), "<</Type/Annot/Subtype/Link/F 4/Rect[1 2 3 4]/Dest[5 0 R/XYZ 0 700 0]>>");
  EXPECT_EQ(other->ValueByName("Dest"), nullptr);
  EXPECT_EQ(WrittenForm(*doc->CurrentPage()->PdfArrayByName("Annots")), "[7 0 R 8 0 R 9 0 R]");

  std::string path = SaveForInspection(*doc, "links-and-bookmarks.pdf");
  EXPECT_EQ(PdfToolProblems(path), "");
}

TEST(PdfNavigation, BookmarkRefusals) {
  TPdfDocument noPage;
  try {
    noPage.CreateBookMark(0, "a");
    FAIL();
  } catch (const EPdfInvalidOperation& e) {
    EXPECT_EQ(e.Message(), "TPdfDocument.Document is null");
  }
  auto doc = DocumentWithPage();
  doc->CreateBookMark(10, "a");
  for (const char* name : {"a", ""}) {
    try {
      doc->CreateBookMark(20, name);
      FAIL();
    } catch (const EPdfInvalidValue& e) {
      EXPECT_EQ(e.Message(), std::string("Duplicated or void bookmark name \"") + name + "\"");
    }
  }
}

TEST(PdfNavigation, TextAnnotation) {
  auto doc = DocumentWithPage();
  TPdfDictionary* note = doc->CreateAnnotation(asTextNotes, {1.5f, 2, 3, 4.25f});
  EXPECT_EQ(DefinitionBody(*note), "<</Type/Annot/Subtype/Text/F 4/Rect[1.5 2 3 4.25]>>");
  EXPECT_TRUE(note->SaveAtTheEnd());
}

TEST(PdfNavigation, OutlineLevels1221) {
  auto doc = DocumentWithPage();
  TPdfOutlineEntry* a = doc->CreateOutline(u"A", 1, 800);
  TPdfOutlineEntry* b = doc->CreateOutline(u"B", 2, 700.9);
  TPdfOutlineEntry* c = doc->CreateOutline(u"Zażółć", 2, -1);
  TPdfOutlineEntry* d = doc->CreateOutline(u"D", 1, 0);
  TPdfOutlineRoot* root = doc->OutlineRoot();
  EXPECT_EQ(a->Parent(), root);
  EXPECT_EQ(b->Parent(), a);
  EXPECT_EQ(c->Parent(), a);
  EXPECT_EQ(d->Parent(), root);
  EXPECT_EQ(root->Count(), 4);
  EXPECT_EQ(a->Count(), 2);
  EXPECT_EQ(c->Dest(), nullptr);

  std::string bytes = SavedBytes(*doc);
  int na = a->Data()->ObjectNumber(), nb = b->Data()->ObjectNumber(), nc = c->Data()->ObjectNumber(),
      nd = d->Data()->ObjectNumber();
  auto ref = [](int n) { return std::to_string(n) + " 0 R"; };
  EXPECT_EQ(ObjectText(bytes, 2), "<</Type/Outlines/Count 4/First " + ref(na) + "/Last " + ref(nd) + ">>");
  EXPECT_EQ(ObjectText(bytes, na), "<</Parent 2 0 R/Count -2/Title(A)/Dest[5 0 R/XYZ 0 800 0]/First " +
                                       ref(nb) + "/Last " + ref(nc) + "/Next " + ref(nd) + ">>");
  EXPECT_EQ(ObjectText(bytes, nb),
            "<</Parent " + ref(na) + "/Count 0/Title(B)/Dest[5 0 R/XYZ 0 700 0]/Next " + ref(nc) + ">>");
  EXPECT_EQ(ObjectText(bytes, nc),
            "<</Parent " + ref(na) + "/Count 0/Title<FEFF005A0061017C00F301420107>/Prev " + ref(nb) + ">>");
  EXPECT_EQ(ObjectText(bytes, nd),
            "<</Parent 2 0 R/Count 0/Title(D)/Dest[5 0 R/XYZ 0 0 0]/Prev " + ref(na) + ">>");

  auto again = DocumentWithPage();
  again->CreateOutline(u"A", 1, 800);
  again->CreateOutline(u"B", 2, 700);
  again->CreateOutline(u"C", 2, 600);
  again->CreateOutline(u"D", 1, 0);
  std::string path = SaveForInspection(*again, "outline-1221.pdf");
  EXPECT_EQ(PdfToolProblems(path), "");
}

} // namespace
