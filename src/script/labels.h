// The label table: every `*name` that begins a line, in script order, and
// the jump to a label. Lookups go through a map that keeps the first entry of
// each name, which gives the same answer as scanning the table from the start.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
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
  void Add(int32_t position, std::string name);
  // Index of the first label with this lower-case name, or -1.
  int Find(std::string_view lower_name) const;
  size_t size() const { return labels_.size(); }
  const Label& operator[](size_t i) const { return labels_[i]; }

 private:
  std::vector<Label> labels_;
  std::unordered_map<std::string, int> first_;
};

// Scans the script buffer from position 0 and fills the engine's label table.
// Reports a duplicate label or a full table.
void BuildLabelTable(Engine& engine);

// Moves the script position to the label (any case, no '*') and records it in
// the LabelLog. Reports "ラベル*%sは存在しません" when there is no such label.
void JumpToLabel(Engine& engine, std::string_view name);

std::string ToLowerAscii(std::string_view s);

}  // namespace orivane
