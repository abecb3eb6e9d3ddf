// Font costs of a PDF export: selecting a font a metafile record asked for before, measuring a new font's
// WinAnsi widths, and reducing a font file to the glyphs of a short run for embedding.
#include <benchmark/benchmark.h>

#include "pdf/PdfDocument.h"
#include "pdf/PdfFontTrueType.h"
#include "platform/fonts/FontSubset.h"

namespace {

TLogFontW ArialLogFont() {
  TLogFontW lf;
  lf.lfHeight = -1000;
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = EASTEUROPE_CHARSET;
  lf.lfPitchAndFamily = 0x21;
  lf.SetFaceName(u"Arial");
  return lf;
}

// A record's LOGFONT equal to one the document already has a font for (among a few others).
void BM_SelectCachedLogFont(benchmark::State& State) {
  TPdfDocumentGDI doc(true, 1250, false, &TFontService::Instance());
  doc.SetCompressionMethod(cmNone);
  doc.AddPage();
  TPdfCanvas& canvas = *doc.Canvas();
  for (const char* family : {"Times New Roman", "Courier New", "Arial"})
    for (TPdfFontStyle style : {TPdfFontStyle(0), fsBold, fsItalic})
      canvas.SetFont(family, 10, style);
  TLogFontW lf = ArialLogFont();
  if (!canvas.SetFont(lf, 12)) State.SkipWithError("Arial is not installed");
  float size = 12;
  for (auto _ : State) {
    size = size == 12 ? 10 : 12; // a size change writes "Tf" as a real record would
    benchmark::DoNotOptimize(canvas.SetFont(lf, size));
  }
}
BENCHMARK(BM_SelectCachedLogFont);

// A font the document has not seen: dictionary, metrics and the 224 widths of codes 32..255.
void BM_WidthsOfANewFont(benchmark::State& State) {
  for (auto _ : State) {
    State.PauseTiming();
    auto doc = std::make_unique<TPdfDocumentGDI>(true, 1250, false, &TFontService::Instance());
    doc->AddPage();
    State.ResumeTiming();
    TPdfFontTrueType* font = doc->Canvas()->SetFont("Arial", 12, fsBold);
    if (!font) State.SkipWithError("Arial is not installed");
    benchmark::DoNotOptimize(font->GetAnsiCharWidth("W", 1));
    State.PauseTiming();
    doc.reset();
    State.ResumeTiming();
  }
}
BENCHMARK(BM_WidthsOfANewFont)->Unit(benchmark::kMicrosecond);

// Liberation Sans (what "Arial" is here) reduced to the glyphs of a three-letter run.
void BM_SubsetThreeGlyphRun(benchmark::State& State) {
  TPdfDocumentGDI doc(true, 1250, false, &TFontService::Instance());
  doc.AddPage();
  TPdfFontTrueType* font = doc.Canvas()->SetFont("Arial", 12, 0);
  if (!font) {
    State.SkipWithError("Arial is not installed");
    return;
  }
  std::string file = font->Face().FontFile();
  std::vector<uint16_t> glyphs;
  for (char32_t c : {U'\u017C', U'\u0142', U'\u0107'})
    glyphs.push_back(font->Face().GlyphIndex(c));
  size_t bytes = 0;
  for (auto _ : State)
    bytes = SubsetFontKeepingGlyphIds(file, 0, glyphs, {}).size();
  State.counters["subset_bytes"] = static_cast<double>(bytes);
  State.counters["font_bytes"] = static_cast<double>(file.size());
}
BENCHMARK(BM_SubsetThreeGlyphRun)->Unit(benchmark::kMillisecond);

} // namespace
