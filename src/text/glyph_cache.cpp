#include "text/glyph_cache.h"

namespace orivane {
namespace {

// What an entry costs beyond its coverage bytes: the list node, the index
// slot and the cell's bookkeeping, roughly.
constexpr size_t kEntryOverhead = 96;
// Fonts are few in a game; a script that cycles through sizes without end
// starts the cache afresh instead of growing the font list.
constexpr size_t kMaxFonts = 256;

size_t CostOf(const GlyphCell& cell) {
  return cell.coverage.size() + kEntryOverhead;
}

}  // namespace

uint32_t GlyphCache::FontIndex(const GlyphFont& font) {
  if (last_font_ < fonts_.size() && fonts_[last_font_] == font) return last_font_;
  for (uint32_t i = 0; i < fonts_.size(); ++i) {
    if (fonts_[i] == font) return last_font_ = i;
  }
  if (fonts_.size() >= kMaxFonts) Clear();
  fonts_.push_back(font);
  return last_font_ = static_cast<uint32_t>(fonts_.size() - 1);
}

const GlyphCell& GlyphCache::Get(FontService& fonts, const GlyphFont& font, uint8_t first,
                                 uint8_t second) {
  if (service_ != &fonts) {
    Clear();
    service_ = &fonts;
  }
  const uint64_t key =
      static_cast<uint64_t>(FontIndex(font)) << 16 | static_cast<uint64_t>(first) << 8 | second;
  if (auto it = index_.find(key); it != index_.end()) {
    entries_.splice(entries_.begin(), entries_, it->second);
    return it->second->cell;
  }
  entries_.push_front(Entry{key, RenderGlyphCell(fonts, font, first, second)});
  index_.emplace(key, entries_.begin());
  bytes_ += CostOf(entries_.front().cell);
  EvictToBudget();
  return entries_.front().cell;
}

void GlyphCache::EvictToBudget() {
  // The newest entry stays even when it alone is over the budget.
  while (bytes_ > budget_ && entries_.size() > 1) {
    const Entry& oldest = entries_.back();
    bytes_ -= CostOf(oldest.cell);
    index_.erase(oldest.key);
    entries_.pop_back();
  }
}

void GlyphCache::Clear() {
  entries_.clear();
  index_.clear();
  fonts_.clear();
  last_font_ = 0;
  bytes_ = 0;
}

}  // namespace orivane
