#pragma once
// Readers of a font's raw TrueType tables, as the font service hands them out (big-endian bytes of the
// installed font file). Every read goes through a bounds-checked view: a table too short for what it
// declares raises EDamagedData naming the table; nothing reads outside the bytes given.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One entry of a character map: the advance in 1/1000 em and the glyph index. Read as one 32-bit value
// (Int) the width is the low half and the glyph the high half; 0 means no glyph and no width.
struct TUsedWide {
  uint16_t Width = 0;
  uint16_t Glyph = 0;
  uint32_t Int() const { return uint32_t(Width) | (uint32_t(Glyph) << 16); }
};

// TPdfTTF: reads the Unicode character map of a font once, for its Type0 companion.
class TPdfTTF {
 public:
  // The tables are borrowed for the reader's life.
  TPdfTTF(std::string_view cmap, std::string_view head, std::string_view hhea, std::string_view hmtx);

  // Appends every code of the font's format-4 Unicode subtable (platform 3, encoding 1, else the last
  // encoding 0) with its glyph and advance, in ascending code order, each code once. A font without
  // such a subtable (or without "head", "hhea" and "hmtx") gives nothing. A fixed-width font gives
  // every entry the first metric's advance.
  void LoadCharacterMap(bool FixedWidth, std::vector<char16_t>& Codes, std::vector<TUsedWide>& Entries) const;

 private:
  std::string_view fcmap, fhead, fhhea, fhmtx;
};

// The PostScript name of a font's "name" table (platform 3, encoding 1, language 1033, name ID 6) in
// code page 1252, characters it lacks dropped; empty when there is no such record.
std::string PostScriptNameOfNameTable(std::string_view name);
