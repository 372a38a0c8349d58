#include "shell/pump.h"

#include <cstdlib>
#include <string>

#include "engine.h"
#include "platform/platform.h"
#include "script/error.h"
#include "shell/window_events.h"
#include "util/sjis.h"

namespace orivane {
namespace {

bool PumpOnePosted(Engine& engine) {
  ShellState& sh = engine.shell;
  if (sh.posted_commands.empty()) return false;
  PlayerEvent e;
  e.kind = PlayerEvent::Kind::kMenuCommand;
  e.value = sh.posted_commands.front();
  sh.posted_commands.pop_front();
  HandlePlayerEvent(engine, e);
  return true;
}

// The heartbeat's place in the wake list: due every period while it runs and
// some subsystem has work for it.
std::optional<uint32_t> NextHeartbeat(Engine& engine) {
  const Heartbeat& hb = engine.shell.heartbeat;
  if (!hb.running || hb.hooks.empty()) return std::nullopt;
  return hb.next_tick;
}

void RunHeartbeat(Engine& engine) {
  Heartbeat& hb = engine.shell.heartbeat;
  uint32_t now = engine.platform.Ticks();
  for (auto hook : hb.hooks) hook(engine);
  hb.next_tick += Heartbeat::kPeriodMs;
  // After a long stall, tick again a period from now instead of catching up.
  if (TimeReached(now, hb.next_tick)) hb.next_tick = now + Heartbeat::kPeriodMs;
}

}  // namespace

bool PumpMessage(Engine& engine, PlayerEvent* handled) {
  if (PumpOnePosted(engine)) {
    if (handled) *handled = PlayerEvent{};
    return true;
  }
  PlayerEvent e;
  do {
    if (!engine.platform.PollEvent(e)) return false;
  } while (SwallowAfterModal(engine, e));
  HandlePlayerEvent(engine, e);
  if (handled) *handled = e;
  return true;
}

void AttachPump(Engine& engine) {
  engine.waits.pump_one = PumpMessage;
  AddWakeSource(engine, WakeSource{NextHeartbeat, RunHeartbeat});
}

void PumpPosted(Engine& engine) {
  while (PumpOnePosted(engine)) {
  }
}

void PumpAfter(Engine& engine, uint32_t ms) {
  SleepUntil(engine, engine.platform.Ticks() + ms);
  PumpOne(engine);
}

std::optional<int32_t> AskNumber(Engine& engine, std::string_view prompt_utf8) {
  Question q;
  q.title = "数値入力";
  q.text = std::string(prompt_utf8);
  q.buttons = Question::Buttons::kTextInput;
  for (;;) {
    Reply r = AskPlayer(engine, q);
    if (r.answer != Answer::kOk) return std::nullopt;
    const std::string& t = r.text;
    bool ok = !t.empty() && t != "-" && t.size() <= 11;
    for (size_t i = 0; ok && i < t.size(); ++i) ok = (t[i] >= '0' && t[i] <= '9') || (i == 0 && t[i] == '-');
    if (ok) {
      long long v = std::strtoll(t.c_str(), nullptr, 10);
      if (v >= INT32_MIN && v <= INT32_MAX) return static_cast<int32_t>(v);
    }
    Question bad;
    bad.title = "数値入力";
    bad.text = "数値を入力してください。";
    bad.icon = Question::Icon::kStop;
    AskPlayer(engine, bad);
  }
}


}  // namespace orivane
