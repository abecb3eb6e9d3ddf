#pragma once
// The one matcher from a logical font to an installed font file, over a fontconfig configuration of
// its own (the system's fonts plus the symbol fonts the system leaves unregistered). Not thread-safe:
// the service serialises the calls.
#include <string>
#include <vector>

#include "FontService.h"

struct _FcConfig;

class TFontMatcher {
 public:
  TFontMatcher();
  ~TFontMatcher();
  TFontMatcher(const TFontMatcher&) = delete;
  TFontMatcher& operator=(const TFontMatcher&) = delete;

  // Only TrueType-format outline files are chosen (the PDF engine reads their tables); any outline
  // font when none fits. File stays empty when no outline font is installed at all.
  TFontLocation Match(const TFontRequest& request) const;
  // Installed TrueType families, each once, sorted; the Windows core names included where they resolve.
  std::vector<std::string> TrueTypeFamilies() const;

 private:
  bool FamilyInstalled(const std::string& family) const;
  _FcConfig* FConfig = nullptr;
};
