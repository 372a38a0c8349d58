// The scripted player of `--input FILE`: one event per line, taken in order
// whenever the engine polls for input. A line may begin with `after MS`; it
// then takes effect only once the engine clock is MS milliseconds past the
// moment the previous line took effect. Blank lines and lines starting with
// '#' are skipped.
//
//   click X Y | rclick X Y | move X Y      game coordinates
//   wheel N                                N notches, positive away from the player
//   key NAME | keydown NAME | keyup NAME   enter space escape tab up down left right
//                                          pageup pagedown f1..f12 ctrl alt shift
//                                          backspace, or one character
//   menu ID                                a menu command identifier
//   answer yes|no|ok|cancel | text STRING  for message boxes and input boxes
//   choose N                               option N (from 1) of the open selection
//   button N                               the open button wait returns N
//   close                                  the window's close button
//
// Both backends use it: headless on the virtual clock, the window on the wall
// clock (with a person taking over when the file has ended).
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "platform/player_event.h"

namespace orivane {

// What a pointer or button event says of the pointer, folded into `pointer`;
// other events leave it as it is. Both backends look ahead through their
// queues with it (Platform::PeekPointer).
inline void FoldPointerEvent(const PlayerEvent& e, PointerNow& pointer) {
  using Kind = PlayerEvent::Kind;
  if (e.kind != Kind::kPointerMove && e.kind != Kind::kButtonDown && e.kind != Kind::kButtonUp) return;
  pointer.x = e.x;
  pointer.y = e.y;
  if (e.button == PointerButton::kLeft && e.kind != Kind::kPointerMove) pointer.left_down = e.kind == Kind::kButtonDown;
}

// The most options a `choose` line can name: a selection has at most 50.
inline constexpr int kMaxScriptedChoice = 50;

struct ScriptedLine {
  enum class Kind { kEvents, kAnswer, kText, kChoice, kButton };
  Kind kind = Kind::kEvents;
  int line_number = 0;
  uint32_t delay_ms = 0;
  std::vector<PlayerEvent> events;  // kEvents: what the line does, in order
  Answer answer = Answer::kOk;      // kAnswer
  std::string text;                 // kText (UTF-8)
  int choice = 0;                   // kChoice: the option, counted from 1; kButton: the button number
};

class ScriptedPlayer {
 public:
  // Reads and checks the whole file. On failure `error` names the file and line.
  bool Load(const std::string& path, std::string& error);
  // The same for text already in memory; `name` is used in messages.
  bool Parse(const std::string& name, std::string_view text, std::string& error);

  // True when an input file was given.
  bool active() const { return active_; }
  // True when events of a taken line are still waiting to be polled.
  bool HasPendingEvents() const { return !pending_.empty(); }
  // True when every line has been taken.
  bool Finished() const { return pending_.empty() && next_ >= lines_.size(); }

  // The clock time at which the next line takes effect; nullopt when none is left
  // or when events of a taken line are still pending (they are due now).
  std::optional<uint32_t> NextDue() const;

  // The next event due at `now`: the rest of a taken line first, then the next
  // line when it is an event line and its time has come.
  bool PollEvent(uint32_t now, PlayerEvent& event);

  // Folds the events due at `now` into `pointer` without taking them: the
  // rest of a taken line, then the event lines whose time has come.
  void PeekPointer(uint32_t now, PointerNow& pointer) const;

  // What a wait for the player does at clock time `now` when PollEvent had
  // nothing. A selection takes a `choose` line here once it is due (kChoose);
  // before that it is told when (kKeepWaiting with `due`).
  IdleVerdict Idle(PlayerWait kind, uint32_t now);

  // True when the next line is not polled as events but taken by a wait
  // itself: an `answer` or `text` line by a box, a `choose` line by a
  // selection. Sleeps do not end for it.
  bool NextIsAnswer() const { return pending_.empty() && next_ < lines_.size() && lines_[next_].kind != ScriptedLine::Kind::kEvents; }

  // A box takes the releases before its answer: the rest of a taken line
  // (the release of the key whose press ended the wait before the box) and
  // the lines of releases alone that are due at `now`. A release never holds
  // up the line after it. Returns the keys released.
  std::vector<KeyId> TakePendingReleases(uint32_t now);
  // True when the next line holds releases alone (nothing is pending).
  bool NextIsRelease() const;

  // Takes the next line as the answer to `question` at clock time `now` (the
  // caller has waited until NextDue). kNoPlayer when the input has ended,
  // kBadInput when the line does not fit the box.
  Reply TakeAnswer(const Question& question, uint32_t now);

 private:
  std::string LineName(int line_number) const;  // "file:line"
  std::string EndOfInput() const;               // the note's start when the input has ended

  bool active_ = false;
  std::string name_;
  std::vector<ScriptedLine> lines_;
  size_t next_ = 0;
  uint32_t last_time_ = 0;  // when the previous line took effect
  int last_line_ = 0;       // number of the last line taken
  std::deque<PlayerEvent> pending_;
};

// Parses one line (without its `after` prefix handling exposed): true and
// `out` filled, false with `error` describing the problem. Blank and comment
// lines give true with `skip` set.
bool ParseScriptedLine(std::string_view line, ScriptedLine& out, bool& skip, std::string& error);

}  // namespace orivane
