#include "support/audio_capture.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <thread>

namespace orivane::test {

namespace {

void PutLe(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// Goertzel's single-frequency transform of `count` samples: the amplitude
// of the tone at `frequency_hz` in them.
template <typename Sample>
double GoertzelAmplitude(Sample sample, size_t count, double frequency_hz) {
  if (count == 0) return 0;
  double w = 2 * std::numbers::pi * frequency_hz / kCaptureRate;
  double coefficient = 2 * std::cos(w);
  double s1 = 0, s2 = 0;
  for (size_t i = 0; i < count; ++i) {
    double s0 = sample(i) + coefficient * s1 - s2;
    s2 = s1;
    s1 = s0;
  }
  double power = s1 * s1 + s2 * s2 - coefficient * s1 * s2;
  return 2 * std::sqrt(std::max(power, 0.0)) / static_cast<double>(count);
}

}  // namespace

std::vector<int16_t> ToneSamples(double frequency_hz, int milliseconds, double amplitude) {
  size_t frames = static_cast<size_t>(kCaptureRate) * static_cast<size_t>(milliseconds) / 1000;
  std::vector<int16_t> samples(frames);
  for (size_t i = 0; i < frames; ++i) {
    double v = amplitude * 32767 * std::sin(2 * std::numbers::pi * frequency_hz * i / kCaptureRate);
    samples[i] = static_cast<int16_t>(std::lround(v));
  }
  return samples;
}

void WriteStereoWav(const std::string& path, const std::vector<int16_t>& samples) {
  uint32_t data_bytes = static_cast<uint32_t>(samples.size() * 4);
  std::string out = "RIFF";
  PutLe(out, 36 + data_bytes, 4);
  out += "WAVEfmt ";
  PutLe(out, 16, 4);
  PutLe(out, 1, 2);  // PCM
  PutLe(out, 2, 2);  // stereo
  PutLe(out, kCaptureRate, 4);
  PutLe(out, kCaptureRate * 4, 4);  // bytes per second
  PutLe(out, 4, 2);                 // bytes per frame
  PutLe(out, 16, 2);                // bits per sample
  out += "data";
  PutLe(out, data_bytes, 4);
  for (int16_t s : samples) {
    PutLe(out, static_cast<uint16_t>(s), 2);
    PutLe(out, static_cast<uint16_t>(s), 2);
  }
  std::ofstream f(path, std::ios::binary);
  f.write(out.data(), static_cast<std::streamsize>(out.size()));
}

void WriteToneWav(const std::string& path, double frequency_hz, int milliseconds,
                  double amplitude) {
  WriteStereoWav(path, ToneSamples(frequency_hz, milliseconds, amplitude));
}

CapturedAudio ReadDiskAudio(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(f)),
                                   std::istreambuf_iterator<char>());
  CapturedAudio audio;
  size_t frames = bytes.size() / 4;
  audio.left.resize(frames);
  audio.right.resize(frames);
  for (size_t i = 0; i < frames; ++i) {
    const unsigned char* p = &bytes[i * 4];
    audio.left[i] = static_cast<int16_t>(p[0] | (p[1] << 8));
    audio.right[i] = static_cast<int16_t>(p[2] | (p[3] << 8));
  }
  return audio;
}

double ToneLevel(const CapturedAudio& audio, double frequency_hz, size_t first, size_t count) {
  if (first >= audio.frames()) return 0;
  count = std::min(count, audio.frames() - first);
  auto mono = [&](size_t i) {
    return (audio.left[first + i] + audio.right[first + i]) / (2.0 * 32767);
  };
  return GoertzelAmplitude(mono, count, frequency_hz);
}

std::vector<double> ToneLevels(const CapturedAudio& audio, double frequency_hz,
                               size_t window_frames) {
  std::vector<double> levels;
  for (size_t first = 0; window_frames > 0 && first < audio.frames(); first += window_frames)
    levels.push_back(ToneLevel(audio, frequency_hz, first, window_frames));
  return levels;
}

std::pair<size_t, size_t> SoundingFrames(const CapturedAudio& audio) {
  auto sounding = [&](size_t i) { return audio.left[i] != 0 || audio.right[i] != 0; };
  size_t first = 0;
  while (first < audio.frames() && !sounding(first)) ++first;
  if (first == audio.frames()) return {0, 0};
  size_t end = audio.frames();
  while (!sounding(end - 1)) --end;
  return {first, end};
}

uint64_t FileSize(const std::string& path) {
  std::error_code ec;
  uint64_t size = std::filesystem::file_size(path, ec);
  return ec ? 0 : size;
}

bool WaitForFileSize(const std::string& path, uint64_t bytes, int limit_ms) {
  auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(limit_ms);
  while (FileSize(path) < bytes) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

}  // namespace orivane::test
