// The cost of composition on an 800 × 600 screen, each measured against
// references timed in the same loop: a memcpy of the same bytes and SDL's own
// alpha blitter over the same size, onto 24-bit and onto 32-bit surfaces.
// Counters report the ratios.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <sstream>
#include <vector>

#ifdef ORIVANE_BENCH_HAVE_SDL
#include <SDL2/SDL.h>
#endif

#include "bench_clock.h"
#include "engine.h"
#include "graphics/compose.h"
#include "graphics/effects.h"
#include "graphics/graphics_state.h"
#include "graphics/row_blend.h"
#include "graphics/sprite_draw.h"
#include "platform/headless/headless_platform.h"

namespace orivane {
namespace {

constexpr int kW = 800, kH = 600;

// A picture of pseudo-random colours; in alpha layout its right half is a
// mask with every level from clear to opaque.
ImageSurface MakePicture(int w, int h, int mode) {
  ImageSurface s;
  const int stored = mode == kModeAlpha ? w * 2 : w;
  s.CreateBlank(stored, h, 24);
  uint32_t seed = 12345;
  for (int y = 0; y < h; ++y) {
    uint8_t* row = s.RowFromTop(y);
    for (int x = 0; x < w * 3; ++x) {
      seed = seed * 1103515245 + 12345;
      row[x] = static_cast<uint8_t>(seed >> 16);
    }
    if (mode == kModeAlpha)
      for (int x = 0; x < w; ++x) std::memset(row + (w + x) * 3, (x + y) & 0xFF, 3);
  }
  s.mode = mode;
  return s;
}

class MemcpyReference {
 public:
  MemcpyReference() : from_(static_cast<size_t>(kW) * kH * 3, 1), to_(from_.size()) {}
  double Run() {
    return Seconds([&] {
      std::memcpy(to_.data(), from_.data(), from_.size());
      benchmark::DoNotOptimize(to_.data());
    });
  }

 private:
  std::vector<uint8_t> from_, to_;
};

#ifdef ORIVANE_BENCH_HAVE_SDL
// SDL's software blitter doing a per-pixel alpha blend of the same size from
// an ARGB picture onto a surface of `dst_format`: 24-bit blue-green-red (the
// engine's layout, SDL's generic path) or 32-bit XRGB (the window layout SDL
// has its fastest blender for).
class SdlBlendReference {
 public:
  explicit SdlBlendReference(Uint32 dst_format) {
    src_ = SDL_CreateRGBSurfaceWithFormat(0, kW, kH, 32, SDL_PIXELFORMAT_ARGB8888);
    dst_ = SDL_CreateRGBSurfaceWithFormat(0, kW, kH, SDL_BITSPERPIXEL(dst_format), dst_format);
    auto* p = static_cast<uint8_t*>(src_->pixels);
    for (int i = 0; i < src_->pitch * kH; ++i) p[i] = static_cast<uint8_t>(i * 7);
    SDL_SetSurfaceBlendMode(src_, SDL_BLENDMODE_BLEND);
  }
  ~SdlBlendReference() {
    SDL_FreeSurface(src_);
    SDL_FreeSurface(dst_);
  }
  double Run() {
    return Seconds([&] { SDL_BlitSurface(src_, nullptr, dst_, nullptr); });
  }

 private:
  SDL_Surface* src_ = nullptr;
  SDL_Surface* dst_ = nullptr;
};
#endif

// The row blenders a run uses, from its argument: 0 the engine's own choice,
// then the plain, SSE2 and AVX2 sets (skipped where the CPU lacks them).
const RowBlenders* BlendersFor(benchmark::State& state) {
  static constexpr const char* kNames[] = {"engine", "plain", "sse2", "avx2"};
  const int arg = static_cast<int>(state.range(0));
  const RowBlenders* rows = arg == 0   ? &FastRowBlenders()
                            : arg == 1 ? RowBlendersFor(RowBlendSet::kPlain)
                            : arg == 2 ? RowBlendersFor(RowBlendSet::kSse2)
                                       : RowBlendersFor(RowBlendSet::kAvx2);
  if (!rows) state.SkipWithError("this set is not available on this CPU");
  state.SetLabel(kNames[arg]);
  return rows;
}

void BM_AlphaSpriteFullScreen(benchmark::State& state) {
  const RowBlenders* rows = BlendersFor(state);
  if (!rows) return;
  MulTable mul;
  ImageSurface sprite = MakePicture(kW, kH, kModeAlpha);
  DisplaySurface screen;
  screen.Resize(kW, kH);
  MemcpyReference memcpy_ref;
#ifdef ORIVANE_BENCH_HAVE_SDL
  SdlBlendReference sdl24_ref(SDL_PIXELFORMAT_BGR24), sdl32_ref(SDL_PIXELFORMAT_RGB888);
  double sdl24 = 0, sdl32 = 0;
#endif
  double draw = 0, copy = 0;
  for (auto _ : state) {
    draw += Seconds([&] { DrawSpriteWith(*rows, mul, sprite, PixelView(screen), nullptr, 0, 0); });
    copy += memcpy_ref.Run();
#ifdef ORIVANE_BENCH_HAVE_SDL
    sdl24 += sdl24_ref.Run();
    sdl32 += sdl32_ref.Run();
#endif
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["ns_per_pixel"] = draw / n / (kW * kH) * 1e9;
  state.counters["x_memcpy"] = draw / copy;
#ifdef ORIVANE_BENCH_HAVE_SDL
  // Below 1: faster than SDL's blit onto a 24-bit / 32-bit surface.
  state.counters["x_sdl24"] = draw / sdl24;
  state.counters["x_sdl32"] = draw / sdl32;
#endif
}
BENCHMARK(BM_AlphaSpriteFullScreen)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

void BM_ComposeBackgroundAnd50Sprites(benchmark::State& state) {
  std::ostringstream out, err;
  HeadlessPlatform platform(out, err);
  auto engine = std::make_unique<Engine>(platform);
  engine->screen_width = kW;
  engine->screen_height = kH;
  engine->display.Resize(kW, kH);
  StartGraphics(*engine);
  engine->graphics.background = MakePicture(kW, kH, kModeCopy);
  const int modes[5] = {kModeCopy, kModeLeftUp, kModeAlpha, kModeCopy, kModeAlpha};
  for (int i = 0; i < 50; ++i) {
    SpriteSlot& slot = engine->graphics.sprites[i * 10];
    const int mode = modes[i % 5];
    slot.surface = MakePicture(120, 90, mode);
    slot.surface.opacity = (i % 3 == 0) ? 160 : -1;
    slot.tag = "bench";
    slot.visible = true;
    slot.x = (i * 73) % (kW - 60);
    slot.y = (i * 41) % (kH - 45);
  }
  MemcpyReference memcpy_ref;
  double compose = 0, copy = 0;
  for (auto _ : state) {
    compose += Seconds([&] { ComposeScene(*engine, nullptr); });
    copy += memcpy_ref.Run();
  }
  state.counters["x_memcpy"] = compose / copy;
}
BENCHMARK(BM_ComposeBackgroundAnd50Sprites)->Unit(benchmark::kMicrosecond);

void BM_CrossFadeFrame(benchmark::State& state) {
  const RowBlenders* rows = BlendersFor(state);
  if (!rows) return;
  MulTable mul;
  DisplaySurface out, old, fresh;
  out.Resize(kW, kH);
  old.Resize(kW, kH);
  fresh.Resize(kW, kH);
  std::memset(fresh.pixels.data(), 200, fresh.pixels.size());
  MemcpyReference memcpy_ref;
  double fade = 0, copy = 0;
  int a = 1;
  for (auto _ : state) {
    fade += Seconds([&] {
      CrossFadeBytes(mul, PixelView(out), PixelView(old), PixelView(fresh),
                     PixelRect{0, 0, kW - 1, kH - 1}, a, a & 1, *rows);
    });
    copy += memcpy_ref.Run();
    a = a % 254 + 1;
  }
  state.counters["x_memcpy"] = fade / copy;
}
BENCHMARK(BM_CrossFadeFrame)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace orivane

BENCHMARK_MAIN();
