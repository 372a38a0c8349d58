// What the player does, in the engine's terms: pointer and buttons in game
// coordinates, the wheel, keys and typed characters, menu commands and the
// window's close button. Every backend turns its own input into these; the
// shell's window procedure turns them into InputState and requests.
#pragma once

#include <cstdint>

namespace orivane {

// A key: a printable ASCII character is its own lower-case code; the named
// keys below lie above the character range.
using KeyId = int32_t;
inline constexpr KeyId kKeyEnter = 0x100;
inline constexpr KeyId kKeySpace = 0x101;
inline constexpr KeyId kKeyEscape = 0x102;
inline constexpr KeyId kKeyTab = 0x103;
inline constexpr KeyId kKeyArrowUp = 0x104;
inline constexpr KeyId kKeyArrowDown = 0x105;
inline constexpr KeyId kKeyArrowLeft = 0x106;
inline constexpr KeyId kKeyArrowRight = 0x107;
inline constexpr KeyId kKeyPageUp = 0x108;
inline constexpr KeyId kKeyPageDown = 0x109;
inline constexpr KeyId kKeyCtrl = 0x10A;
inline constexpr KeyId kKeyAlt = 0x10B;
inline constexpr KeyId kKeyShift = 0x10C;
inline constexpr KeyId kKeyBackspace = 0x10D;
inline constexpr KeyId kKeyInsert = 0x10E;
inline constexpr KeyId kKeyF1 = 0x110;  // F1 ... F12 follow in order
inline constexpr KeyId kKeyF10 = kKeyF1 + 9;
inline constexpr KeyId kKeyF12 = kKeyF1 + 11;

// The character a key types (13 for Enter, 32 for Space ...), or 0.
constexpr int32_t CharacterOfKey(KeyId key) {
  if (key > 0x20 && key < 0x7F) return key;
  switch (key) {
    case kKeyEnter: return 13;
    case kKeySpace: return 32;
    case kKeyEscape: return 27;
    case kKeyTab: return 9;
    case kKeyBackspace: return 8;
    default: return 0;
  }
}

enum class PointerButton : uint8_t { kLeft, kRight };

struct PlayerEvent {
  enum class Kind : uint8_t {
    kPointerMove,  // x, y
    kButtonDown,   // button, x, y
    kButtonUp,     // button, x, y
    kWheel,        // value: signed delta, 120 per notch, positive away from the player
    kCharacter,    // value: character code (13 Enter, 32 Space, or the byte typed)
    kKeyDown,      // key
    kKeyUp,        // key
    kMenuCommand,  // value: command identifier
    kClose,        // the window's close button (or the system asking the program to end)
  };
  Kind kind = Kind::kPointerMove;
  PointerButton button = PointerButton::kLeft;
  int32_t x = 0;
  int32_t y = 0;
  int32_t value = 0;
  KeyId key = 0;
};

}  // namespace orivane
