#pragma once
// The Windows code pages of the whole program: byte <-> UTF-16 for the single-byte ones (874 and 1250 to
// 1258) and the code page of a LOGFONT character set. Any other code page number, the multi-byte ones
// (932, 936, 949, 950) included, is converted as 1252; IsSingleByteCodePage tells them apart.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Windows code page of a LOGFONT character set (238 -> 1250, 0 and 1 -> 1252, 204 -> 1251, ...;
// 2 (symbol) -> 0, whose bytes are taken as they are).
int CodePageOfCharSet(uint8_t charSet);

// True for the code pages with a table of their own.
bool IsSingleByteCodePage(int codePage);

// The character of one byte; bytes the code page leaves undefined stand for themselves.
char16_t CodePageByteToUtf16(uint8_t byte, int codePage);
std::u16string CodePageBytesToUtf16(std::string_view bytes, int codePage);
// The text of an 8-bit string in a code page, as text records carry it: the single-byte code pages by their
// table, the multi-byte ones (932, 936, 949, 950) by the C library's converters, code page 0 (symbol fonts)
// byte for byte. A byte that starts no valid character becomes U+FFFD on its own and decoding goes on
// after it, so one bad byte never costs the rest of the string its letters.
std::u16string DecodeCodePageText(std::string_view bytes, int codePage);
// An 8-bit string of a text record decoded as above, with its advances, which the record holds per byte,
// merged per UTF-16 unit of the text: a character of several bytes advances by the sum of its bytes'
// advances (the second unit of a surrogate pair by 0).
struct TCodePageText {
  std::u16string Text;
  std::vector<int32_t> Dx, Dy; // one per unit of Text, or none; Dy only for pairs
};
// `advances`: one per byte, or with `pairs` an x and a y per byte (both summed). When it holds fewer, the
// result has no advances.
TCodePageText DecodeCodePageText(std::string_view bytes, int codePage, std::span<const int32_t> advances,
                                 bool pairs);
// The byte that stands for `ch`, or -1 when the code page has none.
int Utf16ToCodePageByte(char16_t ch, int codePage);
