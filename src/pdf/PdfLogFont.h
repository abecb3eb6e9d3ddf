#pragma once
// TLogFontW: a GDI LOGFONTW as plain data, the font description a metafile record carries. The PDF
// engine selects fonts from it (TPdfCanvas::SetFont); the renderer fills it from the record's bytes.
#include <cstdint>
#include <string>

constexpr int32_t FW_NORMAL = 400;
constexpr int32_t FW_BOLD = 700;
constexpr uint8_t ANSI_CHARSET = 0;
constexpr uint8_t DEFAULT_CHARSET = 1;
constexpr uint8_t SYMBOL_CHARSET = 2;
constexpr uint8_t EASTEUROPE_CHARSET = 238;
constexpr int LF_FACESIZE = 32;

struct TLogFontW {
  int32_t lfHeight = 0;
  int32_t lfWidth = 0;
  int32_t lfEscapement = 0;
  int32_t lfOrientation = 0;
  int32_t lfWeight = 0;
  uint8_t lfItalic = 0;
  uint8_t lfUnderline = 0;
  uint8_t lfStrikeOut = 0;
  uint8_t lfCharSet = 0;
  uint8_t lfOutPrecision = 0;
  uint8_t lfClipPrecision = 0;
  uint8_t lfQuality = 0;
  uint8_t lfPitchAndFamily = 0;
  char16_t lfFaceName[LF_FACESIZE] = {}; // zero-terminated unless all 32 units are used

  // The face name up to its terminating zero (at most 32 units).
  std::u16string FaceName() const;
  // Stores at most 31 units and the terminating zero.
  void SetFaceName(std::u16string_view Value);
};

// Font style bits of the PDF engine's font requests.
constexpr uint8_t fsBold = 1;
constexpr uint8_t fsItalic = 2;
constexpr uint8_t fsUnderline = 4;
constexpr uint8_t fsStrikeOut = 8;
using TPdfFontStyle = uint8_t;
