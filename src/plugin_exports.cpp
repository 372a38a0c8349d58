// The functions the executable exports to plug-ins (include/orivane/plugin.h).
// Each finds the engine through plugin_host.h and does nothing without one.
// Nothing a plug-in passes is trusted: null pointers, sprite numbers outside
// the table and surface records of impossible sizes are refused. An end of
// the run met inside one (an error report, a confirmed quit) is kept for
// CallPlugin to raise once the plug-in has returned (graphics/plugin_calls.h),
// so no exception ever unwinds through a plug-in's frames; until then every
// export does nothing.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <optional>
#include <string>

#include "archive/archive_set.h"
#include "engine.h"
#include "graphics/direct_draw.h"
#include "graphics/image_tag.h"
#include "orivane/plugin.h"
#include "platform/platform.h"
#include "plugin_host.h"
#include "util/sjis.h"

namespace orivane {
namespace {

// Runs `serve` on the serving engine; `none` without one, after an end of
// the run, or when `serve` meets one (which is then kept).
template <class R, class Serve>
R Served(R none, Serve&& serve) {
  Engine* engine = PluginHostEngine();
  if (!engine) return none;
  PluginCallState& calls = engine->graphics.plugins.calls;
  if (calls.pending) return none;
  try {
    return serve(*engine);
  } catch (...) {
    calls.pending = std::current_exception();
    return none;
  }
}

template <class Serve>
void ServedVoid(Serve&& serve) {
  Served(0, [&](Engine& engine) {
    serve(engine);
    return 0;
  });
}

SpriteSlot* SpriteOf(Engine& engine, int n) {
  if (n < 0 || n >= kSpriteCount) return nullptr;
  return &engine.graphics.sprites[static_cast<size_t>(n)];
}

OrvnSurface* Describe(OrvnSurface& record, DisplaySurface& surface) {
  record = OrvnSurface{surface.width, surface.height, surface.stride, surface.pixels.data()};
  return &record;
}

// Where a blit goes. The engine's own records stand for its surfaces, whatever
// a plug-in wrote into them since; any other record must describe a sane picture.
std::optional<PixelView> TargetOf(Engine& engine, OrvnSurface* dest) {
  PluginState& st = engine.graphics.plugins;
  if (dest == &st.display_record) return PixelView(engine.display);
  if (dest == &st.scene_record) return PixelView(engine.graphics.scene);
  if (!dest || !dest->pixels) return std::nullopt;
  const int64_t w = dest->width, h = dest->height, stride = dest->stride;
  if (w < 1 || h < 1 || w > kMaxPictureSide || h > kMaxPictureSide) return std::nullopt;
  if (stride < w * 3 || static_cast<uint64_t>(stride) * static_cast<uint64_t>(h) > kMaxPictureBytes)
    return std::nullopt;
  return PixelView(dest->pixels, dest->width, dest->height, dest->stride);
}

// The whole picture (every cell) copied to (0, 0) of `dst`, clipped; 24-bit
// pictures and 8-bit ones with 256 colours. False when nothing was copied.
bool CopyWholePicture(const ImageSurface& src, PixelView dst) {
  if (!src.Drawable() || dst.empty()) return false;
  const int w = std::min(src.width, dst.width), h = std::min(src.height, dst.height);
  if (w <= 0 || h <= 0) return false;
  for (int y = 0; y < h; ++y) {
    const uint8_t* in = src.RowFromTop(y);
    uint8_t* out = dst.RowFromTop(y);
    if (src.bit_count == 24) {
      std::memcpy(out, in, static_cast<size_t>(w) * 3);
      continue;
    }
    for (int x = 0; x < w; ++x) std::memcpy(out + x * 3, src.palette.data() + size_t{in[x]} * 4, 3);
  }
  return true;
}

// Copies `text` with its NUL into a buffer of `size` bytes; false when it does not fit.
bool CopyOut(const std::string& text, char* out, size_t size) {
  if (!out || text.size() + 1 > size) return false;
  std::memcpy(out, text.c_str(), text.size() + 1);
  return true;
}

}  // namespace
}  // namespace orivane

using namespace orivane;

#define ORVN_EXPORT extern "C" __attribute__((visibility("default")))

ORVN_EXPORT OrvnWindow OrvnGetWindow(void) {
  return Served<OrvnWindow>(nullptr, [](Engine& e) { return PluginWindowToken(e); });
}

ORVN_EXPORT int OrvnGetWindowSize(int* width, int* height) {
  return Served(0, [&](Engine& e) {
    if (width) *width = e.screen_width;
    if (height) *height = e.screen_height;
    return e.screen_height;
  });
}

ORVN_EXPORT OrvnSurface* OrvnGetDestDC(void) {
  return Served<OrvnSurface*>(
      nullptr, [](Engine& e) { return Describe(e.graphics.plugins.display_record, e.display); });
}

ORVN_EXPORT OrvnSurface* OrvnGetSrcDC(void) {
  return Served<OrvnSurface*>(nullptr, [](Engine& e) {
    return Describe(e.graphics.plugins.scene_record, e.graphics.scene);
  });
}

ORVN_EXPORT void OrvnRefreshWindow(void) {
  ServedVoid([](Engine& e) { ShowDisplay(e); });
}

ORVN_EXPORT int OrvnDoEvents(void) {
  Engine* engine = PluginHostEngine();
  if (!engine) return 0;
  PluginCallState& calls = engine->graphics.plugins.calls;
  if (!calls.pending) {
    try {
      PumpUntil(*engine, engine->platform.Ticks() + 2);
    } catch (...) {
      calls.pending = std::current_exception();
    }
  }
  // A confirmed quit, like every other end of the run, is pending now.
  return calls.pending ? 1 : 0;
}

ORVN_EXPORT void OrvnGetFontType(char* name, int* index) {
  ServedVoid([&](Engine& e) {
    const std::string& face = e.text.font_face;
    if (name) {
      const size_t n = std::min(face.size(), size_t{ORVN_FONT_NAME_SIZE - 1});
      std::memcpy(name, face.data(), n);
      name[n] = '\0';
    }
    if (!index) return;
    const std::string utf8 = SjisToUtf8(face);
    const auto& table = e.shell.font_table;
    const auto at = std::find(table.begin(), table.end(), utf8);
    if (!utf8.empty() && at != table.end()) *index = static_cast<int>(at - table.begin());
  });
}

ORVN_EXPORT int GetSpriteData(int sprite, int* cellWidth, int* height, int* cells) {
  return Served(0, [&](Engine& e) {
    SpriteSlot* slot = SpriteOf(e, sprite);
    if (!slot) return 0;
    const ImageSurface& s = slot->surface;
    if (cellWidth) *cellWidth = s.CellWidth();
    if (height) *height = s.height;
    if (cells) *cells = s.cells;
    return s.cells;
  });
}

ORVN_EXPORT int BltSpriteTo(OrvnSurface* dest, int sprite) {
  return Served(0, [&](Engine& e) {
    SpriteSlot* slot = SpriteOf(e, sprite);
    const std::optional<PixelView> target = TargetOf(e, dest);
    return slot && target && CopyWholePicture(slot->surface, *target) ? 1 : 0;
  });
}

ORVN_EXPORT int BltBGTo(OrvnSurface* dest) {
  return Served(0, [&](Engine& e) {
    const std::optional<PixelView> target = TargetOf(e, dest);
    return target && CopyWholePicture(e.graphics.background, *target) ? 1 : 0;
  });
}

ORVN_EXPORT void RenderSprite(int sprite, int cell, int x, int y, int opacity) {
  ServedVoid([&](Engine& e) {
    if (SpriteSlot* slot = SpriteOf(e, sprite))
      RenderSpriteIntoScene(e, *slot, cell, x, y, opacity);
  });
}

ORVN_EXPORT void DrawSP(int sprite, int cell, int opacity, int x, int y) {
  ServedVoid([&](Engine& e) {
    if (SpriteSlot* slot = SpriteOf(e, sprite)) DrawSpriteOnDisplay(e, *slot, cell, opacity, x, y);
  });
}

ORVN_EXPORT void DrawSP2(int sprite, int cell, int opacity, int x, int y, int scaleX, int scaleY,
                         int angle) {
  ServedVoid([&](Engine& e) {
    if (SpriteSlot* slot = SpriteOf(e, sprite))
      DrawSpriteTransformed(e, *slot, cell, opacity, x, y, scaleX, scaleY, angle);
  });
}

ORVN_EXPORT void DrawBG(void) {
  ServedVoid([](Engine& e) { CopyBackgroundToDisplay(e); });
}

ORVN_EXPORT void DrawBG2(int x, int y, int scaleX, int scaleY, int angle) {
  ServedVoid([&](Engine& e) { DrawBackgroundTransformed(e, x, y, scaleX, scaleY, angle); });
}

ORVN_EXPORT void DrawClear(void) {
  ServedVoid([](Engine& e) { FillDisplay(e, 0); });
}

ORVN_EXPORT void DrawFill(unsigned char red, unsigned char green, unsigned char blue) {
  ServedVoid([&](Engine& e) {
    FillDisplay(e, uint32_t{red} << 16 | uint32_t{green} << 8 | uint32_t{blue});
  });
}

ORVN_EXPORT int ORAGetFile(const char* name, char* archivePath, int* offset, int* length) {
  return Served(0, [&](Engine& e) {
    if (!name || !archivePath || !offset || !length) return 0;
    const std::optional<ArchiveLocation> loc = LocateArchived(e, name);
    if (!loc || loc->offset > INT32_MAX || loc->decoded_size > INT32_MAX) return 0;
    if (!CopyOut(loc->archive_path, archivePath, ORVN_PATH_SIZE)) return 0;
    *offset = static_cast<int>(loc->offset);
    *length = static_cast<int>(loc->decoded_size);
    return 1;
  });
}

ORVN_EXPORT void AllocDIB(OrvnPicture* out, const char* tag) {
  ServedVoid([&](Engine& e) {
    if (!out) return;
    *out = OrvnPicture{};
    if (!tag) return;
    ImageSurface picture;
    LoadImageTag(e, picture, tag);
    if (!picture.loaded || picture.pixels.empty()) return;
    if (picture.bit_count != 24 && !(picture.bit_count == 8 && picture.color_count == 256))
      picture.ConvertTo24();
    if (picture.bit_count != 24 && picture.bit_count != 8) return;
    auto* pixels = static_cast<unsigned char*>(std::malloc(picture.pixels.size()));
    if (!pixels) return;
    std::memcpy(pixels, picture.pixels.data(), picture.pixels.size());
    *out = OrvnPicture{picture.width, picture.height, picture.bit_count == 8 ? 256 : 0, pixels};
  });
}

ORVN_EXPORT void FreeDIB(OrvnPicture* picture) {
  ServedVoid([&](Engine&) {
    if (!picture) return;
    std::free(picture->pixels);
    picture->pixels = nullptr;
  });
}

static_assert(offsetof(OrvnPicture, width) == 0 && offsetof(OrvnPicture, height) == 4 &&
                  offsetof(OrvnPicture, color_count) == 8 &&
                  offsetof(OrvnPicture, pixels) == (sizeof(void*) == 8 ? 16 : 12),
              "the picture record's layout is part of the plug-in interface");
