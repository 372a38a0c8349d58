// Test support for movies: a headless run in process with the FFmpeg movie
// player and a scripted player, reporting every frame the window is shown
// with the engine clock at that moment.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/display_surface.h"
#include "support/game_fixture.h"

namespace orivane::test {

struct ShownFrame {
  uint32_t ticks;
  DisplaySurface picture;
  int temp_files;  // files in the engine's temporary directory at that moment
};

struct MovieRun {
  int status = -1;
  std::string out;
  std::string err;
  std::vector<ShownFrame> frames;
  DisplaySurface window;  // what the window showed last
  uint32_t end_ticks = 0;
};

MovieRun RunMovies(const GameDir& game, std::string_view input = {}, uint32_t timeout_ms = 100000);

}  // namespace orivane::test
