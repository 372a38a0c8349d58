// Test support: PNG files written from pixel values, for tests of the
// picture loaders and of the files that carry PNG pictures.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace orivane::test {

// An RGBA PNG file of 0xAARRGGBB values, `argb(x, y)` with y from the top.
std::string MakePng(int w, int h, const std::function<uint32_t(int, int)>& argb);

}  // namespace orivane::test
