#include "platform/sdl/sdl_keys.h"

namespace orivane {
namespace {

struct KeyPair {
  SDL_Keycode sdl;
  KeyId key;
};

constexpr KeyPair kNamed[] = {
    {SDLK_RETURN, kKeyEnter},     {SDLK_KP_ENTER, kKeyEnter},   {SDLK_SPACE, kKeySpace},
    {SDLK_ESCAPE, kKeyEscape},    {SDLK_TAB, kKeyTab},          {SDLK_UP, kKeyArrowUp},
    {SDLK_DOWN, kKeyArrowDown},   {SDLK_LEFT, kKeyArrowLeft},   {SDLK_RIGHT, kKeyArrowRight},
    {SDLK_PAGEUP, kKeyPageUp},    {SDLK_PAGEDOWN, kKeyPageDown}, {SDLK_LCTRL, kKeyCtrl},
    {SDLK_RCTRL, kKeyCtrl},       {SDLK_LALT, kKeyAlt},         {SDLK_RALT, kKeyAlt},
    {SDLK_LSHIFT, kKeyShift},     {SDLK_RSHIFT, kKeyShift},     {SDLK_BACKSPACE, kKeyBackspace}, {SDLK_INSERT, kKeyInsert},
};

}  // namespace

KeyId KeyFromSdl(SDL_Keycode key) {
  for (const KeyPair& p : kNamed)
    if (p.sdl == key) return p.key;
  if (key >= SDLK_F1 && key <= SDLK_F12) return kKeyF1 + static_cast<KeyId>(key - SDLK_F1);
  if (key > 0x20 && key < 0x7F) return static_cast<KeyId>(key);  // SDL key codes of printable keys are lower-case ASCII
  return 0;
}

SDL_Keycode SdlFromKey(KeyId key) {
  for (const KeyPair& p : kNamed)
    if (p.key == key) return p.sdl;
  if (key >= kKeyF1 && key <= kKeyF12) return SDLK_F1 + (key - kKeyF1);
  if (key > 0x20 && key < 0x7F) return static_cast<SDL_Keycode>(key);
  return SDLK_UNKNOWN;
}

}  // namespace orivane
