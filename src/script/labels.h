// The label table: every `*name` that begins a line, in script order, and
// the jump to a label. Lookups go through an index that keeps the first entry
// of each name, which gives the same answer as scanning the table from the
// start.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orivane {

struct Engine;

struct Label {
  int32_t position;  // first statement after the label
  std::string name;  // lower case, without '*'
};

class LabelTable {
 public:
  static constexpr size_t kCapacity = 10000;

  void Clear();
  // Appends a label; the caller has checked capacity and duplicates.
  void Add(int32_t position, std::string name) {
    uint64_t hash = Hash(name);
    Add(position, std::move(name), hash);
  }
  // Index of the first label with this lower-case name, or -1.
  int Find(std::string_view lower_name) const { return Find(lower_name, Hash(lower_name)); }
  size_t size() const { return labels_.size(); }
  const Label& operator[](size_t i) const { return labels_[i]; }

  // The same with the name's hash worked out once by the caller, which can
  // also have its index slot fetched into the cache ahead of the lookup.
  static uint64_t Hash(std::string_view name);
  void Prefetch(uint64_t hash) const;
  void Add(int32_t position, std::string name, uint64_t hash);
  int Find(std::string_view lower_name, uint64_t hash) const;

 private:
  // The name index: open addressing over a power-of-two number of slots, at
  // most half of them used. A slot holds the upper half of the name's hash and
  // the label's index + 1 (0 when empty), so a probe rarely touches a name and
  // clearing touches no node.
  void Index(size_t label, uint64_t hash);
  void Grow();

  std::vector<Label> labels_;
  std::vector<uint64_t> slots_;
};

// Scans the script buffer from position 0 and fills the engine's label table.
// Reports a duplicate label or a full table.
void BuildLabelTable(Engine& engine);

// Moves the script position to the label (any case, no '*') and records it in
// the LabelLog. Reports "ラベル*%sは存在しません" when there is no such label.
void JumpToLabel(Engine& engine, std::string_view name);

std::string ToLowerAscii(std::string_view s);

}  // namespace orivane
