// Sprite state strings: the little command language of extended buttons
// (run when the pointer moves over or off one) and of `spstr`. A string is a
// sequence of steps, each a capital letter and decimal numbers, blanks
// allowed between steps:
//   "C" sprite                   hide the sprite
//   "P" sprite ["," cell]        show the sprite, in that cell when given
//   "M" sprite "," x "," y       move the sprite to (x, y)
//   "S" channel "," name [","]   play the sound file `name` on the channel;
//                                the name runs to the next "," or the end
// Numbers are digits only (no sign), at most 18 of them, as the script's
// number reader takes them; sprite numbers are 0..999. Anything else makes
// the whole string wrong, and nothing of it is carried out.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orivane {

struct Engine;

enum class SpriteStateOp { kHide, kShow, kMove, kSound };

struct SpriteStateStep {
  SpriteStateOp op = SpriteStateOp::kHide;
  int32_t sprite = 0;  // C, P, M
  int32_t cell = -1;   // P: the cell to show, -1 = the cell it is in
  int32_t x = 0;       // M
  int32_t y = 0;
  int32_t channel = 0;  // S
  std::string sound;    // S: file name, Shift-JIS
};

enum class SpriteStateError {
  kNone,
  kMalformed,      // "拡張ボタン指定が間違っています：%s" with the whole string
  kNumberTooLong,  // "数字が長すぎます。:%s" with the first 19 digits
};

struct SpriteStateParse {
  SpriteStateError error = SpriteStateError::kNone;
  std::vector<SpriteStateStep> steps;
  std::string long_digits;  // for kNumberTooLong
};

// Reads a state string; pure.
SpriteStateParse ParseSpriteStateString(std::string_view text);

// Reads the string and carries its steps out in order. A bad string is
// reported (and ends the run) before any step is taken. Steps on an unused
// sprite slot do nothing. Each sprite whose visibility, cell or place
// changes is dirtied (shown by the next effect); sounds go to
// `Graphics::hooks.play_state_sound`.
void RunSpriteStateString(Engine& engine, std::string_view text);

}  // namespace orivane
