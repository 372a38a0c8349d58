#include "shell/window_events.h"

#include "engine.h"
#include "platform/platform.h"
#include "script/debug_trace.h"
#include "shell/menu_commands.h"
#include "shell/pump.h"
#include "shell/text_field.h"

namespace orivane {
namespace {

void RecordPointer(InputState& in, const PlayerEvent& e) {
  in.last_value = e.x;
  in.last_y = e.y;
  in.pointer_x = e.x;
  in.pointer_y = e.y;
  in.pointer_known = true;
}

// A click while auto or skip mode runs only stops the mode.
bool StopsAutoOrSkip(Engine& engine) {
  bool& skip = engine.read_flags.skip_mode;
  bool& autom = engine.shell.settings.auto_mode;
  if (!skip && !autom) return false;
  skip = autom = false;
  return true;
}

void NoteKeyHeld(InputState& in, KeyId key, bool held) {
  std::erase(in.held_keys, key);
  if (held) in.held_keys.push_back(key);
}

}  // namespace

bool SwallowAfterModal(Engine& engine, const PlayerEvent& e) {
  using Kind = PlayerEvent::Kind;
  InputState& in = engine.input;
  switch (e.kind) {
    case Kind::kKeyDown:
      std::erase(in.swallowed_keys, e.key);  // pressed again: this press is the player's
      return false;
    case Kind::kKeyUp:
      if (!Contains(in.swallowed_keys, e.key)) return false;
      std::erase(in.swallowed_keys, e.key);
      NoteKeyHeld(in, e.key, false);
      return true;
    case Kind::kCharacter:
      for (KeyId key : in.swallowed_keys)
        if (CharacterOfKey(key) == e.value) return true;
      return false;
    case Kind::kButtonUp: {
      bool& swallow = e.button == PointerButton::kLeft ? in.swallow_left_release : in.swallow_right_release;
      if (!swallow) return false;
      swallow = false;
      (e.button == PointerButton::kLeft ? in.left_down : in.right_down) = false;
      return true;
    }
    default:
      return false;
  }
}

void AskToQuit(Engine& engine) {
  Question q;
  q.title = "終了確認";
  q.text = "終了しますか？";
  q.buttons = Question::Buttons::kYesNo;
  q.icon = Question::Icon::kQuestion;
  if (AskPlayer(engine, q).answer == Answer::kYes) QuitGame(engine);
}

void HandlePlayerEvent(Engine& engine, const PlayerEvent& e) {
  using Kind = PlayerEvent::Kind;
  InputState& in = engine.input;
  if (e.kind == Kind::kKeyDown || e.kind == Kind::kKeyUp) NoteKeyHeld(in, e.key, e.kind == Kind::kKeyDown);
  if (TakeTextFieldEvent(engine, e)) return;
  in.last_event = e.kind;
  switch (e.kind) {
    case Kind::kKeyDown:
      // The accelerator Alt+Enter switches the screen mode; its Enter is
      // not typed.
      if (e.key == kKeyEnter && engine.platform.KeyHeld(kKeyAlt)) {
        engine.shell.enter_taken_by_accelerator = true;
        RunMenuCommand(engine, menu_id::kToggleScreen);
      }
      break;
    case Kind::kKeyUp:
      break;
    case Kind::kCharacter:
      if (e.value == '\r' && engine.shell.enter_taken_by_accelerator) {
        engine.shell.enter_taken_by_accelerator = false;
        break;
      }
      engine.read_flags.skip_mode = false;
      in.last_value = e.value;
      if (e.value == 'n') {
        engine.shell.posted_commands.push_back(menu_id::kSkip);
      } else if (e.value == 'd' && !engine.script.packed) {
        OpenDebugWindow(engine);  // an author's aid, for scripts still in plain files
      } else if (e.value == ' ' || e.value == '\r') {
        in.left_clicked = true;
      }
      break;
    case Kind::kButtonDown:
      (e.button == PointerButton::kLeft ? in.left_down : in.right_down) = true;
      RecordPointer(in, e);
      in.click_x = e.x;
      in.click_y = e.y;
      break;
    case Kind::kButtonUp:
      (e.button == PointerButton::kLeft ? in.left_down : in.right_down) = false;
      if (StopsAutoOrSkip(engine)) break;
      if (e.button == PointerButton::kLeft) {
        in.left_clicked = true;
        if (engine.shell.hooks.left_click) engine.shell.hooks.left_click(engine);
      } else {
        in.right_clicked = true;
      }
      RecordPointer(in, e);
      in.click_x = e.x;
      in.click_y = e.y;
      break;
    case Kind::kWheel:
      in.last_value = e.value;
      break;
    case Kind::kPointerMove:
      RecordPointer(in, e);
      break;
    case Kind::kMenuCommand:
      RunMenuCommand(engine, e.value);
      break;
    case Kind::kClose:
      AskToQuit(engine);
      break;
  }
}

}  // namespace orivane
