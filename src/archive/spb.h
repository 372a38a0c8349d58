// The SPB picture decoder (archive entries of kind 1 and loose ".spb" files).
//
// The stream holds the width and height (16 bits each), then one record per
// byte of the 24-bit pixel (blue, green, red). A record starts with the top-left
// sample (8 bits) and walks the picture in a serpentine from column 1 of the top
// row: left to right, then the next row right to left, and so on. Samples come
// in groups of four behind a 3-bit code that sets their width n: 0 repeats the
// previous value, 1..6 mean n = code + 2, 7 means n = 1 + the next bit. An
// n-bit value v is a difference from the previous sample (odd v adds
// (v + 1) / 2, even v subtracts v / 2); n = 8 gives the sample itself.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/display_surface.h"

namespace orivane {

enum class SpbResult {
  kOk,
  kTruncated,  // the stream ended early: the picture holds what was decoded, the rest is black
  kRejected,   // too short to hold its size, or too large to decode: no picture
};

// The largest pixel buffer a stream may ask for (a 16384 x 16384 picture).
inline constexpr size_t kMaxSpbPixelBytes = size_t{16384} * 16384 * 3;

SpbResult DecodeSpb(const uint8_t* in, size_t size, DisplaySurface& out);

}  // namespace orivane
