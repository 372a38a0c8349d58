// The application shell's record: window mode, the menu bar and its switches,
// the player's menu settings, the commands posted to the window, the
// heartbeat and the process-wide paths. One per Engine.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/menu.h"

namespace orivane {

struct Engine;

// Menu command identifiers of the window.
namespace menu_id {
inline constexpr int32_t kEnd = 40001;
inline constexpr int32_t kFullScreen = 40002;
inline constexpr int32_t kWindow = 40003;
inline constexpr int32_t kDefaultFont = 40004;
inline constexpr int32_t kVersion = 40005;
inline constexpr int32_t kSkip = 40006;
inline constexpr int32_t kClickPage = 40007;
inline constexpr int32_t kClickDefault = 40008;
inline constexpr int32_t kTextSlow = 40014;
inline constexpr int32_t kTextNormal = 40015;
inline constexpr int32_t kTextFast = 40016;
inline constexpr int32_t kSoundOn = 40017;
inline constexpr int32_t kSoundOff = 40018;
inline constexpr int32_t kAuto = 40019;
inline constexpr int32_t kCdDrive = 40020;
inline constexpr int32_t kCdOn = 40021;
inline constexpr int32_t kCdOff = 40022;
inline constexpr int32_t kVolume = 40024;
inline constexpr int32_t kReadSkipOn = 40025;
inline constexpr int32_t kReadSkipOff = 40026;
inline constexpr int32_t kReset = 40028;
inline constexpr int32_t kToggleScreen = 40029;  // Alt+Enter
inline constexpr int32_t kTextSpeedDialog = 40030;
inline constexpr int32_t kAutoSpeedDialog = 40031;
}  // namespace menu_id

// The font menu holds at most this many entries; a font item's identifier is
// its index.
inline constexpr int kFontMenuCapacity = 180;

// The settings the player changes through the menu bar. The subsystems that
// act on them (text speed, sound, CD audio, auto mode) read them here.
struct PlayerSettings {
  bool page_mode = false;  // a click is needed only at page ends
  int text_speed = 1;      // 0 slow, 1 normal, 2 fast
  bool sound_on = true;    // waves and sound effects are started
  bool cd_on = true;       // CD audio plays
  bool auto_mode = false;  // text advances by itself
};

// The 30 ms heartbeat: subsystems add hooks (restarting loops, releasing
// finished sound channels). Waits wake for it only while it runs and has hooks.
struct Heartbeat {
  static constexpr uint32_t kPeriodMs = 30;
  std::vector<void (*)(Engine&)> hooks;
  bool running = false;
  uint32_t next_tick = 0;
};

// What the window procedure tells the subsystems above it. Installed when
// they attach; a hook left empty is not called.
struct ShellHooks {
  // The player's left click (a voice of the shorthand stops at it).
  void (*left_click)(Engine&) = nullptr;
  // The menu switched CD audio on or off; `was_on` is the switch before.
  void (*cd_audio_switched)(Engine&, bool was_on) = nullptr;
};

// The edit field of `textfield` while it is open (text_field.h).
struct TextFieldState {
  bool open = false;
  bool escape_ends = false;  // Escape was pressed on an empty field: its release ends it
};

struct ShellState {
  // Switches.
  bool full_screen = false;
  bool menu_deleted = false;      // `deletemenu`: the bar is never shown again
  bool menu_custom = false;       // `resetmenu`: the bar is built by the script
  bool debug_mode = false;        // "probe.527": the version item edits variables
  bool f10_consumed = false;      // key events of F10 are swallowed
  bool skip_key_needs_alt = false;  // `ctrlalt`: the skip key is Ctrl+Alt
  bool wheel_input = false;       // `usewheel`
  bool esc_space_input = false;   // `useescspc`
  bool text_speed_item = false;   // the script's menu offers a text-speed item
  bool no_music_slider = false;   // `delbgmvol`: the volume dialog has no music slider
  bool cd_fade_off = false;       // config.txt "cdfadeoff"
  bool enter_taken_by_accelerator = false;  // the Enter of Alt+Enter types nothing
  int32_t checked_font_item = menu_id::kDefaultFont;

  Menu bar;  // the menu bar as the window shows it
  // Face names of the font items by identifier (UTF-8); empty: no item.
  std::array<std::string, kFontMenuCapacity> font_table;
  std::string current_font;  // Shift-JIS face name used by the text window

  std::string caption;       // Shift-JIS
  std::string version_text;  // Shift-JIS, replaceable by `versionstr`
  std::string credit_text;

  PlayerSettings settings;
  TextFieldState text_field;

  std::deque<int32_t> posted_commands;  // menu commands posted to the window
  Heartbeat heartbeat;
  ShellHooks hooks;

};

}  // namespace orivane
