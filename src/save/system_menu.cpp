#include "save/system_menu.h"

#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "engine.h"
#include "graphics/effects.h"
#include "platform/platform.h"
#include "player_waits.h"
#include "save/menu_layout.h"
#include "save/menu_screen.h"
#include "save/save_slots.h"
#include "script/command_table.h"
#include "script/error.h"
#include "script/expression.h"
#include "script/readers.h"
#include "text/back_log_viewer.h"
#include "text/text_window_display.h"
#include "util/sjis.h"

namespace orivane {
namespace {

// ---- the lines of the menus ------------------------------------------------------

void AppendFullWidthDigits(std::string& out, int32_t value, int min_digits) {
  std::string digits = std::to_string(value < 0 ? 0 : value);
  while (static_cast<int>(digits.size()) < min_digits) digits.insert(digits.begin(), ' ');
  for (char d : digits) {
    if (d == ' ') {
      out += "\x81\x40";  // "　"
    } else {
      out.push_back(static_cast<char>(0x82));
      out.push_back(static_cast<char>(0x4F + (d - '0')));
    }
  }
}

// "しおり　１　12月 3日 9時05分", all in full-width characters; "－" × 12
// for a slot without a file (`time` is the file's, nullopt without one).
std::string SlotLine(const Engine& engine, int32_t slot, const std::optional<std::tm>& time) {
  const SaveMenuState& menu = engine.save_menu;
  std::string line = menu.slot_name;
  if (menu.slots > 9 && slot < 10) line += "\x81\x40";
  AppendFullWidthDigits(line, slot, 1);
  line += "\x81\x40";
  if (!time) {
    const std::string dash = Utf8ToSjis("－");
    for (int i = 0; i < 12; ++i) line += dash;
    return line;
  }
  AppendFullWidthDigits(line, time->tm_mon + 1, 2);
  line += Utf8ToSjis("月");
  AppendFullWidthDigits(line, time->tm_mday, 2);
  line += Utf8ToSjis("日");
  AppendFullWidthDigits(line, time->tm_hour, 2);
  line += Utf8ToSjis("時");
  std::string minutes;
  AppendFullWidthDigits(minutes, time->tm_min, 2);
  if (time->tm_min < 10) minutes.replace(0, 2, "\x82\x4F");  // "%02d": a leading ０
  line += minutes + Utf8ToSjis("分");
  return line;
}

// The lines centred on the screen, one row apart, in the menu's look or the
// smaller one that fits the screen; then the wait for one to be taken.
int RunCentredMenu(Engine& engine, std::vector<MenuScreenLine>& lines) {
  const MenuLook look =
      LayOutMenuLines(engine.system_menu.look, lines, engine.screen_width, engine.screen_height);
  return RunMenuScreen(engine, lines, look);
}

// The question centred (broken onto as many lines as the screen needs),
// "はい　" and "いいえ" below it, side by side from the centre: 1 yes, 0 no,
// -1 cancelled (which counts as no).
int AskInMenu(Engine& engine, const std::string& question_sjis) {
  const MenuLook& look = engine.system_menu.look;
  QuestionLayout q = LayOutQuestion(look, question_sjis, engine.screen_width, engine.screen_height);
  for (size_t i = 0; i < q.lines.size(); ++i) {
    const bool choice = i >= q.yes;
    q.lines[i].colour = choice ? look.normal : look.highlighted;
    q.lines[i].selectable = choice;
  }
  const int taken = RunMenuScreen(engine, std::move(q.lines), q.look);
  const int yes = static_cast<int>(q.yes);
  if (taken >= yes) PlayMenuSound(engine, taken == yes ? MenuSound::kYes : MenuSound::kNo);
  return taken == yes ? 1 : taken == yes + 1 ? 0 : -1;
}

std::string FormatQuestion(const char* format_utf8, const std::string& line_sjis) {
  const std::string format = Utf8ToSjis(format_utf8);
  const size_t at = format.find("%s");
  return format.substr(0, at) + line_sjis + format.substr(at + 2);
}

// The save or load menu until a slot is saved or loaded, or the player
// cancels. An empty slot cannot be loaded.
void RunSaveLoadMenu(Engine& engine, bool save) {
  const SaveMenuState& menu = engine.save_menu;
  const MenuLook& look = engine.system_menu.look;  // its colours
  for (;;) {
    std::vector<MenuScreenLine> lines;
    lines.push_back({save ? menu.save_title : menu.load_title, 0, 0, engine.text.text_color, false});
    lines.push_back({"", 0, 0, 0, false});
    for (int32_t slot = 1; slot <= menu.slots; ++slot) {
      const std::optional<std::tm> time = SlotTime(engine, slot);
      const bool has_file = time.has_value();
      lines.push_back({SlotLine(engine, slot, time), 0, 0, has_file ? look.normal : look.empty, save || has_file});
    }
    const int taken = RunCentredMenu(engine, lines);
    if (taken < 2) return;
    PlayMenuSound(engine, MenuSound::kTaken);
    const int32_t slot = taken - 1;
    const std::string& line = lines[static_cast<size_t>(taken)].text;
    const char* question = save ? "%sにセーブします。よろしいですか？" : "%sをロードします。よろしいですか？";
    if (AskInMenu(engine, FormatQuestion(question, line)) != 1) continue;
    if (save)
      engine.ret.value = SaveToSlot(engine, slot) ? 0 : 1;
    else
      LoadFromSlot(engine, slot);
    return;
  }
}

// The text window off the screen until a click, a right click, Space or
// Escape.
void EraseWindowUntilClick(Engine& engine) {
  const bool was_shown = engine.text.shown;
  if (was_shown) RemoveTextWindow(engine);
  engine.platform.DiscardPendingClicks();
  for (;;) {
    if (engine.interp.reset_request) break;
    PlayerEvent e;
    if (PumpOne(engine, &e)) {
      if (e.kind == PlayerEvent::Kind::kButtonUp) break;
      if (e.kind == PlayerEvent::Kind::kKeyUp && (e.key == kKeySpace || e.key == kKeyEscape)) break;
      continue;
    }
    const IdleVerdict verdict = engine.platform.PlayerIdle(PlayerWait::kClick);
    if (verdict.what == IdleVerdict::What::kClickNow) break;
    if (verdict.what == IdleVerdict::What::kEndRun) EndRunForMissingPlayer(engine, verdict.note, verdict.status);
    SleepUntil(engine, std::nullopt);
  }
  engine.input.left_clicked = engine.input.right_clicked = false;
  if (was_shown) ShowTextWindow(engine);
}

void AskAndReset(Engine& engine) {
  if (AskInMenu(engine, Utf8ToSjis("リセットします。よろしいですか？")) == 1) engine.interp.reset_request = 1;
}

void AskAndEnd(Engine& engine) {
  if (AskInMenu(engine, Utf8ToSjis("終了します。よろしいですか？")) == 1) QuitGame(engine);
}

void AskInBoxAndReset(Engine& engine) {
  Question q;
  q.title = "タイトルに戻る";
  q.text = "タイトルに戻ります。よろしいですか？";
  q.buttons = Question::Buttons::kYesNo;
  q.icon = Question::Icon::kQuestion;
  if (AskPlayer(engine, q).answer == Answer::kYes) engine.interp.reset_request = 1;
}

// ---- commands -------------------------------------------------------------------

struct KeywordKind {
  const char* word;
  SystemMenuKind kind;
};
constexpr KeywordKind kMenuKeywords[] = {
    {"lookback", SystemMenuKind::kLookback}, {"windowerase", SystemMenuKind::kWindowErase},
    {"load", SystemMenuKind::kLoad},         {"save", SystemMenuKind::kSave},
    {"reset", SystemMenuKind::kReset},       {"skip", SystemMenuKind::kSkip},
    {"lookback2", SystemMenuKind::kLookback2}, {"resetdlg", SystemMenuKind::kResetDialog},
    {"end", SystemMenuKind::kEnd},
};

std::optional<SystemMenuKind> KindOf(const std::string& word) {
  for (const KeywordKind& k : kMenuKeywords)
    if (word == k.word) return k.kind;
  return std::nullopt;
}

void CmdRmenu(Engine& engine) {
  std::vector<SystemMenuEntry> entries;
  for (;;) {
    SystemMenuEntry e;
    e.text = ReadString(engine);
    ExpectComma(engine);
    const std::optional<SystemMenuKind> kind = KindOf(ReadToken(engine));
    if (!kind) ReportError(engine, "rmenu命令へのパラメータが間違っています。", "エラー");
    e.kind = *kind;
    entries.push_back(std::move(e));
    if (!CommaFollows(engine)) break;
    ExpectComma(engine);
  }
  engine.system_menu.entries = std::move(entries);
  engine.text_out.right_click.mode = RightClickMode::kSystemMenu;
}

void CmdMenusetwindow(Engine& engine) {
  int32_t v[6];
  for (int i = 0; i < 6; ++i) {
    if (i > 0) ExpectComma(engine);
    v[i] = ReadNumber(engine);
  }
  MenuLook& look = engine.system_menu.look;
  look.glyph_width = v[0];
  look.glyph_height = v[1];
  look.advance_x = v[0] + v[2];
  look.advance_y = v[1] + v[3];
  look.bold = v[4] != 0;
  look.shadow = v[5] != 0;
}

void CmdMenuselectcolor(Engine& engine) {
  MenuLook& look = engine.system_menu.look;
  const char* message = "menuselectcolorのパラメータが違います。";
  look.highlighted = ExpectLiteralColor(engine, message, "エラー");
  ExpectComma(engine);
  look.normal = ExpectLiteralColor(engine, message, "エラー");
  ExpectComma(engine);
  look.empty = ExpectLiteralColor(engine, message, "エラー");
}

void CmdMenuselectvoice(Engine& engine) {
  MenuLook& look = engine.system_menu.look;
  for (size_t i = 0; i < look.sounds.size(); ++i) {
    if (i > 0) ExpectComma(engine);
    look.sounds[i] = ReadString(engine);
  }
}

void CmdSystemcall(Engine& engine) {
  const std::string word = ReadToken(engine);
  engine.platform.DiscardPendingClicks();
  engine.input.left_clicked = engine.input.right_clicked = false;
  if (word == "rmenu") {
    RunSystemMenu(engine);
  } else if (word == "automode") {
    engine.shell.posted_commands.push_back(menu_id::kAuto);
  } else if (word == "loaddlg" || word == "savedlg") {
    // The dialog-box screens come with the dialogs; until then the menus in
    // the window do the same.
    if (word == "savedlg") {
      ExpectComma(engine);
      ReadString(engine);
    }
    RunSystemMenuAction(engine, word == "savedlg" ? SystemMenuKind::kSave : SystemMenuKind::kLoad);
  } else if (const std::optional<SystemMenuKind> kind = KindOf(word);
             kind && *kind != SystemMenuKind::kLookback2 && *kind != SystemMenuKind::kEnd) {
    RunSystemMenuAction(engine, *kind);
  } else {
    ReportError(engine, "systemcall命令へのパラメータが間違っています。", "エラー");
  }
}

}  // namespace

void AttachSystemMenu(Engine& engine) {
  InstallMenuScreenHook(engine);
  engine.text_out.right_click.system_menu = RunSystemMenu;
}

void ResetSystemMenuForStartUp(Engine& engine) {
  SystemMenuState& m = engine.system_menu;
  m.entries.clear();
  m.look = MenuLook{};
  m.in_menu = false;
  m.screen = MenuScreenState{};
}

void RunSystemMenu(Engine& engine) {
  SystemMenuState& m = engine.system_menu;
  if (m.in_menu || m.entries.empty()) return;
  ModalInput modal(engine);
  std::vector<MenuScreenLine> lines;
  for (const SystemMenuEntry& e : m.entries) lines.push_back({e.text, 0, 0, m.look.normal, true});
  m.in_menu = true;
  int taken = -1;
  try {
    taken = RunCentredMenu(engine, lines);
    if (taken >= 0) PlayMenuSound(engine, MenuSound::kTaken);
    if (taken >= 0) RunSystemMenuAction(engine, m.entries[static_cast<size_t>(taken)].kind);
  } catch (...) {
    m.in_menu = false;
    throw;
  }
  m.in_menu = false;
  ShowDirtyNow(engine);
}

void RunSystemMenuAction(Engine& engine, SystemMenuKind kind) {
  ModalInput modal(engine);
  switch (kind) {
    case SystemMenuKind::kLookback:
      OpenBackLog(engine);
      return;
    case SystemMenuKind::kWindowErase:
      EraseWindowUntilClick(engine);
      return;
    case SystemMenuKind::kLoad:
      RunSaveLoadMenu(engine, false);
      return;
    case SystemMenuKind::kSave:
      RunSaveLoadMenu(engine, true);
      return;
    case SystemMenuKind::kReset:
      AskAndReset(engine);
      return;
    case SystemMenuKind::kSkip:
      engine.shell.posted_commands.push_back(menu_id::kSkip);
      return;
    case SystemMenuKind::kLookback2:
      StartNewPageOnScreen(engine);
      RemoveTextWindow(engine);
      return;
    case SystemMenuKind::kResetDialog:
      AskInBoxAndReset(engine);
      return;
    case SystemMenuKind::kEnd:
      AskAndEnd(engine);
      return;
  }
}

void RegisterSystemMenuCommands(CommandTable& table) {
  table.Register("rmenu", CmdRmenu);
  table.Register("menusetwindow", CmdMenusetwindow);
  table.Register("menuselectcolor", CmdMenuselectcolor);
  table.Register("menuselectvoice", CmdMenuselectvoice);
  table.Register("systemcall", CmdSystemcall);
}

}  // namespace orivane
