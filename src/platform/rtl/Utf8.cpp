#include "Utf8.h"

#include <cstdint>

namespace {

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

void AppendUtf16(std::u16string& out, uint32_t cp) {
  if (cp < 0x10000) {
    out += static_cast<char16_t>(cp);
  } else {
    cp -= 0x10000;
    out += static_cast<char16_t>(0xD800 | (cp >> 10));
    out += static_cast<char16_t>(0xDC00 | (cp & 0x3FF));
  }
}

constexpr char16_t Replacement = 0xFFFD;

} // namespace

std::u16string Utf8ToUtf16(std::string_view Text) {
  std::u16string out;
  out.reserve(Text.size());
  size_t i = 0;
  while (i < Text.size()) {
    uint8_t c = static_cast<uint8_t>(Text[i]);
    int extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0 || i + extra >= Text.size()) {
      out += Replacement;
      ++i;
      continue;
    }
    uint32_t cp = extra == 0 ? c : c & (0x3F >> extra);
    bool valid = true;
    for (int k = 1; k <= extra; ++k) {
      uint8_t cc = static_cast<uint8_t>(Text[i + k]);
      if ((cc & 0xC0) != 0x80) {
        valid = false;
        break;
      }
      cp = (cp << 6) | (cc & 0x3F);
    }
    static const uint32_t minimum[] = {0, 0x80, 0x800, 0x10000};
    if (!valid || cp < minimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      out += Replacement;
      ++i;
      continue;
    }
    AppendUtf16(out, cp);
    i += extra + 1;
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view Text) {
  std::string out;
  out.reserve(Text.size());
  for (size_t i = 0; i < Text.size(); ++i) {
    uint32_t c = Text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < Text.size() && Text[i + 1] >= 0xDC00 && Text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (Text[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = Replacement;
    }
    AppendUtf8(out, c);
  }
  return out;
}
