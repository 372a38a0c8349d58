// The state of a game as a save file holds it, field by field in the order
// the file format fixes: the text window and its cursors, the screen's
// pictures and sprites, the variables, the gosub stack, the screen filters,
// the sound, the decorations, and the rest. Writing reads the engine's
// records. Reading is two steps: the fields go into a SavedGame, checked as
// they come (counts, strings, offsets into the script), and only a whole
// file's SavedGame is then put into the engine's records (the pictures are
// loaded again afterwards from the names read).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "graphics/bars.h"
#include "graphics/numbers.h"
#include "sound/sound_lifecycle.h"

namespace orivane {

struct Engine;
class SaveReader;
class SaveWriter;

// A picture of the screen as field 8 or 9 keeps it.
struct SavedPicture {
  std::string tag;
  int32_t x = 0;
  int32_t y = 0;
  bool visible = false;
  int32_t cell = 0;
  int32_t opacity = -1;
};

// Fields 1 to 16 as read from a file, nothing of them in the engine yet.
struct SavedGame {
  int32_t version = 0;
  int32_t bold = 0, shadow = 0;
  bool right_click_enabled = true;
  uint32_t text_color = 0;
  std::array<std::string, 2> cursor_tags;  // click wait, page wait
  int32_t window_effect_type = 0, window_effect_duration = 0;
  std::string window_effect_mask;
  // textLeft … frameBottom in the file's order, and the window picture.
  std::array<int32_t, 14> window{};
  std::string window_picture;
  std::array<bool, 2> cursor_absolute{};
  std::array<int32_t, 2> cursor_x{}, cursor_y{};
  std::string background_name;
  std::array<SavedPicture, 3> humans;
  std::vector<SavedPicture> sprites;  // kSpriteCount of them
  std::vector<int32_t> numbers;       // the variables below the global border
  std::vector<std::string> strings;
  std::vector<int32_t> gosub;  // return points, the bottom first
  bool monochrome = false;
  std::array<uint8_t, 3> tint{};  // red, green, blue
  int32_t negative = 0;
  SavedSound sound;
  int32_t erase_on_effect = 0;  // 0, 1, or 2 (the `erasetextwindow` 2-flag)
  int32_t text_mode = 0;
  std::optional<BarTable> bars;  // absent from files of version 0
  std::optional<NumberTable> number_displays;
  int32_t text_speed = 0;
  bool all_sprites_hidden = false;
  bool back_log_on = false;
  std::string button_picture;
  std::vector<std::vector<int32_t>> arrays;  // the engine's arrays' elements, in their order
  int32_t effect_speed_mode = 0;
  bool ruby_on = false;
  int32_t ruby_width = 0, ruby_height = 0;
  std::string ruby_font_face;
};

// The format version written (1: the bar and number slots are present).
inline constexpr int32_t kSaveFormatVersion = 1;

// Fields 1 to 16: everything but the back-log and the position.
void WriteGameState(Engine& engine, SaveWriter& out);

// Reads fields 1 to 16 into `saved`, shaped by the engine (its global
// border, its arrays, the length of its script). A count past its limit, a
// missing field or a return point outside the script fail the reader.
void ReadGameState(const Engine& engine, SaveReader& in, SavedGame& saved);

// Puts a whole file's fields into the engine's records: the sound stops and
// takes its names, picture names go into the records' tags without loading
// anything (the load loads them after).
void TakeSavedGameState(Engine& engine, SavedGame&& saved);

}  // namespace orivane
