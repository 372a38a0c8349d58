#include "archive/archive_index.h"

namespace orivane {
namespace {

uint32_t HashName(std::string_view s) {
  uint32_t h = 2166136261u;  // FNV-1a
  for (unsigned char c : s) h = (h ^ c) * 16777619u;
  return h;
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

uint32_t* ArchiveIndex::Slot(std::string_view lowered, uint32_t hash) {
  size_t mask = slots_.size() - 1;
  for (size_t i = hash & mask;; i = (i + 1) & mask) {
    uint32_t id = slots_[i];
    if (id == 0) return &slots_[i];
    const IndexEntry& e = entries_[id - 1];
    if (e.hash == hash && NameOf(e) == lowered) return &slots_[i];
  }
}

void ArchiveIndex::Grow() {
  std::vector<uint32_t> old = std::move(slots_);
  slots_.assign(old.empty() ? 1024 : old.size() * 2, 0);
  for (uint32_t id : old)
    if (id) *Slot(NameOf(entries_[id - 1]), entries_[id - 1].hash) = id;
}

void ArchiveIndex::Add(std::string_view name, uint8_t archive, uint8_t kind, uint64_t offset,
                       uint32_t stored_size, uint32_t decoded_size) {
  IndexEntry e;
  e.name_offset = static_cast<uint32_t>(names_.size());
  e.name_size = static_cast<uint16_t>(name.size());
  for (char c : name) names_.push_back((c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c);
  std::string_view lowered = NameOf(e);
  e.archive = archive;
  e.kind = kind;
  e.offset = offset;
  e.stored_size = stored_size;
  e.decoded_size = decoded_size;
  e.hash = HashName(lowered);
  uint32_t id = static_cast<uint32_t>(entries_.size());
  entries_.push_back(e);
  buckets_[BucketOf(lowered)].push_back(id);
  if ((used_slots_ + 1) * 2 > slots_.size()) Grow();
  uint32_t* slot = Slot(lowered, e.hash);
  if (*slot == 0) {  // the first entry under a name wins
    *slot = id + 1;
    ++used_slots_;
  }
}

const IndexEntry* ArchiveIndex::Find(std::string_view lowered) const {
  if (slots_.empty()) return nullptr;
  uint32_t hash = HashName(lowered);
  size_t mask = slots_.size() - 1;
  for (size_t i = hash & mask;; i = (i + 1) & mask) {
    uint32_t id = slots_[i];
    if (id == 0) return nullptr;
    const IndexEntry& e = entries_[id - 1];
    if (e.hash == hash && NameOf(e) == lowered) return &e;
  }
}

void ArchiveIndex::Clear() { *this = ArchiveIndex{}; }

}  // namespace orivane
