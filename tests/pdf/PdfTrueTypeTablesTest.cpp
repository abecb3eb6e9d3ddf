// The character-map reader and the name-table reader on small hand-made tables, damaged ones included.
#include <gtest/gtest.h>

#include <functional>

#include "pdf/PdfTrueTypeTables.h"
#include "platform/rtl/Exception.h"

namespace {

// Big-endian table bytes.
struct TTable {
  std::string Bytes;
  TTable& U16(uint32_t v) {
    Bytes += static_cast<char>(v >> 8);
    Bytes += static_cast<char>(v);
    return *this;
  }
  TTable& U32(uint32_t v) { return U16(v >> 16).U16(v & 0xFFFF); }
};

struct TSegment {
  uint16_t Start, End, Delta, RangeOffset;
};

// A format-4 subtable of the segments (RangeOffset counts bytes from its own idRangeOffset entry) and the
// glyph index array.
std::string Format4(const std::vector<TSegment>& Segments, const std::vector<uint16_t>& GlyphArray) {
  TTable t;
  size_t n = Segments.size();
  t.U16(4)
      .U16(static_cast<uint32_t>(16 + 8 * n + 2 * GlyphArray.size()))
      .U16(0)
      .U16(2 * n)
      .U16(0)
      .U16(0)
      .U16(0);
  for (const TSegment& s : Segments)
    t.U16(s.End);
  t.U16(0);
  for (const TSegment& s : Segments)
    t.U16(s.Start);
  for (const TSegment& s : Segments)
    t.U16(s.Delta);
  for (const TSegment& s : Segments)
    t.U16(s.RangeOffset);
  for (uint16_t g : GlyphArray)
    t.U16(g);
  return t.Bytes;
}

struct TEncoding {
  uint16_t Platform, Encoding;
};

// A cmap whose records all point at the one subtable.
std::string Cmap(const std::vector<TEncoding>& Records, const std::string& Subtable) {
  TTable t;
  t.U16(0).U16(static_cast<uint32_t>(Records.size()));
  uint32_t offset = static_cast<uint32_t>(4 + 8 * Records.size());
  for (const TEncoding& r : Records)
    t.U16(r.Platform).U16(r.Encoding).U32(offset);
  return t.Bytes + Subtable;
}

std::string Head(uint16_t UnitsPerEm) {
  std::string head(54, '\0');
  head[18] = static_cast<char>(UnitsPerEm >> 8);
  head[19] = static_cast<char>(UnitsPerEm);
  return head;
}

std::string Hhea(uint16_t MetricCount) {
  std::string hhea(36, '\0');
  hhea[34] = static_cast<char>(MetricCount >> 8);
  hhea[35] = static_cast<char>(MetricCount);
  return hhea;
}

std::string Hmtx(const std::vector<uint16_t>& Advances) {
  TTable t;
  for (uint16_t a : Advances)
    t.U16(a).U16(0);
  return t.Bytes;
}

// Segments: A..C by delta (glyphs 1..3), U+0105..U+0106 through the glyph array (glyphs 7 and 0, the
// second missing), and the closing U+FFFF.
const std::vector<TSegment> Segments = {
    {0x41, 0x43, uint16_t(1 - 0x41), 0}, {0x105, 0x106, 0, 4}, {0xFFFF, 0xFFFF, 1, 0}};
const std::vector<uint16_t> GlyphArray = {7, 0};

struct TMap {
  std::vector<char16_t> Codes;
  std::vector<TUsedWide> Entries;
};

TMap Load(const std::string& Cmap, const std::string& Head, const std::string& Hhea, const std::string& Hmtx,
          bool Fixed = false) {
  TMap map;
  TPdfTTF(Cmap, Head, Hhea, Hmtx).LoadCharacterMap(Fixed, map.Codes, map.Entries);
  return map;
}

TEST(PdfTrueTypeTables, Format4Segments) {
  std::string cmap = Cmap({{0, 3}, {3, 1}}, Format4(Segments, GlyphArray));
  // Advances of glyphs 0..3 (glyph 7 beyond the long metrics takes the last one).
  TMap map = Load(cmap, Head(2048), Hhea(4), Hmtx({1024, 1366, 1434, 2048}));
  EXPECT_EQ(std::u16string(map.Codes.begin(), map.Codes.end()), u"ABC\u0105\u0106\uFFFF");
  std::vector<uint32_t> ints;
  for (const TUsedWide& e : map.Entries)
    ints.push_back(e.Int());
  // Width = advance * 1000 / unitsPerEm, glyph in the high half.
  EXPECT_EQ(ints,
            (std::vector<uint32_t>{1u << 16 | 666, 2u << 16 | 700, 3u << 16 | 1000, 7u << 16 | 1000, 0, 0}));
}

TEST(PdfTrueTypeTables, WidthScaleOfOtherEmSizes) {
  std::string cmap = Cmap({{3, 1}}, Format4(Segments, GlyphArray));
  TMap thousand = Load(cmap, Head(1000), Hhea(2), Hmtx({500, 667}));
  EXPECT_EQ(thousand.Entries[0].Width, 667) << "an em of 1000 units is not a power of two";
  TMap tooSmall = Load(cmap, Head(8), Hhea(2), Hmtx({500, 667}));
  EXPECT_EQ(tooSmall.Entries[0].Width, 0);
  EXPECT_EQ(tooSmall.Entries[0].Glyph, 1);
  TMap fixed = Load(cmap, Head(2048), Hhea(2), Hmtx({1229, 2048}), true);
  EXPECT_EQ(fixed.Entries[0].Width, 600) << "every glyph takes the first metric";
  EXPECT_EQ(fixed.Entries[4].Width, 0) << "a missing character has no width";
}

TEST(PdfTrueTypeTables, SymbolEncodingWhenThereIsNoUnicodeOne) {
  std::string cmap = Cmap({{1, 0}, {3, 0}}, Format4(Segments, GlyphArray));
  EXPECT_EQ(Load(cmap, Head(2048), Hhea(1), Hmtx({1000})).Codes.size(), 6u);
}

TEST(PdfTrueTypeTables, FontsWithoutAUsableMapGiveAnEmptyOne) {
  std::string good = Format4(Segments, GlyphArray);
  std::string format6 = good;
  format6[1] = 6;
  std::string zeroOffset = Cmap({{3, 1}}, good);
  zeroOffset[8] = zeroOffset[9] = zeroOffset[10] = zeroOffset[11] = 0;
  std::string outside = Cmap({{3, 1}}, good);
  outside[10] = 0x7F;
  struct TCase {
    const char* Name;
    std::string Cmap, Head;
  } cases[] = {
      {"no cmap", "", Head(2048)},
      {"only a Macintosh subtable", Cmap({{1, 0}}, good), Head(2048)},
      {"format 6", Cmap({{3, 1}}, format6), Head(2048)},
      {"zero offset", zeroOffset, Head(2048)},
      {"offset outside the table", outside, Head(2048)},
      {"no head table", Cmap({{3, 1}}, good), ""},
  };
  for (const TCase& c : cases)
    EXPECT_TRUE(Load(c.Cmap, c.Head, Hhea(1), Hmtx({1000})).Codes.empty()) << c.Name;
}

TEST(PdfTrueTypeTables, DamagedTablesRaiseInsteadOfReadingBeyondThem) {
  std::string good = Cmap({{3, 1}}, Format4(Segments, GlyphArray));
  std::string cutRecords = good.substr(0, 6); // claims one record, holds two bytes of it
  std::string cutArrays = good.substr(0, 12 + 20);
  std::string cutGlyphs = good.substr(0, good.size() - 4); // the glyph index array is missing
  std::string hugeSegCount = good;
  hugeSegCount[12 + 6] = char(0xFF);
  hugeSegCount[12 + 7] = char(0xFE);
  struct TCase {
    const char* Name;
    std::function<void()> Run;
  } cases[] = {
      {"records", [&] { Load(cutRecords, Head(2048), Hhea(1), Hmtx({1000})); }},
      {"segment arrays", [&] { Load(cutArrays, Head(2048), Hhea(1), Hmtx({1000})); }},
      {"glyph index array", [&] { Load(cutGlyphs, Head(2048), Hhea(1), Hmtx({1000})); }},
      {"segment count", [&] { Load(hugeSegCount, Head(2048), Hhea(1), Hmtx({1000})); }},
      {"head", [&] { Load(good, Head(2048).substr(0, 19), Hhea(1), Hmtx({1000})); }},
      {"hhea", [&] { Load(good, Head(2048), Hhea(1).substr(0, 30), Hmtx({1000})); }},
      {"hmtx", [&] { Load(good, Head(2048), Hhea(300), Hmtx({1000})); }},
  };
  for (const TCase& c : cases) {
    try {
      c.Run();
      ADD_FAILURE() << c.Name << ": no error";
    } catch (const EDamagedData& e) {
      EXPECT_NE(std::string(e.what()).find("is damaged"), std::string::npos) << c.Name << ": " << e.what();
    }
  }
}

TEST(PdfTrueTypeTables, OverlappingSegmentsKeepCodesAscendingAndUnique) {
  std::vector<TSegment> segments;
  for (int i = 0; i < 200; ++i)
    segments.push_back({0x0000, 0xFFFE, 1, 0}); // every segment claims almost every code
  segments.push_back({0x0041, 0x0041, 1, 0});
  std::string cmap = Cmap({{3, 1}}, Format4(segments, {}));
  TMap map = Load(cmap, Head(2048), Hhea(1), Hmtx({1000}));
  ASSERT_EQ(map.Codes.size(), 0xFFFFu);
  for (size_t i = 1; i < map.Codes.size(); ++i)
    ASSERT_LT(map.Codes[i - 1], map.Codes[i]);
}

std::string NameTable(uint16_t Platform, uint16_t Encoding, uint16_t Language, uint16_t NameId,
                      const std::u16string& Text, uint16_t ExtraLength = 0) {
  TTable t;
  t.U16(0).U16(2).U16(6 + 2 * 12);
  t.U16(1).U16(0).U16(0).U16(6).U16(3).U16(0); // a Macintosh record first, never taken
  t.U16(Platform)
      .U16(Encoding)
      .U16(Language)
      .U16(NameId)
      .U16(static_cast<uint32_t>(2 * Text.size() + ExtraLength))
      .U16(3);
  t.Bytes += "mac";
  for (char16_t c : Text)
    t.U16(c);
  return t.Bytes;
}

TEST(PdfTrueTypeTables, PostScriptNameOfTheNameTable) {
  // Converted to code page 1252: what it lacks is dropped.
  EXPECT_EQ(PostScriptNameOfNameTable(NameTable(3, 1, 1033, 6, u"Zo\u0142ty-Bold\u00E9")), "Zoty-Bold\xE9");
  EXPECT_EQ(PostScriptNameOfNameTable(NameTable(3, 1, 1045, 6, u"Polish")), "");
  EXPECT_EQ(PostScriptNameOfNameTable(NameTable(3, 1, 1033, 4, u"Full name")), "");
  EXPECT_EQ(PostScriptNameOfNameTable(""), "");
  EXPECT_THROW(PostScriptNameOfNameTable(NameTable(3, 1, 1033, 6, u"Cut", 40)), EDamagedData);
  EXPECT_THROW(PostScriptNameOfNameTable(NameTable(3, 1, 1033, 6, u"Cut").substr(0, 20)), EDamagedData);
}

} // namespace
