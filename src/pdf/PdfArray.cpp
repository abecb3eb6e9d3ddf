#include "pdf/PdfArray.h"

#include <algorithm>

#include "pdf/PdfWrite.h"

TPdfObject* ResolvePdfObject(TPdfObject* AObject, const TPdfObjectMgr* AObjectMgr) {
  if (!AObject || AObject->ObjectType() != otVirtualObject) return AObject;
  return AObjectMgr ? AObjectMgr->GetObject(AObject->ObjectNumber()) : nullptr;
}

TPdfObject* PdfMemberFor(TPdfObject* AValue) {
  if (AValue && AValue->ObjectType() != otDirectObject) return new TPdfVirtualObject(AValue->ObjectNumber());
  return AValue;
}

void WritePdfMember(TPdfWrite& W, TPdfObject* AMember, bool AFirst) {
  bool delimited = AMember->ObjectType() == otDirectObject && AMember->IsSelfDelimited();
  if (!AFirst && !delimited) W.Add(' ');
  AMember->WriteTo(W);
}

TPdfArray::TPdfArray(TPdfObjectMgr* AObjectMgr) : FObjectMgr(AObjectMgr) {}

TPdfArray::TPdfArray(TPdfObjectMgr* AObjectMgr, const std::vector<int32_t>& AArray) : FObjectMgr(AObjectMgr) {
  FArray.reserve(AArray.size());
  for (int32_t v : AArray)
    FArray.push_back(new TPdfNumber(v));
}

TPdfArray::TPdfArray(TPdfObjectMgr* AObjectMgr, const uint16_t* AArray, int AArrayCount)
    : FObjectMgr(AObjectMgr) {
  for (int i = 0; i < AArrayCount; ++i)
    FArray.push_back(new TPdfNumber(AArray[i]));
}

TPdfArray* TPdfArray::CreateNames(TPdfObjectMgr* AObjectMgr, const std::vector<std::string>& AArray) {
  auto* result = new TPdfArray(AObjectMgr);
  for (const auto& name : AArray)
    result->FArray.push_back(new TPdfName(name));
  return result;
}

TPdfArray* TPdfArray::CreateReals(TPdfObjectMgr* AObjectMgr, const std::vector<double>& AArray) {
  auto* result = new TPdfArray(AObjectMgr);
  for (double v : AArray)
    result->FArray.push_back(new TPdfReal(v));
  return result;
}

TPdfArray::~TPdfArray() {
  for (TPdfObject* item : FArray)
    if (item->ObjectType() != otIndirectObject) delete item;
}

int TPdfArray::AddItem(TPdfObject* AItem) {
  if (!AItem) return -1;
  auto found = std::find(FArray.begin(), FArray.end(), AItem);
  if (found != FArray.end()) return static_cast<int>(found - FArray.begin());
  FArray.push_back(PdfMemberFor(AItem));
  return static_cast<int>(FArray.size()) - 1;
}

TPdfObject* TPdfArray::Items(int Index) const {
  if (Index < 0 || Index >= ItemCount()) return nullptr;
  return ResolvePdfObject(FArray[Index], FObjectMgr);
}

TPdfObject* TPdfArray::FindName(const std::string& AName) const {
  for (TPdfObject* item : FArray)
    if (auto* name = dynamic_cast<TPdfName*>(item); name && name->Value() == AName) return name;
  return nullptr;
}

bool TPdfArray::RemoveName(const std::string& AName) {
  TPdfObject* name = FindName(AName);
  if (!name) return false;
  FArray.erase(std::find(FArray.begin(), FArray.end(), name));
  if (name->ObjectType() == otDirectObject) delete name;
  return true;
}

void TPdfArray::WriteBodyTo(TPdfWrite& W) {
  TPdfObject::WriteBodyTo(W);
  W.Add('[');
  for (size_t i = 0; i < FArray.size(); ++i)
    WritePdfMember(W, FArray[i], i == 0);
  W.Add(']');
}
