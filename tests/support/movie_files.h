// Test support for movies: the bytes of a small uncompressed AVI (24-bit
// pictures, optionally with 16-bit stereo PCM sound), which FFmpeg opens like
// any other movie.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace orivane::test {

struct AviSpec {
  int width = 64;
  int height = 48;
  int frames = 5;
  int fps = 10;
  // Colour 0xRRGGBB of pixel (x, y from the top) in frame `frame`.
  std::function<uint32_t(int frame, int x, int y)> pixel;
  int tone_hz = 0;  // 0: no sound stream
};

std::string MakeAvi(const AviSpec& spec);

// Makes the header of the sound stream in `avi` (its WAVEFORMATEX in the
// stream's 'strf' chunk) claim `rate` samples a second and `channels`
// channels; the sound data stays as it is. False when `avi` has no sound
// stream.
bool SetAviSoundShape(std::string& avi, uint32_t rate, uint16_t channels);

// Colour of every pixel of frame `frame` in the tests' solid-colour movies:
// distinct for each frame.
constexpr uint32_t SolidFrameColour(int frame) {
  return 0x102030u + static_cast<uint32_t>(frame) * 0x200810u;
}

}  // namespace orivane::test
