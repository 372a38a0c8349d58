// Test support for pictures: runs a game directory in process on a headless
// platform that keeps what the engine showed, and builds small picture files
// (BMP bytes) for the games to load.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/display_surface.h"
#include "support/game_fixture.h"

namespace orivane::test {

struct PictureRun {
  int status = -1;
  std::string out;         // story text (UTF-8)
  std::string err;         // error reports and notes (UTF-8)
  DisplaySurface display;  // the engine's display surface at the end
  DisplaySurface scene;    // the scene buffer at the end
  int presents = 0;        // frames shown
  uint32_t end_ticks = 0;  // engine clock at the end
};

// Called for every frame the engine shows, with the engine clock.
using FrameObserver = std::function<void(const DisplaySurface&, uint32_t ticks)>;

PictureRun RunPictures(const GameDir& game, FrameObserver observer = nullptr,
                       uint32_t timeout_ms = 100000);

// Pixel (x, y from the top) of a 24-bit surface as 0xRRGGBB.
uint32_t PixelAt(const DisplaySurface& s, int x, int y);

// A BMP file's bytes. `pixel(x, y)` gives 0xRRGGBB for 24-bit pictures or the
// colour index for 8-bit ones (y from the top).
std::string MakeBmp24(int width, int height, const std::function<uint32_t(int, int)>& pixel);
std::string MakeBmp8(int width, int height, const std::vector<uint32_t>& palette_rgb,
                     const std::function<uint32_t(int, int)>& index);

// The engine's blend: a·b/255 with truncation.
constexpr int Mul(int a, int b) {
  return a * b / 255;
}

}  // namespace orivane::test
