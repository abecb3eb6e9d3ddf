#pragma once
// The PDF value family. Every value is built in memory as one object per PDF type and written through
// TPdfWrite.
//
// Ownership: a container (TPdfArray, TPdfDictionary) owns its direct members. An indirect object (one
// registered in the document's TPdfXref) is owned by its cross-reference entry; adding it to a container
// stores a new TPdfVirtualObject carrying its number instead. Members are passed as raw pointers whose
// ownership moves to the container when they are direct.
//
// Text: TPdfText and its descendants hold byte strings in the document's code page; TPdfTextUTF8 holds
// UTF-8; TPdfTextString takes and returns UTF-16 (std::u16string) and stores UTF-8.
#include <cstdint>
#include <string>
#include <utility>

class TPdfWrite;
class TPdfObject;

enum TPdfObjectType : uint8_t { otDirectObject, otIndirectObject, otVirtualObject };

// The registry that numbers indirect objects and resolves references (implemented by TPdfXref).
class TPdfObjectMgr {
 public:
  virtual ~TPdfObjectMgr() = default;
  virtual void AddObject(TPdfObject* AObject) = 0;
  // The object of that number, none when unknown.
  virtual TPdfObject* GetObject(int32_t ObjectID) const = 0;
};

class TPdfObject {
 public:
  TPdfObject() = default;
  TPdfObject(const TPdfObject&) = delete;
  TPdfObject& operator=(const TPdfObject&) = delete;
  virtual ~TPdfObject() = default;

  // Where the object is used: its value when direct, "n g R" when indirect or virtual.
  void WriteTo(TPdfWrite& W);
  // The numbered definition "n g obj\n...\nendobj\n"; only for indirect objects (EPdfInvalidOperation
  // "WriteValueTo" otherwise).
  void WriteValueTo(TPdfWrite& W);

  int32_t ObjectNumber() const { return FObjectNumber; }
  int32_t GenerationNumber() const { return FGenerationNumber; }
  TPdfObjectType ObjectType() const { return FObjectType; }
  bool SaveAtTheEnd() const { return FSaveAtTheEnd; }
  // Written only when the document is finished, never by a page flush.
  void SetSaveAtTheEnd(bool Value) { FSaveAtTheEnd = Value; }
  // Called by the registry: the object becomes indirect under that number.
  void SetObjectNumber(int32_t Value);
  // True when the written form starts with a PDF delimiter, so no space is needed in front of it.
  virtual bool IsSelfDelimited() const { return false; }

 protected:
  // Writes the value syntax. The base version only records this object as the document's current one.
  virtual void WriteBodyTo(TPdfWrite& W);

  TPdfObjectType FObjectType = otDirectObject;
  int32_t FObjectNumber = -1;
  int32_t FGenerationNumber = 0;
  bool FSaveAtTheEnd = false;
};

// A reference to an indirect object; created by containers only, never registered.
class TPdfVirtualObject : public TPdfObject {
 public:
  explicit TPdfVirtualObject(int32_t AObjectId);
};

class TPdfNull : public TPdfObject {
 protected:
  void WriteBodyTo(TPdfWrite& W) override;
};

// An object that holds one value of type T.
template <class T> class TPdfValue : public TPdfObject {
 public:
  explicit TPdfValue(T AValue) : FValue(std::move(AValue)) {}
  const T& Value() const { return FValue; }
  void SetValue(T AValue) { FValue = std::move(AValue); }

 protected:
  T FValue;
};

class TPdfBoolean : public TPdfValue<bool> {
 public:
  using TPdfValue::TPdfValue;

 protected:
  void WriteBodyTo(TPdfWrite& W) override;
};

class TPdfNumber : public TPdfValue<int32_t> {
 public:
  using TPdfValue::TPdfValue;

 protected:
  void WriteBodyTo(TPdfWrite& W) override;
};

class TPdfReal : public TPdfValue<double> {
 public:
  using TPdfValue::TPdfValue;

 protected:
  void WriteBodyTo(TPdfWrite& W) override;
};

// A byte string in the document's code page, written as a literal string.
class TPdfText : public TPdfValue<std::string> {
 public:
  explicit TPdfText(std::string AValue = {}) : TPdfValue(std::move(AValue)) {}
  bool IsSelfDelimited() const override { return true; }

 protected:
  void WriteBodyTo(TPdfWrite& W) override;
};

// A UTF-8 string: a literal string when every character has the same byte in code page 1252, else
// "<FEFF...>" UTF-16 hexadecimal.
class TPdfTextUTF8 : public TPdfValue<std::string> {
 public:
  explicit TPdfTextUTF8(std::string AValue = {}) : TPdfValue(std::move(AValue)) {}
  bool IsSelfDelimited() const override { return true; }

 protected:
  void WriteBodyTo(TPdfWrite& W) override;
};

class TPdfTextString : public TPdfTextUTF8 {
 public:
  explicit TPdfTextString(const std::u16string& AValue = {});
  std::u16string Value() const;
  void SetValue(const std::u16string& AValue);
};

// Emitted verbatim (operators, prebuilt arrays such as a font's widths).
class TPdfRawText : public TPdfText {
 public:
  using TPdfText::TPdfText;
  bool IsSelfDelimited() const override { return false; }

 protected:
  void WriteBodyTo(TPdfWrite& W) override;
};

// A literal string of explicit length that may hold any byte, zero included.
class TPdfClearText : public TPdfText {
 public:
  TPdfClearText(const void* Buffer, size_t Len);

 protected:
  void WriteBodyTo(TPdfWrite& W) override;
};

// A name; the value is the name without its leading "/".
class TPdfName : public TPdfText {
 public:
  using TPdfText::TPdfText;

 protected:
  void WriteBodyTo(TPdfWrite& W) override;
};
