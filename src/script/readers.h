// The argument readers. There is no tokenising pass: every command reads its
// own arguments straight from the script buffer at the script position
// through these functions, so every command accepts the same syntax. Each
// reader skips the blanks (space, tab) before its item, consumes it, and most
// skip the blanks after it. Errors go through ReportError, which ends the run.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orivane {

struct Engine;

inline constexpr int kMaxTokenChars = 254;
inline constexpr int kMaxLiteralBytes = 510;
inline constexpr int kMaxNumberDigits = 18;
// A string joined from several terms with '+' is cut at this many bytes.
inline constexpr size_t kMaxJoinedStringBytes = 4096;

constexpr bool IsBlank(uint8_t c) { return c == ' ' || c == '\t'; }
constexpr bool IsDigit(uint8_t c) { return c >= '0' && c <= '9'; }

void SkipBlanks(Engine& engine);
void ExpectComma(Engine& engine);
// Whether a comma follows after blanks (an optional argument comes next);
// the comma itself is left for ExpectComma.
bool CommaFollows(Engine& engine);

// Reads a token (letters, digits after the first, '_'), lower-cased. Returns
// the empty string when the first byte cannot start a token. The byte after the
// token and its blanks is left at the script position.
std::string ReadToken(Engine& engine);

// Reads `*name`, or a string whose first byte is '*'. Tokens come back lower
// case; names from strings keep their case.
std::string ReadLabelName(Engine& engine);

int32_t ReadNumberTerm(Engine& engine);
// The same, also telling the expression cache how the value was found: the
// variable number for a single %n whose n is constant, -1 for a constant, and
// `cacheable` false for anything whose meaning may change (arrays, %%n).
int32_t ReadNumberTermForCache(Engine& engine, int32_t& var, bool& cacheable);
std::string ReadStringTerm(Engine& engine);
std::string ReadString(Engine& engine);

// Decodes the six hexadecimal digits of a "#rrggbb" colour to 0xRRGGBB. A bad
// digit is reported and counts as 0.
uint32_t ParseColor(Engine& engine, std::string_view six_digits);
// The same for the six bytes after the '#' at the script position; the caller
// then advances past the seven bytes.
uint32_t ReadColor(Engine& engine);
// A literal "#rrggbb" after blanks, read and passed; anything else there
// reports `message` with `title` (the command's own texts).
uint32_t ExpectLiteralColor(Engine& engine, std::string_view message, std::string_view title);

}  // namespace orivane

namespace orivane {

// Bounds the nesting of readers that call each other (array indices inside
// indices, parentheses, conditional strings), so that a hostile script
// cannot exhaust the machine stack. Deeper nesting is reported as a syntax
// error.
class ReaderDepth {
 public:
  static constexpr int kMaxDepth = 200;
  explicit ReaderDepth(Engine& engine);
  ~ReaderDepth();
  ReaderDepth(const ReaderDepth&) = delete;
  ReaderDepth& operator=(const ReaderDepth&) = delete;

 private:
  Engine& engine_;
};

}  // namespace orivane
