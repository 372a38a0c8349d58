// Arbitrary bytes through the movie player's demuxing, decoding and pixel
// conversion (FFmpeg): whatever the file, the player must end or refuse it,
// never crash. At most 20 frames of a small picture are decoded per input,
// so that one input stays quick; run with -timeout=10 to catch one that hangs.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/ffmpeg/ffmpeg_movies.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  orivane::DecodeMovieBytes(bytes, 64, 48, 20);
  return 0;
}
