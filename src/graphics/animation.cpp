#include "graphics/animation.h"

#include <algorithm>
#include <cstdlib>

#include "engine.h"
#include "graphics/compose.h"
#include "graphics/effects.h"
#include "graphics/layers.h"
#include "platform/platform.h"

namespace orivane {
namespace {

int32_t CurrentInterval(const ImageSurface& s) {
  if (s.interval != -1) return s.interval;
  if (s.cell >= 0 && s.cell < static_cast<int32_t>(s.intervals.size())) return s.intervals[s.cell];
  return kNoAnimation;
}

bool Animates(const ImageSurface& s) {
  return s.loaded && s.cells > 1 && s.interval != kNoAnimation;
}

}  // namespace

bool AdvanceCell(ImageSurface& s, uint32_t now) {
  if (!Animates(s)) return false;
  const int64_t since = static_cast<int64_t>(static_cast<uint32_t>(now - s.anim_start));
  if (!(CurrentInterval(s) < since)) return false;
  const int32_t old_step = s.step;
  s.cell += s.step;
  if (s.cell >= s.cells || s.cell < 0) {
    switch (s.loop_mode) {
      case 0:
        s.cell = 0;
        break;
      case 1:
        s.cell = s.cells - 1;  // stops on the last cell
        return false;
      case 2:
        s.step = -s.step;
        s.cell -= 2 * old_step;
        if (s.cell < 0 || s.cell >= s.cells) s.cell = 0;  // a picture of too few cells to turn in
        break;
      default:
        break;  // left past the end; drawing keeps it on the last cell
    }
  }
  s.anim_start = now;
  return true;
}

std::optional<uint32_t> NextCellTime(const ImageSurface& s, uint32_t now) {
  if (!Animates(s) || (s.loop_mode == 1 && s.cell >= s.cells - 1)) return std::nullopt;
  // Due once more than the interval has passed since the cell began.
  const int64_t since = static_cast<uint32_t>(now - s.anim_start);
  const int64_t wait = std::max<int64_t>(0, int64_t{CurrentInterval(s)} + 1 - since);
  return now + static_cast<uint32_t>(std::min<int64_t>(wait, 0x7FFFFFFF));
}

std::optional<uint32_t> NextAnimationDeadline(Engine& engine) {
  Graphics& g = engine.graphics;
  if (g.transition_running) return std::nullopt;
  const uint32_t now = engine.platform.Ticks();
  std::optional<uint32_t> soonest;
  auto consider_due = [&](std::optional<uint32_t> due) {
    if (due && (!soonest || static_cast<int32_t>(*due - *soonest) < 0)) soonest = due;
  };
  auto consider = [&](const ImageSurface& s) { consider_due(NextCellTime(s, now)); };
  for (const SpriteSlot& slot : g.sprites) {
    if (slot.tag.empty() || !slot.visible) continue;
    if (slot.tag[0] == '*')
      consider_due(NextLayerTimer(engine, LayerNumber(slot.tag)));
    else
      consider(slot.surface);
  }
  for (const StandingPicture& p : g.humans)
    if (!p.tag.empty()) consider(p.surface);
  return soonest;
}

bool StepAnimation(Engine& engine) {
  Graphics& g = engine.graphics;
  const uint32_t now = engine.platform.Ticks();
  bool changed = false;
  for (SpriteSlot& slot : g.sprites) {
    if (slot.tag.empty() || !slot.visible) continue;
    if (slot.tag[0] == '*') {
      if (RunLayerTimer(engine, LayerNumber(slot.tag), now)) {
        DirtyWholeScreen(engine);
        changed = true;
      }
      continue;
    }
    if (AdvanceCell(slot.surface, now)) {
      DirtySprite(engine, slot);
      changed = true;
    }
  }
  for (StandingPicture& p : g.humans) {
    if (p.tag.empty()) continue;
    if (AdvanceCell(p.surface, now)) {
      DirtyStandingPicture(engine, p);
      changed = true;
    }
  }
  if (changed) ShowDirtyNow(engine);
  return changed;
}

namespace {

void RunAnimationStep(Engine& engine) { StepAnimation(engine); }

}  // namespace

void AttachAnimation(Engine& engine) { AddWakeSource(engine, WakeSource{NextAnimationDeadline, RunAnimationStep}); }

void WaitForSpriteAnimation(Engine& engine, int n) {
  if (n < 0 || n >= kSpriteCount) return;
  SpriteSlot& slot = engine.graphics.sprites[n];
  ImageSurface& s = slot.surface;
  // A sprite that never animates would be waited for without end; it is not waited for.
  if (slot.tag.empty() || !slot.visible || !Animates(s) || s.loop_mode > 2) return;
  // Each tick takes the player's events and lets the animation step run
  // from the wake list.
  auto tick = [&engine] { PumpUntil(engine, engine.platform.Ticks() + 1); };
  if (s.loop_mode != 1)
    while (s.cell == 0) tick();
  if (s.loop_mode == 2) {
    while (s.cell != 0) tick();
  } else {
    while (s.cell != s.cells - 1) tick();
  }
  const int32_t interval = CurrentInterval(s);
  if (s.loop_mode == 1) {
    PumpUntil(engine, engine.platform.Ticks() + static_cast<uint32_t>(interval));
    return;
  }
  const int32_t kept = s.interval;
  s.interval = 99999;
  PumpUntil(engine, engine.platform.Ticks() + static_cast<uint32_t>(interval));
  s.interval = kept;
  s.anim_start = 0;
}

}  // namespace orivane
