#include "platform/fontconfig/fontconfig_fonts.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <set>

#include "platform/fontconfig/face_lookup.h"
#include "platform/fontconfig/freetype_glyphs.h"

namespace orivane {
namespace {

// The family name to show: the one tagged Japanese when there is one.
std::string FamilyName(FcPattern* font) {
  FcChar8* first = nullptr;
  FcPatternGetString(font, FC_FAMILY, 0, &first);
  for (int i = 0;; ++i) {
    FcChar8* family = nullptr;
    FcChar8* lang = nullptr;
    if (FcPatternGetString(font, FC_FAMILY, i, &family) != FcResultMatch) break;
    if (FcPatternGetString(font, FC_FAMILYLANG, i, &lang) == FcResultMatch &&
        std::string_view(reinterpret_cast<char*>(lang)) == "ja")
      return reinterpret_cast<char*>(family);
  }
  return first ? reinterpret_cast<char*>(first) : "";
}

bool FixedPitchOutline(FcPattern* font) {
  int spacing = FC_PROPORTIONAL;
  FcPatternGetInteger(font, FC_SPACING, 0, &spacing);
  FcBool outline = FcFalse;
  FcPatternGetBool(font, FC_OUTLINE, 0, &outline);
  // Dual-width faces are the fixed-pitch kind of CJK fonts: full-width
  // characters twice as wide as half-width ones.
  return outline && (spacing == FC_MONO || spacing == FC_DUAL || spacing == FC_CHARCELL);
}

}  // namespace

struct FontconfigFonts::Glyphs {
  FaceLookup lookup;
  FreetypeGlyphs freetype;
};

FontconfigFonts::FontconfigFonts() = default;
FontconfigFonts::~FontconfigFonts() = default;

GlyphBitmap FontconfigFonts::RasterizeGlyph(const GlyphRequest& request) {
  if (request.width <= 0 || request.height <= 0 || request.width > kMaxGlyphRequestSide ||
      request.height > kMaxGlyphRequestSide)
    return {};
  if (!glyphs_) glyphs_ = std::make_unique<Glyphs>();
  std::string_view family = request.face;
  if (!family.empty() && family.front() == '@') family.remove_prefix(1);

  // The named face, else the standard face when the named one lacks the
  // character; a character neither has draws blank in the named face's cell.
  std::optional<FaceFile> file = glyphs_->lookup.Resolve(family, request.weight);
  FreetypeGlyphs::Face* face = file ? glyphs_->freetype.Open(*file) : nullptr;
  unsigned glyph = face ? glyphs_->freetype.GlyphIndex(*face, request.code_point) : 0;
  if (glyph == 0) {
    std::optional<FaceFile> standard = glyphs_->lookup.Standard(request.weight);
    FreetypeGlyphs::Face* fallback =
        standard && standard != file ? glyphs_->freetype.Open(*standard) : nullptr;
    unsigned fallback_glyph =
        fallback ? glyphs_->freetype.GlyphIndex(*fallback, request.code_point) : 0;
    if (fallback_glyph != 0 || !face) {
      file = standard;
      face = fallback;
      glyph = fallback_glyph;
    }
  }
  if (!face) return {};
  return glyphs_->freetype.Render(*face, glyph, request, file->embolden);
}

std::vector<FontMenuEntry> FontconfigFonts::ListMenuFonts(int limit) {
  std::vector<FontMenuEntry> out;
  // A private configuration, released at the end, so that the listing
  // leaves nothing of fontconfig behind in the process.
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (!config) return out;
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(":lang=ja"));
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_FAMILYLANG, FC_SPACING, FC_OUTLINE, nullptr);
  FcFontSet* set = pattern && objects ? FcFontList(config, pattern, objects) : nullptr;
  if (set) {
    // The list comes in no particular order; sort by name so that the numbers
    // of the items stay the same from run to run.
    std::vector<std::pair<std::string, FcPattern*>> fonts;
    for (int i = 0; i < set->nfont; ++i) fonts.emplace_back(FamilyName(set->fonts[i]), set->fonts[i]);
    std::stable_sort(fonts.begin(), fonts.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::set<std::string> seen;
    int number = 0;
    for (auto& [name, font] : fonts) {
      if (number >= limit) break;
      if (name.empty() || !seen.insert(name).second) continue;
      if (FixedPitchOutline(font) && name[0] != '@') out.push_back({number, name});
      ++number;
    }
    FcFontSetDestroy(set);
  }
  if (objects) FcObjectSetDestroy(objects);
  if (pattern) FcPatternDestroy(pattern);
  FcConfigDestroy(config);
  return out;
}

}  // namespace orivane
