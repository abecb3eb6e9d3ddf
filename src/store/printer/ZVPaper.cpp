#include "ZVPaper.h"

namespace {

const std::array<TPaperDimension, 27> Dimensions = {{
    {0, 0},           {215.9L, 279.4L}, {215.9L, 279.4L}, {279.4L, 431.8L}, {431.8L, 279.4L},
    {215.9L, 355.6L}, {139.7L, 215.9L}, {190.5L, 254.0L}, {297.0L, 420.0L}, {210.0L, 297.0L},
    {210.0L, 297.0L}, {148.0L, 210.0L}, {250.0L, 354.0L}, {182.0L, 257.0L}, {215.9L, 330.2L},
    {215.0L, 275.0L}, {254.0L, 355.6L}, {279.4L, 431.8L}, {215.9L, 279.0L}, {98.43L, 225.4L},
    {104.8L, 241.3L}, {114.3L, 263.5L}, {101.6L, 279.4L}, {127.0L, 292.1L}, {100.0L, 100.0L},
    {100.0L, 100.0L}, {100.0L, 100.0L},
}};

const std::array<std::string, ZVPaperSizeCount> Names = {
    "Default size",
    "Letter 8 1/2 x 11 in",
    "Letter Small 8 1/2 x 11 in",
    "Tabloid 11 x 17 in",
    "Ledger 17 x 11 in",
    "Legal 8 1/2 x 14 in",
    "Statement 5 1/2 x 8 1/2 in",
    "Executive7 1/2 x 10 in",
    "A3 297 x 420 mm",
    "A4 210 x 297 mm",
    "A4 Small 210 x 297 mm",
    "A5 148 x 210 mm",
    "B4 250 x 354 mm",
    "B5 182 x 257 mm",
    "Folio 8 1/2 x 13 in",
    "Quarto 215 x 275 mm",
    "10x14 in",
    "11x17 in",
    "Note 8 1/2 x 11 in",
    "Envelope #9 3 7/8 x 8 7/8",
    "Envelope #10 4 1/8 x 9 1/2",
    "Envelope #11 4 1/2 x 10 3/8",
    "Envelope #12 4 \u00BE x 11",
    "Envelope #14 4 \u00BE x 11",
    "C size sheet",
    "D size sheet",
    "E size sheet",
    "Custom Size",
};

const std::array<int16_t, ZVBinCount> BinCodes = {1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 14, 14};

const TPaperDimension NoRow = {0, 0};

} // namespace

int16_t PaperCode(TZVPaperSize Size) {
  return Size == TZVPaperSize::Custom ? int16_t{256} : static_cast<int16_t>(Ordinal(Size));
}

const TPaperDimension& PaperDimension(TZVPaperSize Size) {
  return Size == TZVPaperSize::Custom ? NoRow : Dimensions[Ordinal(Size)];
}

const std::string& PaperSizeName(TZVPaperSize Size) {
  return Names[Ordinal(Size)];
}

int16_t BinCode(TZVBin Bin) {
  return BinCodes[static_cast<int>(Bin)];
}
