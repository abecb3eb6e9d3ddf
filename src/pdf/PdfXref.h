#pragma once
// The cross-reference registry that numbers indirect objects (entry index = object number; entry 0 is
// the free entry) and owns them, and the trailer written at the end of the file.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "pdf/PdfDictionary.h"

// A file offset or length as the table, the trailer and "Length" entries hold it (at most 10 digits in
// the table, 32-bit signed elsewhere). EPdfInvalidValue for a value beyond 2147483647: such a file
// cannot be described in this layout, and a clamped number would point at the wrong bytes.
int32_t PdfFileOffset(int64_t Value, const char* What = "PDF file offset");

class TPdfXrefEntry {
 public:
  // "n" entries own their value; the free entry ("f") has none.
  TPdfXrefEntry(std::string AEntryType, int32_t AGenerationNumber, TPdfObject* AValue);
  ~TPdfXrefEntry();
  TPdfXrefEntry(const TPdfXrefEntry&) = delete;
  TPdfXrefEntry& operator=(const TPdfXrefEntry&) = delete;

  // One 20-byte table line: offset (10 digits), generation (5 digits), type, " \n".
  void SaveToPdfWrite(TPdfWrite& W) const;

  const std::string& EntryType() const { return FEntryType; }
  // -1 until the object is written, then the file position of its "obj" line.
  int64_t ByteOffset() const { return FByteOffset; }
  void SetByteOffset(int64_t Value) { FByteOffset = Value; }
  int32_t GenerationNumber() const { return FGenerationNumber; }
  int32_t ObjectStreamIndex() const { return FObjectStreamIndex; }
  TPdfObject* Value() const { return FValue; }

 private:
  std::string FEntryType;
  int64_t FByteOffset = -1;
  int32_t FGenerationNumber;
  int32_t FObjectStreamIndex = -1;
  TPdfObject* FValue;
};

class TPdfXref : public TPdfObjectMgr {
 public:
  TPdfXref();
  ~TPdfXref() override;

  // Registers a direct object under the next number and takes ownership of it (EPdfInvalidOperation
  // "AddObject" for none or an object that is already indirect or virtual).
  void AddObject(TPdfObject* AObject) override;
  TPdfObject* GetObject(int32_t ObjectID) const override;
  TPdfXrefEntry* GetItem(int32_t ObjectID) const;
  TPdfXrefEntry* Items(int32_t ObjectID) const { return GetItem(ObjectID); }
  int32_t ItemCount() const { return static_cast<int32_t>(FXrefEntries.size()); }
  // "xref\n0 <count>\n" and one line per entry.
  void WriteTable(TPdfWrite& W) const;

 private:
  std::vector<std::unique_ptr<TPdfXrefEntry>> FXrefEntries;
};

class TPdfTrailer {
 public:
  // The trailer dictionary starts with "Size" 0.
  explicit TPdfTrailer(TPdfXref* AObjectMgr);
  // "trailer\n<<...>>\nstartxref\n<address>\n%%EOF\n".
  void WriteTrailer(TPdfWrite& W) const;

  int64_t XrefAddress() const { return FXrefAddress; }
  void SetXrefAddress(int64_t Value) { FXrefAddress = Value; }
  TPdfDictionary* Attributes() const { return FAttributes.get(); }

 private:
  std::unique_ptr<TPdfDictionary> FAttributes;
  int64_t FXrefAddress = 0;
};
