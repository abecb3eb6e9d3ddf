#pragma once
// The Windows font names that reports use and the installed families that stand in for them.
#include <string>
#include <string_view>
#include <vector>

struct TCoreFontName {
  const char* WindowsName;
  const char* Family; // the metric-compatible (or symbol-compatible) installed family
  bool Symbol;        // a symbol font: only a symbol-encoded face may stand in
};

const std::vector<TCoreFontName>& CoreFontNames();
// The entry for a face name (ASCII case-insensitive), or null.
const TCoreFontName* FindCoreFontName(std::string_view faceName);

// Symbol font files that the system has but does not register with fontconfig.
const std::vector<std::string>& UnregisteredSymbolFontFiles();

// The face name without the script suffix older Windows programs add ("Arial CE" -> "Arial"), which
// Windows resolves through its font substitutes.
std::string StripScriptSuffix(std::string_view faceName);

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);
