// Reads a font file's character map and PostScript name the way a PDF font's companion does: the
// table directory of the input locates "cmap", "head", "hhea", "hmtx" and "name".
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "pdf/PdfTrueTypeTables.h"
#include "platform/fonts/FontSubset.h"
#include "platform/rtl/Exception.h"

namespace {

uint32_t Big(std::string_view Bytes, size_t At, int Count) {
  uint32_t value = 0;
  for (int i = 0; i < Count; ++i)
    value = value << 8 | static_cast<uint8_t>(Bytes[At + i]);
  return value;
}

// The table of a tag, empty when the directory lacks it or points outside the file.
std::string_view Table(std::string_view Font, const char* Tag) {
  if (Font.size() < 12) return {};
  size_t count = Big(Font, 4, 2);
  for (size_t i = 0; i < count && 12 + 16 * (i + 1) <= Font.size(); ++i) {
    size_t record = 12 + 16 * i;
    if (Font.substr(record, 4) != Tag) continue;
    size_t offset = Big(Font, record + 8, 4), length = Big(Font, record + 12, 4);
    if (offset > Font.size() || length > Font.size() - offset) return {};
    return Font.substr(offset, length);
  }
  return {};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view font(reinterpret_cast<const char*>(data), size);
  for (bool fixed : {false, true}) {
    std::vector<char16_t> codes;
    std::vector<TUsedWide> entries;
    try {
      TPdfTTF(Table(font, "cmap"), Table(font, "head"), Table(font, "hhea"), Table(font, "hmtx"))
          .LoadCharacterMap(fixed, codes, entries);
    } catch (const Exception&) {
    }
    if (codes.size() != entries.size() || codes.size() > 0x10000) __builtin_trap();
  }
  try {
    (void)PostScriptNameOfNameTable(Table(font, "name"));
  } catch (const Exception&) {
  }
  (void)IsTrueTypeOutlineFile(font, 0);
  (void)IsTrueTypeOutlineFile(font, 1);
  return 0;
}
