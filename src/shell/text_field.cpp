#include "shell/text_field.h"

#include "engine.h"
#include "engine_wait.h"
#include "player_waits.h"
#include "shell/input_dialog.h"
#include "util/sjis.h"

namespace orivane {
namespace {

// Ends the field's input: the flag that a left click also sets.
void EndInput(Engine& engine) {
  engine.input.left_clicked = true;
}

// Waits until the player ends the input, a scripted `text` line types and
// confirms it, or the game is reset or quits.
void WaitForFieldEnd(Engine& engine) {
  InputState& in = engine.input;
  for (;;) {
    if (in.left_clicked || engine.interp.reset_request || engine.interp.quit_request) return;
    if (PumpOne(engine)) continue;
    const IdleVerdict verdict = engine.platform.PlayerIdle(PlayerWait::kTextField);
    if (verdict.what == IdleVerdict::What::kTypeText) {
      engine.platform.SetTextFieldText(verdict.text);
      return;
    }
    if (verdict.what == IdleVerdict::What::kEndRun) {
      engine.platform.CloseTextField();
      engine.shell.text_field = {};
      EndRunForMissingPlayer(engine, verdict.note, verdict.status);
    }
    SleepUntil(engine, verdict.due);
  }
}

}  // namespace

bool TakeTextFieldEvent(Engine& engine, const PlayerEvent& e) {
  TextFieldState& field = engine.shell.text_field;
  if (!field.open) return false;
  using Kind = PlayerEvent::Kind;
  switch (e.kind) {
    case Kind::kCharacter:
      return true;  // typed into the field
    case Kind::kKeyDown:
      if (e.key == kKeyEscape) {
        field.escape_ends = engine.platform.TextFieldText().empty();
        if (!field.escape_ends) engine.platform.SetTextFieldText("");
      }
      return true;
    case Kind::kKeyUp:
      if (e.key == kKeyTab) {
        engine.input.left_with_tab = true;
        EndInput(engine);
      } else if (e.key == kKeyEnter || (e.key == kKeyEscape && field.escape_ends)) {
        EndInput(engine);
      }
      return true;
    default:
      return false;
  }
}

std::string RunTextField(Engine& engine, const TextFieldRequest& request, bool full_width_only) {
  InputState& in = engine.input;
  in.left_with_tab = false;
  engine.platform.OpenTextField(request);
  engine.shell.text_field = TextFieldState{.open = true};
  std::string text;
  for (;;) {
    in.left_clicked = false;
    WaitForFieldEnd(engine);
    in.left_clicked = false;
    text = CutToInputBuffer(Utf8ToSjis(engine.platform.TextFieldText()));
    if (!full_width_only || AllFullWidth(text)) break;
    if (engine.interp.reset_request || engine.interp.quit_request) break;
    ShowRefusal(engine, kFullWidthOnlyRefusal);
  }
  engine.platform.CloseTextField();
  engine.shell.text_field = {};
  return text;
}

}  // namespace orivane
