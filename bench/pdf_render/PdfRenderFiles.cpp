// pdf_render_files OUT_DIR FILE.emf...: renders each metafile into OUT_DIR/<name>.pdf as the PDF export
// does (one page of the metafile's size, outlines on, code page 1250, uncompressed), for looking at the
// renderer's output beside other renderings. A file that fails is reported and skipped.
#include <cstdio>
#include <filesystem>
#include <string>

#include "pdf/PdfDocument.h"
#include "platform/fonts/FontService.h"
#include "platform/metafile/Metafile.h"
#include "platform/rtl/MathUtil.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: pdf_render_files OUT_DIR FILE.emf...\n");
    return 2;
  }
  std::filesystem::path out(argv[1]);
  std::filesystem::create_directories(out);
  int failed = 0;
  for (int i = 2; i < argc; ++i) {
    std::filesystem::path input(argv[i]);
    try {
      TMetafile mf;
      mf.LoadFromFile(input.string());
      TPdfDocumentGDI doc(true, 1250, false, &TFontService::Instance());
      doc.SetCompressionMethod(cmNone);
      doc.SetDefaultPageWidth(MulDiv(mf.Width(), 72, doc.ScreenLogPixels()));
      doc.SetDefaultPageHeight(MulDiv(mf.Height(), 72, doc.ScreenLogPixels()));
      doc.AddPage();
      doc.Canvas()->RenderMetaFile(mf, 1.0f, 0, 0, tpSetTextJustification, 99.0f, 101.0f);
      std::string target = (out / input.stem()).string() + ".pdf";
      if (!doc.SaveToFile(target)) throw std::runtime_error("cannot write " + target);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "%s: %s\n", input.string().c_str(), e.what());
      ++failed;
    }
  }
  return failed ? 1 : 0;
}
