// A case-insensitive set of names: the labels the script has reached
// (LabelLog) and the files the engine has opened (FileLog). Names are stored
// upper-cased with every '/' turned into '\', and queries are normalised the
// same way, so "bg/A.bmp" and "BG\a.BMP" are one name.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace orivane {

class NameLog {
 public:
  // As many names as the log files hold (and as many labels as a script may
  // have); beyond it new names are not recorded, so a script that generates
  // names in a loop cannot exhaust memory.
  static constexpr size_t kCapacity = 10000;

  static std::string Normalize(std::string_view name);

  // Adds a name; a name already present, or one beyond the capacity, is ignored.
  void Add(std::string_view name);
  bool Contains(std::string_view name) const;
  void Clear();
  size_t size() const { return order_.size(); }
  // Names in the order they were first added (normalised form).
  const std::vector<std::string>& names() const { return order_; }

 private:
  std::unordered_set<std::string> set_;
  std::vector<std::string> order_;
};

}  // namespace orivane
