// The SPB encoder of the archive tool: the exact counterpart of DecodeSpb.
// Pictures must fit the 16-bit width and height of the format.
#pragma once

#include <cstdint>
#include <vector>

#include "archive/picture24.h"

namespace orivane {

bool SpbFits(const Picture24& picture);
std::vector<uint8_t> EncodeSpb(const Picture24& picture);

}  // namespace orivane
