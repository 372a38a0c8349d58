// Where the lines of a menu screen stand: every menu is laid out to fit the
// screen it is shown on, whatever the screen mode. A question too wide for
// the screen is broken onto further lines at a character (keeping together
// what the line-breaking rule of story text keeps together); a menu whose
// rows would run off the screen, in width or in height, is shown with the
// menu font made smaller until they fit.
//
//   MenuTextWidth(look, text)                 width of a text in the menu font
//   BreakMenuText(look, text, width)          the text as lines no wider than width
//   LayOutMenuLines(look, lines, w, h)        centred rows; the look they are drawn with
//   LayOutQuestion(look, question, w, h)      question rows, then "はい　" and "いいえ"
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "save/system_menu_state.h"

namespace orivane {

// The width of a text in the menu font: a full cell per two-byte character,
// half a cell per single-byte one.
int64_t MenuTextWidth(const MenuLook& look, std::string_view sjis);

// The text in lines that each fit `width` pixels, broken at characters; a
// character that may not begin a line (or one after a character that may not
// end one) takes the character before it along. A single character wider
// than `width` still gets a line of its own.
std::vector<std::string> BreakMenuText(const MenuLook& look, std::string_view sjis, int64_t width);

// Centres the lines on a screen of width × height, one row apart, the block
// centred vertically; returns the look to draw them with: `look` itself, or
// a smaller one when the rows would not fit.
MenuLook LayOutMenuLines(const MenuLook& look, std::vector<MenuScreenLine>& lines, int32_t width,
                         int32_t height);

// The yes/no question: the question's lines centred above a blank row and
// the row of "はい　" and "いいえ" (from the centre, four cells to the left
// and two to the right). `lines` gets the question's lines followed by the
// two choices, in that order, with texts and positions only.
struct QuestionLayout {
  MenuLook look;
  std::vector<MenuScreenLine> lines;
  size_t yes = 0;  // the index of "はい　"; "いいえ" follows it
};
QuestionLayout LayOutQuestion(const MenuLook& look, std::string_view question_sjis, int32_t width,
                              int32_t height);

}  // namespace orivane
