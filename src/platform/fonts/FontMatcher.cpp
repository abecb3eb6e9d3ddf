#include "FontMatcher.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <set>
#include <unistd.h>

#include "CoreFontNames.h"
#include "FreeTypeFace.h"

namespace {
constexpr uint8_t kSymbolCharSet = 2;

// A symbol font that is not installed ("Wingdings 2") is drawn with the installed symbol font its name
// extends, else with Symbol, as GDI's mapper prefers any font of the symbol character set: a text face
// would print letters in place of the symbols.
const TCoreFontName* SymbolStandIn(const std::string& face) {
  const TCoreFontName* best = nullptr;
  size_t bestLength = 0;
  for (const auto& entry : CoreFontNames()) {
    std::string_view name = entry.WindowsName;
    if (entry.Symbol && face.size() > name.size() &&
        EqualsIgnoringAsciiCase(face.substr(0, name.size()), name) && name.size() > bestLength) {
      best = &entry;
      bestLength = name.size();
    }
  }
  return best ? best : FindCoreFontName("Symbol");
}

const char* GenericFamily(uint8_t pitchAndFamily) {
  switch (pitchAndFamily & 0xF0) {
  case 0x10:
    return "serif";
  case 0x30:
    return "monospace";
  default:
    return (pitchAndFamily & 3) == 1 ? "monospace" : "sans-serif";
  }
}

// The language a character set asks for, so that fontconfig prefers a face that covers it.
const char* LanguageOfCharSet(uint8_t charSet) {
  switch (charSet) {
  case 238:
    return "pl";
  case 204:
    return "ru";
  case 161:
    return "el";
  case 162:
    return "tr";
  case 177:
    return "he";
  case 178:
    return "ar";
  case 186:
    return "lt";
  case 163:
    return "vi";
  case 222:
    return "th";
  case 128:
    return "ja";
  case 134:
    return "zh-cn";
  case 129:
    return "ko";
  case 136:
    return "zh-tw";
  default:
    return nullptr;
  }
}

std::string StringOf(FcPattern* pattern, const char* object, int index = 0) {
  FcChar8* value = nullptr;
  if (FcPatternGetString(pattern, object, index, &value) != FcResultMatch || !value) return {};
  return reinterpret_cast<const char*>(value);
}

int IntOf(FcPattern* pattern, const char* object, int fallback) {
  int value = fallback;
  FcPatternGetInteger(pattern, object, 0, &value);
  return value;
}

void AddString(FcPattern* pattern, const char* object, const std::string& value) {
  FcPatternAddString(pattern, object, reinterpret_cast<const FcChar8*>(value.c_str()));
}

bool Usable(FcPattern* font, bool trueTypeOnly) {
  FcBool outline = FcFalse;
  if (FcPatternGetBool(font, FC_OUTLINE, 0, &outline) != FcResultMatch || !outline) return false;
  if (trueTypeOnly && StringOf(font, FC_FONTFORMAT) != "TrueType") return false;
  std::string file = StringOf(font, FC_FILE);
  return !file.empty() && access(file.c_str(), R_OK) == 0;
}
} // namespace

TFontMatcher::TFontMatcher() {
  FConfig = FcInitLoadConfigAndFonts();
  if (!FConfig) FConfig = FcConfigCreate();
  for (const std::string& file : UnregisteredSymbolFontFiles())
    if (access(file.c_str(), R_OK) == 0)
      FcConfigAppFontAddFile(FConfig, reinterpret_cast<const FcChar8*>(file.c_str()));
}

TFontMatcher::~TFontMatcher() {
  FcConfigDestroy(FConfig);
}

bool TFontMatcher::FamilyInstalled(const std::string& family) const {
  FcPattern* pattern = FcPatternCreate();
  AddString(pattern, FC_FAMILY, family);
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
  FcFontSet* set = FcFontList(FConfig, pattern, objects);
  bool found = set && set->nfont > 0;
  if (set) FcFontSetDestroy(set);
  FcObjectSetDestroy(objects);
  FcPatternDestroy(pattern);
  return found;
}

TFontLocation TFontMatcher::Match(const TFontRequest& request) const {
  std::string face = StripScriptSuffix(request.FaceName);
  const TCoreFontName* core = FindCoreFontName(face);
  if (!core && request.CharSet == kSymbolCharSet) core = SymbolStandIn(face);
  bool wantSymbol = core && core->Symbol;
  int weight = request.Weight <= 0 ? 400 : std::min(request.Weight, 1000);

  FcPattern* pattern = FcPatternCreate();
  if (core && FamilyInstalled(core->Family)) AddString(pattern, FC_FAMILY, core->Family);
  if (!face.empty()) AddString(pattern, FC_FAMILY, face);
  AddString(pattern, FC_FAMILY, GenericFamily(request.PitchAndFamily));
  FcPatternAddBool(pattern, FC_OUTLINE, FcTrue);
  FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
  FcPatternAddInteger(pattern, FC_SLANT, request.Italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  if (const char* language = LanguageOfCharSet(request.CharSet))
    FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>(language));
  FcConfigSubstitute(FConfig, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcFontSet* sorted = FcFontSort(FConfig, pattern, FcFalse, nullptr, &result);

  FcPattern* chosen = nullptr;
  if (sorted) {
    // A symbol request takes only the symbol face of that name: a text face would print letters.
    if (wantSymbol)
      for (int i = 0; i < sorted->nfont && !chosen; ++i)
        if (Usable(sorted->fonts[i], true) &&
            EqualsIgnoringAsciiCase(StringOf(sorted->fonts[i], FC_FAMILY), core->Family))
          chosen = sorted->fonts[i];
    for (int pass = 0; pass < 2 && !chosen; ++pass)
      for (int i = 0; i < sorted->nfont && !chosen; ++i)
        if (Usable(sorted->fonts[i], pass == 0)) chosen = sorted->fonts[i];
  }

  TFontLocation location;
  if (chosen) {
    location.File = StringOf(chosen, FC_FILE);
    location.FaceIndex = IntOf(chosen, FC_INDEX, 0) & 0xFFFF;
    location.Family = StringOf(chosen, FC_FAMILY);
    int foundWeight = IntOf(chosen, FC_WEIGHT, FC_WEIGHT_REGULAR);
    int foundSlant = IntOf(chosen, FC_SLANT, FC_SLANT_ROMAN);
    location.FakeBold = weight >= 600 && foundWeight < FC_WEIGHT_DEMIBOLD;
    location.FakeItalic = request.Italic && foundSlant == FC_SLANT_ROMAN;
    // Some symbol fonts put their glyphs at the byte codes under a Unicode cmap; the name tells them.
    location.Symbol = IsSymbolEncodedFace(location.File, location.FaceIndex) ||
                      (wantSymbol && EqualsIgnoringAsciiCase(location.Family, core->Family));
  }
  if (sorted) FcFontSetDestroy(sorted);
  FcPatternDestroy(pattern);
  return location;
}

std::vector<std::string> TFontMatcher::TrueTypeFamilies() const {
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FONTFORMAT, reinterpret_cast<const FcChar8*>("TrueType"));
  FcPatternAddBool(pattern, FC_OUTLINE, FcTrue);
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_FAMILYLANG, nullptr);
  FcFontSet* set = FcFontList(FConfig, pattern, objects);
  std::set<std::string> families;
  for (int i = 0; set && i < set->nfont; ++i) {
    FcPattern* font = set->fonts[i];
    for (int k = 0;; ++k) {
      std::string family = StringOf(font, FC_FAMILY, k);
      if (family.empty()) break;
      std::string language = StringOf(font, FC_FAMILYLANG, k);
      // Windows lists a family by its English (or only) name; localised aliases are left out.
      if (k > 0 && !language.empty() && language != "en") continue;
      if (family[0] == '@') continue;
      families.insert(family);
    }
  }
  if (set) FcFontSetDestroy(set);
  FcObjectSetDestroy(objects);
  FcPatternDestroy(pattern);
  for (const auto& core : CoreFontNames())
    if (families.count(core.Family)) families.insert(core.WindowsName);
  return {families.begin(), families.end()};
}
