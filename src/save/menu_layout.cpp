#include "save/menu_layout.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "text/line_breaking.h"
#include "util/sjis.h"

namespace orivane {
namespace {

// The smallest the menu font is made, in hundredths of its size.
constexpr int kSmallestPercent = 10;

size_t UnitLength(std::string_view sjis, size_t at) {
  return IsSjisLead(static_cast<uint8_t>(sjis[at])) && at + 1 < sjis.size() ? 2 : 1;
}

int64_t UnitWidth(const MenuLook& look, size_t length) {
  return length == 2 ? look.advance_x : look.advance_x / 2;
}

// What a glyph may reach past its cell on the right and below.
int64_t Overhang(const MenuLook& look) { return std::max<int64_t>(0, int64_t{look.glyph_width} - look.advance_x); }
int64_t RowHeight(const MenuLook& look) { return std::max<int64_t>(look.advance_y, look.glyph_height); }

bool FitsAcross(const MenuLook& look, std::string_view sjis, int64_t width) {
  return MenuTextWidth(look, sjis) + Overhang(look) <= width;
}

// The look at `percent` of its size (100: unchanged).
MenuLook Scaled(const MenuLook& look, int percent) {
  if (percent >= 100) return look;
  auto scale = [percent](int32_t v) { return static_cast<int32_t>(std::max<int64_t>(1, int64_t{v} * percent / 100)); };
  MenuLook smaller = look;
  smaller.glyph_width = scale(look.glyph_width);
  smaller.glyph_height = scale(look.glyph_height);
  smaller.advance_x = scale(look.advance_x);
  smaller.advance_y = scale(look.advance_y);
  return smaller;
}

int32_t Clamp32(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

int32_t Centred(int64_t space, int64_t size) { return Clamp32((space - size) / 2); }

}  // namespace

int64_t MenuTextWidth(const MenuLook& look, std::string_view sjis) {
  int64_t width = 0;
  for (size_t at = 0; at < sjis.size();) {
    const size_t length = UnitLength(sjis, at);
    width += UnitWidth(look, length);
    at += length;
  }
  return width;
}

std::vector<std::string> BreakMenuText(const MenuLook& look, std::string_view sjis, int64_t width) {
  std::vector<std::string> lines(1);
  int64_t used = 0;
  for (size_t at = 0; at < sjis.size();) {
    const size_t length = UnitLength(sjis, at);
    lines.back().append(sjis.substr(at, length));
    used += UnitWidth(look, length);
    at += length;
    if (at >= sjis.size()) break;
    // The next character, with those that may not be parted from it.
    const std::string_view following = sjis.substr(at);
    const int64_t group = UnitWidth(look, UnitLength(sjis, at)) +
                          int64_t{ChainedCharacters(following)} * look.advance_x;
    if (used + group + Overhang(look) > width) {
      lines.emplace_back();
      used = 0;
    }
  }
  return lines;
}

MenuLook LayOutMenuLines(const MenuLook& look, std::vector<MenuScreenLine>& lines, int32_t width,
                         int32_t height) {
  MenuLook fitted = look;
  for (int percent = 100; percent >= kSmallestPercent; --percent) {
    fitted = Scaled(look, percent);
    const bool fits_down = static_cast<int64_t>(lines.size()) * RowHeight(fitted) <= height;
    const bool fits_across = std::all_of(lines.begin(), lines.end(), [&](const MenuScreenLine& l) {
      return FitsAcross(fitted, l.text, width);
    });
    if (fits_down && fits_across) break;
  }
  const int32_t top = Centred(height, static_cast<int64_t>(lines.size()) * fitted.advance_y);
  for (size_t i = 0; i < lines.size(); ++i) {
    lines[i].x = Centred(width, MenuTextWidth(fitted, lines[i].text));
    lines[i].y = Clamp32(top + static_cast<int64_t>(i) * fitted.advance_y);
  }
  return fitted;
}

QuestionLayout LayOutQuestion(const MenuLook& look, std::string_view question_sjis, int32_t width,
                              int32_t height) {
  QuestionLayout q;
  std::vector<std::string> rows;
  const int64_t centre_x = width / 2, centre_y = height / 2;
  for (int percent = 100; percent >= kSmallestPercent; --percent) {
    q.look = Scaled(look, percent);
    rows = BreakMenuText(q.look, question_sjis, width);
    // The question's last row one row above the centre, the choices one below.
    const int64_t top = centre_y - static_cast<int64_t>(rows.size()) * q.look.advance_y;
    const int64_t choices_bottom = centre_y + q.look.advance_y + RowHeight(q.look);
    const bool fits_down = top >= 0 && choices_bottom <= height;
    const bool fits_across = centre_x - 4 * int64_t{q.look.advance_x} >= 0 &&
                             centre_x + 5 * int64_t{q.look.advance_x} + Overhang(q.look) <= width;
    if (fits_down && fits_across) break;
  }
  const int64_t top = centre_y - static_cast<int64_t>(rows.size()) * q.look.advance_y;
  for (size_t i = 0; i < rows.size(); ++i) {
    MenuScreenLine line;
    line.x = Centred(width, MenuTextWidth(q.look, rows[i]));
    line.y = Clamp32(top + static_cast<int64_t>(i) * q.look.advance_y);
    line.text = std::move(rows[i]);
    q.lines.push_back(std::move(line));
  }
  q.yes = q.lines.size();
  MenuScreenLine yes, no;
  yes.text = Utf8ToSjis("はい　");
  no.text = Utf8ToSjis("いいえ");
  yes.x = Clamp32(centre_x - 4 * int64_t{q.look.advance_x});
  no.x = Clamp32(centre_x + 2 * int64_t{q.look.advance_x});
  yes.y = no.y = Clamp32(centre_y + q.look.advance_y);
  q.lines.push_back(std::move(yes));
  q.lines.push_back(std::move(no));
  return q;
}

}  // namespace orivane
