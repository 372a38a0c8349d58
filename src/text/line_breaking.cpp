#include "text/line_breaking.h"

#include <array>

#include "util/sjis.h"

namespace orivane {
namespace {

// The two characters' Shift-JIS codes, lead byte high.
constexpr std::array<uint16_t, 20> kNoLineStart = {
    0x8141, 0x8142, 0x8143, 0x8144, 0x8145, 0x8148, 0x8149, 0x814A, 0x814B, 0x8152,
    0x8153, 0x8154, 0x8155, 0x8158, 0x815B, 0x816A, 0x816E, 0x8170, 0x8176, 0x8178,
};
constexpr std::array<uint16_t, 5> kNoLineEnd = {0x8169, 0x816D, 0x816F, 0x8175, 0x8177};

template <size_t N>
bool Contains(const std::array<uint16_t, N>& set, uint8_t lead, uint8_t trail) {
  const uint16_t code = static_cast<uint16_t>(lead << 8 | trail);
  for (uint16_t c : set)
    if (c == code) return true;
  return false;
}

constexpr size_t kLookAheadBytes = 128;

}  // namespace

bool MayNotBeginLine(uint8_t lead, uint8_t trail) { return Contains(kNoLineStart, lead, trail); }

bool MayNotEndLine(uint8_t lead, uint8_t trail) { return Contains(kNoLineEnd, lead, trail); }

int ChainedCharacters(std::string_view following) {
  // The two-byte characters c1, c2, … of the look-ahead, as (lead, trail).
  struct Character {
    uint8_t lead, trail;
  };
  std::array<Character, kLookAheadBytes / 2> chars;
  size_t count = 0;
  const size_t end = following.size() < kLookAheadBytes ? following.size() : kLookAheadBytes;
  for (size_t i = 0; i < end; ++i) {
    const auto b = static_cast<uint8_t>(following[i]);
    if (!IsSjisLead(b)) continue;
    if (i + 1 >= following.size()) break;  // a lead byte cut off at the end of the text
    chars[count++] = {b, static_cast<uint8_t>(following[i + 1])};
    ++i;
  }
  int k = 0;
  for (size_t j = 0; j + 1 < count; ++j) {
    if (!MayNotEndLine(chars[j].lead, chars[j].trail) && !MayNotBeginLine(chars[j + 1].lead, chars[j + 1].trail))
      break;
    k = static_cast<int>(j + 1);
  }
  return k;
}

bool MustBreakLine(int32_t column, int32_t limit, std::string_view following) {
  return int64_t{column} + ChainedCharacters(following) >= limit;
}

}  // namespace orivane
