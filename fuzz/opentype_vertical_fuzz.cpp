// GSUB tables from hostile bytes: reading the vertical forms stays inside the
// table, ends within its step bound however the offsets loop, and gives the
// same answer each time.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "platform/opentype_vertical.h"

using namespace orivane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> table(data, size);
  const GlyphSubstitutions first = ParseVerticalSubstitutions(table);
  if (ParseVerticalSubstitutions(table) != first) std::abort();
  ParseVerticalSubstitutions(table.first(size / 2));
  return 0;
}
