#include "graphics/screen_shake.h"

#include <algorithm>
#include <cstdint>

#include "engine.h"
#include "engine_wait.h"
#include "graphics/background.h"
#include "graphics/pixel_view.h"
#include "graphics/row_blend.h"
#include "graphics/window_picture.h"
#include "platform/platform.h"
#include "script/command_table.h"
#include "script/expression.h"
#include "script/readers.h"

namespace orivane {
namespace {

// Shakes longer than this many frames are cut short: a frame copies the
// whole screen, and a script's mistyped duration should not hold the game for
// days. A minute of 100 ms frames is far beyond any real use.
constexpr int64_t kMaxShakeFrames = 600;

// Shows the display surface shifted and lets the frame's time pass.
void ShakeFrame(Engine& engine, int dx, int dy, int64_t frame_ms) {
  const uint32_t start = engine.platform.Ticks();
  ShowShiftedOnWindow(engine, engine.display, dx, dy);
  PumpUntil(engine, start + static_cast<uint32_t>(std::max<int64_t>(0, frame_ms)));
}

// A number from −3 to 3, from the engine's random generator.
int RandomStep(Engine& engine) {
  return engine.general.random.NextSeededAt(engine.platform.Ticks()) % 7 - 3;
}

void CmdQuake(Engine& engine) {
  const int32_t amplitude = ReadNumber(engine);
  ExpectComma(engine);
  const int32_t duration = ReadNumber(engine);
  const int64_t frames = std::min<int64_t>(kMaxShakeFrames, duration / 100);
  for (int64_t i = 0; i < frames; ++i) {
    const int64_t dx = int64_t{RandomStep(engine)} * amplitude;
    const int64_t dy = int64_t{RandomStep(engine)} * amplitude;
    ShakeFrame(engine, static_cast<int>(std::clamp<int64_t>(dx, -engine.display.width, engine.display.width)),
               static_cast<int>(std::clamp<int64_t>(dy, -engine.display.height, engine.display.height)),
               100);
  }
  ShowOnWindow(engine, engine.display);
}

template <bool kHorizontal>
void CmdDampedQuake(Engine& engine) {
  const int32_t amplitude = ReadNumber(engine);
  ExpectComma(engine);
  const int32_t duration = ReadNumber(engine);
  // Past the screen's size every frame is black; more cycles only take time.
  const int limit = std::max(engine.display.width, engine.display.height);
  const int cycles = std::clamp(amplitude, 0, std::max(1, limit / 16 + 1));
  const int64_t frame_ms = cycles > 0 ? int64_t{duration} / (int64_t{16} * amplitude) : 0;
  for (int offset : DampedShakeOffsets(cycles)) {
    const int o = std::clamp(offset, -limit, limit);
    ShakeFrame(engine, kHorizontal ? o : 0, kHorizontal ? 0 : o, frame_ms);
  }
  ShowOnWindow(engine, engine.display);
}

// Draws the centred part of the display surface, 3/k of its size, stretched
// over the whole of `out` (nearest pixel).
void StretchCentre(const DisplaySurface& display, DisplaySurface& out, int k) {
  const int w = display.width;
  const int h = display.height;
  const int region_w = std::max(1, 3 * w / k);
  const int region_h = std::max(1, 3 * h / k);
  const int left = std::max(0, w / 2 - (3 * w / 2) / k);
  const int top = std::max(0, h / 2 - (3 * h / 2) / k);
  std::vector<int> source_x(static_cast<size_t>(w));
  for (int x = 0; x < w; ++x)
    source_x[static_cast<size_t>(x)] = std::min(w - 1, left + static_cast<int>(int64_t{x} * region_w / w));
  for (int y = 0; y < h; ++y) {
    const int sy = std::min(h - 1, top + static_cast<int>(int64_t{y} * region_h / h));
    const uint8_t* in = display.RowFromTop(sy);
    uint8_t* row = out.RowFromTop(y);
    for (int x = 0; x < w; ++x) {
      const uint8_t* p = in + static_cast<size_t>(source_x[static_cast<size_t>(x)]) * 3;
      row[x * 3] = p[0];
      row[x * 3 + 1] = p[1];
      row[x * 3 + 2] = p[2];
    }
  }
}

void Brighten(DisplaySurface& surface, int amount) {
  uint8_t table[256];
  for (int i = 0; i < 256; ++i) table[i] = static_cast<uint8_t>(std::min(255, i + amount));
  for (uint8_t& b : surface.pixels) b = table[b];
}

// The flash: the picture zooms into its centre while it whitens, over 28
// frames, and the screen is white afterwards, the background included.
void CmdFlushout(Engine& engine) {
  const int32_t duration = ReadNumber(engine);
  Graphics& g = engine.graphics;
  const int64_t frame_ms = duration / 27;
  g.work = WindowPicture(engine);
  const RowBlenders& rows = FastRowBlenders();
  const int row_bytes = engine.display.width * 3;
  for (int k = 4; k <= 31; ++k) {
    const uint32_t start = engine.platform.Ticks();
    StretchCentre(engine.display, g.work, k);
    Brighten(g.work, 8 * k);
    for (int y = 0; y < g.scene.height; ++y) rows.opacity(g.scene.RowFromTop(y), g.work.RowFromTop(y), row_bytes, 64);
    ShowOnWindow(engine, g.scene);
    PumpUntil(engine, start + static_cast<uint32_t>(std::max<int64_t>(0, frame_ms)));
  }
  std::fill(engine.display.pixels.begin(), engine.display.pixels.end(), 0xFF);
  std::fill(g.scene.pixels.begin(), g.scene.pixels.end(), 0xFF);
  // The background is white now, and a save made from here keeps it so.
  SetBackgroundColour(engine, 0xFFFFFF);
  g.background_name = "white";
  g.dirty.Clear();
  ShowOnWindow(engine, engine.display);
}

// Once a wave distortion; games still call it, and it does nothing.
void CmdYugami(Engine&) {}

}  // namespace

std::vector<int> DampedShakeOffsets(int amplitude) {
  std::vector<int> offsets;
  for (int c = 0; c < amplitude; ++c) {
    const int step = 4 * (amplitude - c);
    // 0, s … 4s (the bound), back through 0 to −4s, and up to −s.
    for (int k = 0; k < 16; ++k) offsets.push_back(step * (k <= 4 ? k : k <= 12 ? 8 - k : k - 16));
  }
  return offsets;
}

void RegisterScreenShakeCommands(CommandTable& table) {
  table.Register("quake", CmdQuake);
  table.Register("quakex", CmdDampedQuake<true>);
  table.Register("quakey", CmdDampedQuake<false>);
  table.Register("flushout", CmdFlushout);
  table.Register("yugami", CmdYugami);
}

}  // namespace orivane
