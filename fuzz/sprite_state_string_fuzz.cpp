// The sprite state string grammar (extended buttons, `spstr`) on arbitrary text.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "graphics/sprite_state_string.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  orivane::ParseSpriteStateString(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
