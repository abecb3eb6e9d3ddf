#include "pdf/PdfNavigation.h"

#include <string>

#include "pdf/PdfArray.h"
#include "pdf/PdfDocument.h"
#include "pdf/PdfErrors.h"
#include "pdf/PdfPage.h"

namespace {
const char* const DestinationTypeNames[] = {"XYZ", "Fit", "FitH", "FitV", "FitR", "FitB", "FitBH", "FitBV"};
constexpr int MaxZoom = 10;
} // namespace

TPdfDestination::TPdfDestination(TPdfDocument* ADoc) : FDoc(ADoc), FPage(nullptr) {
  if (!ADoc) throw EPdfInvalidOperation("TPdfDestination");
  FPage = ADoc->Canvas()->Page();
}

void TPdfDestination::SetZoom(float Value) {
  if (Value == FZoom) return;
  if (Value < 0) throw EPdfInvalidValue("Zoom<0");
  if (Value > MaxZoom) throw EPdfInvalidValue("Zoom>" + std::to_string(MaxZoom));
  FZoom = Value;
}

TPdfArray* TPdfDestination::GetValue() const {
  auto* result = new TPdfArray(FDoc->Xref());
  result->AddItem(FPage);
  result->AddItem(new TPdfName(DestinationTypeNames[FType]));
  auto add = [&](int Index) {
    if (FValues[Index] < 0)
      result->AddItem(new TPdfNull());
    else
      result->AddItem(new TPdfNumber(FValues[Index]));
  };
  switch (FType) {
  case dtXYZ:
    add(0);
    add(1);
    result->AddItem(new TPdfReal(FZoom < 0 ? 0 : FZoom));
    break;
  case dtFitH:
  case dtFitBH:
    add(1);
    break;
  case dtFitV:
  case dtFitBV:
    add(0);
    break;
  case dtFitR:
    add(0);
    add(3);
    add(2);
    add(1);
    break;
  case dtFit:
  case dtFitB:
    break;
  }
  return result;
}

TPdfOutlineEntry::TPdfOutlineEntry(TPdfOutlineEntry* AParent, TPdfDocument* ADoc)
    : FParent(AParent), FDoc(ADoc) {
  auto* data = new TPdfDictionary(ADoc->Xref());
  ADoc->Xref()->AddObject(data);
  SetData(data);
}

TPdfOutlineEntry* TPdfOutlineEntry::AddChild(const std::u16string& ATitle, int ALevel, int32_t ATopPosition) {
  for (TPdfOutlineEntry* entry = this; entry; entry = entry->FParent)
    ++entry->FCount;
  auto* child = FDoc->AddAuxiliary(std::make_unique<TPdfOutlineEntry>(this, FDoc));
  if (ATopPosition >= 0) {
    auto* dest = FDoc->AddAuxiliary(std::make_unique<TPdfDestination>(FDoc));
    dest->SetLeft(0);
    dest->SetTop(ATopPosition);
    dest->SetZoom(0);
    child->FDest = dest;
  }
  if (FLast) {
    FLast->FNext = child;
    child->FPrev = FLast;
  } else {
    FFirst = child;
  }
  FLast = child;
  child->FTitle = ATitle;
  child->FLevel = ALevel;
  return child;
}

void TPdfOutlineEntry::SaveChildrenAndSiblings() {
  // Siblings are walked in a loop and only children recurse, so a long flat outline needs no deep stack.
  for (TPdfOutlineEntry* entry = FFirst; entry; entry = entry->FNext)
    entry->Save();
}

void TPdfOutlineEntry::Save() {
  FData->AddItem("Parent", FParent->FData);
  FData->AddItem("Count", FOpened ? FCount : -FCount);
  FData->AddItemTextString("Title", FTitle);
  if (FDest) FData->AddItem("Dest", FDest->GetValue());
  if (FFirst) {
    FData->AddItem("First", FFirst->FData);
    FData->AddItem("Last", FLast->FData);
  }
  if (FPrev) FData->AddItem("Prev", FPrev->FData);
  if (FNext) FData->AddItem("Next", FNext->FData);
  SaveChildrenAndSiblings();
}

TPdfOutlineRoot::TPdfOutlineRoot(TPdfDocument* ADoc) : TPdfOutlineEntry(nullptr, ADoc) {
  FData->AddItem("Type", "Outlines");
  FOpened = true;
}

void TPdfOutlineRoot::Save() {
  FData->AddItem("Count", FCount);
  if (FFirst) {
    FData->AddItem("First", FFirst->Data());
    FData->AddItem("Last", FLast->Data());
  }
  SaveChildrenAndSiblings();
}
