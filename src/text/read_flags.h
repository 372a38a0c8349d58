// Skip mode and the read-text flags: one bit per script byte, set when the
// interpreter passes that byte, so that skip-read-only mode can stop at text
// the player has not seen yet.
#pragma once

#include <cstdint>
#include <vector>

namespace orivane {

struct ReadFlags {
  bool skip_mode = false;
  bool read_only_skip = false;  // skip mode stops at unread text
  std::vector<uint8_t> bits;    // byte p/8, bit p%8; empty until read flags are kept

  bool Covers(int32_t p) const { return p >= 0 && static_cast<size_t>(p) / 8 < bits.size(); }
  bool IsSet(int32_t p) const { return (bits[p / 8] >> (p % 8)) & 1; }
  void Set(int32_t p) { bits[p / 8] |= static_cast<uint8_t>(1u << (p % 8)); }
};

}  // namespace orivane
