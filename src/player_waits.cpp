#include "player_waits.h"

#include <string>

#include "engine.h"
#include "platform/platform.h"
#include "script/error.h"
#include "util/sjis.h"

namespace orivane {

bool TimedWait(Engine& engine, uint32_t ms, bool clickable) {
  engine.platform.DiscardPendingClicks();
  if (engine.interp.reset_request) return true;
  uint32_t deadline = engine.platform.Ticks() + ms;
  bool enter_down = false;
  for (;;) {
    PlayerEvent e;
    while (PumpOne(engine, &e)) {
      if (clickable && e.kind == PlayerEvent::Kind::kButtonUp && e.button == PointerButton::kLeft) return true;
      if (e.kind == PlayerEvent::Kind::kKeyDown && e.key == kKeyEnter) enter_down = true;
      if (e.kind == PlayerEvent::Kind::kKeyUp && e.key == kKeyEnter && enter_down) return true;
      if (engine.interp.reset_request) return true;
    }
    if (clickable && (SkipKeyHeld(engine) || engine.read_flags.skip_mode)) return true;
    if (engine.interp.reset_request) return true;
    if (TimeReached(engine.platform.Ticks(), deadline)) return false;
    SleepUntil(engine, deadline);
  }
}

ModalInput::ModalInput(Engine& engine)
    : engine_(engine),
      left_clicked_(engine.input.left_clicked),
      right_clicked_(engine.input.right_clicked),
      left_down_(engine.input.left_down),
      right_down_(engine.input.right_down),
      held_keys_(engine.input.held_keys) {
  engine.input.left_clicked = engine.input.right_clicked = false;
}

ModalInput::~ModalInput() {
  InputState& in = engine_.input;
  in.left_clicked = left_clicked_;
  in.right_clicked = right_clicked_;
  for (KeyId key : in.held_keys)
    if (!Contains(held_keys_, key) && !Contains(in.swallowed_keys, key)) in.swallowed_keys.push_back(key);
  if (in.left_down && !left_down_) in.swallow_left_release = true;
  if (in.right_down && !right_down_) in.swallow_right_release = true;
}

Reply AskPlayer(Engine& engine, const Question& question) {
  ModalInput modal(engine);
  Heartbeat& hb = engine.shell.heartbeat;
  bool was_running = hb.running;
  hb.running = false;  // the heartbeat pauses while a modal box is open
  Reply r = engine.platform.Ask(question);
  CheckRunLimits(engine);  // a stop signal closes the box without an answer
  if (r.answer == Answer::kNoPlayer) EndRunForMissingPlayer(engine, r.note, 0);
  if (r.answer == Answer::kBadInput) EndRunForMissingPlayer(engine, r.note, 2);
  if (was_running) {
    hb.running = true;
    hb.next_tick = engine.platform.Ticks() + Heartbeat::kPeriodMs;
  }
  return r;
}

void EndRunForMissingPlayer(Engine& engine, std::string_view note, int status) {
  ScriptLocation at = LocatePosition(engine.script, engine.script.pos);
  std::string where = engine.script.packed ? SjisToUtf8(engine.script.packed_name) : std::to_string(at.file) + ".txt";
  engine.platform.Note(std::string(note) + " (script at " + where + " line " + std::to_string(at.line) + ")");
  throw EngineExit{status};
}

}  // namespace orivane
