// SelectionState: the choices the player picks from. The choice list of the
// selection being shown (`select`, `selgosub`, `selnum`), the list a `csel`
// left for the script's own selection screen, and how choices look and
// sound (`selectcolor`, `selectvoice`, both set in the *define block).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace orivane {

// A selection holds at most this many choices; the script's further ones are
// read and left out.
inline constexpr size_t kMaxChoices = 50;

struct Choice {
  std::string text;   // Shift-JIS; never empty (empty choices are left out)
  std::string label;  // where the choice leads, without '*'; empty for `selnum`
};

struct SelectionState {
  std::vector<Choice> choices;  // the selection shown last
  std::vector<Choice> csel;     // the choices of the last `csel`

  // `selectcolor`: choices are printed in the normal colour and the one
  // under the pointer is drawn again in the highlight colour (0xRRGGBB).
  uint32_t highlight_color = 0xFFFFFF;
  uint32_t normal_color = 0x999999;

  // `selectvoice` (Shift-JIS file names, empty = none): when the choices
  // appear, when the pointer moves onto one, when one is taken.
  std::string voice_shown;
  std::string voice_over;
  std::string voice_taken;

  // The text of `csel` choice k (from 0), or nullptr when there is none:
  // what a choice-text button shows.
  const std::string* CselText(int64_t k) const {
    return k >= 0 && static_cast<size_t>(k) < csel.size() ? &csel[static_cast<size_t>(k)].text
                                                          : nullptr;
  }

  // The game reset: the choices go; colours and sounds, which the *define
  // block set, stay.
  void ForgetChoices() {
    choices.clear();
    csel.clear();
  }
};

}  // namespace orivane
