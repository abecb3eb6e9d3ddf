#pragma once
// UTF-8 <-> UTF-16 for the whole program. Malformed input never stops a conversion: each bad byte, overlong
// form, encoded surrogate or lone surrogate becomes U+FFFD.
#include <string>
#include <string_view>

std::u16string Utf8ToUtf16(std::string_view Text);
std::string Utf16ToUtf8(std::u16string_view Text);
