// The movie player on FFmpeg: libavformat demuxes, libavcodec decodes,
// libswscale scales and converts to the engine's pixels, libswresample turns
// the sound into the mixer's format (44100 Hz, signed 16 bits, stereo), which
// goes to the sound service's PCM stream.
#pragma once

#include <memory>
#include <string>

#include "platform/movie_service.h"

namespace orivane {

class FfmpegMovies final : public MovieService {
 public:
  std::unique_ptr<Movie> Open(const std::string& path, int width, int height, AudioService& audio,
                              AudioLevel level, std::string& why) override;
};

// Decodes every frame of the movie in `bytes` (no sound output), for the
// fuzzer and the benchmark: returns the number of frames, or −1 when the
// bytes open as no movie. Stops after `max_frames`.
int DecodeMovieBytes(const std::string& bytes, int width, int height, int max_frames);

}  // namespace orivane
