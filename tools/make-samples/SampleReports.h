#pragma once
// The sample reports, page by page. Everything is computed from fixed data, so the pages are the same
// bytes on every run.
#include <functional>
#include <vector>

#include "platform/metafile/Metafile.h"

// "faktura": an invoice of three A4 portrait pages at 96 dpi.
std::vector<TMetafile> MakeInvoicePages();
// "zestawienie": a sales listing on landscape Letter pages at 96 dpi; the summary chart closes the
// last page. Any page count from 1 serves the large benchmark reports, so each page goes to Sink as soon
// as it is drawn.
void MakeListingPages(int32_t pageCount, const std::function<void(const TMetafile&)>& Sink);
