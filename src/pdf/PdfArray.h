#pragma once
// TPdfArray: an ordered list of owned members written "[a b/c]" (a space before every member after the
// first unless it starts with a delimiter). Reading a member resolves references through the registry
// given at creation (none: references read as none).
#include <cstdint>
#include <string>
#include <vector>

#include "pdf/PdfObject.h"

class TPdfArray : public TPdfObject {
 public:
  explicit TPdfArray(TPdfObjectMgr* AObjectMgr);
  // One TPdfNumber per integer.
  TPdfArray(TPdfObjectMgr* AObjectMgr, const std::vector<int32_t>& AArray);
  // One TPdfNumber per unsigned 16-bit value.
  TPdfArray(TPdfObjectMgr* AObjectMgr, const uint16_t* AArray, int AArrayCount);
  static TPdfArray* CreateNames(TPdfObjectMgr* AObjectMgr, const std::vector<std::string>& AArray);
  static TPdfArray* CreateReals(TPdfObjectMgr* AObjectMgr, const std::vector<double>& AArray);
  ~TPdfArray() override;

  // Appends AItem (taking it when direct, a new reference when indirect) and returns its index; an item
  // already in the list is not added twice.
  int AddItem(TPdfObject* AItem);
  // The member, resolved through the registry when it is a reference; none outside the list.
  TPdfObject* Items(int Index) const;
  int ItemCount() const { return static_cast<int>(FArray.size()); }
  TPdfObjectMgr* ObjectMgr() const { return FObjectMgr; }
  const std::vector<TPdfObject*>& List() const { return FArray; }
  // The first member that is a name equal to AName byte for byte.
  TPdfObject* FindName(const std::string& AName) const;
  // Removes (and frees when direct) that member; false when there is none.
  bool RemoveName(const std::string& AName);
  bool IsSelfDelimited() const override { return true; }

 protected:
  void WriteBodyTo(TPdfWrite& W) override;

 private:
  std::vector<TPdfObject*> FArray;
  TPdfObjectMgr* FObjectMgr;
};

// Resolves a stored member: references through the registry, everything else as it is.
TPdfObject* ResolvePdfObject(TPdfObject* AObject, const TPdfObjectMgr* AObjectMgr);
// What a container stores for an added value: the value itself when direct, a new reference otherwise.
TPdfObject* PdfMemberFor(TPdfObject* AValue);
// Writes a member inside a container: a space first unless it starts with a delimiter.
void WritePdfMember(TPdfWrite& W, TPdfObject* AMember, bool AFirst);
