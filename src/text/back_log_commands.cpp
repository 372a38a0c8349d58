#include "text/back_log_commands.h"

#include <string>

#include "engine.h"
#include "graphics/graphics_commands.h"
#include "graphics/image_tag.h"
#include "script/command_table.h"
#include "script/error.h"
#include "script/expression.h"
#include "script/readers.h"
#include "script/variable_targets.h"

namespace orivane {
namespace {

void CmdLookbackon(Engine& engine) { engine.back_log.on = true; }
void CmdLookbackoff(Engine& engine) { engine.back_log.on = false; }
void CmdTextcommit(Engine& engine) { engine.back_log.Commit(); }
void CmdLookbackflush(Engine& engine) { engine.back_log.DropCollected(); }

void CmdMaxkaisoupage(Engine& engine) {
  const int32_t n = ReadNumber(engine);
  if (n < 0) ReportError(engine, "maxkaisoupageのページ数が間違っています。", "エラー");
  engine.back_log.max_pages = n;
}

void CmdLookbackcolor(Engine& engine) {
  engine.back_log.look.colour =
      ExpectLiteralColor(engine, "lookbackcolorのパラメータは#rrggbbの色指定です。", "エラー");
}

// Older page with the pointer over it and without, newer page likewise.
void CmdLookbackbutton(Engine& engine) {
  BackLogLook& look = engine.back_log.look;
  for (size_t i = 0; i < look.pictures.size(); ++i) {
    if (i > 0) ExpectComma(engine);
    const std::string tag = ReadString(engine);
    look.pictures[i].Reset();
    LoadImageTag(engine, look.pictures[i], tag);
  }
  look.pictures_set = true;
}

void CmdLookbacksp(Engine& engine) {
  const int32_t older = ReadNumber(engine);
  ExpectComma(engine);
  const int32_t newer = ReadNumber(engine);
  SpriteAt(engine, older);  // numbers beyond the sprite table are reported now
  SpriteAt(engine, newer);
  engine.back_log.look.older_sprite = older;
  engine.back_log.look.newer_sprite = newer;
}

void CmdLookbackvoice(Engine& engine) { engine.back_log.look.open_voice = ReadString(engine); }

// The page being collected, its line breaks left out.
void CmdGettext(Engine& engine) {
  const int32_t v = ExpectStrVar(engine, "gettextの引数は文字変数です。");
  std::string text;
  for (char c : engine.back_log.Collected())
    if (c != '\n') text.push_back(c);
  engine.vars.SetStr(v, std::move(text));
}

void CmdGetlog(Engine& engine) {
  const int32_t v = ExpectStrVar(engine, "getlogの第一引数は文字変数です。");
  ExpectComma(engine);
  const int32_t n = ReadNumber(engine);
  const std::string* page = engine.back_log.PageBack(n);
  if (!page)
    ReportError(engine, "getlogで指定したページ（%d）はありません。", "エラー", {int64_t{n}});
  engine.vars.SetStr(v, *page);
}

void CmdCheckpage(Engine& engine) {
  const int32_t v = ExpectNumVar(engine, "checkpageの第一引数は数字変数です。");
  ExpectComma(engine);
  const int32_t n = ReadNumber(engine);
  engine.vars.SetNum(v, engine.back_log.PageCount() >= n ? 1 : 0);
}

}  // namespace

void RegisterBackLogCommands(CommandTable& table) {
  table.Register("lookbackon", CmdLookbackon);
  table.Register("lookbackoff", CmdLookbackoff);
  table.Register("maxkaisoupage", CmdMaxkaisoupage);
  table.Register("textcommit", CmdTextcommit);
  table.Register("lookbackflush", CmdLookbackflush);
  table.Register("lookbackcolor", CmdLookbackcolor);
  table.Register("lookbackbutton", CmdLookbackbutton);
  table.Register("lookbacksp", CmdLookbacksp);
  table.Register("lookbackvoice", CmdLookbackvoice);
  table.Register("gettext", CmdGettext);
  table.Register("getlog", CmdGetlog);
  table.Register("checkpage", CmdCheckpage);
}

}  // namespace orivane
