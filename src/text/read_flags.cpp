#include "text/read_flags.h"

#include <algorithm>

namespace orivane {

void KeepReadFlags(ReadFlags& rf, int32_t script_bytes) {
  const size_t bytes = script_bytes > 0 ? (static_cast<size_t>(script_bytes) + 7) / 8 : 0;
  rf.bits.assign(bytes, 0);
  rf.kept = true;
}

void TakeSavedReadFlags(ReadFlags& rf, std::span<const uint8_t> saved) {
  const size_t n = std::min(saved.size(), rf.bits.size());
  std::copy_n(saved.begin(), n, rf.bits.begin());
}

void ForgetReadFlagsForStartUp(ReadFlags& rf) {
  rf.kept = false;
  rf.bits.clear();
  rf.bits.shrink_to_fit();
  rf.auto_mode_item = false;
}

}  // namespace orivane
