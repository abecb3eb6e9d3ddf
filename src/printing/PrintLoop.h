#pragma once
// The viewer's print loop: one job on the application-wide printer, each copy a pass over the chosen
// pages in order (collated), a new printer page before every page but the first, each page put on paper
// with PrintMetafilePage (or, when asked, played whole).
//
// A page that fails to print abandons the job (so the printer does not stay in its printing state) and
// its error comes out. A range that selects no page still starts and ends a job.
#include <cstdint>
#include <string>

#include "store/printer/ZVPrinter.h"

struct TPrintChoice {
  int32_t PrinterIndex = -1; // in the application-wide printer's list; -1: the default printer
  int32_t NumCopies = 1;     // below 1 counts as 1
  int32_t FromPage = 0;      // 0: every page
  int32_t ToPage = 0;
  std::string Title; // the job's name
  bool PlayWholeMetafile = false;
};

// Returns the number of printer pages that were printed.
int32_t PrintReport(TZVPrinter& Report, const TPrintChoice& Choice);
