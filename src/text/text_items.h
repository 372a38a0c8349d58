// Reading a gathered story-text line item by item: characters, blanks and
// the inline controls. Text output acts on the items; the transcript of
// headless runs lists the characters of the same items, so what is echoed is
// exactly what is drawn.
//
//   !wN !dN      wait N ms (!d: a click ends it)       #rrggbb   text colour
//   !sN !sd      text speed N, or the menu's default    &N        palette colour
//   (base/ruby)  ruby over its base                     {…}       variable assignments
//   <N  >        a text button's ends                 _         no clickstr wait next
//   @  \         click wait, page wait                 /         (last) no line break
//   line feed    a line break (back-log pages hold one for every line break)
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace orivane {

enum class TextItemKind {
  kCharacter,     // one cell: a two-byte character, or one or two single-byte ones
  kBlank,         // space or tab: nothing drawn, the pen stays
  kWait,          // "!w": `number` ms
  kClickableWait, // "!d": `number` ms
  kSpeed,         // "!s": `number` ms per character
  kMenuSpeed,     // "!sd"
  kColour,        // "#rrggbb": `number` = 0xRRGGBB
  kBadColour,     // "#" without six hexadecimal digits
  kPaletteColour, // "&": `number` = the entry
  kRubyOpen,      // "(" of a group that has its "/" and ")"
  kRubySlash,     // "/" between the base and the reading
  kRubyClose,     // ")"
  kJoinLine,      // "/" as the last byte: the next line continues this one
  kBadSlash,      // "/" with something behind it, outside ruby
  kButtonOpen,    // "<" and its digits: `number`, or -1 for the next automatic number
  kButtonClose,   // ">"
  kAssignments,   // "{" … "}"
  kNoClickWait,   // "_" before a character: it makes no clickstr wait
  kSkippedWait,   // "_@" or "_\": no wait at all
  kClickWait,     // "@"
  kPageWait,      // "\"
  kLineFeed,      // a line feed: the next line
  kIgnored,       // "!" before anything else
  kEnd,           // a two-byte character cut by the end of the text
};

struct TextItem {
  TextItemKind kind = TextItemKind::kEnd;
  size_t begin = 0;  // the item's bytes in the text
  size_t end = 0;
  uint8_t first = 0;  // kCharacter: the unit's bytes (second 0 for a lone byte)
  uint8_t second = 0;
  int64_t number = 0;
};

// The item at `at` (< text.size()). `in_ruby_base` makes "/" the ruby slash;
// `in_ruby_reading` makes ")" close the group.
TextItem ReadTextItem(std::string_view text, size_t at, bool in_ruby_base, bool in_ruby_reading);

// The characters text output draws for the text, in Shift-JIS: ruby bases
// without their readings, no inline controls.
std::string PrintedCharacters(std::string_view text);

}  // namespace orivane
