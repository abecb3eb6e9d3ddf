// Written forms of the PDF values, container ownership and references, registry numbering.
#include <gtest/gtest.h>

#include <memory>

#include "PdfTestSupport.h"
#include "pdf/PdfArray.h"
#include "pdf/PdfDictionary.h"
#include "pdf/PdfErrors.h"
#include "pdf/PdfWrite.h"
#include "pdf/PdfXref.h"

namespace {

TEST(PdfObject, ScalarWrittenForms) {
  struct {
    std::unique_ptr<TPdfObject> Object;
    std::string Expected;
  } cases[] = {
      {std::make_unique<TPdfNull>(), "null"},
      {std::make_unique<TPdfBoolean>(true), "true"},
      {std::make_unique<TPdfBoolean>(false), "false"},
      {std::make_unique<TPdfNumber>(-42), "-42"},
      {std::make_unique<TPdfReal>(595.276), "595.28"},
      {std::make_unique<TPdfReal>(0.004), "0"},
      {std::make_unique<TPdfText>("a(b)c\\"), "(a\\(b\\)c\\\\)"},
      {std::make_unique<TPdfText>("x\ry"), "(x\\ry)"},
      {std::make_unique<TPdfTextString>(u"Zażółć"), "<FEFF005A0061017C00F301420107>"},
      {std::make_unique<TPdfTextString>(u"Café"), "(Caf\xE9)"},
      {std::make_unique<TPdfTextString>(u"\u20AC"), "<FEFF20AC>"}, // in code page 1252, but not as byte 20AC
      {std::make_unique<TPdfTextUTF8>("Zo\xC3\xAB (1)"), "(Zo\xEB \\(1\\))"},
      {std::make_unique<TPdfRawText>("[278 0 556 ]"), "[278 0 556 ]"},
      {std::make_unique<TPdfClearText>("a\0(b", 4), std::string("(a\\000\\(b)")},
      {std::make_unique<TPdfName>("A#B"), "/A#23B"},
      {std::make_unique<TPdfName>("\xB3"), "/#B3"},
  };
  for (auto& c : cases)
    EXPECT_EQ(WrittenForm(*c.Object), c.Expected);
}

TEST(PdfObject, TextStringRoundTripsUtf16) {
  TPdfTextString text(u"Zażółć \U0001F600");
  EXPECT_EQ(text.Value(), u"Zażółć \U0001F600");
  text.SetValue(u"Łódź");
  EXPECT_EQ(text.Value(), u"Łódź");
  EXPECT_EQ(WrittenForm(text), "<FEFF014100F30064017A>");
}

TEST(PdfObject, ArraySpacingAroundReferencesNamesAndNumbers) {
  TPdfXref xref;
  auto* page = new TPdfDictionary(&xref);
  xref.AddObject(page);
  xref.AddObject(new TPdfNull()); // 2
  auto* third = new TPdfNull();
  xref.AddObject(third); // 3
  TPdfArray array(&xref);
  array.AddItem(third);
  array.AddItem(new TPdfName("XYZ"));
  array.AddItem(new TPdfNumber(0));
  array.AddItem(new TPdfNumber(842));
  array.AddItem(new TPdfReal(0));
  EXPECT_EQ(WrittenForm(array), "[3 0 R/XYZ 0 842 0]");
  EXPECT_EQ(array.Items(0), third); // references resolve through the registry
  EXPECT_EQ(array.Items(5), nullptr);
  EXPECT_EQ(array.Items(-1), nullptr);

  TPdfArray unresolved(nullptr);
  unresolved.AddItem(third);
  EXPECT_EQ(unresolved.Items(0), nullptr);
  EXPECT_EQ(WrittenForm(unresolved), "[3 0 R]");
}

TEST(PdfObject, ArrayConstructorsAndNames) {
  TPdfArray numbers(nullptr, std::vector<int32_t>{0, 0, 595, 842});
  EXPECT_EQ(WrittenForm(numbers), "[0 0 595 842]");
  const uint16_t words[] = {1, 65535};
  TPdfArray wordArray(nullptr, words, 2);
  EXPECT_EQ(WrittenForm(wordArray), "[1 65535]");
  std::unique_ptr<TPdfArray> reals(TPdfArray::CreateReals(nullptr, {1.5, -2, 0.001}));
  EXPECT_EQ(WrittenForm(*reals), "[1.5 -2 0]");

  std::unique_ptr<TPdfArray> names(TPdfArray::CreateNames(nullptr, {"PDF", "Text", "ImageC"}));
  EXPECT_EQ(WrittenForm(*names), "[/PDF/Text/ImageC]");
  EXPECT_NE(names->FindName("Text"), nullptr);
  EXPECT_EQ(names->FindName("text"), nullptr);
  EXPECT_TRUE(names->RemoveName("Text"));
  EXPECT_FALSE(names->RemoveName("Text"));
  EXPECT_EQ(WrittenForm(*names), "[/PDF/ImageC]");
}

TEST(PdfObject, SameDirectItemAddedTwiceKeepsOneMember) {
  TPdfArray array(nullptr);
  auto* item = new TPdfNumber(5);
  EXPECT_EQ(array.AddItem(new TPdfNumber(1)), 0);
  EXPECT_EQ(array.AddItem(item), 1);
  EXPECT_EQ(array.AddItem(item), 1);
  EXPECT_EQ(array.ItemCount(), 2);
}

TEST(PdfObject, DictionaryRekeyingMovesTheKeyToTheEnd) {
  TPdfDictionary dict(nullptr);
  dict.AddItem("Type", "XObject");
  dict.AddItem("Length", 10);
  dict.AddItem("Type", "Page");
  EXPECT_EQ(WrittenForm(dict), "<</Length 10/Type/Page>>");
  dict.AddItem("Hidden", new TPdfNumber(1), true);
  dict.AddItemTextString("Title", u"Zażółć");
  EXPECT_EQ(WrittenForm(dict), "<</Length 10/Type/Page/Title<FEFF005A0061017C00F301420107>>>");
  EXPECT_EQ(dict.ItemCount(), 4);
  EXPECT_TRUE(dict.Items(2)->IsInternal());
  dict.RemoveItem("Length");
  dict.RemoveItem("Missing");
  EXPECT_EQ(WrittenForm(dict), "<</Type/Page/Title<FEFF005A0061017C00F301420107>>>");
}

TEST(PdfObject, DictionaryGettersAreTypedAndCaseSensitive) {
  TPdfXref xref;
  auto* shared = new TPdfDictionary(&xref);
  xref.AddObject(shared);
  TPdfDictionary dict(&xref);
  dict.AddItem("Type", "Page");
  dict.AddItem("Count", 3);
  dict.AddItem("Shared", shared);
  dict.AddItemText("Producer", "engine");
  dict.AddItemTextUTF8("Note", "caf\xC3\xA9");
  dict.AddItemTextString("Title", u"Zażółć");
  dict.AddItem("Flag", new TPdfBoolean(true));
  dict.AddItem("Scale", new TPdfReal(1.5));
  dict.AddItem("Kids", new TPdfArray(&xref));

  EXPECT_EQ(dict.TypeOf(), "Page");
  EXPECT_EQ(dict.PdfNumberByName("Count")->Value(), 3);
  EXPECT_EQ(dict.PdfNumberByName("count"), nullptr);
  EXPECT_EQ(dict.PdfNumberByName("Type"), nullptr); // a name is not a number
  EXPECT_EQ(dict.PdfDictionaryByName("Shared"), shared);
  EXPECT_EQ(dict.PdfTextValueByName("Producer"), "engine");
  EXPECT_EQ(dict.PdfTextUTF8ValueByName("Note"), "caf\xC3\xA9");
  EXPECT_EQ(dict.PdfTextStringValueByName("Title"), u"Zażółć");
  EXPECT_EQ(dict.PdfTextStringValueByName("Missing"), u"");
  EXPECT_TRUE(dict.PdfBooleanByName("Flag")->Value());
  EXPECT_EQ(dict.PdfRealByName("Scale")->Value(), 1.5);
  EXPECT_NE(dict.PdfArrayByName("Kids"), nullptr);
  EXPECT_EQ(dict.PdfNameByName("Type")->Value(), "Page");
  EXPECT_EQ(dict.Items(99), nullptr);
  EXPECT_EQ(WrittenForm(dict).substr(0, 33), "<</Type/Page/Count 3/Shared 1 0 R");
}

TEST(PdfObject, Errors) {
  TPdfDictionary dict(nullptr);
  try {
    dict.AddItem("Key", static_cast<TPdfObject*>(nullptr));
    FAIL();
  } catch (const EPdfInvalidValue& e) {
    EXPECT_EQ(e.Message(), "TPdfDictionaryElement");
  }
  EXPECT_THROW(TPdfDictionaryElement("Key", nullptr, false), EPdfInvalidValue);

  TPdfNumber direct(1);
  TMemoryStream stream;
  TPdfWrite w(nullptr, &stream);
  try {
    direct.WriteValueTo(w);
    FAIL();
  } catch (const EPdfInvalidOperation& e) {
    EXPECT_EQ(e.Message(), "WriteValueTo");
  }
  TPdfVirtualObject reference(3);
  EXPECT_THROW(reference.WriteValueTo(w), EPdfInvalidOperation);
  EXPECT_EQ(w.ToPDFString(), "");
}

TEST(PdfXref, NumbersFollowRegistrationAndRefuseNonDirectObjects) {
  TPdfXref xref;
  EXPECT_EQ(xref.ItemCount(), 1);
  auto* first = new TPdfNumber(7);
  xref.AddObject(first);
  auto* second = new TPdfNull();
  xref.AddObject(second);
  EXPECT_EQ(first->ObjectNumber(), 1);
  EXPECT_EQ(second->ObjectNumber(), 2);
  EXPECT_EQ(first->ObjectType(), otIndirectObject);
  EXPECT_EQ(xref.GetObject(2), second);
  EXPECT_EQ(xref.GetObject(3), nullptr);
  EXPECT_EQ(xref.GetObject(0), nullptr);
  EXPECT_EQ(WrittenForm(*first), "1 0 R");

  for (TPdfObject* refused : {static_cast<TPdfObject*>(nullptr), static_cast<TPdfObject*>(first)}) {
    try {
      xref.AddObject(refused);
      FAIL();
    } catch (const EPdfInvalidOperation& e) {
      EXPECT_EQ(e.Message(), "AddObject");
    }
  }
  TPdfVirtualObject reference(1);
  EXPECT_THROW(xref.AddObject(&reference), EPdfInvalidOperation);

  TMemoryStream stream;
  TPdfWrite w(nullptr, &stream);
  xref.GetItem(1)->SetByteOffset(9);
  xref.GetItem(2)->SetByteOffset(27);
  first->WriteValueTo(w);
  xref.WriteTable(w);
  EXPECT_EQ(w.ToPDFString(), "1 0 obj\n7\nendobj\n"
                             "xref\n0 3\n0000000000 65535 f \n0000000009 00000 n \n0000000027 00000 n \n");
}

TEST(PdfXref, TrailerForm) {
  TPdfXref xref;
  auto* catalog = new TPdfDictionary(&xref);
  xref.AddObject(catalog);
  TPdfTrailer trailer(&xref);
  trailer.Attributes()->AddItem("Root", catalog);
  trailer.SetXrefAddress(1234);
  TMemoryStream stream;
  TPdfWrite w(nullptr, &stream);
  trailer.WriteTrailer(w);
  EXPECT_EQ(w.ToPDFString(), "trailer\n<</Size 0/Root 1 0 R>>\nstartxref\n1234\n%%EOF\n");
}

} // namespace
