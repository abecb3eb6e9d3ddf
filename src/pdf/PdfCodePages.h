#pragma once
// Text conversions of the PDF engine: the single-byte Windows code pages a document may use for its byte
// strings (874 and 1250 to 1258; any other number, multi-byte ones included, is read as 1252, the host's
// ANSI code page), UTF-8 and UTF-16. Malformed UTF-8 becomes U+FFFD; nothing here raises.
#include <string>
#include <string_view>

#include "platform/rtl/Utf8.h"

// The code page used when a document asks for the system's default (0).
constexpr int HostAnsiCodePage = 1252;

std::u16string CodePageToUtf16(std::string_view Text, int CodePage);
// The byte of CodePage that stands for Char, or -1 when the code page has none.
int Utf16CharToCodePageByte(char16_t Char, int CodePage);

// The GDI character set of a code page (0, ANSI, for the ones without their own).
int CodePageToCharSet(int CodePage);
