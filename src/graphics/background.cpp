#include "graphics/background.h"

#include <utility>

#include "engine.h"
#include "graphics/image_tag.h"
#include "graphics/sprite_draw.h"

namespace orivane {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = static_cast<char>(c | 0x20);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// "#rrggbb" as 0xRRGGBB; false for anything else.
bool ParseHashColour(const std::string& name, uint32_t& rgb) {
  if (name.size() != 7 || name[0] != '#') return false;
  rgb = 0;
  for (size_t i = 1; i < 7; ++i) {
    const int d = HexDigit(name[i]);
    if (d < 0) return false;
    rgb = rgb << 4 | static_cast<uint32_t>(d);
  }
  return true;
}

}  // namespace

void SetBackgroundColour(Engine& engine, uint32_t rgb) {
  Graphics& g = engine.graphics;
  const int w = g.bgalia_on ? g.bgalia_w : engine.screen_width;
  const int h = g.bgalia_on ? g.bgalia_h : engine.screen_height;
  g.background.Reset();
  g.background.CreateBlank(w, h, 24);
  g.background.Fill(PixelRect{0, 0, w - 1, h - 1}, rgb);
}

namespace {

// The background just loaded (or not) made fit for the screen: black when
// nothing loaded, centred on black when its size is not the screen's.
void FitBackground(Engine& engine) {
  Graphics& g = engine.graphics;
  ImageSurface& bg = g.background;
  bg.mode = kModeCopy;
  if (!bg.loaded) {
    SetBackgroundColour(engine, 0);
    return;
  }
  bg.ConvertTo24();
  const int w = g.bgalia_on ? g.bgalia_w : engine.screen_width;
  const int h = g.bgalia_on ? g.bgalia_h : engine.screen_height;
  if (bg.CellWidth() == w && bg.height == h && bg.bit_count == 24 && bg.cells == 1) return;
  // Another size: centred on black.
  ImageSurface scratch;
  if (!scratch.CreateBlank(w, h, 24)) return;
  const int cw = bg.CellWidth();
  const int x0 = w / 2 - cw / 2, y0 = h / 2 - bg.height / 2;
  if (bg.bit_count == 24) {
    ImageSurface cell_only = bg;
    cell_only.mode = kModeCopy;
    cell_only.opacity = -1;
    cell_only.cell = 0;
    DrawSprite(g.mul, cell_only, scratch.View(), nullptr, x0, y0);
  }
  const std::string kept = bg.tag;
  bg.Reset();
  bg.CreateBlank(w, h, 24);
  bg.pixels = std::move(scratch.pixels);
  bg.tag = kept;
}

}  // namespace

void SetBackgroundPicture(Engine& engine, const std::string& tag) {
  LoadImageTag(engine, engine.graphics.background, tag);
  FitBackground(engine);
}

void SetBackgroundFromCopy(Engine& engine, ImageSurface&& copy) {
  ImageSurface& bg = engine.graphics.background;
  bg = std::move(copy);
  bg.tag.clear();
  bg.mode = kModeCopy;
  bg.opacity = -1;
  bg.cell = 0;
  FitBackground(engine);
}

void SetBackgroundByName(Engine& engine, const std::string& name) {
  uint32_t rgb = 0;
  if (name == "black" || name == "white")
    SetBackgroundColour(engine, name == "white" ? 0xFFFFFF : 0);
  else if (ParseHashColour(name, rgb))
    SetBackgroundColour(engine, rgb);
  else
    SetBackgroundPicture(engine, name);
}

}  // namespace orivane
