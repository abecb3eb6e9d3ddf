#include "pdf/PdfWrite.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <ctime>

#include "pdf/PdfCodePages.h"
#include "pdf/PdfDate.h"
#include "pdf/PdfDocument.h"
#include "pdf/PdfSystemColors.h"

namespace {

const char HexDigits[] = "0123456789ABCDEF";

// "00" .. "99": two digits per store.
struct TTwoDigits {
  char Pairs[200];
  constexpr TTwoDigits() : Pairs() {
    for (int i = 0; i < 100; ++i) {
      Pairs[2 * i] = static_cast<char>('0' + i / 10);
      Pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
    }
  }
};
constexpr TTwoDigits TwoDigits;

// Values at least this large are formatted through the exact fixed conversion instead of hundredths.
constexpr double LargeReal = 1e15;

bool IsNameEscaped(uint8_t c) {
  if (c < 32 || c >= 127) return true;
  switch (c) {
  case '#':
  case '%':
  case '(':
  case ')':
  case '/':
  case '<':
  case '>':
  case '[':
  case ']':
  case '{':
  case '}':
    return true;
  default:
    return false;
  }
}

} // namespace

TPdfWrite::TPdfWrite(TPdfDocument* Destination, TStream* DestStream)
    : fDestStream(DestStream), fDestStreamPosition(DestStream->Position()),
      fStartPosition(fDestStreamPosition),
      fCodePage(Destination ? Destination->CodePage() : HostAnsiCodePage), fDoc(Destination) {
  B = Tmp;
  BEnd = Tmp + BufferSize - 1;
  BEnd4 = BEnd - 4;
}

void TPdfWrite::Save() {
  int32_t count = static_cast<int32_t>(B - Tmp);
  if (count == 0) return;
  B = Tmp; // a failing destination must not see the same bytes twice
  fDestStream->WriteBuffer(Tmp, count);
  fDestStreamPosition += count;
}

TPdfWrite& TPdfWrite::Add(char Value) {
  if (B >= BEnd) Save();
  *B++ = static_cast<uint8_t>(Value);
  return *this;
}

void TPdfWrite::PutDigits(uint64_t Value) {
  int count = 1;
  for (uint64_t v = Value; v >= 10; v /= 10)
    ++count;
  uint8_t* p = B + count;
  B = p;
  while (Value >= 100) {
    p -= 2;
    std::memcpy(p, TwoDigits.Pairs + 2 * (Value % 100), 2);
    Value /= 100;
  }
  if (Value >= 10) {
    p -= 2;
    std::memcpy(p, TwoDigits.Pairs + 2 * Value, 2);
  } else {
    *--p = static_cast<uint8_t>('0' + Value);
  }
}

TPdfWrite& TPdfWrite::Add(int64_t Value) {
  Room(24);
  if (Value < 0) {
    *B++ = '-';
    PutDigits(0 - static_cast<uint64_t>(Value));
  } else {
    PutDigits(static_cast<uint64_t>(Value));
  }
  return *this;
}

TPdfWrite& TPdfWrite::Add(int32_t Value) {
  return Add(static_cast<int64_t>(Value));
}

TPdfWrite& TPdfWrite::AddWithSpace(int64_t Value) {
  Add(Value);
  *B++ = ' '; // Add left room for the sign, the digits and this space
  return *this;
}

TPdfWrite& TPdfWrite::AddWithSpace(int32_t Value) {
  return AddWithSpace(static_cast<int64_t>(Value));
}

TPdfWrite& TPdfWrite::Add(int32_t Value, int DigitCount) {
  if (DigitCount < 1) DigitCount = 1;
  if (DigitCount > 10) DigitCount = 10;
  Room(16);
  uint32_t v = Value < 0 ? 0 : static_cast<uint32_t>(Value);
  for (int i = DigitCount - 1; i >= 0; --i) {
    B[i] = static_cast<uint8_t>('0' + v % 10);
    v /= 10;
  }
  B += DigitCount;
  *B++ = ' ';
  return *this;
}

void TPdfWrite::PutHundredths(int64_t Hundredths) {
  if (Hundredths < 0) {
    *B++ = '-';
    Hundredths = -Hundredths;
  }
  uint64_t whole = static_cast<uint64_t>(Hundredths) / 100;
  int fraction = static_cast<int>(Hundredths % 100);
  PutDigits(whole);
  if (fraction == 0) return;
  *B++ = '.';
  *B++ = static_cast<uint8_t>('0' + fraction / 10);
  if (fraction % 10 != 0) *B++ = static_cast<uint8_t>('0' + fraction % 10);
}

bool TPdfWrite::PutReal(double Value) {
  if (!(std::fabs(Value) < LargeReal)) return false;
  // Rounded half away from zero; the magnitude bound keeps the conversion in range.
  double scaled = Value * 100.0;
  int64_t hundredths = static_cast<int64_t>(scaled >= 0 ? scaled + 0.5 : scaled - 0.5);
  if (hundredths == 0)
    *B++ = '0'; // never "-0"
  else
    PutHundredths(hundredths);
  return true;
}

TPdfWrite& TPdfWrite::Add(double Value) {
  if (!std::isfinite(Value)) Value = 0;
  Room(32);
  if (PutReal(Value)) return *this;
  // Huge values are nonsense in a page but still must not turn into an exponent.
  char text[400];
  auto result = std::to_chars(text, text + sizeof(text), std::round(Value), std::chars_format::fixed, 0);
  return Add(text, result.ptr - text);
}

TPdfWrite& TPdfWrite::AddWithSpace(double Value) {
  Room(32);
  if (!(std::fabs(Value) >= 0.01)) {
    *B++ = '0';
  } else if (!PutReal(Value)) {
    Add(Value);
    Room(2);
  }
  *B++ = ' ';
  return *this;
}

TPdfWrite& TPdfWrite::AddWithSpace(double Value, int Decimals) {
  if (!std::isfinite(Value)) Value = 0;
  if (Decimals < 0) Decimals = 0;
  if (Decimals > 12) Decimals = 12;
  char text[400];
  auto result = std::to_chars(text, text + sizeof(text) - 1, Value + 0.0, std::chars_format::fixed, Decimals);
  *result.ptr++ = ' ';
  return Add(text, result.ptr - text);
}

TPdfWrite& TPdfWrite::Add(const char* Text, size_t Len) {
  if (Len == 0) return *this;
  if (static_cast<size_t>(BEnd - B) > Len) {
    std::memcpy(B, Text, Len);
    B += Len;
    return *this;
  }
  // Long strings go straight to the destination, after what is buffered.
  Save();
  const char* p = Text;
  while (Len > 0) {
    int32_t chunk = Len > 0x40000000u ? 0x40000000 : static_cast<int32_t>(Len);
    fDestStream->WriteBuffer(p, chunk);
    fDestStreamPosition += chunk;
    p += chunk;
    Len -= chunk;
  }
  return *this;
}

TPdfWrite& TPdfWrite::AddHex(std::string_view Bin) {
  for (unsigned char c : Bin) {
    if (B >= BEnd4) Save();
    B[0] = static_cast<uint8_t>(HexDigits[c >> 4]);
    B[1] = static_cast<uint8_t>(HexDigits[c & 15]);
    B += 2;
  }
  return *this;
}

TPdfWrite& TPdfWrite::AddHex4(uint16_t aWordValue) {
  Room(8);
  B[0] = static_cast<uint8_t>(HexDigits[aWordValue >> 12]);
  B[1] = static_cast<uint8_t>(HexDigits[(aWordValue >> 8) & 15]);
  B[2] = static_cast<uint8_t>(HexDigits[(aWordValue >> 4) & 15]);
  B[3] = static_cast<uint8_t>(HexDigits[aWordValue & 15]);
  B += 4;
  return *this;
}

TPdfWrite& TPdfWrite::AddToUnicodeHex(std::string_view Text) {
  std::u16string wide = CodePageToUtf16(Text, fCodePage);
  return AddUnicodeHex(wide.data(), static_cast<int>(wide.size()));
}

TPdfWrite& TPdfWrite::AddUnicodeHex(const char16_t* PW, int WideCharCount) {
  for (int i = 0; i < WideCharCount; ++i)
    AddHex4(PW[i]);
  return *this;
}

TPdfWrite& TPdfWrite::AddEscape(const char* Text, size_t TextLen) {
  for (size_t i = 0; i < TextLen; ++i) {
    if (B >= BEnd4) Save();
    uint8_t c = static_cast<uint8_t>(Text[i]);
    switch (c) {
    case 0:
      std::memcpy(B, "\\000", 4), B += 4;
      break;
    case 8:
      *B++ = '\\', *B++ = 'b';
      break;
    case 9:
      *B++ = '\\', *B++ = 't';
      break;
    case 10:
      *B++ = '\\', *B++ = 'n';
      break;
    case 12:
      *B++ = '\\', *B++ = 'f';
      break;
    case 13:
      *B++ = '\\', *B++ = 'r';
      break;
    case '(':
    case ')':
    case '\\':
      *B++ = '\\', *B++ = c;
      break;
    default:
      *B++ = c;
    }
  }
  return *this;
}

TPdfWrite& TPdfWrite::AddEscapeContent(std::string_view Text) {
  return AddEscape(Text.data(), Text.size());
}

TPdfWrite& TPdfWrite::AddEscapeName(std::string_view Text) {
  for (unsigned char c : Text) {
    if (c == 0) break;
    if (B >= BEnd4) Save();
    if (IsNameEscaped(c)) {
      B[0] = '#';
      B[1] = static_cast<uint8_t>(HexDigits[c >> 4]);
      B[2] = static_cast<uint8_t>(HexDigits[c & 15]);
      B += 3;
    } else {
      *B++ = c;
    }
  }
  return *this;
}

TPdfWrite& TPdfWrite::AddColorStr(TPdfColor Color) {
  uint32_t rgb = Color < 0 ? SystemColorRGB(Color & 255) : static_cast<uint32_t>(Color);
  AddWithSpace((rgb & 255) / 255.0);
  AddWithSpace(((rgb >> 8) & 255) / 255.0);
  return AddWithSpace(((rgb >> 16) & 255) / 255.0);
}

TPdfWrite& TPdfWrite::AddRGB(const uint8_t* P, int PInc, int Count) {
  for (int i = 0; i < Count; ++i, P += PInc) {
    if (B >= BEnd4) Save();
    B[0] = P[2];
    B[1] = P[1];
    B[2] = P[0];
    B += 3;
  }
  return *this;
}

TPdfWrite& TPdfWrite::AddIntegerBin(int64_t Value, int ByteSize) {
  if (ByteSize > 8) ByteSize = 8;
  for (int i = ByteSize - 1; i >= 0; --i)
    Add(static_cast<char>((static_cast<uint64_t>(Value) >> (8 * i)) & 255));
  return *this;
}

TPdfWrite& TPdfWrite::AddIso8601(TDateTime DateTime) {
  return Add(PdfDateToIso8601(DateTime));
}

std::string TPdfWrite::ToPDFString() {
  if (fDestStreamPosition == fStartPosition) return std::string(reinterpret_cast<char*>(Tmp), B - Tmp);
  Save();
  int64_t size = fDestStream->Size();
  std::string result(static_cast<size_t>(size), '\0');
  int64_t old = fDestStream->Position();
  fDestStream->SetPosition(0);
  fDestStream->ReadBuffer(result.data(), static_cast<int32_t>(size));
  fDestStream->SetPosition(old);
  return result;
}
