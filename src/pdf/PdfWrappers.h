#pragma once
// Objects that wrap a registered dictionary: the base wrapper, the information dictionary and the
// catalog. Wrappers are owned by the document (its auxiliary-object or font list); the wrapped
// dictionary is owned by the registry and is written only when the document is finished.
#include <cstdint>
#include <string>

#include "pdf/PdfDictionary.h"
#include "pdf/PdfTypes.h"

class TPdfDestination;

class TPdfDictionaryWrapper {
 public:
  TPdfDictionaryWrapper() = default;
  TPdfDictionaryWrapper(const TPdfDictionaryWrapper&) = delete;
  TPdfDictionaryWrapper& operator=(const TPdfDictionaryWrapper&) = delete;
  virtual ~TPdfDictionaryWrapper() = default;

  TPdfDictionary* Data() const { return FData; }
  // Marks the dictionary to be written at the end.
  void SetData(TPdfDictionary* Value);

 protected:
  TPdfDictionary* FData = nullptr;
};

class TPdfInfo : public TPdfDictionaryWrapper {
 public:
  std::u16string Author() const { return Text("Author"); }
  void SetAuthor(const std::u16string& Value) { FData->AddItemTextString("Author", Value); }
  std::u16string Creator() const { return Text("Creator"); }
  void SetCreator(const std::u16string& Value) { FData->AddItemTextString("Creator", Value); }
  std::u16string Keywords() const { return Text("Keywords"); }
  void SetKeywords(const std::u16string& Value) { FData->AddItemTextString("Keywords", Value); }
  std::u16string Subject() const { return Text("Subject"); }
  void SetSubject(const std::u16string& Value) { FData->AddItemTextString("Subject", Value); }
  std::u16string Title() const { return Text("Title"); }
  void SetTitle(const std::u16string& Value) { FData->AddItemTextString("Title", Value); }
  // Dates are stored as "D:YYYYMMDDHHmmSS"; a missing or malformed one reads as 0.
  TDateTime CreationDate() const;
  void SetCreationDate(TDateTime Value);
  TDateTime ModDate() const;
  void SetModDate(TDateTime Value);

 private:
  std::u16string Text(const std::string& Key) const { return FData->PdfTextStringValueByName(Key); }
};

enum TPdfPageLayout : uint8_t { plSinglePage, plOneColumn, plTwoColumnLeft, plTwoColumnRight };
enum TPdfPageMode : uint8_t { pmUseNone, pmUseOutlines, pmUseThumbs, pmFullScreen };
enum TPdfViewerPreference : uint8_t {
  vpHideToolbar,
  vpHideMenubar,
  vpHideWindowUI,
  vpFitWindow,
  vpCenterWindow
};
using TPdfViewerPreferences = uint8_t; // bit (1 << TPdfViewerPreference)

class TPdfCatalog : public TPdfDictionaryWrapper {
 public:
  TPdfDestination* OpenAction() const { return FOpenAction; }
  // Borrowed: destinations live in the document's auxiliary-object list.
  void SetOpenAction(TPdfDestination* Value) { FOpenAction = Value; }
  TPdfPageLayout PageLayout() const;
  void SetPageLayout(TPdfPageLayout Value);
  TPdfPageMode PageMode() const;
  void SetPageMode(TPdfPageMode Value);
  TPdfPageMode NonFullScreenPageMode() const;
  void SetNonFullScreenPageMode(TPdfPageMode Value);
  TPdfViewerPreferences ViewerPreference() const;
  void SetViewerPreference(TPdfViewerPreferences Value);
  TPdfDictionary* Pages() const { return FData->PdfDictionaryByName("Pages"); }
  void SetPages(TPdfDictionary* Value) { FData->AddItem("Pages", Value); }

 private:
  // The "ViewerPreferences" dictionary, created on first use.
  TPdfDictionary* Preferences();

  TPdfDestination* FOpenAction = nullptr;
};
