// Skip mode and the read-text flags: one bit per script byte, set when the
// interpreter passes that byte, so that skip-read-only mode can stop at text
// the player has not seen yet. The flags exist only once the *define block
// asked for them (`kidokuskip`); before that nothing is marked and skipping
// never stops for unread text.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace orivane {

struct ReadFlags {
  bool skip_mode = false;
  bool read_only_skip = false;  // skip mode stops at unread text
  // While skipping, text is shown on the screen again from this moment of
  // the engine clock on (once a frame).
  uint32_t skip_show_due = 0;
  // `automode` or `mode_ext` in the *define block: the menu bar keeps its
  // auto-mode item; without either, `game` takes it away.
  bool auto_mode_item = false;
  // The bitmap is kept (`kidokuskip`). Kept with no bytes (an empty script)
  // means every position lies outside it.
  bool kept = false;
  std::vector<uint8_t> bits;  // byte p/8, bit p%8 (least significant first)

  // Whether `p` has a bit. Negative positions and positions past the end
  // have none.
  bool Covers(int32_t p) const { return static_cast<uint32_t>(p) / 8 < bits.size(); }
  bool IsSet(int32_t p) const { return (bits[static_cast<uint32_t>(p) / 8] >> (p & 7)) & 1; }
};

// Whether read-only skipping must stop at `pos`: it is on, the flags are
// kept, and `pos` has not been read (or lies outside the bitmap).
inline bool SkipStopsAt(const ReadFlags& rf, int32_t pos) {
  return rf.read_only_skip && rf.kept && !(rf.Covers(pos) && rf.IsSet(pos));
}

// Before the statement at `pos` runs: an unread statement ends read-only
// skipping, then `pos` is marked read. The check comes first, so the first
// run of a statement stops skipping and later runs do not. This is on the
// path of every statement, so it stays a few instructions.
inline void MarkRead(ReadFlags& rf, int32_t pos) {
  if (!rf.kept) return;
  const uint32_t byte = static_cast<uint32_t>(pos) / 8;
  if (byte >= rf.bits.size()) {
    if (rf.read_only_skip) rf.skip_mode = false;
    return;
  }
  const uint8_t bit = static_cast<uint8_t>(1u << (pos & 7));
  uint8_t& b = rf.bits[byte];
  if (rf.read_only_skip && !(b & bit)) rf.skip_mode = false;
  b |= bit;
}

// Keeps a fresh bitmap for a script of `script_bytes` bytes, all unread:
// (script_bytes + 7) / 8 bytes.
void KeepReadFlags(ReadFlags& rf, int32_t script_bytes);

// Copies saved flags over the start of the kept bitmap: what is missing
// stays unread, what lies beyond the bitmap is dropped.
void TakeSavedReadFlags(ReadFlags& rf, std::span<const uint8_t> saved);

// Before the script is loaded again: the bitmap of the old script and the
// *define block's auto-mode switch go; the player's skip settings stay.
void ForgetReadFlagsForStartUp(ReadFlags& rf);

}  // namespace orivane
