#include "platform/fontconfig/face_lookup.h"

#include <fontconfig/fontconfig.h>

namespace orivane {
namespace {

constexpr const char* kStandardFamily = "IPAGothic";
constexpr size_t kMaxResolved = 256;

// A family name as fontconfig compares them: ASCII case and blanks do not
// count ("IPA Gothic" is "IPAGothic").
std::string FoldedName(std::string_view name) {
  std::string folded;
  for (char c : name) {
    if (c == ' ') continue;
    folded.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
  }
  return folded;
}

// True when one of the face's family names (in any language) is `family`.
bool HasFamily(FcPattern* face, const std::string& family) {
  const std::string wanted = FoldedName(family);
  FcChar8* name = nullptr;
  for (int i = 0; FcPatternGetString(face, FC_FAMILY, i, &name) == FcResultMatch; ++i)
    if (FoldedName(reinterpret_cast<const char*>(name)) == wanted) return true;
  return false;
}

}  // namespace

FaceLookup::~FaceLookup() {
  if (config_) FcConfigDestroy(config_);
}

FcConfig* FaceLookup::Config() {
  // A private configuration, like the font menu's, so that nothing of
  // fontconfig is shared with other users of the library in the process.
  if (!config_ && !config_failed_) {
    config_ = FcInitLoadConfigAndFonts();
    config_failed_ = config_ == nullptr;
  }
  return config_;
}

std::optional<FaceFile> FaceLookup::Match(std::string_view family, bool japanese, bool exact,
                                          int weight) {
  FcConfig* config = Config();
  if (!config) return std::nullopt;
  const std::string family_text(family);
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return std::nullopt;
  if (!family_text.empty())
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family_text.c_str()));
  if (japanese) {
    FcLangSet* langs = FcLangSetCreate();
    FcLangSetAdd(langs, reinterpret_cast<const FcChar8*>("ja"));
    FcPatternAddLangSet(pattern, FC_LANG, langs);
    FcLangSetDestroy(langs);
  }
  FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
  FcPatternAddBool(pattern, FC_OUTLINE, FcTrue);
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);

  std::optional<FaceFile> found;
  FcResult result = FcResultNoMatch;
  FcPattern* face = FcFontMatch(config, pattern, &result);
  FcChar8* file = nullptr;
  if (face && FcPatternGetString(face, FC_FILE, 0, &file) == FcResultMatch &&
      (!exact || HasFamily(face, family_text))) {
    FaceFile f;
    f.path = reinterpret_cast<const char*>(file);
    FcPatternGetInteger(face, FC_INDEX, 0, &f.index);
    // fontconfig's own rules may already have marked the face for synthetic
    // bold (and then report the weight asked for); otherwise its weight tells.
    FcBool embolden = FcFalse;
    int face_weight = FC_WEIGHT_REGULAR;
    FcPatternGetInteger(face, FC_WEIGHT, 0, &face_weight);
    if (FcPatternGetBool(face, FC_EMBOLDEN, 0, &embolden) == FcResultMatch)
      f.embolden = weight >= 600 && embolden == FcTrue;
    else
      f.embolden = weight >= 600 && face_weight < FC_WEIGHT_DEMIBOLD;
    found = std::move(f);
  }
  if (face) FcPatternDestroy(face);
  FcPatternDestroy(pattern);
  return found;
}

std::optional<FaceFile> FaceLookup::Standard(int weight) {
  if (auto it = standard_.find(weight); it != standard_.end()) return it->second;
  std::optional<FaceFile> f = Match(kStandardFamily, false, true, weight);
  if (!f) f = Match("", true, false, weight);
  if (!f) f = Match("", false, false, weight);
  if (standard_.size() >= kMaxResolved) standard_.clear();
  standard_.emplace(weight, f);
  return f;
}

std::optional<FaceFile> FaceLookup::Resolve(std::string_view family, int weight) {
  auto key = std::make_pair(std::string(family), weight);
  if (auto it = resolved_.find(key); it != resolved_.end()) return it->second;
  std::optional<FaceFile> f;
  if (!family.empty()) f = Match(family, false, true, weight);
  if (!f) f = Standard(weight);
  if (resolved_.size() >= kMaxResolved) resolved_.clear();
  resolved_.emplace(std::move(key), f);
  return f;
}

}  // namespace orivane
