// The whole game script as one NUL-terminated byte buffer and the single
// reading position in it. Every argument reader advances `pos`; every jump
// sets it. `pos` always stays within [0, length]; the bytes after `length`
// are zero padding so that readers may look a few bytes ahead without a
// bounds test.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace orivane {

inline constexpr int kScriptFileCount = 100;
inline constexpr int kScriptPadding = 16;  // zero bytes after the terminating NUL

struct ScriptBuffer {
  std::vector<uint8_t> bytes;  // length + 1 + kScriptPadding bytes, all after `length` zero
  int32_t length = 0;          // bytes before the terminating NUL
  int32_t pos = 0;
  // Position of the newline appended after each numbered file.
  std::array<int32_t, kScriptFileCount> file_end{};
  bool packed = false;                // loaded from orscript.dat / orscript.zat
  const char* packed_name = nullptr;  // which packed file, for error locations
  // The number of the last script file read (0 for a packed script), -1 when
  // none was, and the position of the newline appended after it. Past that
  // newline lie only the empty lines of absent files: a position there is
  // beyond the end of the script's text.
  int last_file = -1;
  int32_t text_end = 0;

  ScriptBuffer() { Assign({}); }

  // Replaces the contents with `script` (no NUL inside expected) and rewinds.
  void Assign(std::vector<uint8_t> script) {
    length = static_cast<int32_t>(script.size());
    script.resize(script.size() + 1 + kScriptPadding, 0);
    bytes = std::move(script);
    pos = 0;
    last_file = -1;
    text_end = length;
  }

  uint8_t Cur() const { return bytes[pos]; }
  // Byte `k` places ahead of the position; k < kScriptPadding.
  uint8_t Ahead(int k) const { return bytes[pos + k]; }
  // Byte at any position; 0 outside the script.
  uint8_t At(int64_t p) const { return (p >= 0 && p <= length) ? bytes[p] : 0; }
  void Advance(int32_t n = 1) { pos = (n >= length - pos) ? length : pos + n; }
  void Seek(int64_t p) { pos = p < 0 ? 0 : (p > length ? length : static_cast<int32_t>(p)); }
};

}  // namespace orivane
