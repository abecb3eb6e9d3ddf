#pragma once
// Paper sizes, paper sources and duplex modes of a report, with their host codes and the paper dimension
// table (millimetres, portrait). The table keeps its historical values also where they differ from the
// named sheet (Note is 279.0 mm high, Env12 101.6 mm wide, the C, D and E sheets 100 x 100 mm): saved
// reports are recognised against exactly these rows.
#include <array>
#include <cstdint>
#include <string>

// Ordinals 1..26 are the host's paper codes; Default is 0 and Custom stands for code 256.
enum class TZVPaperSize : uint8_t {
  Default,
  Letter,
  LetterSmall,
  Tabloid,
  Ledger,
  Legal,
  Statement,
  Executive,
  A3,
  A4,
  A4Small,
  A5,
  B4,
  B5,
  Folio,
  Quarto,
  zv10X14,
  zv11X17,
  Note,
  Env9,
  Env10,
  Env11,
  Env12,
  Env14,
  CSheet,
  DSheet,
  ESheet,
  Custom
};
constexpr int ZVPaperSizeCount = 28;

enum class TZVBin : uint8_t {
  First,
  Upper,
  Lower,
  Middle,
  Manual,
  Envelope,
  EnvManual,
  Auto,
  Tractor,
  SmallFormat,
  LargeFormat,
  LargeCapacity,
  Cassette,
  Last
};
constexpr int ZVBinCount = 14;

enum TZVDuplexMode { tzdNone, tzdHorizontal, tzdVertical };

struct TPaperDimension {
  long double Width, Height; // millimetres
};

// The paper code of a size (0 .. 26, 256 for Custom).
int16_t PaperCode(TZVPaperSize Size);
// Row of the dimension table for Default .. ESheet (Custom has none: 0 x 0).
const TPaperDimension& PaperDimension(TZVPaperSize Size);
// The display name ("A4 210 x 297 mm", "Custom Size", ...), UTF-8.
const std::string& PaperSizeName(TZVPaperSize Size);
// The host's paper-source code (Upper and First are 1, Cassette and Last 14).
int16_t BinCode(TZVBin Bin);

constexpr TZVPaperSize PaperSizeAt(int ordinal) {
  return static_cast<TZVPaperSize>(ordinal);
}
constexpr int Ordinal(TZVPaperSize Size) {
  return static_cast<int>(Size);
}
