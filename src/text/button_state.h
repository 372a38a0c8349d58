// ButtonState: the button table that `btnwait` waits on, the `btndef`
// picture, and the options of a button wait. Buttons are rectangles of the
// screen: picture buttons (highlighted by a part of the `btndef` picture),
// sprite buttons (cell 1 while the pointer is over them), extended buttons
// (sprite buttons that also run sprite state strings) and choice-text
// buttons (a `csel` choice drawn as text).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "graphics/image_surface.h"

namespace orivane {

inline constexpr size_t kButtonCapacity = 512;
// `delbtn` moves a button off the screen to this left edge.
inline constexpr int32_t kButtonOffScreen = 999;

// srcY of sprite buttons is -1 - sprite, of extended buttons -1000 - sprite;
// srcX of a choice-text button is -1 - choice.
struct Button {
  int32_t number = 0;  // what `btnwait` returns when it is clicked
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t src_x = 0;  // picture button: the highlighted image in the `btndef` picture
  int32_t src_y = 0;
  std::string commands;  // extended button: run while the pointer is over it

  int32_t right() const { return left + width - 1; }
  int32_t bottom() const { return top + height - 1; }
  bool IsSpriteButton() const { return src_y <= -1 && src_y > -1000; }
  bool IsExtendedButton() const { return src_y <= -1000; }
  bool IsChoiceButton() const { return src_x < 0; }
  int32_t Sprite() const { return IsExtendedButton() ? -1000 - src_y : -1 - src_y; }
  bool Contains(int32_t x, int32_t y) const {
    return x >= left && y >= top && int64_t{x} <= int64_t{left} + width - 1 &&
           int64_t{y} <= int64_t{top} + height - 1;
  }
};

// What a button wait reports besides clicks; `btndef` resets all of it.
struct ButtonWaitOptions {
  int32_t mouse_over_from = -1;  // `getmouseover`: -1 = off
  int32_t mouse_over_to = -1;
  bool page_keys = false;      // `getpage`: PageUp -12, PageDown -13
  bool page_up_key = false;    // `getpageup`
  bool zxc_keys = false;       // `getzxc`: -51 -52 -53
  bool cursor_keys = false;    // `getcursor`: -40 … -43
  bool function_keys = false;  // `getfunction`: -21 … -32
  bool tab_key = false;        // `gettab`: -20
  bool enter_key = false;      // `getenter`: -19
  bool insert_key = false;     // `getinsert`: -50
  bool skip_changes = false;   // `getskipoff`: -60 skip, -61 auto mode
  bool escape_moves_pointer = false;  // `escoutcursor`
  int32_t escape_x = 0;
  int32_t escape_y = 0;
  bool space_clicks = false;   // `spclclk`
  bool press_counts = false;   // `btndown`
  int32_t area_y = 0;          // `btnarea`: -4 above y (> 0) or below -y (< 0); 0 = off
  bool opaque_only = false;    // `transbtn`
  int32_t mask_below = -1;     // `maskbtn`: only numbers above respond
  int32_t timeout_ms = -1;     // `btntime`, `btntimer`: -1 = none
  bool timeout_waits_voice = false;  // `btntime2`
};

// A text button: a run of story text between "<" and ">", hit on the cells
// it covers (a button that wraps covers the rest of its first line and the
// start of the next).
struct TextButton {
  int32_t number = 0;
  int32_t start_x = 0;  // the pen where its text begins
  int32_t start_y = 0;
  int32_t end_x = 0;  // the pen at its last character
  int32_t end_y = 0;
  std::string text;      // Shift-JIS, at most kMaxTextButtonBytes
  std::string commands;  // `textexbtn`: run while the pointer is over it
};
inline constexpr size_t kMaxTextButtonBytes = 256;

struct ButtonState {
  std::vector<Button> buttons;  // in the order added; the last one added wins
  ImageSurface picture;         // `btndef`
  std::string default_commands;  // `exbtn_d`
  ButtonWaitOptions options;
  int32_t hovered = -1;         // index of the highlighted button during a wait
  uint32_t last_wait_ms = 0;    // `getbtntimer`
  bool keep_window = false;     // `btnnowindowerase`
  bool ember_mode = false;      // `mode_ember`: no pointer move is posted at a wait

  std::vector<TextButton> text_buttons;
  int32_t hovered_text = -1;         // index of the highlighted text button during a wait
  int32_t text_button_counter = -1;  // the next automatic number; -1: from `textbtnstart`
  int32_t text_button_start = 1;     // `textbtnstart`
  uint32_t link_colour = 0xFFFF00;   // `linkcolor`: normal and under the pointer
  uint32_t link_active_colour = 0x88FFFF;

  // `btndef` and the game reset: no buttons, no picture, every wait option
  // back to its default (the *define switches stay).
  void ClearTable() {
    buttons.clear();
    picture.Reset();
    options = ButtonWaitOptions{};
    default_commands.clear();
    hovered = -1;
  }
};

}  // namespace orivane
