#pragma once
// Helpers of the metafile-to-PDF renderer tests: a 96 x 96 pixel page (72 x 72 points) rendered into a
// document without compression, and the parameter bytes of records the EMF writer has no call for.
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "pdf/PdfDocument.h"
#include "platform/emfwriter/EmfWriter.h"

// Little-endian parameter bytes of a record (everything after its size field).
class TParams {
 public:
  TParams& I32(int32_t v);
  TParams& U32(uint32_t v) { return I32(static_cast<int32_t>(v)); }
  TParams& I16(int16_t v);
  TParams& U8(uint8_t v);
  TParams& F32(float v);
  TParams& Ints(std::initializer_list<int32_t> values);
  TParams& Bytes(const std::vector<uint8_t>& bytes);
  const std::vector<uint8_t>& Data() const { return FBytes; }
  operator std::span<const uint8_t>() const { return FBytes; }

 private:
  std::vector<uint8_t> FBytes;
};

// One PDF document whose pages the tests render metafiles onto.
class TRenderPage {
 public:
  // WithFonts: the host's installed fonts serve the document (text tests).
  explicit TRenderPage(bool WithFonts = false);
  TPdfDocumentGDI& Doc() { return *FDoc; }
  TPdfCanvas& Canvas() { return *FDoc->Canvas(); }
  // Adds a page of the metafile's size (as the PDF export does) and renders it; returns the page's
  // content.
  std::string Render(const TMetafile& MF);
  // The content between the renderer's own "q\n" and "Q\n".
  std::string RenderBody(const TMetafile& MF);
  // The content of the current page so far.
  std::string Content();

 private:
  std::unique_ptr<TPdfDocumentGDI> FDoc;
};

// A 96 x 96 pixel writer (1 logical unit = 0.75 points under MM_TEXT; y = 0 is 72 points up).
inline TEmfWriter SmallPage() {
  return TEmfWriter(96, 96, 96);
}

// How many times Needle occurs in Text.
int Count(const std::string& Text, const std::string& Needle);
