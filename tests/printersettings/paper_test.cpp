// The paper, bin and duplex tables and what the settings make of them.
#include <gtest/gtest.h>

#include "store/printer/PrinterSettings.h"
#include "store/printer/ZVPaper.h"

TEST(PaperTable, CodesFollowTheOrdinalsWithCustomAt256) {
  for (int s = 0; s <= 26; ++s)
    EXPECT_EQ(PaperCode(PaperSizeAt(s)), s);
  EXPECT_EQ(PaperCode(TZVPaperSize::Custom), 256);
  EXPECT_EQ(PaperSizeName(TZVPaperSize::Custom), "Custom Size");
  EXPECT_EQ(PaperSizeName(TZVPaperSize::Env12), "Envelope #12 4 \u00BE x 11");
}

TEST(PaperTable, KeepsItsHistoricalRows) {
  EXPECT_EQ(PaperDimension(TZVPaperSize::Note).Height, 279.0L);
  EXPECT_EQ(PaperDimension(TZVPaperSize::Env12).Width, 101.6L);
  EXPECT_EQ(PaperDimension(TZVPaperSize::ESheet).Width, 100.0L);
  EXPECT_EQ(PaperDimension(TZVPaperSize::Ledger).Width, PaperDimension(TZVPaperSize::Tabloid).Height);
}

TEST(PaperTable, BinCodesShareOneAndFourteen) {
  struct Case {
    TZVBin Bin;
    int16_t Code;
  } cases[] = {{TZVBin::First, 1}, {TZVBin::Upper, 1},     {TZVBin::Lower, 2},
               {TZVBin::Auto, 7},  {TZVBin::Cassette, 14}, {TZVBin::Last, 14}};
  for (const auto& c : cases)
    EXPECT_EQ(BinCode(c.Bin), c.Code) << static_cast<int>(c.Bin);
}

// Without a printer the settings accept Default only; tabled sizes report the table in tenths of a mm and
// the getters never turn the sheet.
TEST(PaperTable, WidthAndLengthInTenthsOfAMillimetre) {
  TPrinterSettings s;
  EXPECT_EQ(s.PaperSize(), TZVPaperSize::A4);
  EXPECT_EQ(s.PaperWidth(), 2100);
  EXPECT_EQ(s.PaperLength(), 2970);
  EXPECT_EQ(s.Copies(), 0);
  s.SetOrientation(poLandscape); // refused: nothing is supported without a printer
  EXPECT_EQ(s.Orientation(), poPortrait);
  EXPECT_EQ(s.PaperWidth(), 2100);
  s.SetPaperSize(TZVPaperSize::Legal);
  EXPECT_EQ(s.PaperSize(), TZVPaperSize::A4);
  s.SetPaperSize(TZVPaperSize::Default);
  EXPECT_EQ(s.PaperSize(), TZVPaperSize::Default);
  EXPECT_EQ(s.PaperWidth(), 0);
}
