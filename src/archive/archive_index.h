// The index of all archive entries, built once when the game starts.
//
// Entries fall into 256 buckets by the engine's name hash (the sum of each
// lower-cased byte, taken as signed, times its position, low 8 bits); each
// bucket keeps its entries in insertion order and duplicates are all kept.
// The first entry inserted under a name wins. A hash table over whole names
// finds that entry directly, so a lookup never walks a bucket, however many
// entries share it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orivane {

struct IndexEntry {
  uint32_t name_offset = 0;  // into the index's name store
  uint16_t name_size = 0;
  uint8_t archive = 0;  // archive number: 0..9, 10 for the added directory
  uint8_t kind = 0;
  uint64_t offset = 0;  // absolute start: data base + offset (without prefix bytes)
  uint32_t stored_size = 0;
  uint32_t decoded_size = 0;
};

class ArchiveIndex {
 public:
  // ASCII capitals (0x41..0x5A) become small letters, every byte alike:
  // trail bytes of two-byte characters too, on both sides of a comparison.
  static std::string Lower(std::string_view name);
  static uint8_t BucketOf(std::string_view lowered);

  // Adds an entry under `name`, which is lower-cased here.
  void Add(std::string_view name, uint8_t archive, uint8_t kind, uint64_t offset, uint32_t stored_size,
           uint32_t decoded_size);
  // The first entry added under the lower-cased name, or nullptr.
  const IndexEntry* Find(std::string_view lowered) const;

  std::string_view NameOf(const IndexEntry& e) const { return {names_.data() + e.name_offset, e.name_size}; }
  const std::vector<uint32_t>& Bucket(uint8_t b) const { return buckets_[b]; }
  const IndexEntry& entry(uint32_t id) const { return entries_[id]; }
  size_t size() const { return entries_.size(); }
  void Clear();
  // Makes room for `more` entries, so that adding them does not rehash.
  void Reserve(size_t more);

 private:
  void Rehash(size_t slot_count);
  uint64_t* Slot(std::string_view lowered, uint32_t hash);

  std::string names_;
  std::vector<IndexEntry> entries_;
  std::array<std::vector<uint32_t>, 256> buckets_;
  // Open addressing: the name's hash in the high half, entry id + 1 in the
  // low half (0 = empty), so probing rarely touches the entries themselves.
  std::vector<uint64_t> slots_;
  size_t used_slots_ = 0;
};

}  // namespace orivane
