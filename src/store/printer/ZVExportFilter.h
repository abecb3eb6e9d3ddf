#pragma once
// Export filters turn the pages of a report into another file format. TZVExportFilter is the base of such
// filters; TZVExportFilterLibrary registers filter classes and builds the Save dialog's filter string,
// the native saved-report entry first. The viewer registers none, so its dialog offers the native format
// alone.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/emfwriter/EmfWriter.h"

class TZVPrinter;

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

class TZVExportFilter {
 public:
  explicit TZVExportFilter(std::string Filename) : FFilename(std::move(Filename)) {}
  virtual ~TZVExportFilter() = default;

  virtual std::string Description() const { return "Abstract non-working export filter"; }
  // Without the dot.
  virtual std::string FileExtension() const { return ""; }
  virtual std::string GetName() const { return "Abstract filter"; }
  std::string Name() const { return GetName(); }
  virtual std::string Vendor() const { return "Zevrin"; }
  virtual bool Streaming() const { return false; }
  virtual void Start(int32_t PaperWidth, int32_t PaperHeight, const TEmfFont& Font);
  virtual void EndPage() {}
  virtual void Finish() { FActive = false; }
  virtual void NewPage() {}
  virtual void TextOut(long double X, long double Y, const TEmfFont& Font, uint32_t BGColor,
                       TAlignment Alignment, const std::string& Text);

  const std::string& Filename() const { return FFilename; }
  bool Active() const { return FActive; }
  void SetActive(bool v) { FActive = v; }
  TZVPrinter* OriginalZVPrinter() const { return FOriginalZVPrinter; }
  void SetOriginalZVPrinter(TZVPrinter* v) { FOriginalZVPrinter = v; }
  void* Owner() const { return FOwner; }
  void SetOwner(void* v) { FOwner = v; }

 private:
  TZVPrinter* FOriginalZVPrinter = nullptr;
  bool FActive = false;
  std::string FFilename;
  void* FOwner = nullptr;
};

// A filter class: makes instances from a file name.
struct TZVExportFilterClass {
  std::unique_ptr<TZVExportFilter> (*Create)(const std::string& Filename);
};
template <typename T> TZVExportFilterClass ExportFilterClassOf() {
  return {[](const std::string& f) -> std::unique_ptr<TZVExportFilter> { return std::make_unique<T>(f); }};
}

struct TZVExportFilterLibraryEntry {
  TZVExportFilterClass ExportFilterClass;
  std::string FilterName;
  std::string Extension;
};

class TZVExportFilterLibrary {
 public:
  // Registers a class (the same class may be entered twice).
  void AddFilter(TZVExportFilterClass AFilter);
  // Removes the first entry whose name equals the class's name (exact comparison).
  void RemoveFilter(TZVExportFilterClass AFilter);
  const std::vector<TZVExportFilterLibraryEntry>& Filters() const { return FFilterList; }
  // "Zevrin file(*.ZVP)|*.ZVP", then "|Name (*.ext)|*.ext" per entry in order.
  std::string SaveDialogFilterString() const;

 private:
  std::vector<TZVExportFilterLibraryEntry> FFilterList;
};

// The one registry of the program.
TZVExportFilterLibrary& ExportFilterLibrary();
