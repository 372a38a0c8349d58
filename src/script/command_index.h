// The complete list of command words (sorted) and which of them only the
// *define block may use.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace orivane {

struct CommandIndexEntry {
  std::string_view word;
  bool define_only;
};

inline constexpr size_t kCommandWordCount = 414;

extern const std::array<CommandIndexEntry, kCommandWordCount> kCommandIndex;

}  // namespace orivane
