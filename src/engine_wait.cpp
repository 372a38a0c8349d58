#include "engine_wait.h"

#include <chrono>
#include <csignal>
#include <cstring>
#include <string>

#include "engine.h"
#include "platform/platform.h"

namespace orivane {
namespace {

void Earliest(std::optional<uint32_t>& soonest, uint32_t t) {
  if (!soonest || static_cast<int32_t>(t - *soonest) < 0) soonest = t;
}

void RunDueSources(Engine& engine) {
  // A source may add work for another, so each is asked afresh.
  for (const WakeSource& s : engine.waits.sources) {
    std::optional<uint32_t> due = s.next(engine);
    if (due && TimeReached(engine.platform.Ticks(), *due)) s.run(engine);
  }
}

}  // namespace

void AddWakeSource(Engine& engine, WakeSource source) { engine.waits.sources.push_back(source); }

std::optional<uint32_t> NextWake(Engine& engine, std::optional<uint32_t> deadline) {
  std::optional<uint32_t> soonest = deadline;
  // A source that is due already (a picture that animates without pause)
  // still lets a millisecond pass, so that a wait never turns into a busy loop.
  const uint32_t next_ms = engine.platform.Ticks() + 1;
  for (const WakeSource& s : engine.waits.sources)
    if (std::optional<uint32_t> t = s.next(engine)) Earliest(soonest, TimeReached(*t, next_ms) ? *t : next_ms);
  if (engine.timeout_ms != 0) Earliest(soonest, engine.timeout_ms + 1);
  return soonest;
}

void SleepUntil(Engine& engine, std::optional<uint32_t> deadline) {
  CheckRunLimits(engine);
  if (std::optional<uint32_t> wake = NextWake(engine, deadline)) {
    engine.platform.WaitUntil(*wake);
  } else {
    engine.platform.WaitForEvent();
  }
  RunDueSources(engine);
  CheckRunLimits(engine);
}

void SleepForOutside(Engine& engine, std::optional<uint32_t> deadline) {
  CheckRunLimits(engine);
  engine.platform.WaitForOutside(NextWake(engine, deadline));
  RunDueSources(engine);
  CheckRunLimits(engine);
}

bool PumpOne(Engine& engine, PlayerEvent* handled) {
  return engine.waits.pump_one && engine.waits.pump_one(engine, handled);
}

void PumpAll(Engine& engine) {
  while (PumpOne(engine)) {
  }
}

void PumpUntil(Engine& engine, uint32_t deadline) {
  for (;;) {
    PumpAll(engine);
    if (TimeReached(engine.platform.Ticks(), deadline)) return;
    SleepUntil(engine, deadline);
  }
}

void CheckRunLimits(Engine& engine) {
  if (int signal_number = engine.platform.StopRequested()) {
    const char* name = signal_number == SIGINT ? "SIGINT" : signal_number == SIGTERM ? "SIGTERM" : nullptr;
    engine.platform.Note(std::string("orivane: stopped by ") +
                         (name ? name : "signal " + std::to_string(signal_number)));
    throw EngineExit{128 + signal_number};
  }
  if (engine.timeout_ms == 0) return;
  auto wall = std::chrono::steady_clock::now() - engine.wall_start;
  auto wall_ms = std::chrono::duration_cast<std::chrono::milliseconds>(wall).count();
  if (engine.platform.Ticks() > engine.timeout_ms || wall_ms > static_cast<int64_t>(engine.timeout_ms)) {
    engine.platform.Note("orivane: timeout of " + std::to_string(engine.timeout_ms) + " ms reached, stopping");
    throw EngineExit{3};
  }
}

std::optional<uint32_t> LongWaitWrite::Poll(Engine& engine, uint32_t now) {
  if (done_) return std::nullopt;
  if (!TimeReached(now, due_)) return due_;
  done_ = true;
  if (engine.waits.write_persistent) engine.waits.write_persistent(engine);
  return std::nullopt;
}

bool SkipKeyHeld(Engine& engine) {
  Platform& p = engine.platform;
  if (!p.KeyHeld(kKeyCtrl)) return false;
  return !engine.shell.skip_key_needs_alt || p.KeyHeld(kKeyAlt);
}

}  // namespace orivane
