#pragma once
// TPdfPage: the page dictionary itself, with its media box and the text state the canvas compares
// against before writing text-state operators. Pages are registered in the document's registry, which
// owns them.
#include <string>

#include "pdf/PdfArray.h"
#include "pdf/PdfDictionary.h"

class TPdfDocument;
class TPdfFont;

class TPdfPage : public TPdfDictionary {
 public:
  // Adds "MediaBox" [0 0 DefaultPageWidth DefaultPageHeight] and marks the page to be written at the end.
  explicit TPdfPage(TPdfDocument* ADoc);

  virtual void SetPageWidth(int Value);
  virtual void SetPageHeight(int Value);
  int PageWidth() const;
  int PageHeight() const;
  bool PageLandscape() const { return PageWidth() > PageHeight(); }
  // Switching to the other state swaps width and height.
  void SetPageLandscape(bool Value);

  // Text state. Setters raise EPdfInvalidValue outside their range, except HorizontalScaling (clamped).
  float CharSpace() const { return FCharSpace; }
  void SetCharSpace(float Value); // -30 .. 300, "SetCharSpace"
  float WordSpace() const { return FWordSpace; }
  void SetWordSpace(float Value); // >= 0, "SetWordSpace"
  float FontSize() const { return FFontSize; }
  void SetFontSize(float Value); // 0 .. 2000, "SetFontSize"
  float Leading() const { return FLeading; }
  void SetLeading(float Value); // 0 .. 300, "SetLeading"
  float HorizontalScaling() const { return FHorizontalScaling; }
  void SetHorizontalScaling(float Value); // clamped to 10 .. 300
  TPdfFont* Font() const { return FFont; }
  void SetFont(TPdfFont* Value) { FFont = Value; }

  // Width in points of a byte string in the current font at the current size, with character and word
  // spacing; 0 without a font.
  float TextWidth(const std::string& Text) const;
  // How many leading bytes of Text fit into Width points.
  int MeasureText(const std::string& Text, float Width) const;

  TPdfDocument* Doc() const { return fDoc; }

 protected:
  TPdfDocument* fDoc;
  TPdfArray* FMediaBox;
  float FWordSpace = 0, FCharSpace = 0, FFontSize = 0;
  TPdfFont* FFont = nullptr;
  float FLeading = 0, FHorizontalScaling = 0;

 private:
  float CharWidth(const std::string& Text, int Pos) const;
};

// The page class of the GDI document. Pages of this system are filled by rendering metafiles onto the
// canvas; a page holds no recorded metafile of its own.
class TPdfPageGDI : public TPdfPage {
 public:
  using TPdfPage::TPdfPage;
};
