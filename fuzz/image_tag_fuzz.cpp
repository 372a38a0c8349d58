// The image tag grammar on arbitrary text.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "graphics/image_tag.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  orivane::ParsedTag tag;
  orivane::ParseImageTag(std::string_view(reinterpret_cast<const char*>(data), size), tag);
  return 0;
}
