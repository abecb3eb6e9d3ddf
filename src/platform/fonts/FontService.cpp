#include "FontService.h"

#include <map>
#include <mutex>
#include <unordered_map>

#include "FontMatcher.h"
#include "FreeTypeFace.h"

namespace {
std::string RequestKey(const TFontRequest& r) {
  std::string key = r.FaceName;
  key += '\0';
  key += std::to_string(r.Weight <= 0 ? 400 : r.Weight);
  key += r.Italic ? 'i' : 'r';
  key += static_cast<char>(r.CharSet);
  key += static_cast<char>(r.PitchAndFamily);
  return key;
}

std::string FaceKey(const TFontLocation& l, uint8_t pitchAndFamily) {
  std::string key = l.File;
  key += '\0';
  key += std::to_string(l.FaceIndex);
  key += '\0';
  key += l.Family;
  key += l.Symbol ? 's' : '-';
  key += l.FakeBold ? 'b' : '-';
  key += l.FakeItalic ? 'i' : '-';
  key += static_cast<char>(pitchAndFamily & 0xF0);
  return key;
}

class TSystemFontService final : public TFontService {
 public:
  std::vector<std::string> TrueTypeFamilies() const override {
    std::lock_guard lock(FMutex);
    if (!FFamiliesRead) {
      FFamilies = FMatcher.TrueTypeFamilies();
      FFamiliesRead = true;
    }
    return FFamilies;
  }

  TFontLocation Match(const TFontRequest& request) const override {
    std::string key = RequestKey(request);
    std::lock_guard lock(FMutex);
    return MatchLocked(request, key);
  }

  std::shared_ptr<const TFontFace> Open(const TFontRequest& request) const override {
    std::string key = RequestKey(request);
    std::lock_guard lock(FMutex);
    TFontLocation location = MatchLocked(request, key);
    if (location.File.empty()) return nullptr;
    std::string faceKey = FaceKey(location, request.PitchAndFamily);
    auto it = FFaces.find(faceKey);
    if (it != FFaces.end()) return it->second;
    auto face = LoadFreeTypeFace(location, request.PitchAndFamily);
    FFaces.emplace(faceKey, face); // a file that failed to load is not tried again
    return face;
  }

 private:
  const TFontLocation& MatchLocked(const TFontRequest& request, const std::string& key) const {
    auto it = FLocations.find(key);
    if (it == FLocations.end()) it = FLocations.emplace(key, FMatcher.Match(request)).first;
    return it->second;
  }

  mutable std::mutex FMutex;
  TFontMatcher FMatcher;
  mutable std::unordered_map<std::string, TFontLocation> FLocations;
  mutable std::map<std::string, std::shared_ptr<const TFontFace>> FFaces;
  mutable std::vector<std::string> FFamilies;
  mutable bool FFamiliesRead = false;
};
} // namespace

TFontService& TFontService::Instance() {
  static TSystemFontService service;
  return service;
}
