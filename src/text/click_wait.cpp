#include "text/click_wait.h"

#include <optional>

#include "engine.h"
#include "graphics/animation.h"
#include "graphics/effects.h"
#include "graphics/image_tag.h"
#include "graphics/sprite_draw.h"
#include "platform/platform.h"
#include "player_waits.h"
#include "sound/effect_channels.h"
#include "sound/players.h"
#include "text/back_log_viewer.h"
#include "text/right_click.h"

namespace orivane {
namespace {

constexpr const char* kDefaultCursorTags[2] = {":l/3,160,2;cursor0.bmp", ":l/3,160,2;cursor1.bmp"};

// Our own cursor for a game that has no cursor picture: a small downward
// triangle in the text's white with a dark rim, as an alpha picture (the
// colours, then the mask: 0 opaque, 255 clear).
void MakeFallbackCursor(ImageSurface& s) {
  constexpr int kSide = 12;
  s.Reset();
  if (!s.CreateBlank(kSide * 2, kSide, 24)) return;
  for (int y = 0; y < kSide; ++y) {
    uint8_t* row = s.RowFromTop(y);
    for (int x = 0; x < kSide; ++x) {
      uint8_t* colour = row + x * 3;
      uint8_t* mask = row + (kSide + x) * 3;
      // Row y spans the columns within y/2 of both edges, down to a point.
      const int inset = y / 2;
      const bool inside = y < kSide - 1 && x >= inset && x < kSide - inset;
      const bool rim = inside && (y == 0 || x == inset || x == kSide - inset - 1 || y == kSide - 2);
      const uint8_t c = rim ? 0x30 : 0xFF;
      colour[0] = colour[1] = colour[2] = c;
      mask[0] = mask[1] = mask[2] = inside ? 0 : 255;
    }
  }
  s.mode = kModeAlpha;
  s.cells = 1;
  s.cell = 0;
  s.interval = kNoAnimation;
  s.tag = "orivane:cursor";
}

// Loads a cursor picture; a default picture the game does not have gives way
// to ours without an error.
void LoadCursorPicture(Engine& engine, WaitCursor& cursor, const std::string& tag, bool quiet) {
  // `quiet`: the default pictures, which a game may leave out.
  cursor.picture.Reset();
  if (quiet)
    LoadOptionalImageTag(engine, cursor.picture, tag);
  else
    LoadImageTag(engine, cursor.picture, tag);
  if (!cursor.picture.Drawable()) MakeFallbackCursor(cursor.picture);
}

PixelRect CursorRect(Engine& engine) {
  TextOutputState& out = engine.text_out;
  const ImageSurface& s = out.cursors[out.cursor_index].picture;
  return ClippedRect(out.cursor_x, out.cursor_y, int64_t{out.cursor_x} + s.CellWidth() - 1,
                     int64_t{out.cursor_y} + s.height - 1, engine.screen_width, engine.screen_height);
}

void DrawCursorHook(Engine& engine, PixelRect area) {
  TextOutputState& out = engine.text_out;
  // The cursor belongs to the window: off the screen while the window is.
  if (!out.cursor_showing || !engine.text.shown) return;
  ImageSurface& s = out.cursors[out.cursor_index].picture;
  if (!s.Drawable()) return;
  DrawSprite(engine.graphics.mul, s, PixelView(engine.graphics.scene), &area, out.cursor_x, out.cursor_y);
}

void ShowCursor(Engine& engine, TextWaitKind kind, PenPosition pen) {
  TextOutputState& out = engine.text_out;
  out.cursor_index = kind == TextWaitKind::kPage ? 1 : 0;
  WaitCursor& c = out.cursors[out.cursor_index];
  out.cursor_x = c.absolute ? c.x : pen.x + c.x;
  out.cursor_y = c.absolute ? c.y : pen.y + c.y;
  c.picture.cell = 0;
  c.picture.step = 1;
  c.picture.anim_start = engine.platform.Ticks();
  out.cursor_showing = true;
  DirtyWaitCursor(engine);
  ShowDirtyNow(engine);
}

void HideCursor(Engine& engine) {
  TextOutputState& out = engine.text_out;
  if (!out.cursor_showing) return;
  DirtyWaitCursor(engine);
  out.cursor_showing = false;
  ShowDirtyNow(engine);
}

// When auto mode ends the wait by itself: its delay from the wait's start,
// a fixed time or a time per character of the text just printed.
uint32_t AutoModeDelay(const TextOutputState& out) {
  if (out.auto_mode_ms >= 0) return static_cast<uint32_t>(out.auto_mode_ms);
  return static_cast<uint32_t>(-int64_t{out.auto_mode_ms} * out.text_length);
}

std::optional<uint32_t> Sooner(std::optional<uint32_t> a, std::optional<uint32_t> b) {
  if (!a) return b;
  if (!b) return a;
  return static_cast<int32_t>(*a - *b) < 0 ? a : b;
}

}  // namespace

void DirtyWaitCursor(Engine& engine) {
  const PixelRect r = CursorRect(engine);
  if (!r.empty())
    engine.graphics.dirty.Add(r.left, r.top, r.right, r.bottom, engine.screen_width, engine.screen_height);
}

void InstallWaitCursorHook(Engine& engine) { engine.graphics.hooks.draw_wait_cursor = DrawCursorHook; }

void ResetWaitCursors(Engine& engine) {
  for (int i = 0; i < 2; ++i) {
    WaitCursor& c = engine.text_out.cursors[i];
    c.x = c.y = 0;
    c.absolute = false;
    LoadCursorPicture(engine, c, kDefaultCursorTags[i], true);
  }
}

void RestoreWaitCursor(Engine& engine, int index, const std::string& tag, int32_t x, int32_t y, bool absolute) {
  WaitCursor& c = engine.text_out.cursors[index];
  LoadCursorPicture(engine, c, tag.empty() ? kDefaultCursorTags[index] : tag, true);
  c.x = x;
  c.y = y;
  c.absolute = absolute;
}

void SetWaitCursor(Engine& engine, int index, const std::string& tag, int32_t x, int32_t y,
                   bool absolute) {
  WaitCursor& c = engine.text_out.cursors[index];
  LoadCursorPicture(engine, c, tag, false);
  c.x = x;
  c.y = y;
  c.absolute = absolute;
}

TextWaitEnd RunTextWait(Engine& engine, TextWaitKind kind, PenPosition pen) {
  TextOutputState& out = engine.text_out;
  InputState& in = engine.input;
  engine.platform.DiscardPendingClicks();
  in.left_clicked = in.right_clicked = false;
  engine.interp.interrupted_wait = InterruptedWait{};
  const bool auto_click = out.auto_click_ms > 0;
  if (!auto_click && (engine.read_flags.skip_mode || SkipKeyHeld(engine))) return TextWaitEnd::kGoOn;

  out.wait_state = kind == TextWaitKind::kPage ? 2 : 1;
  out.last_wait = kind;
  ShowCursor(engine, kind, pen);
  const uint32_t start = engine.platform.Ticks();
  LongWaitWrite persistent_write(start);
  const std::optional<uint32_t> auto_click_at =
      auto_click ? std::optional<uint32_t>(start + static_cast<uint32_t>(out.auto_click_ms)) : std::nullopt;
  TextWaitEnd end = TextWaitEnd::kGoOn;
  bool escape_down = false;  // Escape was pressed during this wait
  bool escape = false;       // ... and released: it acts like a right click
  for (;;) {
    if (engine.interp.reset_request) {
      end = TextWaitEnd::kAbandon;
      break;
    }
    const uint32_t now = engine.platform.Ticks();
    std::optional<uint32_t> deadline = Sooner(auto_click_at, persistent_write.Poll(engine, now));
    if (auto_click) {
      if (TimeReached(now, *auto_click_at)) break;
    } else {
      if (in.left_clicked || engine.read_flags.skip_mode || SkipKeyHeld(engine)) break;
    }
    if (engine.shell.settings.auto_mode) {
      // Auto mode goes on once its delay has passed and the voice has ended.
      const uint32_t auto_at = start + AutoModeDelay(out);
      if (TimeReached(now, auto_at)) {
        if (!VoicePlaying(engine)) break;
        deadline = Sooner(deadline, now + kVoicePollMs);
      } else {
        deadline = Sooner(deadline, auto_at);
      }
    }
    if (in.right_clicked || escape) {
      in.right_clicked = escape = false;
      if (RunRightClickAction(engine) != RightClickEnd::kWaitGoesOn) {
        end = TextWaitEnd::kAbandon;
        break;
      }
    }

    ImageSurface& picture = out.cursors[out.cursor_index].picture;
    if (AdvanceCell(picture, now)) {
      DirtyWaitCursor(engine);
      ShowDirtyNow(engine);
    }
    deadline = Sooner(deadline, NextCellTime(picture, now));

    PlayerEvent e;
    if (PumpOne(engine, &e)) {
      if (e.kind == PlayerEvent::Kind::kKeyDown && e.key == kKeyEscape) escape_down = true;
      if (e.kind == PlayerEvent::Kind::kKeyUp && e.key == kKeyEscape && escape_down) {
        escape_down = false;
        escape = true;
      }
      if (e.kind == PlayerEvent::Kind::kWheel && e.value > 0) OpenBackLog(engine);
      continue;
    }
    // A wait that ends by itself (auto-click, auto mode) runs to its end
    // when no player is there; otherwise a scripted player may click now.
    const bool ends_by_itself = auto_click || engine.shell.settings.auto_mode;
    if (!ends_by_itself) {
      const IdleVerdict verdict = engine.platform.PlayerIdle(
          kind == TextWaitKind::kPage ? PlayerWait::kPage : PlayerWait::kClick);
      if (verdict.what == IdleVerdict::What::kClickNow) break;
      if (verdict.what == IdleVerdict::What::kEndRun)
        EndRunForMissingPlayer(engine, verdict.note, verdict.status);
    }
    SleepUntil(engine, deadline);
  }
  in.left_clicked = false;
  if (end == TextWaitEnd::kGoOn) PlayInterfaceSound(engine, kind == TextWaitKind::kPage ? out.page_voice : out.click_voice);
  HideCursor(engine);
  out.wait_state = 0;
  return end;
}

}  // namespace orivane
