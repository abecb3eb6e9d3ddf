#pragma once
// TPdfFontService: what the PDF engine needs from the host's font facilities. The document takes its
// list of installed TrueType families from here (and the fallback family from that list). The font
// service of the platform layer implements it; until then NoFontService() stands in and reports no
// families, so no font can be found and text measures through the 600-unit default.
#include <string>
#include <vector>

class TPdfFontService {
 public:
  virtual ~TPdfFontService() = default;
  // Installed TrueType family names in UTF-8, any order, duplicates allowed.
  virtual std::vector<std::string> TrueTypeFamilies() const = 0;
};

// A service without any font; shared, stateless.
TPdfFontService& NoFontService();
