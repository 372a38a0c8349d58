#include "text/button_commands.h"

#include <algorithm>
#include <string>

#include "engine.h"
#include "graphics/graphics_commands.h"
#include "graphics/image_tag.h"
#include "script/command_table.h"
#include "script/error.h"
#include "script/expression.h"
#include "script/readers.h"
#include "script/variable_targets.h"
#include "graphics/effects.h"
#include "text/button_wait.h"
#include "text/text_window_display.h"

namespace orivane {
namespace {

ButtonState& Table(Engine& engine) { return engine.buttons; }

void Add(Engine& engine, Button b) {
  ButtonState& st = Table(engine);
  if (st.buttons.size() >= kButtonCapacity)
    ReportError(engine, "ボタン定義がオーバーフローしました。btndef命令は適切に使われていますか？", "エラー");
  st.buttons.push_back(std::move(b));
}

// A sprite's area as a button: its place and one cell of its picture.
// False when the sprite has no picture.
bool SpriteArea(Engine& engine, int32_t sprite, Button& b) {
  const SpriteSlot& slot = SpriteAt(engine, sprite);  // numbers past the table are reported
  if (slot.tag.empty() || !slot.surface.loaded) return false;
  b.left = slot.x;
  b.top = slot.y;
  b.width = slot.surface.CellWidth();
  b.height = slot.surface.height;
  return true;
}

// `btndef`: a new table; the picture ("" none) or the bare word "clear".
void CmdBtndef(Engine& engine) {
  ButtonState& st = Table(engine);
  SkipBlanks(engine);
  const uint8_t c = engine.script.Cur();
  std::string picture;
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
    if (ReadToken(engine) != "clear") ReportError(engine, "btndefの引数は、文字列もしくはclearです。", "エラー");
  } else {
    picture = ReadString(engine);
  }
  st.ClearTable();
  if (!picture.empty()) LoadImageTag(engine, st.picture, picture);
}

void CmdBtn(Engine& engine) {
  Button b;
  int32_t* fields[] = {&b.number, &b.left, &b.top, &b.width, &b.height, &b.src_x, &b.src_y};
  for (size_t i = 0; i < std::size(fields); ++i) {
    if (i > 0) ExpectComma(engine);
    *fields[i] = ReadNumber(engine);
  }
  // Negative sources name sprites and choices; a picture button's are not.
  if (b.src_x < 0) b.src_x = 0;
  if (b.src_y < 0) b.src_y = 0;
  Add(engine, std::move(b));
}

enum class SpriteButtonRule { kAny, kNotOneCell, kReplace };

void SpriteButton(Engine& engine, SpriteButtonRule rule) {
  const int32_t sprite = ReadNumber(engine);
  ExpectComma(engine);
  const int32_t number = ReadNumber(engine);
  Button b;
  b.number = number;
  b.src_y = -1 - sprite;
  if (!SpriteArea(engine, sprite, b)) return;
  if (rule == SpriteButtonRule::kNotOneCell && engine.graphics.sprites[sprite].surface.cells == 1) return;
  if (rule == SpriteButtonRule::kReplace) {
    for (Button& old : Table(engine).buttons)
      if (old.number == number) {
        old = b;
        return;
      }
  }
  Add(engine, std::move(b));
}

void CmdSpbtn(Engine& engine) { SpriteButton(engine, SpriteButtonRule::kAny); }
void CmdSpbtn2(Engine& engine) { SpriteButton(engine, SpriteButtonRule::kReplace); }
void CmdCellcheckspbtn(Engine& engine) { SpriteButton(engine, SpriteButtonRule::kNotOneCell); }

void ExtendedButton(Engine& engine, bool needs_cells) {
  const int32_t sprite = ReadNumber(engine);
  ExpectComma(engine);
  Button b;
  b.number = ReadNumber(engine);
  ExpectComma(engine);
  b.commands = ReadString(engine);
  b.src_y = -1000 - sprite;
  if (!SpriteArea(engine, sprite, b)) return;
  if (needs_cells && engine.graphics.sprites[sprite].surface.cells < 2) return;
  Add(engine, std::move(b));
}

void CmdExbtn(Engine& engine) { ExtendedButton(engine, false); }
void CmdCellcheckexbtn(Engine& engine) { ExtendedButton(engine, true); }
void CmdExbtnD(Engine& engine) { Table(engine).default_commands = ReadString(engine); }

// `cselbtn`: choice k of the last `csel` as a button of its text's size.
void CmdCselbtn(Engine& engine) {
  const int32_t k = ReadNumber(engine);
  ExpectComma(engine);
  Button b;
  b.number = ReadNumber(engine);
  ExpectComma(engine);
  b.left = ReadNumber(engine);
  ExpectComma(engine);
  b.top = ReadNumber(engine);
  const std::string* text = engine.selection.CselText(k);
  if (!text || k < 0) return;
  const TextWindow& w = engine.text;
  const int64_t bytes = static_cast<int64_t>(text->size());
  const int64_t along = w.vertical ? bytes * w.advance_y / 2 : bytes * w.advance_x / 2;
  b.width = static_cast<int32_t>(w.vertical ? w.advance_x : std::min<int64_t>(along, INT32_MAX));
  b.height = static_cast<int32_t>(w.vertical ? std::min<int64_t>(along, INT32_MAX) : w.advance_y);
  b.src_x = -1 - k;
  Add(engine, std::move(b));
}

void CmdDelbtn(Engine& engine) {
  const int32_t number = ReadNumber(engine);
  for (Button& b : Table(engine).buttons)
    if (b.number == number) b.left = kButtonOffScreen;
}

void CmdBtncancel(Engine& engine) {
  std::vector<Button>& buttons = Table(engine).buttons;
  const int32_t n = ReadNumber(engine);
  if (n <= 0) return;
  buttons.resize(buttons.size() > static_cast<size_t>(n) ? buttons.size() - n : 0);
}

void CmdBtnarea(Engine& engine) { Table(engine).options.area_y = ReadNumber(engine); }
void CmdBtndown(Engine& engine) { Table(engine).options.press_counts = ReadNumber(engine) != 0; }
void CmdTransbtn(Engine& engine) { Table(engine).options.opaque_only = true; }
void CmdMaskbtn(Engine& engine) { Table(engine).options.mask_below = ReadNumber(engine); }

void CmdGetmouseover(Engine& engine) {
  ButtonWaitOptions& o = Table(engine).options;
  o.mouse_over_from = ReadNumber(engine);
  ExpectComma(engine);
  o.mouse_over_to = ReadNumber(engine);
}

void CmdBtntime(Engine& engine) {
  Table(engine).options.timeout_ms = ReadNumber(engine);
  Table(engine).options.timeout_waits_voice = false;
}
void CmdBtntime2(Engine& engine) {
  Table(engine).options.timeout_ms = ReadNumber(engine);
  Table(engine).options.timeout_waits_voice = true;
}

void CmdGetbtntimer(Engine& engine) {
  const int32_t v = ExpectNumVar(engine, "getbtntimerの第一引数は数字変数です。");
  engine.vars.SetNum(v, static_cast<int32_t>(Table(engine).last_wait_ms));
}

void ButtonWait(Engine& engine, const char* message, bool forget_on_choice) {
  const int32_t v = ExpectNumVar(engine, message);
  const int32_t result = RunButtonWait(engine);
  engine.vars.SetNum(v, result);
  if (forget_on_choice && result > 0) {
    Table(engine).buttons.clear();
    Table(engine).picture.Reset();
  }
}

void CmdBtnwait(Engine& engine) { ButtonWait(engine, "btnwaitの第一引数は数字変数です。", true); }
void CmdBtnwait2(Engine& engine) { ButtonWait(engine, "btnwait2の第一引数は数字変数です。", false); }

// The waits that take text buttons too. Those that are not `selectbtnwait`
// start a new page when they return with text buttons on it; `tbtnwait`
// also forgets the text buttons.
void TextButtonWait(Engine& engine, const char* message, ButtonWaitScope scope) {
  const int32_t v = ExpectNumVar(engine, message);
  const int32_t result = RunButtonWait(engine, scope);
  engine.vars.SetNum(v, result);
  ButtonState& st = Table(engine);
  if (scope != ButtonWaitScope::kTableAndTextKeepPage && !st.text_buttons.empty()) StartNewPageOnScreen(engine);
  if (scope == ButtonWaitScope::kTextOnly) st.text_buttons.clear();
}

void CmdTextbtnwait(Engine& engine) {
  TextButtonWait(engine, "textbtnwaitの第一引数は数字変数です。", ButtonWaitScope::kTableAndText);
}
void CmdSelectbtnwait(Engine& engine) {
  TextButtonWait(engine, "selectbtnwaitの第一引数は数字変数です。", ButtonWaitScope::kTableAndTextKeepPage);
}
void CmdTbtnwait(Engine& engine) {
  TextButtonWait(engine, "tbtnwaitの第一引数は数字変数です。", ButtonWaitScope::kTextOnly);
}

void CmdTextbtnstart(Engine& engine) {
  ButtonState& st = Table(engine);
  st.text_button_start = ReadNumber(engine);
  st.text_button_counter = st.text_button_start;
}

void CmdLinkcolor(Engine& engine) {
  ButtonState& st = Table(engine);
  st.link_colour = ExpectLiteralColor(engine, "linkcolor命令の第一引数はリンク部分の#カラー指定です。", "エラー");
  ExpectComma(engine);
  st.link_active_colour =
      ExpectLiteralColor(engine, "linkcolor命令の第ニ引数はアクティブ時の#カラー指定です。", "エラー");
}

void CmdGettextbtnstr(Engine& engine) {
  const int32_t v = ExpectStrVar(engine, "gettextbtnstrの第１引数は文字変数です。");
  ExpectComma(engine);
  const int32_t number = ReadNumber(engine);
  std::string text;
  for (const TextButton& b : Table(engine).text_buttons)
    if (b.number == number) text = b.text;
  engine.vars.SetStr(v, std::move(text));
}

void CmdErasetextbtn(Engine& engine) {
  ButtonState& st = Table(engine);
  for (int32_t i = 0; i < static_cast<int32_t>(st.text_buttons.size()); ++i)
    RecolourTextButton(engine, i, engine.text.text_color);
  st.text_buttons.clear();
  ShowDirtyNow(engine);
}

void CmdTextexbtn(Engine& engine) {
  const int32_t number = ReadNumber(engine);
  ExpectComma(engine);
  const std::string commands = ReadString(engine);
  for (TextButton& b : Table(engine).text_buttons)
    if (b.number == number) b.commands = commands;
}

void CmdEscoutcursor(Engine& engine) {
  ButtonWaitOptions& o = Table(engine).options;
  o.escape_moves_pointer = true;
  o.escape_x = ReadNumber(engine);
  ExpectComma(engine);
  o.escape_y = ReadNumber(engine);
}

// The switches of a button wait: `getpage` and its kin.
template <bool ButtonWaitOptions::*kFlag>
void Switch(Engine& engine) {
  Table(engine).options.*kFlag = true;
}

void CmdBtnnowindowerase(Engine& engine) { Table(engine).keep_window = true; }
void CmdModeEmber(Engine& engine) { Table(engine).ember_mode = true; }

}  // namespace

void RegisterButtonCommands(CommandTable& table) {
  table.Register("btndef", CmdBtndef);
  table.Register("btn", CmdBtn);
  table.Register("spbtn", CmdSpbtn);
  table.Register("spbtn2", CmdSpbtn2);
  table.Register("cellcheckspbtn", CmdCellcheckspbtn);
  table.Register("existspbtn", CmdSpbtn);
  table.Register("exbtn", CmdExbtn);
  table.Register("cellcheckexbtn", CmdCellcheckexbtn);
  table.Register("exbtn_d", CmdExbtnD);
  table.Register("cselbtn", CmdCselbtn);
  table.Register("delbtn", CmdDelbtn);
  table.Register("btncancel", CmdBtncancel);
  table.Register("btnarea", CmdBtnarea);
  table.Register("btndown", CmdBtndown);
  table.Register("transbtn", CmdTransbtn);
  table.Register("maskbtn", CmdMaskbtn);
  table.Register("getmouseover", CmdGetmouseover);
  table.Register("btntime", CmdBtntime);
  table.Register("btntimer", CmdBtntime);
  table.Register("btntime2", CmdBtntime2);
  table.Register("getbtntimer", CmdGetbtntimer);
  table.Register("btnwait", CmdBtnwait);
  table.Register("btnwait2", CmdBtnwait2);
  table.Register("textbtnwait", CmdTextbtnwait);
  table.Register("selectbtnwait", CmdSelectbtnwait);
  table.Register("tbtnwait", CmdTbtnwait);
  table.Register("textbtnstart", CmdTextbtnstart);
  table.Register("linkcolor", CmdLinkcolor);
  table.Register("gettextbtnstr", CmdGettextbtnstr);
  table.Register("erasetextbtn", CmdErasetextbtn);
  table.Register("textexbtn", CmdTextexbtn);
  table.Register("getpage", Switch<&ButtonWaitOptions::page_keys>);
  table.Register("getpageup", Switch<&ButtonWaitOptions::page_up_key>);
  table.Register("getcursor", Switch<&ButtonWaitOptions::cursor_keys>);
  table.Register("getenter", Switch<&ButtonWaitOptions::enter_key>);
  table.Register("gettab", Switch<&ButtonWaitOptions::tab_key>);
  table.Register("getfunction", Switch<&ButtonWaitOptions::function_keys>);
  table.Register("getinsert", Switch<&ButtonWaitOptions::insert_key>);
  table.Register("getzxc", Switch<&ButtonWaitOptions::zxc_keys>);
  table.Register("getskipoff", Switch<&ButtonWaitOptions::skip_changes>);
  table.Register("spclclk", Switch<&ButtonWaitOptions::space_clicks>);
  table.Register("escoutcursor", CmdEscoutcursor);
  table.Register("btnnowindowerase", CmdBtnnowindowerase);
  table.Register("mode_ember", CmdModeEmber);
}

}  // namespace orivane
