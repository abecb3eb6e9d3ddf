// TPdfDocument: the save phases and the file layout.
#include <vector>

#include "pdf/PdfBodyStream.h"
#include "pdf/PdfDate.h"
#include "pdf/PdfDocument.h"
#include "pdf/PdfErrors.h"

void TPdfDocument::SaveToStream(TStream& AStream, TDateTime ForceModDate) {
  if (!CurrentPage()) throw EPdfInvalidOperation("TPdfDocument.Document is null");
  SaveToStreamDirectBegin(AStream, ForceModDate);
  SaveToStreamDirectEnd();
}

void TPdfDocumentGDI::SaveToStream(TStream& AStream, TDateTime ForceModDate) {
  // Pages are filled through the canvas; none holds a recorded metafile to render and flush early.
  SaveToStreamDirectBegin(AStream, ForceModDate);
  SaveToStreamDirectEnd();
}

bool TPdfDocument::SaveToFile(const std::string& aFileName) {
  try {
    // Collected in memory first: the file is replaced only by a complete document.
    TPdfBodyStream output;
    SaveToStream(output);
    std::vector<uint8_t> bytes;
    bytes.reserve(static_cast<size_t>(output.Size()));
    output.ForEachRun([&](const uint8_t* Run, size_t Size) { bytes.insert(bytes.end(), Run, Run + Size); });
    output.SetSize(0);
    WriteFileBytes(aFileName, bytes.data(), bytes.size());
    return true;
  } catch (...) {
    return false;
  }
}

void TPdfDocument::WriteHeader() {
  TPdfWrite& w = *fSaveToStreamWriter;
  if (fFileFormat == pdf13)
    w.Add("%PDF-1.3\n");
  else
    w.Add("%PDF-1.4\n%\xE4\xE5\xE6\xF0\n");
}

void TPdfDocument::SaveToStreamDirectBegin(TStream& AStream, TDateTime ForceModDate) {
  if (fSaveToStreamWriter) throw EPdfInvalidOperation("SaveToStreamDirectBegin called twice");
  Info()->SetModDate(ForceModDate != 0 ? ForceModDate : PdfNow());
  if (FRoot->OpenAction())
    FRoot->Data()->AddItem("OpenAction", FRoot->OpenAction()->GetValue());
  else
    FRoot->Data()->RemoveItem("OpenAction");
  // Every save writes every object: offsets of an earlier save belong to that file.
  for (int32_t i = 1; i < FXref->ItemCount(); ++i)
    FXref->GetItem(i)->SetByteOffset(-1);
  fSaveToStreamWriter = std::make_unique<TPdfWrite>(this, &AStream);
  try {
    WriteHeader();
  } catch (...) {
    fSaveToStreamWriter.reset();
    throw;
  }
}

void TPdfDocument::WriteObjects(bool AIncludeSaveAtTheEnd) {
  TPdfWrite& w = *fSaveToStreamWriter;
  // Writing may register further objects; the count is read on every step.
  for (int32_t i = 1; i < FXref->ItemCount(); ++i) {
    TPdfXrefEntry* entry = FXref->GetItem(i);
    TPdfObject* object = entry->Value();
    if (entry->ByteOffset() > 0 || !object) continue;
    if (!AIncludeSaveAtTheEnd && object->SaveAtTheEnd()) continue;
    entry->SetByteOffset(PdfFileOffset(w.Position()));
    object->WriteValueTo(w);
  }
}

void TPdfDocument::SaveToStreamDirectPageFlush() {
  if (!fSaveToStreamWriter || !CurrentPage()) throw EPdfInvalidOperation("SaveToStreamDirectPageFlush");
  WriteObjects(false);
}

void TPdfDocument::SaveToStreamDirectEnd() {
  if (!fSaveToStreamWriter) throw EPdfInvalidOperation("SaveToStreamDirectEnd");
  try {
    if (FUseOutlines && FOutlineRoot) FOutlineRoot->Save();
    // Finishing may add fonts (Unicode companions); the size is read on every step.
    for (; fFinishedFonts < FFontList.size(); ++fFinishedFonts)
      if (FFontList[fFinishedFonts]->IsTrueType()) FFontList[fFinishedFonts]->FinishFont();
    WriteObjects(true);
    TPdfWrite& w = *fSaveToStreamWriter;
    FTrailer->SetXrefAddress(PdfFileOffset(w.Position()));
    FXref->WriteTable(w);
    FTrailer->Attributes()->PdfNumberByName("Size")->SetValue(FXref->ItemCount());
    FTrailer->WriteTrailer(w);
    w.Save();
  } catch (...) {
    fSaveToStreamWriter.reset();
    throw;
  }
  fSaveToStreamWriter.reset();
}
