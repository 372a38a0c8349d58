// The line-breaking rule on a grid: where lines end for runs of text with
// closing punctuation and opening brackets, laid out character by character
// as text output does.
#include "text/line_breaking.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "util/sjis.h"

namespace orivane {
namespace {

// Lays `utf8` out on lines of `columns` cells, breaking where the rule says
// (after each drawn character); returns the lines in UTF-8.
std::vector<std::string> Layout(const std::string& utf8, int columns) {
  const std::string text = Utf8ToSjis(utf8);
  std::vector<std::string> lines(1);
  int column = 0;
  for (size_t i = 0; i < text.size();) {
    const size_t width = IsSjisLead(static_cast<uint8_t>(text[i])) ? 2 : 1;
    if (width == 1) {  // single-byte characters stand for inline controls: nothing is drawn
      ++i;
      continue;
    }
    lines.back() += text.substr(i, 2);
    i += 2;
    ++column;
    if (MustBreakLine(column, columns, std::string_view(text).substr(i))) {
      lines.emplace_back();
      column = 0;
    }
  }
  if (lines.back().empty()) lines.pop_back();
  for (std::string& l : lines) l = SjisToUtf8(l);
  return lines;
}

TEST(LineBreaking, KinsokuMovesCharactersTogether) {
  struct Case {
    const char* text;
    int columns;
    std::vector<std::string> lines;
  } cases[] = {
      // The tenth ideograph would stand last with 。 first on the next line:
      // both move.
      {"一二三四五六七八九十。", 10, {"一二三四五六七八九", "十。"}},
      // A chain of a kana, 」 and 。 moves as a whole.
      {"一二三四五六七「あ」。", 10, {"一二三四五六七", "「あ」。"}},
      // An opening bracket that would fall into the last column moves on.
      {"一二三四五六七八九「十", 10, {"一二三四五六七八九", "「十"}},
      {"一二三四五六七八九「十」", 10, {"一二三四五六七八九", "「十」"}},
      // One column earlier it stays: the bracket is not last on the line.
      {"一二三四五六七八「九十", 10, {"一二三四五六七八「九", "十"}},
      // A 。 that is the very last character, with one free column, stays.
      {"一二三四五六七八九。", 10, {"一二三四五六七八九。"}},
      // A full line breaks in any case, and plain text fills every column.
      {"一二三四五六七八九十一二", 10, {"一二三四五六七八九十", "一二"}},
      // Single-byte characters between them do not break the chain.
      {"一二三四五六七八九十#ffffff。", 10, {"一二三四五六七八九", "十。"}},
      // Every character of the set may not begin a line.
      {"一二、", 2, {"一", "二、"}},
      {"一二ー", 2, {"一", "二ー"}},
      {"一二』", 2, {"一", "二』"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Layout(c.text, c.columns), c.lines) << c.text;
}

TEST(LineBreaking, CharacterSetsHoldExactlyTheirCharacters) {
  const std::string no_start = Utf8ToSjis("、。，．・？！゛゜ヽヾゝゞ々ー）］｝」』");
  const std::string no_end = Utf8ToSjis("（［｛「『");
  for (size_t i = 0; i < no_start.size(); i += 2) {
    EXPECT_TRUE(MayNotBeginLine(no_start[i], no_start[i + 1])) << i;
    EXPECT_FALSE(MayNotEndLine(no_start[i], no_start[i + 1])) << i;
  }
  for (size_t i = 0; i < no_end.size(); i += 2) EXPECT_TRUE(MayNotEndLine(no_end[i], no_end[i + 1])) << i;
  const std::string plain = Utf8ToSjis("あ一Ａ（");
  EXPECT_FALSE(MayNotBeginLine(plain[0], plain[1]));
  EXPECT_FALSE(MayNotEndLine(plain[2], plain[3]));
}

TEST(LineBreaking, LookAheadStaysInsideTheText) {
  // A lead byte cut off at the end, and a chain longer than the look-ahead.
  EXPECT_EQ(ChainedCharacters(std::string_view("\x81", 1)), 0);
  EXPECT_EQ(ChainedCharacters(Utf8ToSjis("一") + "\x81"), 0);
  std::string brackets;
  for (int i = 0; i < 200; ++i) brackets += Utf8ToSjis("「");
  EXPECT_EQ(ChainedCharacters(brackets), 63);  // 64 characters in 128 bytes
}

}  // namespace
}  // namespace orivane
