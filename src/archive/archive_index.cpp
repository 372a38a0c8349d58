#include "archive/archive_index.h"

#include <cstring>

namespace orivane {
namespace {

// Eight bytes at a time: names are short, and a byte-serial hash would be
// the slowest part of indexing.
uint32_t HashName(std::string_view s) {
  uint64_t h = 0x9E3779B97F4A7C15ull ^ s.size();
  size_t i = 0;
  for (; i + 8 <= s.size(); i += 8) {
    uint64_t chunk;
    std::memcpy(&chunk, s.data() + i, 8);
    h = (h ^ chunk) * 0xFF51AFD7ED558CCDull;
    h ^= h >> 29;
  }
  uint64_t tail = 0;
  std::memcpy(&tail, s.data() + i, s.size() - i);
  h ^= tail;
  h ^= h >> 33;  // the final mix of MurmurHash3
  h *= 0xFF51AFD7ED558CCDull;
  h ^= h >> 33;
  h *= 0xC4CEB9FE1A85EC53ull;
  h ^= h >> 33;
  return static_cast<uint32_t>(h);
}

}  // namespace

std::string ArchiveIndex::Lower(std::string_view name) {
  std::string out(name);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

uint8_t ArchiveIndex::BucketOf(std::string_view lowered) {
  uint32_t sum = 0;
  for (size_t i = 0; i < lowered.size(); ++i)
    sum += static_cast<uint32_t>(static_cast<int32_t>(static_cast<int8_t>(lowered[i])) * static_cast<int32_t>(i & 0xFFFF));
  return static_cast<uint8_t>(sum & 0xFF);
}

uint64_t* ArchiveIndex::Slot(std::string_view lowered, uint32_t hash) {
  size_t mask = slots_.size() - 1;
  for (size_t i = hash & mask;; i = (i + 1) & mask) {
    uint64_t slot = slots_[i];
    if (slot == 0) return &slots_[i];
    if (static_cast<uint32_t>(slot >> 32) == hash && NameOf(entries_[static_cast<uint32_t>(slot) - 1]) == lowered)
      return &slots_[i];
  }
}

void ArchiveIndex::Rehash(size_t slot_count) {
  std::vector<uint64_t> old = std::move(slots_);
  slots_.assign(slot_count, 0);
  size_t mask = slot_count - 1;
  for (uint64_t slot : old) {
    if (slot == 0) continue;
    size_t i = static_cast<uint32_t>(slot >> 32) & mask;
    while (slots_[i] != 0) i = (i + 1) & mask;  // names in the table are all distinct
    slots_[i] = slot;
  }
}

void ArchiveIndex::Reserve(size_t more) {
  entries_.reserve(entries_.size() + more);
  size_t want = slots_.empty() ? 1024 : slots_.size();
  while (want < (used_slots_ + more) * 2) want *= 2;
  if (want != slots_.size()) Rehash(want);
}

void ArchiveIndex::Add(std::string_view name, uint8_t archive, uint8_t kind, uint64_t offset,
                       uint32_t stored_size, uint32_t decoded_size) {
  IndexEntry e;
  e.name_offset = static_cast<uint32_t>(names_.size());
  e.name_size = static_cast<uint16_t>(name.size());
  names_.append(name);
  for (size_t i = e.name_offset; i < names_.size(); ++i)
    if (names_[i] >= 'A' && names_[i] <= 'Z') names_[i] = static_cast<char>(names_[i] - 'A' + 'a');
  std::string_view lowered = NameOf(e);
  e.archive = archive;
  e.kind = kind;
  e.offset = offset;
  e.stored_size = stored_size;
  e.decoded_size = decoded_size;
  const uint32_t hash = HashName(lowered);
  uint32_t id = static_cast<uint32_t>(entries_.size());
  entries_.push_back(e);
  buckets_[BucketOf(lowered)].push_back(id);
  if ((used_slots_ + 1) * 2 > slots_.size()) Rehash(slots_.empty() ? 1024 : slots_.size() * 2);
  uint64_t* slot = Slot(lowered, hash);
  if (*slot == 0) {  // the first entry under a name wins
    *slot = (uint64_t{hash} << 32) | (id + 1);
    ++used_slots_;
  }
}

const IndexEntry* ArchiveIndex::Find(std::string_view lowered) const {
  if (slots_.empty()) return nullptr;
  uint32_t hash = HashName(lowered);
  const uint64_t* slot = const_cast<ArchiveIndex*>(this)->Slot(lowered, hash);
  return *slot ? &entries_[static_cast<uint32_t>(*slot) - 1] : nullptr;
}

void ArchiveIndex::Clear() { *this = ArchiveIndex{}; }

}  // namespace orivane
