// The CPU cost of mixing sound: 16 effect channels looping at once plus the
// music stream, through the SDL_mixer sound service, for one second of
// output. SDL's disk driver writes to /dev/null with no pause between
// buffers (SDL_DISKAUDIODELAY=0), so the mixer runs as fast as it can; a
// post-mix hook counts the bytes mixed. The figure is the CPU seconds of the
// whole process (the mixing is done by SDL's audio thread; this thread only
// sleeps) per second of audio: below 1 it keeps up with real time, and the
// share of a core it takes while a game plays is that ratio.
//
// Music: /0 none, /1 a WAV file streamed, /2 the demo's MIDI piece
// synthesised through the General MIDI soundfont.
#include <SDL_mixer.h>
#include <benchmark/benchmark.h>
#include <time.h>

#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <numbers>
#include <string>

#include "platform/sdl_audio/sdl_mixer_audio.h"

namespace orivane {
namespace {

constexpr int kRate = 44100;
constexpr uint64_t kBytesPerSecond = kRate * 4;

double ProcessSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// A 16-bit stereo WAV of a decaying tone with a few partials.
void WriteTone(const std::string& path, double hz, double seconds) {
  uint32_t frames = static_cast<uint32_t>(seconds * kRate);
  std::string data;
  for (uint32_t i = 0; i < frames; ++i) {
    double t = static_cast<double>(i) / kRate;
    double v =
        0.2 * std::exp(-1.5 * t) *
        (std::sin(2 * std::numbers::pi * hz * t) + 0.4 * std::sin(4 * std::numbers::pi * hz * t) +
         0.2 * std::sin(6 * std::numbers::pi * hz * t));
    auto s = static_cast<int16_t>(std::lround(v * 32767));
    for (int side = 0; side < 2; ++side) data.append(reinterpret_cast<const char*>(&s), 2);
  }
  auto le32 = [](uint32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); };
  auto le16 = [](uint16_t v) { return std::string(reinterpret_cast<const char*>(&v), 2); };
  std::string wav = "RIFF" + le32(36 + static_cast<uint32_t>(data.size())) + "WAVEfmt " + le32(16) +
                    le16(1) + le16(2) + le32(kRate) + le32(kBytesPerSecond) + le16(4) + le16(16) +
                    "data" + le32(static_cast<uint32_t>(data.size())) + data;
  std::ofstream(path, std::ios::binary).write(wav.data(), static_cast<std::streamsize>(wav.size()));
}

// Counts the bytes the mixer produced; wakes the waiting thread at a target.
struct MixCounter {
  std::mutex mutex;
  std::condition_variable reached;
  uint64_t bytes = 0;
  uint64_t target = 0;

  static void PostMix(void* udata, Uint8*, int len) {
    auto& counter = *static_cast<MixCounter*>(udata);
    std::lock_guard lock(counter.mutex);
    counter.bytes += static_cast<uint64_t>(len);
    if (counter.bytes >= counter.target) counter.reached.notify_one();
  }

  void WaitFor(uint64_t more) {
    std::unique_lock lock(mutex);
    target = bytes + more;
    reached.wait(lock, [&] { return bytes >= target; });
  }
};

void BM_Mix16ChannelsAndMusic(benchmark::State& state) {
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
  setenv("SDL_DISKAUDIODELAY", "0", 1);
  std::string dir = (std::filesystem::temp_directory_path() / "orivane-mix-bench").string();
  std::filesystem::create_directories(dir);

  SdlMixerAudio audio;
  if (!audio.Open()) {
    state.SkipWithError(("no sound output: " + audio.OpenError()).c_str());
    return;
  }
  for (int c = 0; c < 16; ++c) {
    std::string path = dir + "/se" + std::to_string(c) + ".wav";
    WriteTone(path, 220.0 * std::pow(2.0, c / 12.0), 0.5 + 0.1 * c);
    audio.LoadChannel(c, path);
    audio.PlayChannel(c, true, {c * 3, 0xFFFF});
  }
  if (state.range(0) == 1) {
    WriteTone(dir + "/music.wav", 110, 4);
    audio.PlayMusic(dir + "/music.wav", true, {});
  } else if (state.range(0) == 2) {
    audio.PlayMusic(ORIVANE_BENCH_DEMO_DIR "/bgm.mid", true, {});
  }
  MixCounter counter;
  Mix_SetPostMix(&MixCounter::PostMix, &counter);
  counter.WaitFor(kBytesPerSecond / 4);  // past the start (the soundfont loads)

  double cpu = 0;
  for (auto _ : state) {
    double before = ProcessSeconds();
    counter.WaitFor(kBytesPerSecond);
    double seconds = ProcessSeconds() - before;
    state.SetIterationTime(seconds);
    cpu += seconds;
  }
  Mix_SetPostMix(nullptr, nullptr);
  state.counters["cpu_per_audio_second"] = cpu / static_cast<double>(state.iterations());
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_Mix16ChannelsAndMusic)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orivane
