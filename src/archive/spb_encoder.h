// The SPB encoder of the archive tool: the exact counterpart of DecodeSpb.
// Pictures must fit the 16-bit width and height of the format.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/display_surface.h"

namespace orivane {

bool SpbFits(const DisplaySurface& picture);
std::vector<uint8_t> EncodeSpb(const DisplaySurface& picture);

}  // namespace orivane
