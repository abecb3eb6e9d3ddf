// The export-filter base class and the registry's Save dialog filter string.
#include <gtest/gtest.h>

#include "store/printer/ZVExportFilter.h"

namespace {
class TCsvFilter : public TZVExportFilter {
 public:
  using TZVExportFilter::TZVExportFilter;
  std::string GetName() const override { return "CSV"; }
  std::string FileExtension() const override { return "csv"; }
};
} // namespace

TEST(ExportFilter, BaseClassValues) {
  TZVExportFilter f("out.x");
  EXPECT_EQ(f.Name(), "Abstract filter");
  EXPECT_EQ(f.Description(), "Abstract non-working export filter");
  EXPECT_EQ(f.FileExtension(), "");
  EXPECT_FALSE(f.Streaming());
  EXPECT_EQ(f.Filename(), "out.x");
  EXPECT_FALSE(f.Active());
  f.Start(2100, 2970, TEmfFont{});
  EXPECT_TRUE(f.Active());
  f.Finish();
  EXPECT_FALSE(f.Active());
}

TEST(ExportFilter, FilterStringAndDuplicateEntries) {
  TZVExportFilterLibrary library;
  EXPECT_EQ(library.SaveDialogFilterString(), "Zevrin file(*.ZVP)|*.ZVP");
  library.AddFilter(ExportFilterClassOf<TCsvFilter>());
  EXPECT_EQ(library.SaveDialogFilterString(), "Zevrin file(*.ZVP)|*.ZVP|CSV (*.csv)|*.csv");
  library.AddFilter(ExportFilterClassOf<TCsvFilter>());
  library.AddFilter(ExportFilterClassOf<TZVExportFilter>());
  ASSERT_EQ(library.Filters().size(), 3u);
  library.RemoveFilter(ExportFilterClassOf<TCsvFilter>());
  ASSERT_EQ(library.Filters().size(), 2u);
  EXPECT_EQ(library.Filters()[0].FilterName, "CSV");
  EXPECT_EQ(library.Filters()[1].FilterName, "Abstract filter");
  EXPECT_EQ(library.Filters()[1].ExportFilterClass.Create("a")->Filename(), "a");
  EXPECT_EQ(ExportFilterLibrary().SaveDialogFilterString(), "Zevrin file(*.ZVP)|*.ZVP"); // nothing registered
}
