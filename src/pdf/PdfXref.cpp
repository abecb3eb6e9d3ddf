#include "pdf/PdfXref.h"

#include <cstdint>
#include <string>

#include "pdf/PdfErrors.h"
#include "pdf/PdfWrite.h"

int32_t PdfFileOffset(int64_t Value, const char* What) {
  if (Value > INT32_MAX)
    throw EPdfInvalidValue(std::string(What) + " beyond 2147483647: " + std::to_string(Value));
  return static_cast<int32_t>(Value);
}

TPdfXrefEntry::TPdfXrefEntry(std::string AEntryType, int32_t AGenerationNumber, TPdfObject* AValue)
    : FEntryType(std::move(AEntryType)), FGenerationNumber(AGenerationNumber), FValue(AValue) {}

TPdfXrefEntry::~TPdfXrefEntry() {
  if (FEntryType == "n") delete FValue;
}

void TPdfXrefEntry::SaveToPdfWrite(TPdfWrite& W) const {
  W.Add(PdfFileOffset(FByteOffset), 10).Add(FGenerationNumber, 5).Add(FEntryType).Add(" \n");
}

TPdfXref::TPdfXref() {
  FXrefEntries.push_back(std::make_unique<TPdfXrefEntry>("f", 65535, nullptr));
}

TPdfXref::~TPdfXref() {
  // Later objects may refer to earlier ones but never own them; free in reverse registration order.
  while (!FXrefEntries.empty())
    FXrefEntries.pop_back();
}

void TPdfXref::AddObject(TPdfObject* AObject) {
  if (!AObject || AObject->ObjectType() != otDirectObject) throw EPdfInvalidOperation("AddObject");
  FXrefEntries.push_back(std::make_unique<TPdfXrefEntry>("n", AObject->GenerationNumber(), AObject));
  AObject->SetObjectNumber(ItemCount() - 1);
}

TPdfObject* TPdfXref::GetObject(int32_t ObjectID) const {
  TPdfXrefEntry* entry = GetItem(ObjectID);
  return entry ? entry->Value() : nullptr;
}

TPdfXrefEntry* TPdfXref::GetItem(int32_t ObjectID) const {
  if (ObjectID < 0 || ObjectID >= ItemCount()) return nullptr;
  return FXrefEntries[ObjectID].get();
}

void TPdfXref::WriteTable(TPdfWrite& W) const {
  W.Add("xref\n0 ").Add(ItemCount()).Add('\n');
  for (const auto& entry : FXrefEntries)
    entry->SaveToPdfWrite(W);
}

TPdfTrailer::TPdfTrailer(TPdfXref* AObjectMgr) : FAttributes(std::make_unique<TPdfDictionary>(AObjectMgr)) {
  FAttributes->AddItem("Size", 0);
}

void TPdfTrailer::WriteTrailer(TPdfWrite& W) const {
  W.Add("trailer\n");
  FAttributes->WriteTo(W);
  W.Add("\nstartxref\n").Add(FXrefAddress).Add("\n%%EOF\n");
}
