#pragma once
// TPdfWrite: the buffered writer every byte of a PDF passes through (object syntax, content operators,
// font and image data, the file itself). Bytes are staged in a 512-byte buffer and flushed to a borrowed
// stream; each primitive makes room once and then stores without further checks. Numbers are written
// locale-independently and never with an exponent. Errors of the destination stream propagate out of
// Save and of every primitive that flushes. Not thread-safe; one writer per stream.
#include <cstdint>
#include <string>
#include <string_view>

#include "pdf/PdfTypes.h"
#include "platform/rtl/Stream.h"

class TPdfCanvas;
class TPdfDocument;
class TPdfFont;
class TPdfFontTrueType;

// Which glyph string the Unicode text encoder has open (used by the font code).
enum TPdfAddGlyphFont : uint8_t { fNone, fMain, fFallBack };

class TPdfWrite {
 public:
  // Records the document (may be none: code page 1252, no current-object tracking), the stream (required)
  // and its current position.
  TPdfWrite(TPdfDocument* Destination, TStream* DestStream);
  TPdfWrite(const TPdfWrite&) = delete;
  TPdfWrite& operator=(const TPdfWrite&) = delete;

  TPdfWrite& Add(char Value);
  TPdfWrite& Add(int32_t Value);
  TPdfWrite& Add(int64_t Value);
  TPdfWrite& AddWithSpace(int32_t Value);
  TPdfWrite& AddWithSpace(int64_t Value);
  // Right-aligned, zero-padded to exactly DigitCount digits (the last ones when longer, 0 for a negative
  // value), then one space: the cross-reference table form.
  TPdfWrite& Add(int32_t Value, int DigitCount);
  // At most two decimals, trailing zeros and a bare point dropped ("12.1", "-3.46", "1").
  TPdfWrite& Add(double Value);
  // The same followed by one space; "0 " for a magnitude below 0.01 or a value that is not a number.
  TPdfWrite& AddWithSpace(double Value);
  // Exactly Decimals decimals (no trimming, no small-value rule), then one space.
  TPdfWrite& AddWithSpace(double Value, int Decimals);
  TPdfWrite& Add(const char* Text, size_t Len);
  TPdfWrite& Add(std::string_view Text) { return Add(Text.data(), Text.size()); }
  TPdfWrite& Add(const char* Text) { return Add(std::string_view(Text)); }

  TPdfWrite& AddHex(std::string_view Bin);
  TPdfWrite& AddHex4(uint16_t aWordValue);
  // Text in the document's code page, written as UTF-16 hexadecimal.
  TPdfWrite& AddToUnicodeHex(std::string_view Text);
  // Four digits per UTF-16 code unit, high byte first; nothing for a count of 0 or less.
  TPdfWrite& AddUnicodeHex(const char16_t* PW, int WideCharCount);
  // String escapes inside a literal string: 0 "\000", 8 "\b", 9 "\t", 10 "\n", 12 "\f", 13 "\r",
  // "(", ")" and "\" with a backslash; every other byte unchanged.
  TPdfWrite& AddEscape(const char* Text, size_t TextLen);
  TPdfWrite& AddEscapeContent(std::string_view Text); // the engine never encrypts: same as AddEscape
  // Name escapes: "#" and two hex digits for bytes 1-31, 127-255 and the delimiters #%()/<>[]{}; a zero
  // byte ends the name.
  TPdfWrite& AddEscapeName(std::string_view Text);

  // Red, green and blue as channel/255 reals, each with a space.
  TPdfWrite& AddColorStr(TPdfColor Color);
  // Count pixels of P (blue, green, red in memory) as red, green, blue bytes, PInc bytes apart.
  TPdfWrite& AddRGB(const uint8_t* P, int PInc, int Count);
  // The low ByteSize bytes of Value, most significant first.
  TPdfWrite& AddIntegerBin(int64_t Value, int ByteSize);
  // "YYYY-MM-DDThh:mm:ss".
  TPdfWrite& AddIso8601(TDateTime DateTime);

  // Flushes the buffered bytes to the destination.
  void Save();
  // The destination position the next byte will have.
  int64_t Position() const { return fDestStreamPosition + (B - Tmp); }
  // Every byte written through this writer (reads the destination back once something was flushed).
  std::string ToPDFString();

  TPdfDocument* Doc() const { return fDoc; }
  int CodePage() const { return fCodePage; }
  TStream* DestStream() const { return fDestStream; }

  // Showing Unicode text in the canvas page's current font (this must be the page's content writer).
  // Characters code page 1252 has go into literal strings of the WinAnsi font, the others into glyph
  // strings of its Type0 companion, or of the fallback font's companion when the font lacks them.
  // NextLine shows the first string with "'" (next line), the others with "Tj". EPdfInvalidOperation
  // when the page has no font.
  void AddUnicodeHexText(const char16_t* PW, bool NextLine, TPdfCanvas* Canvas);
  // The same for bytes in the document's code page.
  void AddToUnicodeHexText(std::string_view Text, bool NextLine, TPdfCanvas* Canvas);
  // Glyph indices of the current TrueType font's file, shown through its companion; glyphs the
  // font's character map does not reach become 0.
  void AddGlyphs(const uint16_t* Glyphs, int GlyphsCount, TPdfCanvas* Canvas);
  // A WinAnsi byte string for a literal string (up to a zero byte), its bytes marked used in Font.
  TPdfWrite& AddEscapeText(std::string_view Text, TPdfFont* Font);
  // The runs of a text in Font (a WinAnsi TrueType font; none shows everything literally, "?" for what
  // code page 1252 lacks).
  void EncodeUnicodeRuns(const char16_t* PW, bool NextLine, TPdfCanvas* Canvas, TPdfFontTrueType* Font);
  // One character of a glyph run, in Font or the fallback font.
  void AddCharAsGlyph(char16_t ch, TPdfFontTrueType* Font, TPdfCanvas* Canvas);
  // Ends an open glyph string with its show operator.
  void CloseGlyphString();

  // The glyph string open while text is encoded (fNone between calls).
  TPdfAddGlyphFont fAddGlyphFont = fNone;

 private:
  static constexpr int BufferSize = 512;
  // Flush when fewer than Count bytes remain before BEnd.
  void Room(int Count) {
    if (BEnd - B < Count) Save();
  }
  void PutDigits(uint64_t Value);
  void PutHundredths(int64_t Hundredths);
  // The two-decimal form of a value below 1e15 in magnitude; false (nothing stored) for larger ones.
  bool PutReal(double Value);

  // The show operator of the next string: "'" while a requested line break is pending, then "Tj".
  void AddShowOperator();

  bool fNextLinePending = false;
  // The WinAnsi font the last text was encoded in, and the font the encoder left selected: a text that
  // ended in the fallback font's glyphs leaves that font on the page, the next text keeps the main font.
  TPdfFontTrueType* fTextFont = nullptr;
  TPdfFont* fTextFontLeft = nullptr;

  uint8_t* B;
  uint8_t* BEnd;
  uint8_t* BEnd4;
  TStream* fDestStream;
  int64_t fDestStreamPosition;
  int64_t fStartPosition;
  int fCodePage;
  TPdfDocument* fDoc;
  uint8_t Tmp[BufferSize + 16];
};
