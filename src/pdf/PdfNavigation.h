#pragma once
// Destinations and the outline tree. Both are auxiliary objects owned by the document's
// auxiliary-object list; an outline entry's dictionary is registered (owned by the registry).
#include <cstdint>
#include <string>

#include "pdf/PdfWrappers.h"

class TPdfDocument;
class TPdfPage;
class TPdfArray;

enum TPdfDestinationType : uint8_t { dtXYZ, dtFit, dtFitH, dtFitV, dtFitR, dtFitB, dtFitBH, dtFitBV };

class TPdfDestination {
 public:
  // A destination on the document's current page (EPdfInvalidOperation "TPdfDestination" without a
  // document, "GetPage" without a current page).
  explicit TPdfDestination(TPdfDocument* ADoc);

  // A new array [page reference, type name, parameters]; a parameter stored as -1 is written null.
  TPdfArray* GetValue() const;

  TPdfDestinationType DestinationType() const { return FType; }
  void SetDestinationType(TPdfDestinationType Value) { FType = Value; }
  // A negative value is stored as -1 ("unchanged").
  int32_t Left() const { return FValues[0]; }
  void SetLeft(int32_t Value) { SetElement(0, Value); }
  int32_t Top() const { return FValues[1]; }
  void SetTop(int32_t Value) { SetElement(1, Value); }
  int32_t Right() const { return FValues[2]; }
  void SetRight(int32_t Value) { SetElement(2, Value); }
  int32_t Bottom() const { return FValues[3]; }
  void SetBottom(int32_t Value) { SetElement(3, Value); }
  // 1.0 at creation; EPdfInvalidValue "Zoom<0" below 0, "Zoom>10" above 10.
  float Zoom() const { return FZoom; }
  void SetZoom(float Value);
  TPdfPage* Page() const { return FPage; }

 private:
  void SetElement(int Index, int32_t Value) { FValues[Index] = Value < 0 ? -1 : Value; }

  TPdfDocument* FDoc;
  TPdfPage* FPage;
  TPdfDestinationType FType = dtXYZ;
  int32_t FValues[4] = {0, 0, 0, 0};
  float FZoom = 1.0f;
};

class TPdfOutlineEntry : public TPdfDictionaryWrapper {
 public:
  // Registers the entry's dictionary in the document.
  TPdfOutlineEntry(TPdfOutlineEntry* AParent, TPdfDocument* ADoc);

  // Creates a child as the last one, counting it in this entry and every ancestor; with a TopPosition of
  // 0 or more it gets an XYZ destination (left 0, zoom 0) on the current page. The document owns it.
  TPdfOutlineEntry* AddChild(const std::u16string& ATitle, int ALevel, int32_t ATopPosition);
  // Adds the tree's links and counts to the dictionaries, this entry first, then its children and next
  // siblings.
  virtual void Save();

  TPdfOutlineEntry* Parent() const { return FParent; }
  TPdfOutlineEntry* Next() const { return FNext; }
  TPdfOutlineEntry* Prev() const { return FPrev; }
  TPdfOutlineEntry* First() const { return FFirst; }
  TPdfOutlineEntry* Last() const { return FLast; }
  TPdfDestination* Dest() const { return FDest; }
  const std::u16string& Title() const { return FTitle; }
  bool Opened() const { return FOpened; }
  void SetOpened(bool Value) { FOpened = Value; }
  int32_t Count() const { return FCount; }
  int32_t Level() const { return FLevel; }

 protected:
  TPdfOutlineEntry* FParent;
  TPdfOutlineEntry* FNext = nullptr;
  TPdfOutlineEntry* FPrev = nullptr;
  TPdfOutlineEntry* FFirst = nullptr;
  TPdfOutlineEntry* FLast = nullptr;
  TPdfDestination* FDest = nullptr;
  TPdfDocument* FDoc;
  std::u16string FTitle;
  bool FOpened = false;
  int32_t FCount = 0;
  int32_t FLevel = 0;

  void SaveChildrenAndSiblings();
};

// The outline root: "Type" "Outlines", opened, level 0.
class TPdfOutlineRoot : public TPdfOutlineEntry {
 public:
  explicit TPdfOutlineRoot(TPdfDocument* ADoc);
  void Save() override;
};
