// The movie player's part of the sound record: the movie that plays (inside
// a command, or between commands when it was started with async), where it
// is drawn, the frame waiting for its moment, and the file extracted from
// the archives for it.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/display_surface.h"
#include "platform/movie_service.h"
#include "sound/sound_state.h"

namespace orivane {

struct MovieRect {
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
};

struct MovieState {
  std::unique_ptr<Movie> movie;  // nullptr: no movie is open
  bool covering = false;         // a synchronous movie covers the window
  bool async = false;            // `movie ...,async`: the script goes on meanwhile
  bool loop = false;             // starts again at its end
  bool clickable = false;        // a left click ends it
  bool ended = false;            // an async movie without loop has shown its last frame
  MovieRect rect;
  uint32_t started_at = 0;  // the engine clock at the movie's moment 0
  // The frame on the window, drawn at the rectangle over whatever the game
  // screen shows (the window overlay), and the frame taken from the decoder
  // whose moment has not come yet.
  DisplaySurface current;
  bool has_current = false;
  DisplaySurface next;
  uint32_t next_time = 0;
  bool has_next = false;
  // The moment of the last frame taken and the gap before it: a looping
  // movie starts again one gap after its last frame.
  uint32_t last_time = 0;
  uint32_t frame_gap = 0;
  TemporarySoundFile temporary;
};

}  // namespace orivane
