// Fitting menu texts to the screen: a question broken at characters by the
// line-breaking rule, and menus whose rows would not fit drawn smaller.
#include "save/menu_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "util/sjis.h"

namespace orivane {
namespace {

// 10-pixel cells: a line of width 45 holds four two-byte characters.
MenuLook TenPixelLook() {
  MenuLook look;
  look.glyph_width = look.glyph_height = 10;
  look.advance_x = look.advance_y = 10;
  return look;
}

TEST(MenuLayout, BreaksATextAtCharactersKeepingWhatMayNotBeParted) {
  struct Case {
    const char* name;
    const char* text;
    int width;
    std::vector<std::string> lines;
  };
  const std::vector<Case> cases = {
      {"a text that fits stays whole", "一二三", 45, {"一二三"}},
      {"a full line goes on on the next", "一二三四五六七八九", 45, {"一二三四", "五六七八", "九"}},
      {"a closing mark takes the character before it along", "一二三四？", 45, {"一二三", "四？"}},
      {"an opening bracket goes with what follows", "一二三「四」", 45, {"一二三", "「四」"}},
      {"single-byte characters take half a cell", "ab一二三四", 45, {"ab一二三", "四"}},
      {"a line too narrow for one character still shows it", "一二", 5, {"一", "二"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> lines;
    for (const std::string& l : BreakMenuText(TenPixelLook(), Utf8ToSjis(c.text), c.width))
      lines.push_back(SjisToUtf8(l));
    EXPECT_EQ(lines, c.lines);
  }
}

TEST(MenuLayout, RowsThatDoNotFitAreDrawnSmaller) {
  struct Case {
    const char* name;
    int rows;
    const char* text;
    int width, height;
    bool smaller;
  };
  const std::vector<Case> cases = {
      {"rows that fit keep the look", 3, "一二三", 100, 100, false},
      {"too many rows", 11, "一", 100, 100, true},
      {"too wide a row", 1, "一二三四五六七八九十一", 100, 100, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<MenuScreenLine> lines(static_cast<size_t>(c.rows));
    for (MenuScreenLine& l : lines) l.text = Utf8ToSjis(c.text);
    const MenuLook look = LayOutMenuLines(TenPixelLook(), lines, c.width, c.height);
    EXPECT_EQ(look.advance_x < 10, c.smaller);
    for (const MenuScreenLine& l : lines) {
      EXPECT_GE(l.x, 0);
      EXPECT_LE(l.x + MenuTextWidth(look, l.text), c.width);
      EXPECT_GE(l.y, 0);
      EXPECT_LE(l.y + look.advance_y, c.height);
    }
  }
}

}  // namespace
}  // namespace orivane
