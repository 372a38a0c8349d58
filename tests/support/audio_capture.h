// Test support for listening to the sound output: tone files to play, and
// the output that SDL's `disk` driver wrote (raw signed 16-bit little-endian
// stereo at 44100 Hz, no header), measured by frequency, so a test can say
// "a 440 Hz tone sounds at level L in this stretch, and not after it".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace orivane::test {

inline constexpr int kCaptureRate = 44100;

// The samples of a sine tone, one per frame (both sides carry it):
// `amplitude` is a fraction of full scale, the phase starts at 0.
std::vector<int16_t> ToneSamples(double frequency_hz, int milliseconds, double amplitude);

// Writes a 16-bit stereo 44100 Hz PCM WAV file holding `samples` on both sides.
void WriteStereoWav(const std::string& path, const std::vector<int16_t>& samples);

// Writes a WAV file of a sine tone (see ToneSamples).
void WriteToneWav(const std::string& path, double frequency_hz, int milliseconds, double amplitude);

// What the disk driver wrote.
struct CapturedAudio {
  std::vector<int16_t> left;
  std::vector<int16_t> right;
  size_t frames() const { return left.size(); }
};

// Reads an output file of the disk driver (a trailing partial frame is left out).
CapturedAudio ReadDiskAudio(const std::string& path);

// The amplitude (fraction of full scale) of a tone of `frequency_hz` in the
// frames [first, first + count) of both sides averaged; count is cut at the
// end of the capture. A tone that fills only part of the stretch counts
// by that part: over a stretch twice its length it measures half.
double ToneLevel(const CapturedAudio& audio, double frequency_hz, size_t first, size_t count);

// ToneLevel over consecutive windows of `window_frames` covering the capture.
std::vector<double> ToneLevels(const CapturedAudio& audio, double frequency_hz,
                               size_t window_frames);

// The first and one past the last frame that is not silent on either side;
// {0, 0} for a silent capture.
std::pair<size_t, size_t> SoundingFrames(const CapturedAudio& audio);

// Waits (up to `limit_ms` of real time) until the file at `path` holds at
// least `bytes`; false when it did not get there. Sound is mixed in real
// time, so a test waits for the output to reach a point, never for a time.
bool WaitForFileSize(const std::string& path, uint64_t bytes, int limit_ms = 10000);

// The size of the file at `path` now, 0 when there is none.
uint64_t FileSize(const std::string& path);

// The bytes of the disk output for `frames` frames.
inline constexpr uint64_t CaptureBytes(size_t frames) {
  return uint64_t{frames} * 4;
}

}  // namespace orivane::test
