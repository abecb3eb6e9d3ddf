#include "VersionInfo.h"

#include <algorithm>
#include <cstdio>

#include "BuildInfo.h"

std::string TVersionNumber::info(int Numbers) const {
  if (major == 0 && minor == 0) return {};
  char text[64];
  if (Numbers == 3)
    std::snprintf(text, sizeof text, "%d.%d.%2d", major, minor, point);
  else if (Numbers == 4)
    std::snprintf(text, sizeof text, "%d.%d.%d.%d", major, minor, point, build);
  else
    std::snprintf(text, sizeof text, "%d.%2d", major, minor);
  std::string result = text;
  std::replace(result.begin(), result.end(), ' ', '0');
  return result;
}

TVersionBlock BuildVersionBlock() {
  TVersionBlock block;
  block.FileVersion = {ZVP_VERSION_MAJOR, ZVP_VERSION_MINOR, ZVP_VERSION_PATCH, ZVP_VERSION_TWEAK};
  block.ProductName = "zvpview";
  block.cHash = ZVP_COMMIT_ID;
  return block;
}

TVersionNumber TVersionInfo::getNumber() const {
  return FData ? FData->FileVersion : TVersionNumber{};
}

std::string AboutVersionText(const TVersionInfo& Info, bool Is3Numbers) {
  std::string text = Info.getInfo(Is3Numbers);
  const TVersionNumber number = Info.getNumber();
  if (number.build != 0) text += " (build: " + std::to_string(number.build) + ")";
  return text;
}

std::string CommitIdText(const TVersionInfo& Info) {
  const std::string hash = Info.getcHash();
  return hash.empty() ? "Niedostępny" : hash;
}
