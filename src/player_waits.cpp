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

Reply AskPlayer(Engine& engine, const Question& question) {
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
