// TPdfDocument: registration of image and form XObjects under their names.
#include <memory>
#include <string>

#include "pdf/PdfDocument.h"
#include "pdf/PdfErrors.h"

namespace {
bool IsXObject(const TPdfXObject* AObject) {
  return AObject && AObject->Attributes() && AObject->Attributes()->TypeOf() == "XObject";
}
} // namespace

TPdfXObject* TPdfDocument::GetXObject(const std::string& AName) const {
  for (int i = 0; i < FXObjectList->ItemCount(); ++i) {
    auto* xObject = dynamic_cast<TPdfXObject*>(FXObjectList->Items(i));
    TPdfName* name = xObject ? xObject->Attributes()->PdfNameByName("Name") : nullptr;
    if (name && name->Value() == AName) return xObject;
  }
  return nullptr;
}

int TPdfDocument::RegisterXObject(TPdfXObject* AObject, const std::string& AName) {
  if (!AObject) throw EPdfInvalidValue("RegisterXObject: no AObject");
  if (!IsXObject(AObject)) throw EPdfInvalidValue("RegisterXObject: no XObject");
  if (AObject->Attributes()->ValueByName("Name")) {
    if (AObject->ObjectType() == otDirectObject) FXref->AddObject(AObject);
    return -1;
  }
  // Checked before registering, so that a refused object still belongs to the caller.
  TPdfXObject* known = GetXObject(AName);
  if (known && known != AObject) throw EPdfInvalidValue("RegisterXObject: dup name " + AName);
  if (AObject->ObjectType() == otDirectObject) FXref->AddObject(AObject);
  AObject->Attributes()->AddItem("Name", AName);
  return FXObjectList->AddItem(AObject);
}

int TPdfDocument::AddXObject(const std::string& AName, TPdfXObject* AXObject) {
  if (GetXObject(AName)) throw EPdfInvalidValue("AddXObject: dup name " + AName);
  if (!IsXObject(AXObject) || !AXObject->Attributes()->ValueByName("Subtype"))
    throw EPdfInvalidValue("AddXObject: invalid TPdfImage " + AName);
  if (AXObject->ObjectType() != otDirectObject) throw EPdfInvalidOperation("AddObject");
  FXref->AddObject(AXObject);
  return RegisterXObject(AXObject, AName);
}

std::string TPdfDocument::GetXObjectImageName(const TPdfImageHash& Hash, int32_t Width,
                                              int32_t Height) const {
  for (int i = 0; i < FXObjectList->ItemCount(); ++i) {
    auto* image = dynamic_cast<TPdfImage*>(FXObjectList->Items(i));
    if (!image || image->PixelWidth() != Width || image->PixelHeight() != Height || image->Hash() != Hash)
      continue;
    if (TPdfName* name = image->Attributes()->PdfNameByName("Name")) return name->Value();
  }
  return {};
}

std::string TPdfDocument::CreateOrGetImage(const TPdfRaster& B, const TPdfBox* DrawAt,
                                           const TPdfBox* ClipRc) {
  std::string name;
  TPdfImageHash hash{};
  if (!fForceNoBitmapReuse) {
    hash = PdfImageHashOf(B);
    name = GetXObjectImageName(hash, B.Width, B.Height);
  }
  if (name.empty()) {
    auto image = std::make_unique<TPdfImage>(this, B, true);
    image->SetHash(hash);
    name = "ZVImg" + std::to_string(FXObjectList->ItemCount());
    AddXObject(name, image.get());
    image.release(); // the registry owns it now
  }
  if (DrawAt) {
    if (ClipRc)
      FCanvas->DrawXObjectEx(DrawAt->Left, DrawAt->Top, DrawAt->Width, DrawAt->Height, ClipRc->Left,
                             ClipRc->Top, ClipRc->Width, ClipRc->Height, name);
    else
      FCanvas->DrawXObject(DrawAt->Left, DrawAt->Top, DrawAt->Width, DrawAt->Height, name);
  }
  return name;
}
