// TextWindow: the one record of the story-text window. Where the character
// grid lies and how large its cells are, how fast characters appear, which
// font, colour and shadow they use, how the window itself looks (a tint laid
// over the pictures, or a picture), where the text cursor stands on the page,
// and how line ends wait. The interpreter reads the page state (cursor, rows,
// line-end waits, bracket conversion); text output and line breaking read the
// rest; the commands of text_window_commands.h set it.
//
// The values below are those of a fresh start-up. The frame covers the whole
// screen once the screen size is known (StartTextWindow).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "graphics/image_surface.h"
#include "text/text_layer.h"

namespace orivane {

struct Engine;

// "ＭＳ ゴシック" in Shift-JIS: the face every page starts with.
inline constexpr char kDefaultFontFaceSjis[] =
    "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e";

inline constexpr int kPaletteSize = 256;
inline constexpr int kSpeedChoices = 3;  // slow, normal, fast
// `windowchip` keeps at most this many sprite numbers (one per sprite slot).
inline constexpr size_t kMaxWindowChips = 1000;
// `frame_color` of a window drawn as a picture.
inline constexpr int32_t kFramePicture = -1;
// A `speed` that follows the player's choice in the 文字速度 menu.
inline constexpr int32_t kSpeedFromMenu = -1;

// The font of string sprites (`spfont`). A width of -1 means none was set and
// the text window's own values apply.
struct SpriteFont {
  std::string face;  // Shift-JIS
  int32_t width = -1;
  int32_t height = 0;
  int32_t advance_x = 0;  // width + horizontal pitch
  int32_t advance_y = 0;  // height + vertical pitch
  int32_t bold = 0;
  int32_t shadow = 0;
};

struct TextWindow {
  // ---- the character grid --------------------------------------------------
  int32_t text_left = 21;  // pixel position of the top-left character cell
  int32_t text_top = 16;
  int32_t columns = 23;      // characters per line (horizontal writing)
  int32_t rows = 16;         // lines per page
  int32_t glyph_width = 26;  // character cell size in pixels
  int32_t glyph_height = 26;
  int32_t advance_x = 26;  // glyph_width + horizontal pitch: one cell to the next
  int32_t advance_y = 28;  // glyph_height + vertical pitch: one line to the next

  // ---- how characters appear ------------------------------------------------
  int32_t speed = 20;  // ms per character; 0 = a page at once; kSpeedFromMenu = the player's choice
  int32_t bold = 1;    // non-zero: bold glyphs (weight 700)
  int32_t shadow = 1;  // non-zero: glyphs cast a shadow
  // The player's three speeds (slow, normal, fast), chosen in the 文字速度
  // menu (ShellState::settings.text_speed); `defaultspeed` sets them.
  std::array<int32_t, kSpeedChoices> speed_table{40, 10, 0};
  int32_t speed_min = 0;  // the text-speed dialog's slider range (`settextspeed`)
  int32_t speed_max = 100;

  // ---- the window's look ----------------------------------------------------
  // 0xRRGGBB multiplied into the pictures under the window, or kFramePicture
  // when the window is `frame_image`.
  int32_t frame_color = 0x999999;
  ImageSurface frame_image;  // the window picture (image tags apply)
  int32_t frame_left = 0;    // the window rectangle, inclusive corners
  int32_t frame_top = 0;
  int32_t frame_right = 640;
  int32_t frame_bottom = 480;

  // ---- the page ---------------------------------------------------------------
  int32_t column = 0;  // cursor cell within the line
  int32_t line = 0;    // cursor line within the page
  // Face names (Shift-JIS): the current page's; the next page's (`font`, the
  // font menu); and the `defaultfont` face, which `game` and the menu's
  // デフォルト choose.
  std::string font_face = kDefaultFontFaceSjis;
  std::string pending_font_face = kDefaultFontFaceSjis;
  std::string default_font_face = kDefaultFontFaceSjis;
  uint32_t text_color = 0xFFFFFF;  // current glyph colour 0xRRGGBB
  int32_t vertical = 0;            // 1 = vertical writing on this page
  int32_t pending_vertical = 0;    // `tateyoko`: from the next page (at once on an empty page)
  int32_t indent = 0;              // columns added after an automatic line break
  std::string click_chars;         // `clickstr`: two-byte characters followed by a click wait
  // With `clickstr` and `linepage2`: on this many last lines of the page the
  // inserted wait is a page wait instead of a click wait.
  int32_t click_lines_from_bottom = 0;
  bool line_page = false;          // `linepage`: every text line ends with a page wait
  bool line_page2 = false;         // `linepage2`: click wait, or page wait near the bottom
  bool shadow_offset_set = false;  // `shadedistance` was given: the shadow falls at (dx, dy)
  int32_t shadow_dx = 0;
  int32_t shadow_dy = 0;
  bool ruby_on = false;     // `rubyon`: lines leave room above for ruby
  int32_t ruby_width = -1;  // ruby glyph size; -1 = half the glyph size
  int32_t ruby_height = -1;
  std::string ruby_font_face;       // empty: the page's face
  bool bracket_conversion = false;  // `zenkakko`: full-width brackets become [[ ]] tags
  int32_t text_mode = 1;            // 0: writing text is an error (`textmode`)
  // `erasetextwindow`: 0 the window stays during picture changes; 1 it is
  // taken off first; 2 as 1, but `ld` and `tal` leave it.
  int32_t erase_on_effect = 1;
  bool shown = false;   // the window (tint or picture) is on the screen
  bool hidden = false;  // `texthide`: on, but not painted until `textshow`

  std::array<uint32_t, kPaletteSize> palette{};  // `setcolor`, read by the inline "&" control
  SpriteFont sprite_font;                        // `spfont`
  std::vector<int32_t> window_chips;  // `windowchip`: sprites shown and hidden with the window
  TextLayer layer;                    // the glyphs of the page
};

// Where the glyphs' shadow falls from each glyph pixel: one pixel to the
// right, or the `shadedistance` offset when one was given; none (0, 0)
// without a shadow.
struct ShadowOffset {
  int32_t dx = 0;
  int32_t dy = 0;
};
inline ShadowOffset ShadowOffsetOf(const TextWindow& w) {
  if (!w.shadow) return {};
  return w.shadow_offset_set ? ShadowOffset{w.shadow_dx, w.shadow_dy} : ShadowOffset{1, 0};
}

// ---- lifecycle --------------------------------------------------------------

// After the script is loaded: the frame covers the screen and the text layer
// takes the screen's size.
void StartTextWindow(Engine& engine);

// The game reset (game start, `reset`): the window leaves the screen and the
// page starts empty. What the script configured stays (see docs/text.md).
void ResetTextWindowForGame(Engine& engine);

// ---- the page ---------------------------------------------------------------

// A new page: cursor (0, 0), no glyphs, and the face set for the next page
// becomes the page's face.
void StartNewTextPage(TextWindow& window);

// The window's settings without its page, for laying text out elsewhere (a
// sprite's page, the back-log viewer): the copy has an empty layer and no
// window picture; the window keeps its own.
TextWindow CopyPageSettings(TextWindow& window);

// ---- speed ------------------------------------------------------------------

// Milliseconds per character now: `speed`, or the player's menu choice in the
// speed table when `speed` is kSpeedFromMenu.
int32_t TextSpeedInEffect(const Engine& engine);

// The speed `textspeeddefault` (and "!sd") sets: follow the menu; when the
// script's own menu offers a text-speed item, the first speed-table entry
// (where the text-speed dialog keeps its value).
int32_t MenuDefaultTextSpeed(const Engine& engine);

// ---- the font menu and the end of *define ------------------------------------

// The player chose a face in the font menu: it becomes the next page's face.
void TakeMenuFontFace(Engine& engine, const std::string& face_sjis);
// The player chose デフォルト: the `defaultfont` face, from the next page on.
void TakeMenuDefaultFontFace(Engine& engine);
// `game`: the `defaultfont` face becomes the current and the next page's face.
void TakeDefaultFontFaceAtGame(Engine& engine);

}  // namespace orivane
