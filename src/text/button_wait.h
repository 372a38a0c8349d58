// The button wait: the engine waits until the player clicks a button of the
// table (its number), clicks elsewhere (0), right-clicks (-1), or does one
// of the things the wait's options turn into codes: keys, the wheel, the
// pointer leaving the `btnarea` band, a time-out. While it waits the button
// under the pointer is highlighted.
#pragma once

#include <cstdint>

namespace orivane {

struct Engine;

// Codes a button wait returns besides button numbers.
inline constexpr int32_t kButtonNone = 0;
inline constexpr int32_t kButtonRightClick = -1;
inline constexpr int32_t kButtonTimeout = -2;  // -5 with `usewheel`
inline constexpr int32_t kButtonWheelDown = -3;
inline constexpr int32_t kButtonLeftArea = -4;

// Once, when text attaches: composition draws the highlighted picture button.
void InstallButtonHook(Engine& engine);

// Which buttons a wait answers to.
enum class ButtonWaitScope {
  kTable,         // `btnwait`, `btnwait2`
  kTableAndText,  // `textbtnwait`: text buttons too; the page is cleared after
  kTableAndTextKeepPage,  // `selectbtnwait`: the same, the page stays
  kTextOnly,      // `tbtnwait`
};

// Waits on the buttons as they stand and returns the code.
int32_t RunButtonWait(Engine& engine, ButtonWaitScope scope = ButtonWaitScope::kTable);

// The index of the text button under (x, y), or -1.
int32_t TextButtonAt(const Engine& engine, int32_t x, int32_t y);

// Draws text button `index` in the colour again (its glyphs keep their
// coverage) and shows it.
void RecolourTextButton(Engine& engine, int32_t index, uint32_t rgb);

// The index of the button under (x, y), or -1: the last one added whose
// rectangle holds the point, whose number is above `maskbtn`, and (with
// `transbtn`) whose sprite is not transparent there.
int32_t ButtonAt(Engine& engine, int32_t x, int32_t y);

}  // namespace orivane
