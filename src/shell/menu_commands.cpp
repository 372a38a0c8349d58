#include "shell/menu_commands.h"

#include <string>

#include "engine.h"
#include "platform/platform.h"
#include "shell/menu_bar.h"
#include "shell/settings_dialogs.h"
#include "shell/pump.h"
#include "shell/window_events.h"
#include "text/read_flags.h"
#include "text/text_window.h"
#include "util/sjis.h"

namespace orivane {
namespace {

// Checks `chosen` and unchecks the others of its group.
void CheckOne(Engine& engine, int32_t chosen, std::initializer_list<int32_t> group) {
  for (int32_t id : group) SetMenuChecked(engine.shell.bar, id, id == chosen);
  ShowMenuBar(engine);
}

void ChooseFont(Engine& engine, int32_t item, std::string face_sjis) {
  ShellState& sh = engine.shell;
  sh.current_font = std::move(face_sjis);
  // The text window takes the face from its next page on.
  if (item == menu_id::kDefaultFont)
    TakeMenuDefaultFontFace(engine);
  else
    TakeMenuFontFace(engine, sh.current_font);
  SetMenuChecked(sh.bar, sh.checked_font_item, false);
  SetMenuChecked(sh.bar, item, true);
  sh.checked_font_item = item;
  ShowMenuBar(engine);
}

void ShowVersion(Engine& engine) {
  ShellState& sh = engine.shell;
  if (sh.debug_mode) {
    // The variable editor: a variable number, then its new value.
    std::optional<int32_t> number = AskNumber(engine, "変数番号");
    if (!number) return;
    std::optional<int32_t> value = AskNumber(engine, "値");
    if (!value) return;
    engine.vars.SetNum(*number, *value);
    return;
  }
  Question q;
  q.title = "バージョン情報";
  q.text = SjisToUtf8(sh.version_text) + "\n" + SjisToUtf8(sh.credit_text);
  q.icon = Question::Icon::kInformation;
  AskPlayer(engine, q);
}

void AskToReset(Engine& engine) {
  Question q;
  q.title = "リセット確認";
  q.text = "リセットしますか？";
  q.buttons = Question::Buttons::kYesNo;
  q.icon = Question::Icon::kQuestion;
  if (AskPlayer(engine, q).answer == Answer::kYes) engine.interp.reset_request = 1;
}

// Skip to the next selection, unless read-flag skipping must stop here
// because the text at the script position has not been read.
void StartSkip(Engine& engine) {
  if (SkipStopsAt(engine.read_flags, engine.script.pos)) return;
  engine.read_flags.skip_mode = true;
}

}  // namespace

void EnterFullScreen(Engine& engine) {
  CheckOne(engine, menu_id::kFullScreen, {menu_id::kFullScreen, menu_id::kWindow});
  if (engine.shell.full_screen) return;
  if (engine.platform.SetFullScreen(true)) engine.shell.full_screen = true;
}

void LeaveFullScreen(Engine& engine) {
  CheckOne(engine, menu_id::kWindow, {menu_id::kFullScreen, menu_id::kWindow});
  if (!engine.shell.full_screen) return;
  if (engine.platform.SetFullScreen(false)) engine.shell.full_screen = false;
}

void RunMenuCommand(Engine& engine, int32_t command) {
  using namespace menu_id;
  ShellState& sh = engine.shell;
  PlayerSettings& s = sh.settings;
  switch (command) {
    case kEnd: AskToQuit(engine); return;
    case kFullScreen: EnterFullScreen(engine); return;
    case kWindow: LeaveFullScreen(engine); return;
    case kDefaultFont: ChooseFont(engine, kDefaultFont, Utf8ToSjis("ＭＳ ゴシック")); return;
    case kVersion: ShowVersion(engine); return;
    case kSkip: StartSkip(engine); return;
    case kClickPage:
      s.page_mode = true;
      CheckOne(engine, kClickPage, {kClickPage, kClickDefault});
      return;
    case kClickDefault:
      s.page_mode = false;
      CheckOne(engine, kClickDefault, {kClickPage, kClickDefault});
      return;
    case kTextSlow:
    case kTextNormal:
    case kTextFast:
      s.text_speed = command - kTextSlow;
      CheckOne(engine, command, {kTextSlow, kTextNormal, kTextFast});
      return;
    case kSoundOn:
    case kSoundOff:
      s.sound_on = command == kSoundOn;
      CheckOne(engine, command, {kSoundOn, kSoundOff});
      return;
    case kAuto: s.auto_mode = true; return;
    case kCdOn:
    case kCdOff: {
      const bool was_on = s.cd_on;
      s.cd_on = command == kCdOn;
      CheckOne(engine, command, {kCdOn, kCdOff});
      if (engine.shell.hooks.cd_audio_switched) engine.shell.hooks.cd_audio_switched(engine, was_on);
      return;
    }
    case kReadSkipOn:
    case kReadSkipOff:
      engine.read_flags.read_only_skip = command == kReadSkipOn;
      CheckOne(engine, command, {kReadSkipOn, kReadSkipOff});
      return;
    case kReset: AskToReset(engine); return;
    case kToggleScreen:
      if (sh.caption.rfind("KVR7", 0) == 0) return;
      sh.posted_commands.push_back(sh.full_screen ? kWindow : kFullScreen);
      return;
    case kCdDrive: OpenCdDriveDialog(engine); return;
    case kVolume: OpenVolumeDialog(engine); return;
    case kTextSpeedDialog: OpenTextSpeedDialog(engine); return;
    case kAutoSpeedDialog: OpenAutoSpeedDialog(engine); return;
    default:
      // Font items; any other identifier (40009 ... 40013, 40023, 40027 and
      // numbers no item carries) has no meaning and is ignored.
      if (command >= 0 && command < kFontMenuCapacity && !sh.font_table[command].empty())
        ChooseFont(engine, command, Utf8ToSjis(sh.font_table[command]));
      return;
  }
}

}  // namespace orivane
