#include "PdfFontTestSupport.h"

PdfFontFixture::PdfFontFixture() : doc(true, 1250, false, &TFontService::Instance()) {
  doc.SetCompressionMethod(cmNone);
  doc.AddPage();
  canvas = doc.Canvas();
}

bool PdfFontFixture::UseFallback(const std::string& Family) {
  doc.SetFontFallBackName(Family);
  return doc.FontFallBackIndex() >= 0;
}

std::string ObjectInFile(const std::string& Bytes, int Number) {
  std::string head = "\n" + std::to_string(Number) + " 0 obj\n";
  size_t start = Bytes.find(head);
  if (start == std::string::npos) return {};
  start += head.size();
  size_t end = Bytes.find("\nendobj\n", start);
  return Bytes.substr(start, end == std::string::npos ? std::string::npos : end - start);
}
