#include "save/screenshot_commands.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "engine.h"
#include "script/command_table.h"
#include "script/error.h"
#include "script/expression.h"
#include "script/readers.h"
#include "util/bmp_writer.h"
#include "util/game_path.h"

namespace orivane {
namespace {

// A kept copy is a thumbnail; larger sizes are refused rather than allocated.
constexpr int32_t kMaxSide = 4096;

// Each pixel of the copy is the average of the screen pixels its area covers
// (at least one), so a shrunk screen keeps its colours.
void ShrinkInto(const DisplaySurface& from, DisplaySurface& to, int32_t width, int32_t height) {
  to.Resize(width, height);
  for (int32_t y = 0; y < height; ++y) {
    const int64_t y0 = int64_t{y} * from.height / height;
    const int64_t y1 = std::max(y0 + 1, int64_t{y + 1} * from.height / height);
    uint8_t* out = to.RowFromTop(y);
    for (int32_t x = 0; x < width; ++x) {
      const int64_t x0 = int64_t{x} * from.width / width;
      const int64_t x1 = std::max(x0 + 1, int64_t{x + 1} * from.width / width);
      uint64_t sum[3] = {0, 0, 0};
      for (int64_t sy = y0; sy < y1; ++sy) {
        const uint8_t* row = from.RowFromTop(static_cast<int>(sy));
        for (int64_t sx = x0; sx < x1; ++sx)
          for (int c = 0; c < 3; ++c) sum[c] += row[sx * 3 + c];
      }
      const uint64_t count = static_cast<uint64_t>((y1 - y0) * (x1 - x0));
      for (int c = 0; c < 3; ++c) out[x * 3 + c] = static_cast<uint8_t>((sum[c] + count / 2) / count);
    }
  }
}

void CmdGetscreenshot(Engine& engine) {
  const int32_t width = ReadNumber(engine);
  ExpectComma(engine);
  const int32_t height = ReadNumber(engine);
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide)
    ReportError(engine, "getscreenshotの大きさが間違っています。", "エラー");
  ShrinkInto(engine.display, engine.save_menu.kept_screen, width, height);
}

void WriteKeptScreen(Engine& engine, const char* command, bool keep) {
  const std::string name = ReadString(engine);
  DisplaySurface& kept = engine.save_menu.kept_screen;
  if (kept.width == 0) return;
  if (!IsInsideGameDirectory(name))
    ReportError(engine, "%sのファイル名%sはゲームのフォルダの外を指しています。", "エラー", {command, name});
  BmpImage image;
  image.width = kept.width;
  image.height = kept.height;
  image.rows = kept.pixels.data();
  image.stride = kept.stride;
  engine.ret.value = WriteBmpFile(HostPath(name), image) ? 0 : 1;
  if (!keep) kept = DisplaySurface{};
}

void CmdSavescreenshot(Engine& engine) { WriteKeptScreen(engine, "savescreenshot", false); }
void CmdSavescreenshot2(Engine& engine) { WriteKeptScreen(engine, "savescreenshot2", true); }
void CmdDeletescreenshot(Engine& engine) { engine.save_menu.kept_screen = DisplaySurface{}; }

}  // namespace

void RegisterScreenshotCommands(CommandTable& table) {
  table.Register("getscreenshot", CmdGetscreenshot);
  table.Register("savescreenshot", CmdSavescreenshot);
  table.Register("savescreenshot2", CmdSavescreenshot2);
  table.Register("deletescreenshot", CmdDeletescreenshot);
}

}  // namespace orivane
