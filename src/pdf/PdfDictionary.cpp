#include "pdf/PdfDictionary.h"

#include "pdf/PdfArray.h"
#include "pdf/PdfErrors.h"
#include "pdf/PdfWrite.h"

TPdfDictionaryElement::TPdfDictionaryElement(const std::string& AKey, TPdfObject* AValue, bool AInternal)
    : FKey(nullptr), FValue(AValue), FIsInternal(AInternal) {
  if (!AValue) throw EPdfInvalidValue("TPdfDictionaryElement");
  FKey = new TPdfName(AKey);
}

TPdfDictionaryElement::~TPdfDictionaryElement() {
  delete FKey;
  if (FValue->ObjectType() != otIndirectObject) delete FValue;
}

const std::string& TPdfDictionaryElement::Key() const {
  return FKey->Value();
}

TPdfDictionary::TPdfDictionary(TPdfObjectMgr* AObjectMgr) : FObjectMgr(AObjectMgr) {}

TPdfDictionary::~TPdfDictionary() {
  for (TPdfDictionaryElement* element : FArray)
    delete element;
}

void TPdfDictionary::AddItem(const std::string& AKey, TPdfObject* AValue, bool AInternal) {
  if (!AValue) throw EPdfInvalidValue("TPdfDictionaryElement");
  RemoveItem(AKey);
  FArray.push_back(new TPdfDictionaryElement(AKey, PdfMemberFor(AValue), AInternal));
}

void TPdfDictionary::RemoveItem(const std::string& AKey) {
  for (auto it = FArray.begin(); it != FArray.end(); ++it)
    if ((*it)->Key() == AKey) {
      delete *it;
      FArray.erase(it);
      return;
    }
}

TPdfObject* TPdfDictionary::ValueByName(const std::string& AKey) const {
  for (TPdfDictionaryElement* element : FArray)
    if (element->Key() == AKey) return ResolvePdfObject(element->Value(), FObjectMgr);
  return nullptr;
}

TPdfArray* TPdfDictionary::PdfArrayByName(const std::string& AKey) const {
  return PdfObjectByName<TPdfArray>(AKey);
}

std::string TPdfDictionary::PdfTextValueByName(const std::string& AKey) const {
  TPdfText* text = PdfTextByName(AKey);
  return text ? text->Value() : std::string();
}

std::string TPdfDictionary::PdfTextUTF8ValueByName(const std::string& AKey) const {
  auto* text = PdfObjectByName<TPdfTextUTF8>(AKey);
  return text ? text->Value() : std::string();
}

std::u16string TPdfDictionary::PdfTextStringValueByName(const std::string& AKey) const {
  auto* text = PdfObjectByName<TPdfTextString>(AKey);
  return text ? text->Value() : std::u16string();
}

std::string TPdfDictionary::TypeOf() const {
  TPdfName* name = PdfNameByName("Type");
  return name ? name->Value() : std::string();
}

TPdfDictionaryElement* TPdfDictionary::Items(int Index) const {
  if (Index < 0 || Index >= ItemCount()) return nullptr;
  return FArray[Index];
}

void TPdfDictionary::WriteElementsTo(TPdfWrite& W) const {
  for (TPdfDictionaryElement* element : FArray) {
    if (element->IsInternal()) continue;
    element->KeyName()->WriteTo(W);
    WritePdfMember(W, element->Value(), false);
  }
}

void TPdfDictionary::WriteBodyTo(TPdfWrite& W) {
  TPdfObject::WriteBodyTo(W);
  W.Add("<<");
  WriteElementsTo(W);
  W.Add(">>");
}
