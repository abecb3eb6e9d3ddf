#include "PdfRenderTestSupport.h"

#include <bit>
#include <cstring>

#include "pdf/PdfStream.h"
#include "platform/fonts/FontService.h"
#include "platform/rtl/MathUtil.h"

TParams& TParams::I32(int32_t v) {
  for (int i = 0; i < 4; ++i)
    FBytes.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i)));
  return *this;
}
TParams& TParams::I16(int16_t v) {
  FBytes.push_back(static_cast<uint8_t>(v));
  FBytes.push_back(static_cast<uint8_t>(static_cast<uint16_t>(v) >> 8));
  return *this;
}
TParams& TParams::U8(uint8_t v) {
  FBytes.push_back(v);
  return *this;
}
TParams& TParams::F32(float v) {
  return I32(std::bit_cast<int32_t>(v));
}
TParams& TParams::Ints(std::initializer_list<int32_t> values) {
  for (int32_t v : values)
    I32(v);
  return *this;
}
TParams& TParams::Bytes(const std::vector<uint8_t>& bytes) {
  FBytes.insert(FBytes.end(), bytes.begin(), bytes.end());
  return *this;
}

TRenderPage::TRenderPage(bool WithFonts)
    : FDoc(std::make_unique<TPdfDocumentGDI>(true, 1250, false,
                                             WithFonts ? &TFontService::Instance() : nullptr)) {
  FDoc->SetCompressionMethod(cmNone);
}

std::string TRenderPage::Render(const TMetafile& MF) {
  FDoc->SetDefaultPageWidth(MulDiv(MF.Width(), 72, FDoc->ScreenLogPixels()));
  FDoc->SetDefaultPageHeight(MulDiv(MF.Height(), 72, FDoc->ScreenLogPixels()));
  FDoc->AddPage();
  Canvas().RenderMetaFile(MF, 1.0f, 0, 0, tpSetTextJustification, 99.0f, 101.0f);
  return Content();
}

std::string TRenderPage::RenderBody(const TMetafile& MF) {
  std::string all = Render(MF);
  if (all.size() < 4 || all.compare(0, 2, "q\n") != 0 || all.compare(all.size() - 2, 2, "Q\n") != 0)
    return "unbalanced: " + all;
  return all.substr(2, all.size() - 4);
}

std::string TRenderPage::Content() {
  return Canvas().Contents()->Writer().ToPDFString();
}

int Count(const std::string& Text, const std::string& Needle) {
  int n = 0;
  for (size_t at = Text.find(Needle); at != std::string::npos; at = Text.find(Needle, at + Needle.size()))
    ++n;
  return n;
}
