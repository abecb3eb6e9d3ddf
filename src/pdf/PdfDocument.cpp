// TPdfDocument: creation, the skeleton, pages and document properties.
#include "pdf/PdfDocument.h"

#include <algorithm>
#include <strings.h>

#include "pdf/PdfCodePages.h"
#include "pdf/PdfDate.h"
#include "pdf/PdfErrors.h"

namespace {

struct TPaperSizeEntry {
  int Width, Height;
};
const TPaperSizeEntry PaperSizes[] = {{595, 842}, {419, 595}, {842, 1190}, {612, 792}, {612, 1008}};

const char* const Producer = "Zevrin PDF engine 1.0";

// Updates "Count" in place, keeping its place in the written order.
void SetPdfCount(TPdfDictionary* Node, int32_t Value) {
  if (TPdfNumber* count = Node->PdfNumberByName("Count"))
    count->SetValue(Value);
  else
    Node->AddItem("Count", Value);
}

bool LessNoCase(const std::string& a, const std::string& b) {
  return strcasecmp(a.c_str(), b.c_str()) < 0;
}

} // namespace

TPdfDocument::TPdfDocument(bool AUseOutlines, int ACodePage, bool APDFA1, TFontService* AFontService)
    : FUseOutlines(AUseOutlines), FFontService(AFontService) {
  if (APDFA1) throw EPdfInvalidOperation("PDF/A-1 output is not supported");
  FCodePage = ACodePage != 0 ? ACodePage : HostAnsiCodePage;
  FCharSet = CodePageToCharSet(FCodePage);
  SetDefaultPaperSize(psA4);
  FCanvas = std::make_unique<TPdfCanvas>(this);
  LoadTrueTypeFamilies();
  FCompressionMethod = cmFlateDecode;
  fUseFontFallBack = true;
  fFontFallBackIndex = FindFamilyIndex("Arial Unicode MS");
  if (fFontFallBackIndex < 0) {
    auto found = std::find_if(FTrueTypeFonts.begin(), FTrueTypeFonts.end(), [](const std::string& name) {
      return name.find("Unicode") != std::string::npos;
    });
    if (found != FTrueTypeFonts.end()) fFontFallBackIndex = static_cast<int>(found - FTrueTypeFonts.begin());
  }
  NewDoc();
}

TPdfDocument::~TPdfDocument() {
  FreeDocumentObjects();
}

void TPdfDocument::LoadTrueTypeFamilies() {
  if (!FFontService) return;
  for (std::string& name : FFontService->TrueTypeFamilies()) {
    // Vertical-writing families are not for horizontal text.
    if (name.empty() || name[0] == '@') continue;
    if (std::find(FTrueTypeFonts.begin(), FTrueTypeFonts.end(), name) == FTrueTypeFonts.end())
      FTrueTypeFonts.push_back(std::move(name));
  }
  std::stable_sort(FTrueTypeFonts.begin(), FTrueTypeFonts.end(), LessNoCase);
}

int TPdfDocument::FindFamilyIndex(const std::string& AName) {
  if (strcasecmp(AName.c_str(), FTrueTypeFontLastName.c_str()) == 0) return FTrueTypeFontLastIndex;
  auto found = std::lower_bound(FTrueTypeFonts.begin(), FTrueTypeFonts.end(), AName, LessNoCase);
  if (found == FTrueTypeFonts.end() || strcasecmp(found->c_str(), AName.c_str()) != 0) return -1;
  FTrueTypeFontLastName = AName;
  FTrueTypeFontLastIndex = static_cast<int>(found - FTrueTypeFonts.begin());
  return FTrueTypeFontLastIndex;
}

std::string TPdfDocument::FontFallBackName() const {
  if (fFontFallBackIndex < 0 || fFontFallBackIndex >= static_cast<int>(FTrueTypeFonts.size())) return {};
  return FTrueTypeFonts[fFontFallBackIndex];
}

void TPdfDocument::SetFontFallBackName(const std::string& Value) {
  fFontFallBackIndex = Value.empty() ? -1 : FindFamilyIndex(Value);
}

void TPdfDocument::AddFontToList(std::unique_ptr<TPdfFont> AFont) {
  std::string shortCut = "F";
  shortCut += std::to_string(FFontList.size());
  AFont->SetShortCut(shortCut);
  if (AFont->Data()) AFont->Data()->AddItem("Name", AFont->ShortCut());
  FFontList.push_back(std::move(AFont));
}

void TPdfDocument::FreeDocumentObjects() {
  fLastOutline = nullptr;
  FCanvas->SetPage(nullptr);
  fRawPages.clear();
  fBookMarks.clear();
  fMissingBookmarks.clear();
  FCurrentPages = nullptr;
  FRoot = nullptr;
  FInfo = nullptr;
  FOutlineRoot = nullptr;
  FXObjectList.reset();
  FFontList.clear();
  fFinishedFonts = 0;
  FObjectList.clear();
  FTrailer.reset();
  FXref.reset();
}

void TPdfDocument::NewDoc() {
  FreeDocumentObjects();
  FXref = std::make_unique<TPdfXref>();
  FTrailer = std::make_unique<TPdfTrailer>(FXref.get());
  FXObjectList = std::make_unique<TPdfArray>(FXref.get());

  auto* catalog = new TPdfDictionary(FXref.get());
  FXref->AddObject(catalog);
  catalog->AddItem("Type", "Catalog");
  FRoot = AddAuxiliary(std::make_unique<TPdfCatalog>());
  FRoot->SetData(catalog);
  FTrailer->Attributes()->AddItem("Root", catalog);
  FRoot->SetPageLayout(plSinglePage);

  if (FUseOutlines) {
    FOutlineRoot = AddAuxiliary(std::make_unique<TPdfOutlineRoot>(this));
    catalog->AddItem("Outlines", FOutlineRoot->Data());
  }

  Info()->Data()->AddItemText("Producer", Producer);
  FTrailer->Attributes()->AddItem("Info", FInfo->Data());
  FInfo->SetCreationDate(PdfNow());

  FCurrentPages = CreatePages(nullptr);
}

TPdfInfo* TPdfDocument::Info() {
  if (!FInfo) {
    auto* data = new TPdfDictionary(FXref.get());
    FXref->AddObject(data);
    FInfo = AddAuxiliary(std::make_unique<TPdfInfo>());
    FInfo->SetData(data);
  }
  return FInfo;
}

TPdfOutlineRoot* TPdfDocument::OutlineRoot() const {
  if (!FUseOutlines || !FOutlineRoot) throw EPdfInvalidOperation("TPdfDocument.Document is null");
  return FOutlineRoot;
}

TPdfDictionary* TPdfDocument::CreatePages(TPdfDictionary* Parent) {
  auto* pages = new TPdfDictionary(FXref.get());
  FXref->AddObject(pages);
  pages->SetSaveAtTheEnd(true);
  pages->AddItem("Type", "Pages");
  pages->AddItem("Kids", new TPdfArray(FXref.get()));
  pages->AddItem("Count", 0);
  // A node under a page-tree node becomes its kid; replacing the catalog's tree instead would orphan
  // every page already added under it.
  TPdfArray* parentKids = Parent && Parent->TypeOf() == "Pages" ? Parent->PdfArrayByName("Kids") : nullptr;
  if (parentKids) {
    pages->AddItem("Parent", Parent);
    parentKids->AddItem(pages);
    SetPdfCount(Parent, parentKids->ItemCount());
  } else {
    FRoot->SetPages(pages);
  }
  return pages;
}

TPdfPage* TPdfDocument::AddPage() {
  if (!FCurrentPages) throw EPdfInvalidOperation("AddPage");
  TPdfPage* page = CreatePage();
  FXref->AddObject(page);
  fRawPages.push_back(page);
  TPdfArray* kids = FCurrentPages->PdfArrayByName("Kids");
  kids->AddItem(page);
  SetPdfCount(FCurrentPages, kids->ItemCount());

  page->AddItem("Type", "Page");
  page->AddItem("Parent", FCurrentPages);
  auto* resources = new TPdfDictionary(FXref.get());
  resources->AddItem("Font", new TPdfDictionary(FXref.get()));
  resources->AddItem("XObject", new TPdfDictionary(FXref.get()));
  resources->AddItem("ProcSet", TPdfArray::CreateNames(FXref.get(), {"PDF", "Text", "ImageC"}));
  page->AddItem("Resources", resources);
  page->AddItem("Contents", new TPdfStream(this));
  FCanvas->SetPage(page);
  return page;
}

void TPdfDocument::SetDefaultPageWidth(int Value) {
  FDefaultPageWidth = Value;
  FDefaultPaperSize = psUserDefined;
}

void TPdfDocument::SetDefaultPageHeight(int Value) {
  FDefaultPageHeight = Value;
  FDefaultPaperSize = psUserDefined;
}

void TPdfDocument::SetDefaultPageLandscape(bool Value) {
  if (Value != DefaultPageLandscape()) std::swap(FDefaultPageWidth, FDefaultPageHeight);
}

void TPdfDocument::SetDefaultPaperSize(TPDFPaperSize Value) {
  FDefaultPaperSize = Value;
  if (Value == psUserDefined) return;
  FDefaultPageWidth = PaperSizes[Value].Width;
  FDefaultPageHeight = PaperSizes[Value].Height;
}

void TPdfDocument::SetStandardFontsReplace(bool Value) {
  FStandardFontsReplace = Value && FCharSet == 0;
}

TPdfDocumentGDI::TPdfDocumentGDI(bool AUseOutlines, int ACodePage, bool APDFA1, TFontService* AFontService)
    : TPdfDocument(AUseOutlines, ACodePage, APDFA1, AFontService) {}

TPdfPage* TPdfDocumentGDI::AddPage() {
  TPdfPage* page = TPdfDocument::AddPage();
  Canvas()->Contents()->SetSaveAtTheEnd(true);
  return page;
}
