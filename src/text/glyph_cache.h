// Glyph cells are rendered once and kept: the cache answers a character unit
// of a font (face, size, weight, writing direction, smoothing) with the cell
// the glyph method made for it the first time. Bounded by a byte budget; the
// cells used longest ago go first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <unordered_map>
#include <vector>

#include "text/glyph_method.h"

namespace orivane {

inline constexpr size_t kDefaultGlyphCacheBytes = 8u << 20;

class GlyphCache {
 public:
  explicit GlyphCache(size_t byte_budget = kDefaultGlyphCacheBytes) : budget_(byte_budget) {}

  // The cell of a character unit (as RenderGlyphCell takes it), rendered
  // through `fonts` when the cache does not hold it yet. The reference stays
  // valid until the next Get or Clear. A different font service than the
  // last one empties the cache first.
  const GlyphCell& Get(FontService& fonts, const GlyphFont& font, uint8_t first,
                       uint8_t second = 0);

  void Clear();

  size_t size() const { return entries_.size(); }
  size_t bytes() const { return bytes_; }  // what the budget counts

 private:
  struct Entry {
    uint64_t key;
    GlyphCell cell;
  };
  uint32_t FontIndex(const GlyphFont& font);
  void EvictToBudget();

  size_t budget_;
  size_t bytes_ = 0;
  FontService* service_ = nullptr;
  std::vector<GlyphFont> fonts_;  // the fonts seen since the last Clear; keys hold their index
  uint32_t last_font_ = 0;
  std::list<Entry> entries_;  // most recently used first
  std::unordered_map<uint64_t, std::list<Entry>::iterator> index_;
};

}  // namespace orivane
