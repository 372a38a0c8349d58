// Arbitrary bytes through the movie player's demuxing, decoding and pixel
// conversion (FFmpeg, which is not instrumented here: the target finds
// faults in how the player drives it, and crashes of the library, rather
// than reaching its edges). Whatever the file, the player must end or refuse
// it, never crash. Each input is bounded so that it costs milliseconds: a
// small picture out, at most 4 frames, 64 packets and 64 KB read to find the
// streams, and pictures in the file of at most 640 × 480.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/ffmpeg/ffmpeg_movies.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  orivane::MovieDecodeLimits limits;
  limits.max_frames = 4;
  limits.max_packets = 64;
  limits.max_pixels = 640 * 480;
  limits.probe_bytes = 64 << 10;
  orivane::DecodeMovieBytes(bytes, 32, 24, limits);
  return 0;
}
