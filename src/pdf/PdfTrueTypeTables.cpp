#include "pdf/PdfTrueTypeTables.h"

#include <algorithm>

#include "pdf/PdfCodePages.h"
#include "pdf/PdfSfntView.h"

namespace {

constexpr uint16_t PlatformWindows = 3;
constexpr uint16_t EncodingSymbol = 0;
constexpr uint16_t EncodingUnicodeBmp = 1;

// Offset of the format-4 Unicode subtable inside "cmap", 0 when the font has none.
size_t UnicodeSubtableOffset(const TSfntView& cmap) {
  if (cmap.size() < 4) return 0;
  uint16_t count = cmap.U16(2);
  uint32_t chosen = 0;
  for (uint16_t i = 0; i < count; ++i) {
    size_t record = 4 + size_t(i) * 8;
    if (cmap.U16(record) != PlatformWindows) continue;
    uint16_t encoding = cmap.U16(record + 2);
    if (encoding == EncodingUnicodeBmp) {
      chosen = cmap.U32(record + 4);
      break;
    }
    if (encoding == EncodingSymbol) chosen = cmap.U32(record + 4);
  }
  if (chosen == 0 || !cmap.Has(chosen, 2) || cmap.U16(chosen) != 4) return 0;
  return chosen;
}

// Advances in 1/1000 em of the glyphs of a font: its "head", "hhea" and "hmtx" tables.
class TAdvances {
 public:
  TAdvances(std::string_view head, std::string_view hhea, std::string_view hmtx)
      : fHead(head, "head"), fHhea(hhea, "hhea"), fHmtx(hmtx, "hmtx") {
    fUnitsPerEm = fHead.U16(18);
    fMetricCount = fHhea.U16(34);
    fHmtx.Check(0, size_t(fMetricCount) * 4);
  }
  uint16_t Advance(uint16_t Glyph) const {
    // Fonts of other em sizes than a power of two exist too, so the advance is divided, not shifted.
    if (fMetricCount == 0 || fUnitsPerEm < 16 || fUnitsPerEm > 16384) return 0;
    uint16_t metric = std::min<uint16_t>(Glyph, fMetricCount - 1);
    uint32_t width = uint32_t(fHmtx.U16(size_t(metric) * 4)) * 1000 / fUnitsPerEm;
    return static_cast<uint16_t>(std::min<uint32_t>(width, 0xFFFF));
  }

 private:
  TSfntView fHead, fHhea, fHmtx;
  uint16_t fUnitsPerEm = 0;
  uint16_t fMetricCount = 0;
};

} // namespace

TPdfTTF::TPdfTTF(std::string_view cmap, std::string_view head, std::string_view hhea, std::string_view hmtx)
    : fcmap(cmap), fhead(head), fhhea(hhea), fhmtx(hmtx) {}

void TPdfTTF::LoadCharacterMap(bool FixedWidth, std::vector<char16_t>& Codes,
                               std::vector<TUsedWide>& Entries) const {
  TSfntView cmap(fcmap, "cmap");
  size_t sub = UnicodeSubtableOffset(cmap);
  if (sub == 0 || fhead.empty() || fhhea.empty() || fhmtx.empty()) return;
  TAdvances advances(fhead, fhhea, fhmtx);

  size_t segCount = cmap.U16(sub + 6) / 2;
  size_t endCodes = sub + 14;
  size_t startCodes = endCodes + 2 * segCount + 2;
  size_t idDeltas = startCodes + 2 * segCount;
  size_t idRangeOffsets = idDeltas + 2 * segCount;
  cmap.Check(idRangeOffsets, 2 * segCount);

  uint16_t fixedAdvance = FixedWidth ? advances.Advance(0) : 0;
  // Codes are kept ascending and unique (lookups are binary searches), which also bounds the map to
  // 65536 entries whatever the segments claim.
  int32_t lastCode = -1;
  for (size_t i = 0; i < segCount; ++i) {
    uint16_t end = cmap.U16(endCodes + 2 * i);
    uint16_t start = cmap.U16(startCodes + 2 * i);
    if (end < start) continue;
    uint16_t delta = cmap.U16(idDeltas + 2 * i);
    uint16_t rangeOffset = cmap.U16(idRangeOffsets + 2 * i);
    for (uint32_t c = std::max<int32_t>(start, lastCode + 1); c <= end; ++c) {
      uint16_t glyph;
      if (rangeOffset == 0) {
        glyph = static_cast<uint16_t>(c + delta);
      } else {
        size_t at = idRangeOffsets + 2 * i + rangeOffset + 2 * (c - start);
        glyph = cmap.U16(at);
        if (glyph != 0) glyph = static_cast<uint16_t>(glyph + delta);
      }
      TUsedWide entry;
      entry.Glyph = glyph;
      // A missing character has no width in either kind of font, so measuring and showing agree on
      // taking it from the fallback font.
      if (glyph != 0) entry.Width = FixedWidth ? fixedAdvance : advances.Advance(glyph);
      Codes.push_back(static_cast<char16_t>(c));
      Entries.push_back(entry);
      lastCode = static_cast<int32_t>(c);
    }
  }
}

std::string PostScriptNameOfNameTable(std::string_view name) {
  TSfntView table(name, "name");
  if (table.size() < 6) return {};
  uint16_t count = table.U16(2);
  size_t strings = table.U16(4);
  for (uint16_t i = 0; i < count; ++i) {
    size_t record = 6 + size_t(i) * 12;
    if (table.U16(record) != PlatformWindows || table.U16(record + 2) != EncodingUnicodeBmp ||
        table.U16(record + 4) != 1033 || table.U16(record + 6) != 6)
      continue;
    size_t length = table.U16(record + 8);
    size_t offset = strings + table.U16(record + 10);
    table.Check(offset, length);
    std::string result;
    for (size_t at = 0; at + 1 < length; at += 2) {
      int byte = Utf16CharToCodePageByte(static_cast<char16_t>(table.U16(offset + at)), 1252);
      if (byte > 0) result += static_cast<char>(byte);
    }
    return result;
  }
  return {};
}
