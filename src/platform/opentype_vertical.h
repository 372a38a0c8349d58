// The vertical forms of an OpenType font: the single substitutions that its
// glyph substitution table ('GSUB') lists under the 'vert' feature (under
// 'vrt2' when the font has no 'vert'), from the glyph a character has in
// horizontal writing to the one it has in vertical writing. Font rasterizers
// that do no shaping of their own use it to turn brackets and the long vowel
// mark for vertical text.
#pragma once

#include <cstdint>
#include <span>
#include <unordered_map>

namespace orivane {

using GlyphSubstitutions = std::unordered_map<uint16_t, uint16_t>;

// Reads the substitutions from the raw bytes of a GSUB table. The table comes
// from a font file and is not trusted: an offset or count that points past
// the end skips that part, and the walk is bounded however the table is
// built. Lookups are taken in their list order; a glyph keeps the first
// substitution found for it. Lookup kinds other than single substitution
// (directly or through an extension) are ignored.
GlyphSubstitutions ParseVerticalSubstitutions(std::span<const uint8_t> gsub);

}  // namespace orivane
