// The machine's movie player, as the engine sees it: it opens a movie file
// and hands out its video frames one at a time, already scaled to the size
// the engine asked for and converted to the engine's 24-bit pixels, each with
// the moment (in milliseconds from the movie's start) it is to be shown. The
// movie's sound is played by the service itself, at the level the engine
// gives, starting with the first frame taken.
//
// Decoding runs on a thread of the movie's own that keeps a few frames ready
// (a small bounded queue), so that taking a frame rarely waits. The engine
// paces the frames on its own clock: a headless run on a virtual clock shows
// every frame at its moment and costs only the decoding time.
//
// Calls come from the engine's thread only. Nothing in a movie file is
// trusted: a file that cannot be demuxed or decoded opens as nothing, and a
// stream that breaks in the middle ends the movie there.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/audio_service.h"
#include "platform/display_surface.h"

namespace orivane {

// What taking a frame came to.
enum class MovieTake {
  kFrame,   // a frame was taken
  kNotYet,  // the decoder has not made the next frame yet; ask again
  kEnded,   // the movie has no more frames
};

// One open movie. Destroying it stops its decoding and its sound.
class Movie {
 public:
  virtual ~Movie() = default;

  // Takes the next frame into `frame` (a picture of the size asked for at
  // Open) and its moment into `time_ms`. Waits at most `wait_ms` of real
  // time for the decoder.
  virtual MovieTake TakeFrame(DisplaySurface& frame, uint32_t& time_ms, uint32_t wait_ms) = 0;

  // Starts again from the beginning (a looping movie); the next frame taken
  // is the first one.
  virtual void Rewind() = 0;

  // The level of the movie's sound (the music volume).
  virtual void SetLevel(AudioLevel level) = 0;
};

class MovieService {
 public:
  virtual ~MovieService() = default;

  // Opens the movie at `path` with frames of `width` × `height` pixels and
  // its sound on `audio` at `level`. nullptr when the file is no movie the
  // service can play; `why` then says why, for a note.
  virtual std::unique_ptr<Movie> Open(const std::string& path, int width, int height,
                                      AudioService& audio, AudioLevel level, std::string& why) = 0;
};

// The service of a platform without a movie player: nothing opens.
class NoMovies : public MovieService {
 public:
  std::unique_ptr<Movie> Open(const std::string&, int, int, AudioService&, AudioLevel,
                              std::string& why) override {
    why = "this build has no movie player";
    return nullptr;
  }
};

}  // namespace orivane
