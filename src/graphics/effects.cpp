#include "graphics/effects.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "engine.h"
#include "graphics/compose.h"
#include "graphics/image_tag.h"
#include "graphics/window_picture.h"
#include "platform/platform.h"
#include "script/error.h"
#include "script/expression.h"
#include "script/readers.h"

namespace orivane {
namespace {

// Paces the frames of a transition on the engine clock. The player's events
// that fall due meanwhile are taken (a click during a fade is recorded for the
// next wait), but nothing ends a transition early.
class FrameClock {
 public:
  explicit FrameClock(Engine& engine) : engine_(engine) {}
  void Begin() { start_ = engine_.platform.Ticks(); }
  uint32_t Elapsed() const { return engine_.platform.Ticks() - start_; }
  // Sleeps until `ms` after the frame began.
  void SleepRest(int64_t ms) {
    SleepUntil(start_ + static_cast<uint32_t>(std::max<int64_t>(0, ms)));
  }
  void SleepFor(int64_t ms) {
    SleepUntil(engine_.platform.Ticks() + static_cast<uint32_t>(std::max<int64_t>(0, ms)));
  }

 private:
  void SleepUntil(uint32_t deadline) { PumpUntil(engine_, deadline); }
  Engine& engine_;
  uint32_t start_ = 0;
};

struct Frame {
  Engine& engine;
  PixelView display;
  PixelView scene;
  PixelRect r;
  int w;
  int h;
  FrameClock clock;

  void Show() { ShowOnWindow(engine, engine.display); }
  void CopyColumn(int x) { CopyRect(display, scene, PixelRect{x, r.top, x, r.bottom}); }
  void CopyRow(int y) { CopyRect(display, scene, PixelRect{r.left, y, r.right, y}); }
};

// Skip mode, or the skip key held, makes transitions short.
bool Skipping(Engine& engine) {
  return engine.read_flags.skip_mode || SkipKeyHeld(engine);
}

// Marks the transition that runs, so that animations wait for its end
// instead of drawing into its frames.
class TransitionMark {
 public:
  explicit TransitionMark(Graphics& g) : g_(g), was_(g.transition_running) {
    g_.transition_running = true;
  }
  ~TransitionMark() { g_.transition_running = was_; }

 private:
  Graphics& g_;
  bool was_;
};

// Types 2–5: sixteen passes of every sixteenth column or row.
void Blinds(Frame& f, bool columns, bool reverse, int64_t duration) {
  for (int pass = 0; pass < 16; ++pass) {
    const int k = reverse ? 15 - pass : pass;
    f.clock.Begin();
    if (columns) {
      for (int x = f.r.left + k; x <= f.r.right; x += 16) f.CopyColumn(x);
    } else {
      for (int y = f.r.top + k; y <= f.r.bottom; y += 16) f.CopyRow(y);
    }
    f.Show();
    f.clock.SleepRest(duration / 16);
  }
}

// Types 6–9: a staggered sweep of 24 lines per frame, 23 apart.
void Sweep(Frame& f, bool columns, bool reverse, int64_t duration) {
  const int64_t extent = columns ? int64_t{f.w} * 1170 / 640 - 1 : int64_t{f.h} * 1010 / 480 - 1;
  const int64_t frame =
      columns ? (int64_t{f.w} * duration / 640) / 48 : (int64_t{f.h} * duration / 480) / 42;
  const int lo = columns ? f.r.left : f.r.top, hi = columns ? f.r.right : f.r.bottom;
  int64_t p = reverse ? extent : 0;
  while (reverse ? p >= 0 : p <= extent) {
    f.clock.Begin();
    for (int i = 0; i < 24; ++i) {
      const int64_t line = p - 23 * i;
      if (line < lo || line > hi) continue;
      if (columns)
        f.CopyColumn(static_cast<int>(line));
      else
        f.CopyRow(static_cast<int>(line));
    }
    f.Show();
    f.clock.SleepRest(frame);
    p += reverse ? -24 : 24;
  }
}

// Types 11–14: the whole window slides; the new scene enters strip by strip.
void Scroll(Frame& f, int type, int64_t duration) {
  const bool horizontal = type == 11 || type == 12;
  const int strip = horizontal ? 8 : 6;
  const int steps = (horizontal ? f.w : f.h) / strip;
  const int64_t frame =
      horizontal ? (int64_t{f.w} * duration / 640) / 80 : (int64_t{f.h} * duration / 480) / 80;
  PixelView d = f.display, s = f.scene;
  for (int k = 1; k <= steps; ++k) {
    f.clock.Begin();
    if (horizontal) {
      const bool right = type == 11;
      const int src_x = right ? f.w - strip * k : strip * (k - 1);
      const int dst_x = right ? 0 : f.w - strip;
      for (int y = 0; y < f.h; ++y) {
        uint8_t* row = d.RowFromTop(y);
        if (right)
          std::memmove(row + strip * 3, row, static_cast<size_t>(f.w - strip) * 3);
        else
          std::memmove(row, row + strip * 3, static_cast<size_t>(f.w - strip) * 3);
        std::memcpy(row + dst_x * 3, s.RowFromTop(y) + src_x * 3, static_cast<size_t>(strip) * 3);
      }
    } else {
      const bool down = type == 13;
      const size_t row_bytes = static_cast<size_t>(f.w) * 3;
      if (down) {
        for (int y = f.h - 1; y >= strip; --y)
          std::memcpy(d.RowFromTop(y), d.RowFromTop(y - strip), row_bytes);
        for (int i = 0; i < strip; ++i)
          std::memcpy(d.RowFromTop(i), s.RowFromTop(f.h - strip * k + i), row_bytes);
      } else {
        for (int y = 0; y < f.h - strip; ++y)
          std::memcpy(d.RowFromTop(y), d.RowFromTop(y + strip), row_bytes);
        for (int i = 0; i < strip; ++i)
          std::memcpy(d.RowFromTop(f.h - strip + i), s.RowFromTop(strip * (k - 1) + i), row_bytes);
      }
    }
    f.Show();
    f.clock.SleepRest(frame);
  }
}

// Type 10: the work buffer shows old·(255−a) + new·a, a rising from 1 to 255.
// Each frame recomputes every second byte, alternating which half.
void CrossFade(Frame& f, int64_t duration) {
  Engine& e = f.engine;
  Graphics& g = e.graphics;
  e.graphics.work = e.display;
  PixelView work(g.work);
  const MulTable& mul = g.mul;
  int a = 1;
  int phase = 0;
  for (;;) {
    f.clock.Begin();
    CrossFadeBytes(mul, work, f.display, f.scene, f.r, a, phase);
    phase ^= 1;
    ShowOnWindow(e, g.work);
    if (a == 255) break;
    const int64_t elapsed = f.clock.Elapsed();
    int64_t step = duration > 0 ? elapsed * 256 / duration : 255;
    if (step == 0) {
      f.clock.SleepRest(duration / 256);
      step = 1;
    }
    a = static_cast<int>(std::min<int64_t>(255, a + step));
  }
}

// The blue bytes of the mask picture, tiled over the screen from the top-left.
std::vector<uint8_t> TiledMask(Engine& engine, const std::string& name) {
  const int w = engine.screen_width, h = engine.screen_height;
  std::vector<uint8_t> mask(static_cast<size_t>(w) * h, 0);
  ImageSurface pic;
  LoadImageTag(engine, pic, name);
  pic.mode = kModeCopy;
  pic.ConvertTo24();
  const int cw = pic.loaded ? pic.CellWidth() : 0;
  if (cw <= 0 || pic.bit_count != 24 || pic.height <= 0) return mask;
  const int x0 = std::clamp(pic.cell, 0, std::max(0, pic.cells - 1)) * pic.CellStride();
  for (int y = 0; y < h; ++y) {
    const uint8_t* src = pic.RowFromTop(y % pic.height) + x0 * 3;
    uint8_t* dst = &mask[static_cast<size_t>(y) * w];
    for (int x = 0; x < w; ++x) dst[x] = src[(x % cw) * 3];
  }
  return mask;
}

// Type 15: pixels whose mask value is at most the rising threshold switch over.
void MaskWipe(Frame& f, int64_t duration, const std::string& mask_name) {
  const std::vector<uint8_t> mask = TiledMask(f.engine, mask_name);
  std::vector<uint8_t> done(mask.size(), 0);
  const int64_t unit = duration / 256;
  int t = 1;
  while (t < 255) {
    f.clock.Begin();
    for (int y = f.r.top; y <= f.r.bottom; ++y) {
      const size_t base = static_cast<size_t>(y) * f.w;
      uint8_t* d = f.display.RowFromTop(y);
      const uint8_t* s = f.scene.RowFromTop(y);
      for (int x = f.r.left; x <= f.r.right; ++x) {
        if (done[base + x] || mask[base + x] > t) continue;
        std::memcpy(d + x * 3, s + x * 3, 3);
        done[base + x] = 1;
      }
    }
    f.Show();
    int64_t step = unit > 0 ? static_cast<int64_t>(f.clock.Elapsed()) / unit : 255;
    if (step == 0) {
      f.clock.SleepRest(unit);
      step = 1;
    }
    t = static_cast<int>(std::min<int64_t>(255, t + step));
  }
}

// Type 18: each pixel fades in over 255 steps of the threshold, starting when
// the threshold passes its mask value.
void MaskFade(Frame& f, int64_t duration, const std::string& mask_name) {
  const std::vector<uint8_t> mask = TiledMask(f.engine, mask_name);
  std::vector<uint8_t> done(mask.size(), 0);
  DisplaySurface old = f.engine.display;
  PixelView before(old);
  const MulTable& mul = f.engine.graphics.mul;
  const int64_t unit = duration / 512;
  int t = 1;
  while (t < 512) {
    f.clock.Begin();
    for (int y = f.r.top; y <= f.r.bottom; ++y) {
      const size_t base = static_cast<size_t>(y) * f.w;
      uint8_t* d = f.display.RowFromTop(y);
      const uint8_t* s = f.scene.RowFromTop(y);
      const uint8_t* o = before.RowFromTop(y);
      for (int x = f.r.left; x <= f.r.right; ++x) {
        if (done[base + x]) continue;
        const int k = t - mask[base + x];
        if (k < 0) continue;
        if (k > 254) {
          std::memcpy(d + x * 3, s + x * 3, 3);
          done[base + x] = 1;
          continue;
        }
        const uint8_t* fresh = mul.Row(k);
        const uint8_t* stale = mul.Row(255 - k);
        for (int c = 0; c < 3; ++c)
          d[x * 3 + c] = static_cast<uint8_t>(fresh[s[x * 3 + c]] + stale[o[x * 3 + c]]);
      }
    }
    f.Show();
    int64_t step = unit > 0 ? static_cast<int64_t>(f.clock.Elapsed()) / unit : 511;
    if (step == 0) {
      f.clock.SleepRest(unit);
      step = 1;
    }
    t = static_cast<int>(std::min<int64_t>(512, t + step));
  }
}

// Fills every size × size block of the display with the colour of the
// block's top-left pixel in `source`.
void Pixelate(PixelView display, PixelView source, int size) {
  for (int by = 0; by < display.height; by += size) {
    for (int bx = 0; bx < display.width; bx += size) {
      uint8_t colour[3];
      std::memcpy(colour, source.RowFromTop(by) + bx * 3, 3);
      const int ex = std::min(display.width, bx + size), ey = std::min(display.height, by + size);
      for (int y = by; y < ey; ++y) {
        uint8_t* p = display.RowFromTop(y) + bx * 3;
        for (int x = bx; x < ex; ++x, p += 3) std::memcpy(p, colour, 3);
      }
    }
  }
}

// Types 16 and 17: the old screen breaks into growing blocks, or the new
// scene forms from shrinking ones.
void Mosaic(Frame& f, bool out, int64_t duration) {
  Engine& e = f.engine;
  e.graphics.work = e.display;
  PixelView old(e.graphics.work);
  int64_t frame = duration / 10;
  if (f.w < 640) frame *= 2;
  const int largest = f.w < 640 ? 80 : 160;
  if (out) {
    for (int size = 5; size <= largest; size *= 2) {
      f.clock.Begin();
      Pixelate(f.display, old, size);
      f.Show();
      f.clock.SleepRest(frame);
    }
  } else {
    for (int size = largest; size >= 5; size /= 2) {
      f.clock.Begin();
      Pixelate(f.display, f.scene, size);
      f.Show();
      f.clock.SleepRest(frame);
    }
  }
}

using EffectEntry = void (*)(void* window_dc, void* display_dc, void* scene_dc,
                             uint8_t* display_pixels, uint8_t* scene_pixels, int32_t* rect,
                             const char* parameters, int32_t duration);

// Type 99: an effect module animates the change itself.
void ModuleEffect(Engine& engine, int32_t duration, const std::string& module_text,
                  const PixelRect* rect) {
  const int w = engine.screen_width, h = engine.screen_height;
  PixelRect r = ClipRect(rect ? *rect : PixelRect{0, 0, w - 1, h - 1}, w, h);
  const size_t slash = module_text.find('/');
  const std::string module = module_text.substr(0, slash);
  const std::string parameters =
      slash == std::string::npos ? std::string() : module_text.substr(slash);
  auto entry = reinterpret_cast<EffectEntry>(engine.plugin_modules.Find(module, "Effect"));
  if (!entry) ReportError(engine, "エフェクトに指定したDLLが不正です", "エラー");
  int32_t area[4] = {r.left, r.top, r.right, r.bottom};
  entry(nullptr, nullptr, nullptr, engine.display.pixels.data(),
        engine.graphics.scene.pixels.data(), area, parameters.c_str(), duration);
  CopyRect(PixelView(engine.display), PixelView(engine.graphics.scene), r);
  ShowOnWindow(engine, engine.display);
  engine.graphics.dirty.Clear();
  FrameClock(engine).SleepFor(engine.graphics.effects.blank_ms);
}

}  // namespace

void CrossFadeBytes(const MulTable& mul, PixelView out, PixelView old, PixelView fresh, PixelRect r,
                    int a, int phase, const RowBlenders& rows) {
  r = ClipRect(r, std::min({out.width, old.width, fresh.width}),
               std::min({out.height, old.height, fresh.height}));
  if (r.empty()) return;
  a = std::clamp(a, 0, 255);
  const int bytes = (r.right - r.left + 1) * 3;
  // In memory order (bottom row first), fetching the next row meanwhile.
  for (int y = r.bottom; y >= r.top; --y) {
    if (y > r.top) {
      PrefetchBytes(old.RowFromTop(y - 1) + r.left * 3, bytes);
      PrefetchBytes(fresh.RowFromTop(y - 1) + r.left * 3, bytes);
      PrefetchBytes(out.RowFromTop(y - 1) + r.left * 3, bytes);
    }
    rows.cross_fade(out.RowFromTop(y) + r.left * 3, old.RowFromTop(y) + r.left * 3,
                    fresh.RowFromTop(y) + r.left * 3, bytes, a, phase & 1);
  }
}

void RunTransition(Engine& engine, int32_t type, int32_t duration, const std::string& mask,
                   const PixelRect* rect) {
  Graphics& g = engine.graphics;
  const EffectSettings& fx = g.effects;
  if (type == 0) return;
  if (type == -1) ReportError(engine, "未定義のエフェクトを使いました", "エラー");
  TransitionMark mark(g);
  // A skip key pressed before the transition began counts, even when no
  // wait has taken its event yet.
  if (type != 1) PumpAll(engine);
  const bool skipping = Skipping(engine);
  if (type == 99 && !(fx.speed_mode == 2 || (fx.cut && skipping))) {
    ModuleEffect(engine, duration, mask, rect);
    return;
  }
  const int w = engine.screen_width, h = engine.screen_height;
  PixelRect r = ClipRect(rect ? *rect : PixelRect{0, 0, w - 1, h - 1}, w, h);
  g.dirty.Clear();
  int64_t d = duration;
  if (fx.speed_mode == 1) d /= 2;
  if (fx.speed_mode == 2) type = 1;
  if (skipping) {
    if (fx.cut)
      type = 1;
    else
      d /= 8;
  }
  if ((type < 1 || type > 18) && type != 90)
    ReportError(engine, "不正なエフェクト番号です。EFFECT命令をチェックしてください。", "エラー");

  Frame f{engine, PixelView(engine.display), PixelView(g.scene), r, w, h, FrameClock(engine)};
  switch (type) {
    case 2:
    case 3:
      Blinds(f, true, type == 3, d);
      break;
    case 4:
    case 5:
      Blinds(f, false, type == 5, d);
      break;
    case 6:
    case 7:
      Sweep(f, true, type == 7, d);
      break;
    case 8:
    case 9:
      Sweep(f, false, type == 9, d);
      break;
    case 10:
      CrossFade(f, d);
      break;
    case 11:
    case 12:
    case 13:
    case 14:
      Scroll(f, type, d);
      break;
    case 15:
      MaskWipe(f, d, mask);
      break;
    case 16:
      Mosaic(f, true, d);
      f.clock.SleepFor(fx.blank_ms);
      DirtyWholeScreen(engine);
      return;
    case 17:
      Mosaic(f, false, d);
      break;
    case 90: {
      g.work = engine.display;
      for (int i = 0; i < 10; ++i) {
        f.clock.Begin();
        f.Show();
        f.clock.SleepRest(d / 10);
      }
      f.clock.SleepFor(fx.blank_ms);
      DirtyWholeScreen(engine);
      return;
    }
    case 18:
      MaskFade(f, d, mask);
      break;
    default:
      break;
  }
  if (!r.empty()) CopyRect(f.display, f.scene, r);
  f.Show();
  if (type != 1) f.clock.SleepFor(fx.blank_ms);
}

void ReadEffectArgument(Engine& engine) {
  Graphics& g = engine.graphics;
  const int32_t first = ReadNumber(engine);
  SkipBlanks(engine);
  int32_t type, duration;
  std::string mask;
  if (engine.script.Cur() != ',') {
    if (first == 0) return;
    // A slot number past the table is as undefined as an empty slot.
    const bool in_table = first >= 0 && first < EffectSettings::kSlotCount;
    const EffectSlot& slot = g.effects.slots[in_table ? first : 0];
    type = in_table ? slot.type : -1;
    duration = slot.duration;
    mask = slot.mask;
  } else {
    ExpectComma(engine);
    type = first;
    duration = ReadNumber(engine);
    SkipBlanks(engine);
    if (engine.script.Cur() == ',') {
      ExpectComma(engine);
      mask = ReadString(engine);
    }
  }
  const PixelRect dirty = g.dirty.Rect();
  if (type != 0) ComposeScene(engine, &dirty);
  RunTransition(engine, type, duration, mask, &dirty);
}

void ShowDirtyNow(Engine& engine) {
  const PixelRect dirty = engine.graphics.dirty.Rect();
  ComposeScene(engine, &dirty);
  RunTransition(engine, 1, 0, {}, &dirty);
}

}  // namespace orivane
