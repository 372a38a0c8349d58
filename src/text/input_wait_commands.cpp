#include "text/input_wait_commands.h"

#include <algorithm>
#include <optional>
#include <string>

#include "engine.h"
#include "platform/platform.h"
#include "player_waits.h"
#include "script/command_table.h"
#include "script/expression.h"
#include "script/readers.h"
#include "script/variable_targets.h"

namespace orivane {
namespace {

enum class ClickTaken { kLeft, kRight };

// A click wait without cursor or text: a left click (the button's release,
// Space or Enter), the skip key or skip mode end it; with `right_ends`, a
// right click too, which otherwise does nothing here. The click is used up.
// A scripted player out of input clicks at once, at the pointer.
ClickTaken WaitForClick(Engine& engine, bool right_ends) {
  InputState& in = engine.input;
  engine.platform.DiscardPendingClicks();
  in.left_clicked = in.right_clicked = false;
  ClickTaken taken = ClickTaken::kLeft;
  for (;;) {
    if (engine.interp.reset_request) break;
    if (in.left_clicked || engine.read_flags.skip_mode || SkipKeyHeld(engine)) break;
    if (in.right_clicked) {
      in.right_clicked = false;
      if (right_ends) {
        taken = ClickTaken::kRight;
        break;
      }
    }
    if (PumpOne(engine)) continue;
    const IdleVerdict verdict = engine.platform.PlayerIdle(PlayerWait::kClick);
    if (verdict.what == IdleVerdict::What::kClickNow) {
      in.click_x = in.pointer_x;
      in.click_y = in.pointer_y;
      break;
    }
    if (verdict.what == IdleVerdict::What::kEndRun)
      EndRunForMissingPlayer(engine, verdict.note, verdict.status);
    SleepUntil(engine, std::nullopt);
  }
  in.left_clicked = in.right_clicked = false;
  return taken;
}

// A wait time from the script; a negative one waits for nothing.
uint32_t Milliseconds(int32_t ms) {
  return static_cast<uint32_t>(std::max(ms, 0));
}

// The two numeric variables "%x,%y" of a position; anything else reports
// `message`.
struct PositionTargets {
  int32_t x;
  int32_t y;
};

PositionTargets ReadPositionTargets(Engine& engine, const char* message) {
  const int32_t x = ExpectNumVar(engine, message);
  ExpectComma(engine);
  return {x, ExpectNumVar(engine, message)};
}

void CmdClick(Engine& engine) {
  WaitForClick(engine, false);
}

void CmdLrclick(Engine& engine) {
  engine.ret.value = WaitForClick(engine, true) == ClickTaken::kLeft ? 1 : 0;
}

void CmdClickpos(Engine& engine) {
  const PositionTargets to = ReadPositionTargets(engine, "clickposの第１，２引数は数字変数です。");
  WaitForClick(engine, false);
  engine.vars.SetNum(to.x, engine.input.click_x);
  engine.vars.SetNum(to.y, engine.input.click_y);
  engine.vars.ApplyIntLimits();
}

// The pointer and the button as they are now. They are looked at, not
// taken: a click that fell due meanwhile stays queued for the next wait.
PointerNow PeekPointer(Engine& engine) {
  const InputState& in = engine.input;
  return engine.platform.PeekPointer(PointerNow{in.pointer_x, in.pointer_y, in.left_down});
}

void CmdGetmousepos(Engine& engine) {
  const PositionTargets to =
      ReadPositionTargets(engine, "getmouseposの第１，２引数は数字変数です。");
  const PointerNow pointer = PeekPointer(engine);
  engine.vars.SetNum(to.x, pointer.x);
  engine.vars.SetNum(to.y, pointer.y);
}

void CmdIsdown(Engine& engine) {
  const int32_t n = ExpectNumVar(engine, "isdownの引数は数字変数です。");
  engine.vars.SetNum(n, PeekPointer(engine).left_down ? 1 : 0);
}

// A wait of no time takes no event either: what fell due is for the next
// wait that lasts.
void CmdWait(Engine& engine) {
  const uint32_t ms = Milliseconds(ReadNumber(engine));
  if (ms == 0) {
    CheckRunLimits(engine);
    return;
  }
  PumpUntil(engine, engine.platform.Ticks() + ms);
}

void CmdDelay(Engine& engine) {
  TimedWait(engine, Milliseconds(ReadNumber(engine)), true);
}

void CmdResettimer(Engine& engine) {
  engine.text_out.timer_base = engine.platform.Ticks();
}

void CmdWaittimer(Engine& engine) {
  const uint32_t until = engine.text_out.timer_base + static_cast<uint32_t>(ReadNumber(engine));
  if (!TimeReached(engine.platform.Ticks(), until)) PumpUntil(engine, until);
}

void CmdGettimer(Engine& engine) {
  const int32_t n = ExpectNumVar(engine, "gettimerの引数は数字変数です。");
  engine.vars.SetNum(n, static_cast<int32_t>(engine.platform.Ticks() - engine.text_out.timer_base));
  engine.vars.ApplyIntLimits();
}

void CmdClickvoice(Engine& engine) {
  TextOutputState& out = engine.text_out;
  out.click_voice = ReadString(engine);
  ExpectComma(engine);
  out.page_voice = ReadString(engine);
}

}  // namespace

void RegisterInputWaitCommands(CommandTable& table) {
  table.Register("click", CmdClick);
  table.Register("lrclick", CmdLrclick);
  table.Register("clickpos", CmdClickpos);
  table.Register("getmousepos", CmdGetmousepos);
  table.Register("isdown", CmdIsdown);
  table.Register("wait", CmdWait);
  table.Register("delay", CmdDelay);
  table.Register("resettimer", CmdResettimer);
  table.Register("waittimer", CmdWaittimer);
  table.Register("gettimer", CmdGettimer);
  table.Register("clickvoice", CmdClickvoice);
}

}  // namespace orivane
