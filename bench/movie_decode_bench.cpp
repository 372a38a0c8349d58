// Decoding a 640×480 movie through the FFmpeg player into the engine's
// pixels, in frames per second against the movie's own 30: a counter
// `realtime_factor` above 1 means the player keeps up with the movie. The
// movie is an uncompressed AVI made here (a moving gradient), so the figure
// is the demuxing, scaling and conversion that every movie pays; /800 scales
// it to the 800×600 screen as well.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "platform/ffmpeg/ffmpeg_movies.h"

namespace orivane {
namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kFrames = 30;
constexpr int kFps = 30;

void Put(std::string& s, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
}
std::string Chunk(const std::string& id, const std::string& body) {
  std::string c = id;
  Put(c, static_cast<uint32_t>(body.size()), 4);
  return c + body;
}

std::string MakeMovie() {
  const uint32_t frame_bytes = kWidth * 3 * kHeight;
  std::string avih;
  for (uint32_t v : {1000000u / kFps, frame_bytes * kFps, 0u, 0x10u, uint32_t{kFrames}, 0u, 1u,
                     frame_bytes, uint32_t{kWidth}, uint32_t{kHeight}, 0u, 0u, 0u, 0u})
    Put(avih, v, 4);
  std::string strh = "vidsDIB ";
  for (uint32_t v :
       {0u, 0u, 0u, 1u, uint32_t{kFps}, 0u, uint32_t{kFrames}, 0u, 0xFFFFFFFFu, 0u, 0u, 0u})
    Put(strh, v, 4);
  std::string bih;
  Put(bih, 40, 4);
  Put(bih, kWidth, 4);
  Put(bih, kHeight, 4);
  Put(bih, 1, 2);
  Put(bih, 24, 2);
  for (uint32_t v : {0u, frame_bytes, 0u, 0u, 0u, 0u}) Put(bih, v, 4);
  const std::string hdrl =
      Chunk("avih", avih) + Chunk("LIST", "strl" + Chunk("strh", strh) + Chunk("strf", bih));
  std::string movi = "movi";
  std::string index;
  for (int f = 0; f < kFrames; ++f) {
    std::string pixels(frame_bytes, '\0');
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        const size_t at = (static_cast<size_t>(y) * kWidth + x) * 3;
        pixels[at] = static_cast<char>(x + f * 4);
        pixels[at + 1] = static_cast<char>(y);
        pixels[at + 2] = static_cast<char>((x ^ y) + f);
      }
    index += "00db";
    Put(index, 0x10, 4);
    Put(index, static_cast<uint32_t>(movi.size()), 4);
    Put(index, frame_bytes, 4);
    movi += Chunk("00db", pixels);
  }
  return Chunk("RIFF",
               "AVI " + Chunk("LIST", "hdrl" + hdrl) + Chunk("LIST", movi) + Chunk("idx1", index));
}

void BM_DecodeMovie(benchmark::State& state) {
  static const std::string movie = MakeMovie();
  const int width = static_cast<int>(state.range(0));
  const int height = width * 3 / 4;
  MovieDecodeLimits limits;
  limits.max_frames = kFrames;
  int64_t frames = 0;
  for (auto _ : state) {
    const int n = DecodeMovieBytes(movie, width, height, limits);
    if (n != kFrames) state.SkipWithError("the movie did not decode whole");
    frames += n;
  }
  state.counters["fps"] =
      benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
  state.counters["realtime_factor"] =
      benchmark::Counter(static_cast<double>(frames) / kFps, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DecodeMovie)->Arg(640)->Arg(800)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orivane
