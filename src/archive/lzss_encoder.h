// The LZSS encoder of the archive tool. Its output decodes to the input with
// the engine's decoder whatever an earlier decoding left in the shared window:
// a copy only ever reads window bytes that this entry wrote itself or that are
// reset to spaces before every entry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orivane {

std::vector<uint8_t> LzssEncode(const uint8_t* data, size_t size);

}  // namespace orivane
