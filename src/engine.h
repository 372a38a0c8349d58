// The Engine: all state of one running game, passed explicitly to every
// subsystem. Nothing lives in globals, so tests can run several engines.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "archive/archive_state.h"
#include "engine_wait.h"
#include "graphics/graphics_state.h"
#include "platform/display_surface.h"
#include "save/persistent_state.h"
#include "save/save_menu_state.h"
#include "save/save_point.h"
#include "save/system_menu_state.h"
#include "script/command_table.h"
#include "script/general_state.h"
#include "script/interpreter_state.h"
#include "script/labels.h"
#include "script/name_log.h"
#include "script/script_buffer.h"
#include "script/variables.h"
#include "shell/input_state.h"
#include "shell/shell_state.h"
#include "sound/movie_state.h"
#include "sound/sound_state.h"
#include "text/back_log.h"
#include "text/button_state.h"
#include "text/glyph_cache.h"
#include "text/read_flags.h"
#include "text/selection_state.h"
#include "text/text_output_state.h"
#include "text/text_window.h"
#include "util/plugin_modules.h"
#include "util/temp_directory.h"

namespace orivane {

class Platform;

// Thrown to end the run: after `end` (0), a reported script error (1), an
// expired --timeout (3) or a stop signal (128 + its number). Caught by
// RunEngine.
struct EngineExit {
  int status;
};

struct Engine {
  explicit Engine(Platform& platform);
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  Platform& platform;
  CommandTable commands;
  WaitState waits;  // the wake list and the shell's pump

  ScriptBuffer script;
  LabelTable labels;
  NameLog label_log;  // lives for the whole process, not cleared by `reset`
  NameLog file_log;
  int32_t screen_width = 640;
  int32_t screen_height = 480;
  int32_t global_border = 200;

  DisplaySurface display;  // sized to the screen at start-up
  Graphics graphics;

  Variables vars;
  InterpreterState interp;
  TextWindow text;
  TextOutputState text_out;  // waits, cursors and switches of text output
  BackLog back_log;          // the pages read, for the back-log viewer
  ButtonState buttons;       // the button table of `btnwait`
  GlyphCache glyphs;  // the text window's and text pictures' glyph cells
  SelectionState selection;  // choices, their colours and sounds
  InputState input;
  ShellState shell;
  ReadFlags read_flags;
  SoundState sound;  // the players, the channels, the volumes
  MovieState movie;  // the movie that plays
  SavePointState save_point;
  SaveMenuState save_menu;  // the save and load menus' slots and texts
  SystemMenuState system_menu;  // the right-click menu, the menus' look, the menu screen
  PersistentState persistent;   // where the persistent files go, and what they keep
  ReturnChannel ret;      // results for `getret`
  GeneralState general;  // random numbers, the CSV file, started programs
  ArchiveState archive;
  PluginModuleTable plugin_modules;  // shared by every kind of plug-in
  TempDirectory temp_dir;  // made at start-up, removed at exit

  // --timeout: 0 = none. The run stops when the engine clock passes it, or
  // when as much wall time has gone by (a loop that never waits).
  uint32_t timeout_ms = 0;
  std::chrono::steady_clock::time_point wall_start = std::chrono::steady_clock::now();
};

// The engine reset used at game start, by `reset` and for reset requests:
// every subsystem resets for a new game, then the script jumps to *start.
void StartGame(Engine& engine);

// The player confirmed the end of the game (the window's close, the system
// menu's 終了): skip and auto mode stop and the run ends with status 0.
[[noreturn]] void QuitGame(Engine& engine);

}  // namespace orivane
