#include "platform/opentype_vertical.h"

#include <algorithm>
#include <set>

namespace orivane {
namespace {

// Big-endian reads that answer 0 past the end, so a lying offset reads
// nothing instead of outside the table.
class TableBytes {
 public:
  explicit TableBytes(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  bool Has(size_t offset, size_t count) const {
    return offset <= bytes_.size() && count <= bytes_.size() - offset;
  }
  uint16_t U16(size_t offset) const {
    if (!Has(offset, 2)) return 0;
    return static_cast<uint16_t>(bytes_[offset] << 8 | bytes_[offset + 1]);
  }
  uint32_t U32(size_t offset) const {
    if (!Has(offset, 4)) return 0;
    return static_cast<uint32_t>(U16(offset)) << 16 | U16(offset + 2);
  }

 private:
  std::span<const uint8_t> bytes_;
};

// How many steps (glyphs, ranges, subtables) one parse may take at most:
// every glyph of a font many times over. Coverage ranges can claim far more
// glyphs than the font has, and many lookups can point at one huge subtable.
constexpr size_t kMaxSteps = 1 << 20;

struct Walk {
  const TableBytes& table;
  GlyphSubstitutions& out;
  size_t steps = 0;
  bool Step() {
    if (steps >= kMaxSteps) return false;
    ++steps;
    return true;
  }
};

// Calls `each(coverage_index, glyph)` for the glyphs of a coverage table.
template <class Each>
void ForEachCovered(Walk& walk, size_t coverage, Each each) {
  const TableBytes& t = walk.table;
  const uint16_t format = t.U16(coverage);
  const uint16_t count = t.U16(coverage + 2);
  if (format == 1) {
    for (uint32_t i = 0; i < count && t.Has(coverage + 4 + 2 * i, 2) && walk.Step(); ++i)
      each(i, t.U16(coverage + 4 + 2 * i));
  } else if (format == 2) {
    for (uint32_t r = 0; r < count && t.Has(coverage + 4 + 6 * r, 6) && walk.Step(); ++r) {
      const size_t record = coverage + 4 + 6 * r;
      const uint32_t first = t.U16(record), last = t.U16(record + 2),
                     start_index = t.U16(record + 4);
      for (uint32_t g = first; g <= last && walk.Step(); ++g)
        each(start_index + (g - first), static_cast<uint16_t>(g));
    }
  }
}

void AddSingleSubstitution(Walk& walk, size_t subtable) {
  const TableBytes& t = walk.table;
  const uint16_t format = t.U16(subtable);
  const size_t coverage = subtable + t.U16(subtable + 2);
  if (format == 1) {
    const uint16_t delta = t.U16(subtable + 4);  // modulo 65536
    ForEachCovered(walk, coverage, [&](uint32_t, uint16_t glyph) {
      walk.out.emplace(glyph, static_cast<uint16_t>(glyph + delta));
    });
  } else if (format == 2) {
    const uint16_t count = t.U16(subtable + 4);
    ForEachCovered(walk, coverage, [&](uint32_t index, uint16_t glyph) {
      if (index < count && t.Has(subtable + 6 + 2 * index, 2))
        walk.out.emplace(glyph, t.U16(subtable + 6 + 2 * index));
    });
  }
}

constexpr uint16_t kSingleSubstitution = 1;
constexpr uint16_t kExtension = 7;

void AddLookup(Walk& walk, size_t lookup) {
  const TableBytes& t = walk.table;
  const uint16_t type = t.U16(lookup);
  const uint16_t subtables = t.U16(lookup + 4);
  for (uint32_t s = 0; s < subtables && t.Has(lookup + 6 + 2 * s, 2) && walk.Step(); ++s) {
    const size_t subtable = lookup + t.U16(lookup + 6 + 2 * s);
    if (type == kSingleSubstitution) {
      AddSingleSubstitution(walk, subtable);
    } else if (type == kExtension && t.U16(subtable) == 1 &&
               t.U16(subtable + 2) == kSingleSubstitution) {
      AddSingleSubstitution(walk, subtable + t.U32(subtable + 4));
    }
  }
}

// The lookup indices of every feature record with the tag.
std::set<uint16_t> LookupsOfFeature(const TableBytes& t, size_t feature_list, uint32_t tag) {
  std::set<uint16_t> lookups;
  const uint16_t features = t.U16(feature_list);
  for (uint32_t f = 0; f < features && t.Has(feature_list + 2 + 6 * f, 6); ++f) {
    const size_t record = feature_list + 2 + 6 * f;
    if (t.U32(record) != tag) continue;
    const size_t feature = feature_list + t.U16(record + 4);
    const uint16_t count = t.U16(feature + 2);
    for (uint32_t i = 0; i < count && t.Has(feature + 4 + 2 * i, 2); ++i)
      lookups.insert(t.U16(feature + 4 + 2 * i));
  }
  return lookups;
}

constexpr uint32_t Tag(const char (&s)[5]) {
  return static_cast<uint32_t>(s[0]) << 24 | static_cast<uint32_t>(s[1]) << 16 |
         static_cast<uint32_t>(s[2]) << 8 | static_cast<uint32_t>(s[3]);
}

}  // namespace

GlyphSubstitutions ParseVerticalSubstitutions(std::span<const uint8_t> gsub) {
  GlyphSubstitutions out;
  const TableBytes t(gsub);
  if (t.U16(0) != 1) return out;  // major version 1 is the only one there is
  const size_t feature_list = t.U16(6);
  const size_t lookup_list = t.U16(8);
  if (feature_list == 0 || lookup_list == 0) return out;

  std::set<uint16_t> lookups = LookupsOfFeature(t, feature_list, Tag("vert"));
  if (lookups.empty()) lookups = LookupsOfFeature(t, feature_list, Tag("vrt2"));
  const uint16_t lookup_count = t.U16(lookup_list);
  Walk walk{t, out};
  for (uint16_t index : lookups) {  // ascending: the order the font applies them in
    if (index >= lookup_count || !t.Has(lookup_list + 2 + 2 * size_t{index}, 2)) continue;
    AddLookup(walk, lookup_list + t.U16(lookup_list + 2 + 2 * size_t{index}));
  }
  return out;
}

}  // namespace orivane
