#include "ZVExportFilter.h"

#include <algorithm>

void TZVExportFilter::Start(int32_t, int32_t, const TEmfFont&) {
  FActive = true;
}

void TZVExportFilter::TextOut(long double, long double, const TEmfFont&, uint32_t, TAlignment,
                              const std::string&) {}

void TZVExportFilterLibrary::AddFilter(TZVExportFilterClass AFilter) {
  const auto probe = AFilter.Create("");
  FFilterList.push_back({AFilter, probe->Name(), probe->FileExtension()});
}

void TZVExportFilterLibrary::RemoveFilter(TZVExportFilterClass AFilter) {
  const std::string name = AFilter.Create("")->Name();
  auto it = std::find_if(FFilterList.begin(), FFilterList.end(),
                         [&](const TZVExportFilterLibraryEntry& e) { return e.FilterName == name; });
  if (it != FFilterList.end()) FFilterList.erase(it);
}

std::string TZVExportFilterLibrary::SaveDialogFilterString() const {
  std::string result = "Zevrin file(*.ZVP)|*.ZVP";
  for (const auto& e : FFilterList)
    result += "|" + e.FilterName + " (*." + e.Extension + ")|*." + e.Extension;
  return result;
}

TZVExportFilterLibrary& ExportFilterLibrary() {
  static TZVExportFilterLibrary library;
  return library;
}
