#pragma once
// TPdfDictionary: ordered key/value elements written "<</Key value/Key2 value2>>" in insertion order.
// Re-setting a key removes the old element and appends the new one, so the key moves to the end of the
// written order. Internal elements are kept but never written. Values follow the array's ownership
// rules (PdfObject.h); missing keys read as none, never as an error.
#include <cstdint>
#include <string>
#include <vector>

#include "pdf/PdfObject.h"

class TPdfArray;

class TPdfDictionaryElement {
 public:
  // The element owns its key and value; a missing value raises EPdfInvalidValue "TPdfDictionaryElement".
  TPdfDictionaryElement(const std::string& AKey, TPdfObject* AValue, bool AInternal);
  ~TPdfDictionaryElement();
  TPdfDictionaryElement(const TPdfDictionaryElement&) = delete;
  TPdfDictionaryElement& operator=(const TPdfDictionaryElement&) = delete;

  const std::string& Key() const;
  TPdfName* KeyName() const { return FKey; }
  // The stored value (a reference stays a TPdfVirtualObject here).
  TPdfObject* Value() const { return FValue; }
  bool IsInternal() const { return FIsInternal; }

 private:
  TPdfName* FKey;
  TPdfObject* FValue;
  bool FIsInternal;
};

class TPdfDictionary : public TPdfObject {
 public:
  explicit TPdfDictionary(TPdfObjectMgr* AObjectMgr);
  ~TPdfDictionary() override;

  void AddItem(const std::string& AKey, TPdfObject* AValue, bool AInternal = false);
  // A name value.
  void AddItem(const std::string& AKey, const std::string& AName) { AddItem(AKey, new TPdfName(AName)); }
  void AddItem(const std::string& AKey, const char* AName) { AddItem(AKey, new TPdfName(AName)); }
  void AddItem(const std::string& AKey, int32_t AValue) { AddItem(AKey, new TPdfNumber(AValue)); }
  void AddItemText(const std::string& AKey, const std::string& AValue) {
    AddItem(AKey, new TPdfText(AValue));
  }
  void AddItemTextUTF8(const std::string& AKey, const std::string& AValue) {
    AddItem(AKey, new TPdfTextUTF8(AValue));
  }
  void AddItemTextString(const std::string& AKey, const std::u16string& AValue) {
    AddItem(AKey, new TPdfTextString(AValue));
  }
  void RemoveItem(const std::string& AKey);

  // The value of the first element with that key (case-sensitive), resolved through the registry.
  TPdfObject* ValueByName(const std::string& AKey) const;
  // The same value when it has the expected class, none otherwise.
  template <class T> T* PdfObjectByName(const std::string& AKey) const {
    return dynamic_cast<T*>(ValueByName(AKey));
  }
  TPdfBoolean* PdfBooleanByName(const std::string& AKey) const { return PdfObjectByName<TPdfBoolean>(AKey); }
  TPdfNumber* PdfNumberByName(const std::string& AKey) const { return PdfObjectByName<TPdfNumber>(AKey); }
  TPdfText* PdfTextByName(const std::string& AKey) const { return PdfObjectByName<TPdfText>(AKey); }
  TPdfReal* PdfRealByName(const std::string& AKey) const { return PdfObjectByName<TPdfReal>(AKey); }
  TPdfName* PdfNameByName(const std::string& AKey) const { return PdfObjectByName<TPdfName>(AKey); }
  TPdfDictionary* PdfDictionaryByName(const std::string& AKey) const {
    return PdfObjectByName<TPdfDictionary>(AKey);
  }
  TPdfArray* PdfArrayByName(const std::string& AKey) const;
  std::string PdfTextValueByName(const std::string& AKey) const;
  std::string PdfTextUTF8ValueByName(const std::string& AKey) const;
  std::u16string PdfTextStringValueByName(const std::string& AKey) const;
  // The "Type" name, empty when there is none.
  std::string TypeOf() const;

  TPdfDictionaryElement* Items(int Index) const;
  int ItemCount() const { return static_cast<int>(FArray.size()); }
  TPdfObjectMgr* ObjectMgr() const { return FObjectMgr; }
  const std::vector<TPdfDictionaryElement*>& List() const { return FArray; }
  bool IsSelfDelimited() const override { return true; }

  // The written elements without the brackets (a stream writes another dictionary's after its own).
  void WriteElementsTo(TPdfWrite& W) const;

 protected:
  void WriteBodyTo(TPdfWrite& W) override;

 private:
  std::vector<TPdfDictionaryElement*> FArray;
  TPdfObjectMgr* FObjectMgr;
};
