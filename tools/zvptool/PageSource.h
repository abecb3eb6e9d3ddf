#pragma once
// The pages of a command's input: a saved report, or a single EMF file taken as a one-page report. The
// file is only read; a report stays open for the source's life and pages are decoded one at a time.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/metafile/Metafile.h"

class TZVPageList;

class TPageSource {
 public:
  // Raises when the file cannot be read or is neither a metafile nor a readable report.
  explicit TPageSource(const std::string& FileName);
  ~TPageSource();
  int32_t PageCount() const;
  // A new metafile for page 1..PageCount; raises EDamagedData when the page cannot be read and
  // Exception for a page outside the report.
  std::unique_ptr<TMetafile> GetPage(int32_t Page) const;

 private:
  std::string FFileName;
  std::unique_ptr<TMetafile> FSingle;
  std::unique_ptr<TZVPageList> FList;
};
