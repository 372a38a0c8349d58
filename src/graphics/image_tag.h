// Image tags: the strings that name pictures in scripts. A tag is
//   "*" layer                                  a view onto a layer plug-in
//   ["<" filters ">"] [":" mode animation ";"] file
// filters: "b" N (brightness) or "rgb" R "," G "," B;
// mode: a (alpha), l (left-up key), r (right-up key), c (copy), "#rrggbb" or
// "!" N (given key), "m" mask-file, or "s" for a text picture;
// animation groups: "/" cells "," (interval | "<" t1 , t2 ... ">") "," loop.
// ParseImageTag only reads; LoadImageTag applies a tag to a surface.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "graphics/image_surface.h"

namespace orivane {

struct Engine;

inline constexpr size_t kMaxTagBytes = 255;
inline constexpr int kMaxTextPictureColors = 11;
inline constexpr int kNoFilter = -999998;

enum class TagError {
  kNone,
  kMalformed,         // "タグの指定がおかしいです。"
  kBadColor,          // a "#rrggbb" with a non-hex digit
  kTextWithoutColor,  // ":s" without "#rrggbb"
};

struct ParsedTag {
  bool is_layer = false;
  int32_t layer = 0;

  int32_t brightness = kNoFilter;
  int32_t filter_red = kNoFilter, filter_green = kNoFilter, filter_blue = kNoFilter;

  bool has_mode = false;
  int32_t mode = 0;
  uint32_t key_rgb = 0;  // 0xRRGGBB for "#"
  bool key_by_index = false;
  int32_t key_index = 0;
  std::string mask_file;  // ":m"

  bool animated = false;  // an animation group was read
  int32_t cells = 1;
  int32_t interval = 0;
  std::vector<int32_t> intervals;  // per-cell list ("<...>"); interval = -1
  int32_t loop_mode = 0;

  bool is_text = false;  // ":s"
  bool text_has_size = false;
  int32_t text_width = 0, text_height = 0, text_pitch = 0, text_decoration = 0;
  std::vector<uint32_t> text_colors;  // 0xRRGGBB
  bool text_from_variable = false;
  int32_t text_variable = 0;
  std::string text;

  std::string file;
};

// Parses a tag (only its first 255 bytes count).
TagError ParseImageTag(std::string_view tag, ParsedTag& out);

// Loads the tag into the surface: an identical tag only rewinds the cell;
// otherwise the surface is reset, the picture loaded, a ":m" mask joined and
// the filters applied. Errors are reported and end the run.
void LoadImageTag(Engine& engine, ImageSurface& surface, const std::string& tag);

// The same for a picture a game may leave out (the default cursors and
// buttons): a missing file leaves the surface empty, without a report.
void LoadOptionalImageTag(Engine& engine, ImageSurface& surface, const std::string& tag);

// How a ":s" text picture is laid out. The glyph size and pen step come from
// the tag's size group, else from the `spfont` font when one is set, else from
// the text window's font. A cell is (bytes × advance) / 2 wide, plus what the
// last glyph overhangs a narrow advance; the text window's shadow widens it
// by one (or grows it by the `shadedistance` offsets) and the outlined
// decoration adds two each way.
struct TextPictureLayout {
  std::string text;  // Shift-JIS: the tag's text or the string variable's value
  int32_t glyph_width = 0;
  int32_t glyph_height = 0;
  int32_t advance = 0;
  int32_t decoration = 0;  // 0 smoothed, 1 plain, 2 outlined
  int64_t cell_width = 0;  // one cell's text part; its mask is as wide again
  int64_t cell_height = 0;
};

TextPictureLayout LayOutTextPicture(const Engine& engine, const ParsedTag& parsed);

// Sets up a ":s" text picture: cells, mode and a black surface of the laid-out
// size with a clear mask; the glyphs are drawn by the text subsystem's hook.
// A layout of no area (or beyond the picture limits) leaves no picture.
void PrepareTextPicture(Engine& engine, ImageSurface& surface, const ParsedTag& parsed);

}  // namespace orivane
