// Test support for movies: a headless run in process with the FFmpeg movie
// player and a scripted player, reporting every frame the window is shown
// with the engine clock at that moment.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "platform/display_surface.h"
#include "support/game_fixture.h"

namespace orivane {
struct Engine;
}

namespace orivane::test {

struct ShownFrame {
  uint32_t ticks;
  DisplaySurface picture;
};

struct MovieRun {
  int status = -1;
  std::string out;
  std::string err;
  std::vector<ShownFrame> frames;
  DisplaySurface window;  // what the window showed last
  uint32_t end_ticks = 0;
};

// `inspect`, when given, sees the engine after the run, before it goes.
MovieRun RunMovies(const GameDir& game, std::string_view input = {},
                   const std::function<void(Engine&)>& inspect = {}, uint32_t timeout_ms = 100000);

}  // namespace orivane::test
