#include "graphics/panorama.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

#include "engine.h"
#include "graphics/compose.h"
#include "graphics/window_picture.h"
#include "platform/platform.h"
#include "player_waits.h"

namespace orivane {
namespace {

// Until a left click, the skip key or skip mode; a reset request ends it too.
void WaitForPanoramaClick(Engine& engine) {
  InputState& in = engine.input;
  engine.platform.DiscardPendingClicks();
  in.left_clicked = false;
  for (;;) {
    if (engine.interp.reset_request || in.left_clicked || engine.read_flags.skip_mode ||
        SkipKeyHeld(engine))
      break;
    if (PumpOne(engine)) continue;
    const IdleVerdict verdict = engine.platform.PlayerIdle(PlayerWait::kClick);
    if (verdict.what == IdleVerdict::What::kClickNow) break;
    if (verdict.what == IdleVerdict::What::kEndRun)
      EndRunForMissingPlayer(engine, verdict.note, verdict.status);
    SleepUntil(engine, std::nullopt);
  }
  in.left_clicked = in.right_clicked = false;
}

}  // namespace

void PanoramaPicture(const DisplaySurface& scene, DisplaySurface& out) {
  const int w = scene.width, h = scene.height;
  out.Resize(w, h);
  if (w <= 0 || h <= 0) return;
  for (int x = 0; x < w; ++x) {
    const double factor = 1.0 - std::cos((x - w / 2) * 3.14 / w);
    const int column_h = std::min(h, static_cast<int>(h * factor));
    if (column_h <= 0) continue;
    const int top = (h - column_h) / 2;
    for (int y = 0; y < column_h; ++y) {
      const int from_y = static_cast<int>(static_cast<int64_t>(y) * h / column_h);
      std::memcpy(out.RowFromTop(top + y) + x * 3, scene.RowFromTop(from_y) + x * 3, 3);
    }
  }
}

void RunPanoramaTest(Engine& engine) {
  ComposeScene(engine, nullptr);
  DisplaySurface panorama;
  PanoramaPicture(engine.graphics.scene, panorama);
  ShowOnWindow(engine, panorama);
  WaitForPanoramaClick(engine);
  ShowOnWindow(engine, engine.display);
}

}  // namespace orivane
