#pragma once
// TPdfDocument: the root of one PDF being built. It owns the registry (and with it every indirect
// object), the catalog, the information dictionary, the page tree, the outline tree, the font and image
// lists and the one canvas that writes page contents, and it drives saving.
//
// Object numbers of a fresh document: 1 catalog, 2 outline root (with outlines), 3 information
// dictionary, 4 page-tree root; then pages, their content streams and whatever the canvas registers, in
// creation order. A second save writes the same file again (a save keeps the streams' contents).
// One thread at a time.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "pdf/PdfCanvas.h"
#include "pdf/PdfFont.h"
#include "pdf/PdfImage.h"
#include "pdf/PdfLogFont.h"
#include "pdf/PdfNavigation.h"
#include "pdf/PdfPage.h"
#include "pdf/PdfStream.h"
#include "pdf/PdfWrappers.h"
#include "pdf/PdfWrite.h"
#include "pdf/PdfXref.h"
#include "platform/fonts/FontService.h"

class TPdfFontTrueType;

enum TPdfCompressionMethod : uint8_t { cmNone, cmFlateDecode };
enum TPDFPaperSize : uint8_t { psA4, psA5, psA3, psLetter, psLegal, psUserDefined };
enum TPdfFileFormat : uint8_t { pdf13, pdf14 };
enum TPdfAnnotationSubType : uint8_t { asTextNotes, asLink };

class TPdfDocument {
 public:
  // The reference context of this host: 96 pixels per inch wherever the program runs.
  static constexpr int ScreenLogPixelsOfHost = 96;

  // ACodePage 0 takes the host's ANSI code page. Installed TrueType families and their faces come from
  // AFontService (borrowed, usually TFontService::Instance(); none means no fonts). PDF/A-1 output is not
  // produced by this engine: APDFA1 true raises EPdfInvalidOperation.
  explicit TPdfDocument(bool AUseOutlines = false, int ACodePage = 0, bool APDFA1 = false,
                        TFontService* AFontService = nullptr);
  TPdfDocument(const TPdfDocument&) = delete;
  TPdfDocument& operator=(const TPdfDocument&) = delete;
  virtual ~TPdfDocument();

  // Discards every document object, pages included (the page list is emptied and the canvas detached),
  // and builds a fresh skeleton.
  void NewDoc();
  // Appends a page of the default size and makes it the canvas's page (EPdfInvalidOperation "AddPage"
  // without a page-tree node).
  virtual TPdfPage* AddPage();
  // Saves into aFileName, replacing it only once the whole file is written; false on any error.
  bool SaveToFile(const std::string& aFileName);
  // Whole save; ForceModDate 0 means now. Without a current page: EPdfInvalidOperation
  // "TPdfDocument.Document is null".
  virtual void SaveToStream(TStream& AStream, TDateTime ForceModDate = 0);
  void SaveToStreamDirectBegin(TStream& AStream, TDateTime ForceModDate = 0);
  // Writes every object not yet written that is not kept for the end.
  virtual void SaveToStreamDirectPageFlush();
  // Completes outlines and fonts, writes the remaining objects, the table and the trailer. The save
  // writer is released also after an error, so a new save can begin.
  void SaveToStreamDirectEnd();

  // A new page-tree node: a kid of Parent when that is a page-tree node, otherwise the catalog's "Pages".
  TPdfDictionary* CreatePages(TPdfDictionary* Parent);

  // XObjects. Ownership of AObject moves to the document once it is registered; an error raised before
  // that leaves it with the caller.
  int RegisterXObject(TPdfXObject* AObject, const std::string& AName);
  int AddXObject(const std::string& AName, TPdfXObject* AXObject);
  TPdfXObject* GetXObject(const std::string& AName) const;
  // The name of an image already held with that digest and size; empty when there is none.
  std::string GetXObjectImageName(const TPdfImageHash& Hash, int32_t Width, int32_t Height) const;
  // Reuses the image of equal pixels (unless ForceNoBitmapReuse) or adds a new one named "ZVImg<n>", and
  // draws it into DrawAt when given, clipped to ClipRc when given. Returns the image's name. The raster is
  // only read during the call. ForceJPEGCompression is not honoured: images keep their exact pixels.
  std::string CreateOrGetImage(const TPdfRaster& B, const TPdfBox* DrawAt = nullptr,
                               const TPdfBox* ClipRc = nullptr);

  // Navigation objects (requested by special metafile comments).
  TPdfDictionary* CreateAnnotation(TPdfAnnotationSubType AType, const TPdfRect& ARect);
  TPdfDictionary* CreateLink(const TPdfRect& ARect, const std::string& aBookmarkName);
  TPdfDestination* CreateDestination();
  void CreateBookMark(double TopPosition, const std::string& aBookmarkName);
  // None when outlines are off.
  TPdfOutlineEntry* CreateOutline(const std::u16string& Title, int Level, double TopPosition);

  // Fonts: the installed families (sorted, ASCII case-insensitive) and the font list.
  const std::vector<std::string>& TrueTypeFonts() const { return FTrueTypeFonts; }
  // Index of a family, -1 when not installed; caches the last hit.
  int FindFamilyIndex(const std::string& AName);
  // Takes the font, gives it the next short name "F<n>" and "Name".
  void AddFontToList(std::unique_ptr<TPdfFont> AFont);
  const std::vector<std::unique_ptr<TPdfFont>>& FontList() const { return FFontList; }
  // The registered WinAnsi TrueType font of a family (index + 1), style and character set; none if absent.
  TPdfFontTrueType* FindTrueTypeFont(int AFontIndexPlusOne, TPdfFontStyle AStyle, int ACharSet) const;
  // The registered WinAnsi TrueType font created from the same weight, italic, underline, strike-out,
  // character set and face name; none if absent.
  TPdfFontTrueType* FindTrueTypeFontByLogFont(const TLogFontW& ALogFont) const;
  // A new WinAnsi TrueType font of family AFontIndex from ALogFont (em height -1000), added to the font
  // list; none when the host cannot load the family.
  TPdfFontTrueType* CreateTrueTypeFont(int AFontIndex, TPdfFontStyle AStyle, const TLogFontW& ALogFont);
  // The PDF base-font name: the family without bytes <= 32 or > 126 plus ",Bold", ",Italic" or
  // ",BoldItalic"; a non-ASCII family takes the PostScript name of AFace's "name" table instead.
  std::string TrueTypeFontPdfName(int AIndex, TPdfFontStyle AStyle, const TFontFace* AFace = nullptr) const;
  TFontService* FontService() const { return FFontService; }
  // Embed every TrueType font (a subset of its file), not only those whose glyph indices are shown.
  bool EmbeddedTTF() const { return fEmbeddedTTF; }
  void SetEmbeddedTTF(bool Value) { fEmbeddedTTF = Value; }

  // The default printer's resolution, for the metric mapping modes of metafiles: asked of
  // PrinterResolutionProbe the first time it is needed (300 x 300 without a probe or when it answers 0).
  TPdfIntPoint PrinterPxPerInch();
  std::function<TPdfIntPoint()> PrinterResolutionProbe;
  TPdfIntPoint FPrinterPxPerInch; // x = 0: not asked yet

  TPdfCanvas* Canvas() const { return FCanvas.get(); }
  TPdfInfo* Info();
  TPdfCatalog* Root() const { return FRoot; }
  // EPdfInvalidOperation "TPdfDocument.Document is null" when outlines are off.
  TPdfOutlineRoot* OutlineRoot() const;
  TPdfXref* Xref() const { return FXref.get(); }
  TPdfTrailer* Trailer() const { return FTrailer.get(); }
  TPdfPage* CurrentPage() const { return FCanvas->HasPage() ? FCanvas->Page() : nullptr; }
  const std::vector<TPdfPage*>& RawPages() const { return fRawPages; }

  int DefaultPageWidth() const { return FDefaultPageWidth; }
  void SetDefaultPageWidth(int Value);
  int DefaultPageHeight() const { return FDefaultPageHeight; }
  void SetDefaultPageHeight(int Value);
  bool DefaultPageLandscape() const { return FDefaultPageWidth > FDefaultPageHeight; }
  void SetDefaultPageLandscape(bool Value);
  TPDFPaperSize DefaultPaperSize() const { return FDefaultPaperSize; }
  void SetDefaultPaperSize(TPDFPaperSize Value);
  TPdfCompressionMethod CompressionMethod() const { return FCompressionMethod; }
  // Taken by each stream when it is created.
  void SetCompressionMethod(TPdfCompressionMethod Value) { FCompressionMethod = Value; }
  bool UseOutlines() const { return FUseOutlines; }
  int CodePage() const { return FCodePage; }
  int CharSet() const { return FCharSet; }
  bool StandardFontsReplace() const { return FStandardFontsReplace; }
  // Can only become true while CharSet is 0.
  void SetStandardFontsReplace(bool Value);
  bool UseFontFallBack() const { return fUseFontFallBack; }
  void SetUseFontFallBack(bool Value) { fUseFontFallBack = Value; }
  int FontFallBackIndex() const { return fFontFallBackIndex; }
  std::string FontFallBackName() const;
  // -1 when the family is not installed.
  void SetFontFallBackName(const std::string& Value);
  int ForceJPEGCompression() const { return fForceJPEGCompression; }
  void SetForceJPEGCompression(int Value) { fForceJPEGCompression = Value; }
  bool ForceNoBitmapReuse() const { return fForceNoBitmapReuse; }
  void SetForceNoBitmapReuse(bool Value) { fForceNoBitmapReuse = Value; }
  int ScreenLogPixels() const { return FScreenLogPixels; }
  TPdfFileFormat FileFormat() const { return fFileFormat; }
  void SetFileFormat(TPdfFileFormat Value) { fFileFormat = Value; }
  bool PDFA1() const { return false; }
  bool IsSaving() const { return fSaveToStreamWriter != nullptr; }

  // The object being written (recorded by TPdfObject for encryption, which this engine never does).
  void SetCurrentObject(int32_t ANumber, int32_t AGeneration) {
    fCurrentObjectNumber = ANumber;
    fCurrentGenerationNumber = AGeneration;
  }
  int32_t CurrentObjectNumber() const { return fCurrentObjectNumber; }

  // Keeps an auxiliary object (wrapper, destination, outline entry) for the document's life.
  template <class T> T* AddAuxiliary(std::unique_ptr<T> AObject) {
    T* result = AObject.get();
    FObjectList.push_back(std::shared_ptr<void>(std::move(AObject)));
    return result;
  }

 protected:
  // The page class of this document.
  virtual TPdfPage* CreatePage() { return new TPdfPage(this); }
  void WriteObjects(bool AIncludeSaveAtTheEnd);

 private:
  void FreeDocumentObjects();
  void LoadTrueTypeFamilies();
  void WriteHeader();

  TPdfCatalog* FRoot = nullptr;
  TPdfDictionary* FCurrentPages = nullptr;
  std::unique_ptr<TPdfCanvas> FCanvas;
  std::unique_ptr<TPdfTrailer> FTrailer;
  std::unique_ptr<TPdfXref> FXref;
  TPdfInfo* FInfo = nullptr;
  std::vector<std::unique_ptr<TPdfFont>> FFontList;
  std::vector<std::shared_ptr<void>> FObjectList; // auxiliary objects of any class
  TPdfOutlineRoot* FOutlineRoot = nullptr;
  std::unique_ptr<TPdfArray> FXObjectList;
  int FDefaultPageWidth = 0, FDefaultPageHeight = 0;
  TPDFPaperSize FDefaultPaperSize = psA4;
  TPdfCompressionMethod FCompressionMethod = cmFlateDecode;
  bool FUseOutlines;
  int FCharSet = 0, FCodePage = 0;
  std::vector<std::string> FTrueTypeFonts;
  TFontService* FFontService = nullptr;
  bool fEmbeddedTTF = false;
  std::string FTrueTypeFontLastName;
  int FTrueTypeFontLastIndex = 0;
  int FScreenLogPixels = ScreenLogPixelsOfHost;
  bool FStandardFontsReplace = false;
  std::vector<TPdfPage*> fRawPages;
  int fForceJPEGCompression = 0;
  bool fForceNoBitmapReuse = false;
  bool fUseFontFallBack = true;
  int fFontFallBackIndex = -1;
  std::vector<std::pair<std::string, TPdfDestination*>> fBookMarks;
  std::vector<std::pair<std::string, TPdfDictionary*>> fMissingBookmarks;
  TPdfOutlineEntry* fLastOutline = nullptr;
  TPdfFileFormat fFileFormat = pdf13;
  std::unique_ptr<TPdfWrite> fSaveToStreamWriter;
  // Fonts (from the start of FFontList) completed by an earlier save: finishing registers their
  // descriptors and programs once, and a later save writes those again.
  size_t fFinishedFonts = 0;
  int32_t fCurrentObjectNumber = 0, fCurrentGenerationNumber = 0;
};

class TPdfDocumentGDI : public TPdfDocument {
 public:
  explicit TPdfDocumentGDI(bool AUseOutlines = false, int ACodePage = 0, bool APDFA1 = false,
                           TFontService* AFontService = nullptr);

  // The base page, its content stream kept for the end of the save.
  TPdfPage* AddPage() override;
  // Also without any page: the page tree is then written empty.
  void SaveToStream(TStream& AStream, TDateTime ForceModDate = 0) override;

  TPdfCanvasRenderMetaFileTextPositioning fUseMetaFileTextPositioning = tpSetTextJustification;
  float fKerningHScaleTop = 101.0f, fKerningHScaleBottom = 99.0f;

 protected:
  TPdfPage* CreatePage() override { return new TPdfPageGDI(this); }
};
