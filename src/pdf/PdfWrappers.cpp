#include "pdf/PdfWrappers.h"

#include "pdf/PdfDate.h"

namespace {

const char* const PageLayoutNames[] = {"SinglePage", "OneColumn", "TwoColumnLeft", "TwoColumnRight"};
const char* const PageModeNames[] = {"UseNone", "UseOutlines", "UseThumbs", "FullScreen"};
const char* const ViewerPreferenceKeys[] = {"HideToolbar", "HideMenubar", "HideWindowUI", "FitWindow",
                                            "CenterWindow"};

// The index of the name stored under Key in Names, 0 when absent or unknown.
template <size_t N>
int NameIndex(const TPdfDictionary* Dictionary, const char* Key, const char* const (&Names)[N]) {
  const TPdfName* name = Dictionary ? Dictionary->PdfNameByName(Key) : nullptr;
  if (name)
    for (size_t i = 0; i < N; ++i)
      if (name->Value() == Names[i]) return static_cast<int>(i);
  return 0;
}

} // namespace

void TPdfDictionaryWrapper::SetData(TPdfDictionary* Value) {
  FData = Value;
  if (FData) FData->SetSaveAtTheEnd(true);
}

TDateTime TPdfInfo::CreationDate() const {
  return PdfStringToDate(FData->PdfTextValueByName("CreationDate"));
}

void TPdfInfo::SetCreationDate(TDateTime Value) {
  FData->AddItemText("CreationDate", PdfDateToString(Value));
}

TDateTime TPdfInfo::ModDate() const {
  return PdfStringToDate(FData->PdfTextValueByName("ModDate"));
}

void TPdfInfo::SetModDate(TDateTime Value) {
  FData->AddItemText("ModDate", PdfDateToString(Value));
}

TPdfPageLayout TPdfCatalog::PageLayout() const {
  return static_cast<TPdfPageLayout>(NameIndex(FData, "PageLayout", PageLayoutNames));
}

void TPdfCatalog::SetPageLayout(TPdfPageLayout Value) {
  FData->AddItem("PageLayout", PageLayoutNames[Value]);
}

TPdfPageMode TPdfCatalog::PageMode() const {
  return static_cast<TPdfPageMode>(NameIndex(FData, "PageMode", PageModeNames));
}

void TPdfCatalog::SetPageMode(TPdfPageMode Value) {
  FData->AddItem("PageMode", PageModeNames[Value]);
}

TPdfPageMode TPdfCatalog::NonFullScreenPageMode() const {
  return static_cast<TPdfPageMode>(
      NameIndex(FData->PdfDictionaryByName("ViewerPreferences"), "NonFullScreenPageMode", PageModeNames));
}

TPdfDictionary* TPdfCatalog::Preferences() {
  TPdfDictionary* preferences = FData->PdfDictionaryByName("ViewerPreferences");
  if (!preferences) {
    preferences = new TPdfDictionary(FData->ObjectMgr());
    FData->AddItem("ViewerPreferences", preferences);
  }
  return preferences;
}

void TPdfCatalog::SetNonFullScreenPageMode(TPdfPageMode Value) {
  Preferences()->AddItem("NonFullScreenPageMode", PageModeNames[Value]);
}

TPdfViewerPreferences TPdfCatalog::ViewerPreference() const {
  TPdfViewerPreferences result = 0;
  if (TPdfDictionary* preferences = FData->PdfDictionaryByName("ViewerPreferences"))
    for (int i = 0; i < 5; ++i)
      if (TPdfBoolean* flag = preferences->PdfBooleanByName(ViewerPreferenceKeys[i]); flag && flag->Value())
        result |= 1 << i;
  return result;
}

void TPdfCatalog::SetViewerPreference(TPdfViewerPreferences Value) {
  TPdfDictionary* preferences = Preferences();
  for (int i = 0; i < 5; ++i) {
    if (Value & (1 << i))
      preferences->AddItem(ViewerPreferenceKeys[i], new TPdfBoolean(true));
    else
      preferences->RemoveItem(ViewerPreferenceKeys[i]);
  }
}
