#pragma once
// Virtual printers for the report-printer tests: queues with chosen capabilities, installed as the
// program's printers for the life of a fixture, and small saved reports whose page size is chosen.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/emfwriter/EmfWriter.h"
#include "platform/printer/VirtualPrinter.h"
#include "store/ZVPageList.h"

namespace vp {

constexpr uint32_t AllFields =
    DM_ORIENTATION | DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH | DM_COPIES | DM_DEFAULTSOURCE | DM_DUPLEX;

inline TVirtualPaper Paper(int16_t code) {
  switch (code) {
  case 1:
  case 2:
    return {code, 215.9, 279.4};
  case 5:
    return {code, 215.9, 355.6};
  case 9:
  case 10:
    return {code, 210, 297};
  case 18:
    return {code, 215.9, 279.0};
  default:
    return {code, 100, 100};
  }
}

inline TVirtualQueue Queue(const std::string& name, std::vector<int16_t> papers = {1, 5, 9},
                           int16_t paper = 9, uint32_t fields = AllFields) {
  TVirtualQueue q;
  q.Name = name;
  for (int16_t c : papers)
    q.Papers.push_back(Paper(c));
  q.Defaults.dmFields = fields;
  q.Defaults.dmPaperSize = paper;
  q.Defaults.dmCopies = 1;
  q.Defaults.dmDefaultSource = 7;
  return q;
}

// Installs the queues as the program's printers; the application-wide printer is made anew.
class Installed {
 public:
  Installed(std::vector<TVirtualQueue> queues, std::string defaultPrinter)
      : Spool(std::make_shared<TVirtualSpool>()) {
    auto spool = Spool;
    SetPrinterFactory([queues, defaultPrinter, spool] {
      return std::make_unique<TVirtualPrinter>(queues, defaultPrinter, spool);
    });
    SetApplicationPrinter(nullptr);
  }
  ~Installed() {
    SetPrinterFactory(nullptr);
    SetApplicationPrinter(nullptr);
  }
  std::shared_ptr<TVirtualSpool> Spool;
};

inline std::string OutputPath(const std::string& name) {
  return std::string(ZVP_TEST_OUTPUT_DIR) + "/printersettings-" + name;
}

// A saved report of `pages` pages of widthPx x heightPx pixels at 96 dpi, each page showing its number.
inline std::string Report(const std::string& name, int32_t widthPx, int32_t heightPx, int pages = 1) {
  const std::string path = OutputPath(name);
  std::filesystem::remove(path);
  TZVPageList list;
  list.SetFixedDate(46000.5);
  list.SetStream(std::make_unique<TZVStream>(1 << 20));
  for (int p = 1; p <= pages; ++p) {
    TEmfWriter w(widthPx, heightPx, 96);
    w.TextOut(40, 40, "Page " + std::to_string(p));
    list.AddPage(w.ToMetafile());
  }
  list.Finish();
  list.SaveToFile(path);
  return path;
}

} // namespace vp
