// TextOutputState: what text output keeps between characters and between
// calls — the wait in progress and its cursor, the switches that make waits
// shorter (skip to the page end, auto-click, auto mode), what a `textgosub`
// routine asks about the wait that called it, what a right click at a wait
// does, and what the plain input waits keep (the `resettimer` base, the
// `clickvoice` sounds). The page itself (cursor, glyphs, colours) is the
// TextWindow's.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "graphics/image_surface.h"

namespace orivane {

struct Engine;

enum class TextWaitKind : int32_t { kClick = 0, kPage = 1 };

// One of the two click-wait cursors: 0 at click waits, 1 at page waits.
struct WaitCursor {
  // The picture (with its own cells and animation from its tag). A game
  // without the picture file gets a small cursor of ours.
  ImageSurface picture;
  // Relative: drawn at the pen plus (x, y); absolute: at (x, y) on the screen.
  int32_t x = 0;
  int32_t y = 0;
  bool absolute = false;
};

// What a right click (or Escape) at a wait does: the right-click mode and
// the routine of mode 2. Set in the *define block; kept until `definereset`.
struct RightClickMode {
  static constexpr int32_t kOff = -2;        // `roff`: nothing
  static constexpr int32_t kBackLog = -1;    // `rlookback`: the back-log
  static constexpr int32_t kSystemMenu = 1;  // `rmenu`, the default: the system menu
  static constexpr int32_t kSubroutine = 2;  // `rgosub`: call `label`
  int32_t mode = kSystemMenu;
  std::string label;
  bool enabled = true;  // `rmode 0` turns the right-click action off entirely
  // Installed by the save subsystem: the system menu of mode 1.
  void (*system_menu)(Engine&) = nullptr;
};

struct TextOutputState {
  // ---- the wait in progress ------------------------------------------------
  int32_t wait_state = 0;  // 0 none, 1 click wait, 2 page wait
  TextWaitKind last_wait = TextWaitKind::kClick;
  std::array<WaitCursor, 2> cursors;
  // The cursor on the screen during a wait: composition draws it last.
  bool cursor_showing = false;
  int32_t cursor_index = 0;
  int32_t cursor_x = 0;
  int32_t cursor_y = 0;

  // ---- what shortens waits ---------------------------------------------------
  bool click_skips_page = false;  // `clickskippage`
  bool skip_to_page = false;      // a click during output skips the page's click waits
  int32_t auto_click_ms = 0;      // `autoclick`: every click wait ends by itself; 0 = off
  // Auto mode's delay: ms ≥ 0 fixed, negative: −ms per character of the text
  // just printed. The range is the speed dialog's (`automode_time2`).
  int32_t auto_mode_ms = 1000;
  int32_t auto_mode_min = 0;
  int32_t auto_mode_max = 0;
  int32_t text_length = 0;  // characters of the current output call

  // ---- the routine called at a wait (`textgosub`) -------------------------------
  bool routine_wait_pending = false;  // `texec` has not yet acted on the wait
  TextWaitKind routine_wait = TextWaitKind::kClick;
  bool routine_wait_at_line_end = false;  // the "@" was the last of its script line

  // ---- the right click at waits ------------------------------------------------
  RightClickMode right_click;

  // ---- the plain input waits ---------------------------------------------------
  uint32_t timer_base = 0;  // `resettimer`: the engine clock `gettimer` counts from
  // `clickvoice`: the sounds for leaving a click wait and a page wait (empty:
  // none). Kept for the sound subsystem, which plays them.
  std::string click_voice;
  std::string page_voice;
};

}  // namespace orivane
