// Matching logical fonts to installed files: the Windows core names, symbol fonts, styles, defaults.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "FontTestSupport.h"

using namespace fonts_test;

namespace {
struct TNameCase {
  const char* Face;
  int32_t Weight;
  bool Italic;
  const char* Family;
  const char* FileStem; // the file's name without extension
};

class FontMatchNames : public testing::TestWithParam<TNameCase> {};

TEST_P(FontMatchNames, ResolveToTheInstalledStandIn) {
  const TNameCase& c = GetParam();
  TFontLocation l = TFontService::Instance().Match(Request(c.Face, c.Weight, c.Italic));
  EXPECT_EQ(l.Family, c.Family) << c.Face;
  EXPECT_EQ(std::filesystem::path(l.File).stem().string(), c.FileStem) << l.File;
  EXPECT_FALSE(l.FakeBold);
  EXPECT_FALSE(l.FakeItalic);
}

INSTANTIATE_TEST_SUITE_P(
    CoreNames, FontMatchNames,
    testing::Values(TNameCase{"Arial", 400, false, "Liberation Sans", "LiberationSans-Regular"},
                    TNameCase{"Arial", 700, false, "Liberation Sans", "LiberationSans-Bold"},
                    TNameCase{"Arial", 400, true, "Liberation Sans", "LiberationSans-Italic"},
                    TNameCase{"Arial", 700, true, "Liberation Sans", "LiberationSans-BoldItalic"},
                    TNameCase{"arial ce", 400, false, "Liberation Sans", "LiberationSans-Regular"},
                    TNameCase{"Times New Roman", 400, false, "Liberation Serif", "LiberationSerif-Regular"},
                    TNameCase{"Courier New", 400, false, "Liberation Mono", "LiberationMono-Regular"},
                    TNameCase{"Arial Narrow", 400, false, "Liberation Sans Narrow",
                              "LiberationSansNarrow-Regular"},
                    TNameCase{"Calibri", 400, false, "Carlito", "Carlito-Regular"},
                    TNameCase{"Cambria", 700, false, "Caladea", "Caladea-Bold"},
                    TNameCase{"Symbol", 400, false, "Symbol", "symbol"},
                    TNameCase{"Wingdings", 400, false, "Wingdings", "wingding"},
                    TNameCase{"Webdings", 400, false, "Webdings", "webdings"}));

TEST(FontMatch, SymbolFontsResolveToSymbolEncodedFaces) {
  for (const char* name : {"Symbol", "Wingdings", "Webdings"}) {
    TFontLocation l = TFontService::Instance().Match(Request(name, 400, false, 2));
    EXPECT_TRUE(l.Symbol) << name << " -> " << l.File;
  }
  EXPECT_FALSE(TFontService::Instance().Match(Request("Arial")).Symbol);
}

TEST(FontMatch, MissingSymbolFontsTakeAnInstalledSymbolFace) {
  struct {
    const char* Face;
    const char* Family;
  } cases[] = {
      {"Wingdings 2", "Wingdings"}, {"Webdings Extra", "Webdings"}, {"MT Extra", "Symbol"}, {"", "Symbol"}};
  for (const auto& c : cases) {
    TFontLocation l = TFontService::Instance().Match(Request(c.Face, 400, false, 2));
    EXPECT_EQ(l.Family, c.Family) << c.Face;
    EXPECT_TRUE(l.Symbol) << c.Face;
  }
}

TEST(FontMatch, UnknownNamesTakeASansDefault) {
  for (const char* name : {"", "No Such Face 12345"}) {
    TFontLocation l = TFontService::Instance().Match(Request(name));
    ASSERT_FALSE(l.File.empty()) << name;
    EXPECT_FALSE(l.Symbol);
    auto face = TFontService::Instance().Open(Request(name));
    ASSERT_TRUE(face);
    // A sans face: variable pitch, and not a serif family.
    uint8_t pf = face->TextMetrics(-1000).PitchAndFamily;
    EXPECT_EQ(pf & 1, 1) << l.Family;
    EXPECT_NE(pf & 0xF0, 0x10) << l.Family;
  }
}

TEST(FontMatch, FixedPitchRequestsWithoutANameTakeAMonospacedFace) {
  auto face = TFontService::Instance().Open(Request("", 400, false, 1, 0x31)); // FIXED_PITCH | FF_MODERN
  ASSERT_TRUE(face);
  EXPECT_TRUE(face->OutlineMetrics().FixedPitch) << face->Location().Family;
}

TEST(FontMatch, MissingStylesAreMarkedForEmulation) {
  // The Wingdings file has no bold or italic cut: the renderers embolden and slant it themselves.
  TFontLocation l = TFontService::Instance().Match(Request("Wingdings", 700, true, 2));
  EXPECT_EQ(l.Family, "Wingdings");
  EXPECT_TRUE(l.FakeBold);
  EXPECT_TRUE(l.FakeItalic);
}

TEST(FontMatch, CachedMatchesAreStable) {
  TFontLocation a = TFontService::Instance().Match(Request("Times New Roman", 700));
  TFontLocation b = TFontService::Instance().Match(Request("Times New Roman", 700));
  EXPECT_EQ(a, b);
  EXPECT_EQ(TFontService::Instance().Open(Request("Times New Roman", 700)),
            TFontService::Instance().Open(Request("Times New Roman", 700)));
}

TEST(FontMatch, TrueTypeFamiliesListEachFamilyOnceWithTheCoreNames) {
  std::vector<std::string> families = TFontService::Instance().TrueTypeFamilies();
  auto has = [&](const std::string& name) { return std::count(families.begin(), families.end(), name); };
  for (const char* name : {"Arial", "Times New Roman", "Courier New", "Arial Narrow", "Calibri", "Cambria",
                           "Liberation Sans", "DejaVu Sans", "Symbol", "Wingdings"})
    EXPECT_EQ(has(name), 1) << name;
  for (const std::string& f : families) {
    EXPECT_FALSE(f.empty());
    EXPECT_NE(f[0], '@');
    EXPECT_EQ(has(f), 1) << f;
  }
  // Type 1 and CFF families are not TrueType.
  EXPECT_EQ(has("Nimbus Sans"), 0);
  // Every listed family resolves to itself or to its stand-in.
  for (const std::string& f : families)
    EXPECT_FALSE(TFontService::Instance().Match(Request(f)).File.empty()) << f;
}
} // namespace
