// The movie player on FFmpeg: libavformat demuxes, libavcodec decodes,
// libswscale scales and converts to the engine's pixels, libswresample turns
// the sound into the mixer's format (44100 Hz, signed 16 bits, stereo), which
// goes to the sound service's PCM stream.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/movie_service.h"

namespace orivane {

class FfmpegMovies final : public MovieService {
 public:
  std::unique_ptr<Movie> Open(const std::string& path, int width, int height, AudioService& audio,
                              AudioLevel level, std::string& why) override;
};

// What decoding a movie from memory may cost, so that a fuzzer's input
// stays cheap whatever it claims.
struct MovieDecodeLimits {
  int max_frames = 20;
  int max_packets = -1;            // read from the file; -1: no bound
  int64_t max_pixels = int64_t{7680} * 4320;  // of a picture the file holds
  int64_t probe_bytes = 1 << 20;   // read to find the streams
};

// Decodes the frames of the movie in `bytes` (its sound converted and
// dropped), for the fuzzer and the benchmark, with the same decoder as a
// played movie: returns the number of frames, or −1 when the bytes open as
// no movie.
int DecodeMovieBytes(const std::string& bytes, int width, int height,
                     const MovieDecodeLimits& limits);

}  // namespace orivane
