#include "CoreFontNames.h"

#include <cctype>

const std::vector<TCoreFontName>& CoreFontNames() {
  static const std::vector<TCoreFontName> names = {
      {"Arial", "Liberation Sans", false},
      {"Arial Narrow", "Liberation Sans Narrow", false},
      {"Times New Roman", "Liberation Serif", false},
      {"Courier New", "Liberation Mono", false},
      {"Calibri", "Carlito", false},
      {"Cambria", "Caladea", false},
      {"Symbol", "Symbol", true},
      {"Wingdings", "Wingdings", true},
      {"Webdings", "Webdings", true},
  };
  return names;
}

const TCoreFontName* FindCoreFontName(std::string_view faceName) {
  for (const auto& entry : CoreFontNames())
    if (EqualsIgnoringAsciiCase(entry.WindowsName, faceName)) return &entry;
  return nullptr;
}

const std::vector<std::string>& UnregisteredSymbolFontFiles() {
  static const std::vector<std::string> files = {
      "/usr/share/wine/fonts/symbol.ttf",
      "/usr/share/wine/fonts/wingding.ttf",
      "/usr/share/wine/fonts/webdings.ttf",
  };
  return files;
}

std::string StripScriptSuffix(std::string_view faceName) {
  static const std::string_view suffixes[] = {" CE", " Baltic", " Cyr", " Greek", " Tur"};
  for (std::string_view suffix : suffixes)
    if (faceName.size() > suffix.size() &&
        EqualsIgnoringAsciiCase(faceName.substr(faceName.size() - suffix.size()), suffix))
      return std::string(faceName.substr(0, faceName.size() - suffix.size()));
  return std::string(faceName);
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}
