// TPdfDocument: annotations, links, bookmarks and outlines.
#include <cmath>

#include "pdf/PdfDocument.h"
#include "pdf/PdfErrors.h"
#include "platform/rtl/MathUtil.h"

namespace {
// Annotation flag "Print": links and notes are printed with the page.
constexpr int32_t AnnotationPrintFlag = 4;
} // namespace

TPdfDictionary* TPdfDocument::CreateAnnotation(TPdfAnnotationSubType AType, const TPdfRect& ARect) {
  TPdfPage* page = FCanvas->Page();
  auto* annotation = new TPdfDictionary(FXref.get());
  FXref->AddObject(annotation);
  annotation->SetSaveAtTheEnd(true);
  annotation->AddItem("Type", "Annot");
  annotation->AddItem("Subtype", AType == asLink ? "Link" : "Text");
  annotation->AddItem("F", AnnotationPrintFlag);
  annotation->AddItem(
      "Rect", TPdfArray::CreateReals(FXref.get(), {ARect.Left, ARect.Top, ARect.Right, ARect.Bottom}));
  TPdfArray* annots = page->PdfArrayByName("Annots");
  if (!annots) {
    annots = new TPdfArray(FXref.get());
    page->AddItem("Annots", annots);
  }
  annots->AddItem(annotation);
  return annotation;
}

TPdfDictionary* TPdfDocument::CreateLink(const TPdfRect& ARect, const std::string& aBookmarkName) {
  TPdfDictionary* link = CreateAnnotation(asLink, ARect);
  for (const auto& [name, destination] : fBookMarks)
    if (name == aBookmarkName) {
      link->AddItem("Dest", destination->GetValue());
      return link;
    }
  fMissingBookmarks.emplace_back(aBookmarkName, link);
  return link;
}

TPdfDestination* TPdfDocument::CreateDestination() {
  return AddAuxiliary(std::make_unique<TPdfDestination>(this));
}

void TPdfDocument::CreateBookMark(double TopPosition, const std::string& aBookmarkName) {
  if (!CurrentPage()) throw EPdfInvalidOperation("TPdfDocument.Document is null");
  bool used = false;
  for (const auto& bookmark : fBookMarks)
    used = used || bookmark.first == aBookmarkName;
  if (aBookmarkName.empty() || used)
    throw EPdfInvalidValue("Duplicated or void bookmark name \"" + aBookmarkName + "\"");
  TPdfDestination* destination = CreateDestination();
  destination->SetLeft(0);
  destination->SetTop(static_cast<int32_t>(RoundEven(TopPosition)));
  destination->SetZoom(0);
  fBookMarks.emplace_back(aBookmarkName, destination);
  for (size_t i = fMissingBookmarks.size(); i-- > 0;)
    if (fMissingBookmarks[i].first == aBookmarkName) {
      fMissingBookmarks[i].second->AddItem("Dest", destination->GetValue());
      fMissingBookmarks.erase(fMissingBookmarks.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

TPdfOutlineEntry* TPdfDocument::CreateOutline(const std::u16string& Title, int Level, double TopPosition) {
  if (!FUseOutlines || !FOutlineRoot) return nullptr;
  TPdfOutlineEntry* parent = fLastOutline ? fLastOutline : FOutlineRoot;
  while (fLastOutline && parent->Level() >= Level && parent->Parent())
    parent = parent->Parent();
  double top = std::trunc(TopPosition);
  int32_t topPosition = top < 0 ? -1 : top > 2147483647.0 ? 2147483647 : static_cast<int32_t>(top);
  fLastOutline = parent->AddChild(Title, Level, topPosition);
  return fLastOutline;
}
