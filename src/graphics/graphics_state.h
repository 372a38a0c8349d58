// Graphics: the engine's record of everything on screen. The background,
// the 1000 sprites and the three standing pictures, the scene buffer the
// frame is composed into, the dirty rectangle, picture-loading switches and
// the transition settings.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "graphics/dirty_rect.h"
#include "platform/display_surface.h"
#include "graphics/effect_slots.h"
#include "graphics/image_surface.h"
#include "graphics/bars.h"
#include "graphics/mul_table.h"
#include "graphics/numbers.h"
#include "graphics/plugin_state.h"
#include "graphics/screen_filters.h"

namespace orivane {

struct Engine;
struct ParsedTag;
struct TextPictureLayout;

inline constexpr int kSpriteCount = 1000;
inline constexpr int kMaxPicturePlugins = 50;

struct SpriteSlot {
  std::string tag;  // empty = unused
  bool visible = false;
  int32_t x = 0, y = 0;
  ImageSurface surface;
};

enum HumanIndex { kHumanLeft = 0, kHumanCentre = 1, kHumanRight = 2 };

struct StandingPicture {
  std::string tag;
  int32_t x = 0, y = 0;
  ImageSurface surface;
};

// What other subsystems contribute to the pictures: drawing into a composed
// frame (each hook draws into the scene buffer within the rectangle), the
// glyphs of text pictures, and the sounds of state strings. A null hook does
// nothing.
struct ComposeHooks {
  void (*draw_text_window)(Engine&, PixelRect) = nullptr;
  bool (*text_window_showing)(Engine&) = nullptr;
  // Takes the text window off the screen before a sprite command when the
  // text window is showing and `erasetextwindow` asks for it. `for_ld` is set
  // for `ld`, which `erasetextwindow 2` exempts.
  void (*erase_text_window)(Engine&, bool for_ld) = nullptr;
  // The highlighted picture button of a button wait.
  void (*draw_button_highlight)(Engine&, PixelRect) = nullptr;
  // The page buttons of the back-log viewer.
  void (*draw_back_log_buttons)(Engine&, PixelRect) = nullptr;
  // The cursor of a click or page wait, over everything else.
  void (*draw_wait_cursor)(Engine&, PixelRect) = nullptr;
  // The system menu and the save and load menus, which cover the screen.
  void (*draw_menu_screen)(Engine&, PixelRect) = nullptr;
  // Renders the glyphs of a ":s" text picture into its prepared surface.
  void (*render_text_picture)(Engine&, ImageSurface&, const ParsedTag&,
                              const TextPictureLayout&) = nullptr;
  // Plays the sound an extended-button state string names ("S" channel,
  // name). Installed by the sound subsystem.
  void (*play_state_sound)(Engine&, int32_t channel, const std::string& name) = nullptr;
  // The text window's picture, which `sp_rgb_gradation` −1 recolours.
  // Installed by the text subsystem.
  ImageSurface* (*text_window_picture)(Engine&) = nullptr;
  // Drawn over every picture the window is shown: the frame of a movie that
  // plays while the game screen changes around it. Installed by the sound
  // subsystem.
  void (*window_overlay)(Engine&, DisplaySurface&) = nullptr;
  // Whether the overlay has anything to draw now (a movie is showing a
  // frame); without it an installed overlay counts as drawing.
  bool (*window_overlay_shown)(const Engine&) = nullptr;
};

struct Graphics {
  MulTable mul;
  ScreenFilters filters;  // `monocro`, `nega`
  BarTable bars;          // `bar`
  NumberTable numbers;    // `prnum`
  PluginState plugins;    // layer plug-ins, calls into plug-ins

  std::array<SpriteSlot, kSpriteCount> sprites;
  ImageSurface background;
  std::string background_name = "black";
  std::array<StandingPicture, 3> humans;
  std::array<int32_t, 3> human_centre{};
  int32_t human_baseline = 0;
  int32_t human_z = 499;
  std::string human_order;

  DisplaySurface scene;  // SceneBuffer
  DisplaySurface work;   // the transitions' copy of the old screen
  DisplaySurface window_picture;  // what the window shows (window_picture.h)
  DirtyRect dirty;

  bool all_sprites_hidden = false;       // `allsphide`
  bool keep_humans_when_hidden = false;  // `noteraseman`
  bool window_back = false;              // `windowback`
  bool mode_quill = false;               // `mode_quill` compatibility switch
  bool quill_text_sprites = false;       // the `mode_quill` text-sprite state
  bool bgalia_on = false;
  int32_t bgalia_x = -1, bgalia_y = 0, bgalia_w = 0, bgalia_h = 0;

  int32_t default_mode = 0;  // `transmode`
  bool jpeg_mode = false;
  bool missing_image_tolerance = false;      // while a saved game is restored
  // While set, a picture file that is missing leaves the surface empty
  // without a report (pictures a game may leave out, such as the cursors).
  bool optional_picture = false;
  std::vector<std::string> picture_plugins;  // "dll|ext", lower case

  EffectSettings effects;
  bool transition_running = false;  // animations hold their cells meanwhile
  ComposeHooks hooks;
};

// Once, when the Engine is made: the animations join the engine's wake list.
void AttachGraphics(Engine& engine);

// Start-up: buffers sized to the screen, anchors at their places, everything empty.
void StartGraphics(Engine& engine);
// The game reset: black screen and background, sprite tags and standing
// pictures emptied (anchors, `humanz` and `bgalia` kept).
void ResetGraphicsForGame(Engine& engine);

}  // namespace orivane
