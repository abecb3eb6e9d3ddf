#pragma once
// A viewer-like document (code page 1250, no compression) on the host's installed fonts, with one page
// whose content the font tests read back.
#include <gtest/gtest.h>

#include <string>

#include "pdf/PdfDocument.h"
#include "pdf/PdfFontTrueType.h"

struct PdfFontFixture : ::testing::Test {
  PdfFontFixture();
  TPdfWrite& W() { return canvas->Contents()->Writer(); }
  std::string Content() { return W().ToPDFString(); }
  // The bytes a step adds to the page content.
  template <class F> std::string Produce(F&& Step) {
    std::string before = Content();
    Step();
    return Content().substr(before.size());
  }
  // "Arial" at 12 points, selected.
  TPdfFontTrueType* Arial(TPdfFontStyle Style = 0) { return canvas->SetFont("Arial", 12, Style); }
  // Makes the family the document's fallback font; false when it is not installed.
  bool UseFallback(const std::string& Family);

  TPdfDocumentGDI doc;
  TPdfCanvas* canvas;
};

// The definition body of object Number in a saved file ("" when absent).
std::string ObjectInFile(const std::string& Bytes, int Number);
