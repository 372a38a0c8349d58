// The checks the movie player makes on a stream's shape before the
// resampler sees it (FFmpeg is not instrumented here, so the movie target
// reaches few edges of its own), and the conversion set up on what they let
// through. The input is the shape a header could claim, then sample bytes:
//   rate (4 bytes, little-endian), channels (1), sample format (1), samples (2, at most 4096), data.
// A shape within the limits must set up in milliseconds (run with
// -timeout=2) and convert its samples; one outside them must be refused.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/ffmpeg/sound_conversion.h"
#include "platform/ffmpeg/stream_limits.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  constexpr size_t kHeader = 8;
  if (size < kHeader) return 0;
  const int64_t rate = int64_t{data[0]} | int64_t{data[1]} << 8 | int64_t{data[2]} << 16 |
                       int64_t{data[3]} << 24;
  const int64_t channels = data[4];
  // Formats past the known ones (and -1, none) are part of the input too.
  const int format = static_cast<int>(data[5] % 16) - 1;
  const int samples = (data[6] | data[7] << 8) % 4097;

  orivane::SoundConversion conversion;
  const bool opened = conversion.Open(rate, channels, format);
  if (opened && !orivane::PlausibleSound({rate, channels})) std::abort();
  if (!opened) return 0;

  // One plane per channel, each large enough for the widest sample format
  // interleaved, filled from the rest of the input.
  const size_t plane_bytes = static_cast<size_t>(samples) * static_cast<size_t>(channels) * 8;
  std::vector<std::vector<uint8_t>> planes(static_cast<size_t>(channels),
                                           std::vector<uint8_t>(plane_bytes));
  const uint8_t* fill = data + kHeader;
  const size_t fill_size = size - kHeader;
  for (auto& plane : planes)
    for (size_t i = 0; i < plane.size() && fill_size > 0; ++i) plane[i] = fill[i % fill_size];
  std::vector<const uint8_t*> pointers;
  for (const auto& plane : planes) pointers.push_back(plane.data());
  std::vector<int16_t> pcm;
  if (!conversion.Convert(pointers.data(), samples, pcm)) std::abort();
  if (pcm.size() % orivane::kMixerChannels != 0) std::abort();
  return 0;
}
