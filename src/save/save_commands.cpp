#include "save/save_commands.h"

#include <ctime>
#include <optional>
#include <string>

#include "engine.h"
#include "save/save_point.h"
#include "save/save_slots.h"
#include "script/command_table.h"
#include "script/error.h"
#include "script/expression.h"
#include "script/readers.h"
#include "script/variable_targets.h"
#include "util/file_io.h"

namespace orivane {
namespace {

void CmdSaveon(Engine& engine) { engine.save_point.enabled = true; }
void CmdSaveoff(Engine& engine) { TurnSavePointsOff(engine, engine.save_point); }
void CmdErrorsave(Engine& engine) { engine.interp.error_save = true; }
void CmdLoadgosub(Engine& engine) { engine.interp.loadgosub_label = ReadLabelName(engine); }
void CmdRmode(Engine& engine) { engine.text_out.right_click.enabled = ReadNumber(engine) != 0; }

void CmdSavegame(Engine& engine) {
  const int32_t slot = ReadNumber(engine);
  engine.ret.value = SaveToSlot(engine, slot) ? 0 : 1;
}

void CmdSavegame2(Engine& engine) {
  const int32_t slot = ReadNumber(engine);
  ExpectComma(engine);
  const std::string text = ReadString(engine);
  engine.ret.value = SaveToSlot(engine, slot, &text) ? 0 : 1;
}

void CmdLoadgame(Engine& engine) { LoadFromSlot(engine, ReadNumber(engine), OnDamagedSave::kEndRun); }

void CmdSavefileexist(Engine& engine) {
  const int32_t v = ExpectNumVar(engine, "savefileexistの第一引数は数字変数です。", "エラー");
  ExpectComma(engine);
  const int32_t slot = ReadNumber(engine);
  engine.vars.SetNum(v, slot >= 0 && FileExists(SaveFilePath(engine, slot)) ? 1 : 0);
}

void CmdGetsavestr(Engine& engine) {
  const int32_t v = ExpectStrVar(engine, "getsavestrの第一引数は文字変数です。");
  ExpectComma(engine);
  const std::optional<std::string> text = SlotTrailer(engine, ReadNumber(engine));
  engine.vars.SetStr(v, text.value_or(""));
  engine.ret.value = text ? 0 : 1;
}

// `savetime` and `savetime2`: the slot, then the variables for the parts of
// the file's time; without a file the month (and year) are 0. The messages
// name the commands as the games know them ("savedate").
void SaveTime(Engine& engine, bool with_year_and_seconds) {
  static const char* const kOrdinals[] = {"二", "三", "四", "五", "六", "七"};
  const int32_t slot = ReadNumber(engine);
  const std::optional<std::tm> time = SlotTime(engine, slot);
  const char* name = with_year_and_seconds ? "savedate2" : "savedate";
  const int count = with_year_and_seconds ? 6 : 4;
  int32_t values[6] = {};
  if (time) {
    const std::tm& t = *time;
    const int32_t all[6] = {t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec};
    for (int i = 0; i < 6; ++i) values[i] = all[i];
  }
  // Without year and seconds: month, day, hour, minute.
  const int first = with_year_and_seconds ? 0 : 1;
  for (int i = 0; i < count; ++i) {
    ExpectComma(engine);
    const std::string message = std::string(name) + "の第" + kOrdinals[i] + "引数は数字変数です。";
    const int32_t v = ExpectNumVar(engine, message);
    engine.vars.SetNum(v, values[first + i]);
  }
}

void CmdSavetime(Engine& engine) { SaveTime(engine, false); }
void CmdSavetime2(Engine& engine) { SaveTime(engine, true); }

void CmdSavenumber(Engine& engine) {
  const int32_t n = ReadNumber(engine);
  if (n < 1) ReportError(engine, "savenumberのセーブ数が間違っています。", "エラー");
  engine.save_menu.slots = n;
}

void CmdSavename(Engine& engine) {
  SaveMenuState& menu = engine.save_menu;
  menu.save_title = ReadString(engine);
  ExpectComma(engine);
  menu.load_title = ReadString(engine);
  ExpectComma(engine);
  menu.slot_name = ReadString(engine);
}

}  // namespace

void RegisterSaveCommands(CommandTable& table) {
  table.Register("saveon", CmdSaveon);
  table.Register("saveoff", CmdSaveoff);
  table.Register("errorsave", CmdErrorsave);
  table.Register("loadgosub", CmdLoadgosub);
  table.Register("rmode", CmdRmode);
  table.Register("savegame", CmdSavegame);
  table.Register("savegame2", CmdSavegame2);
  table.Register("loadgame", CmdLoadgame);
  table.Register("savefileexist", CmdSavefileexist);
  table.Register("getsavestr", CmdGetsavestr);
  table.Register("savetime", CmdSavetime);
  table.Register("savetime2", CmdSavetime2);
  table.Register("savenumber", CmdSavenumber);
  table.Register("savename", CmdSavename);
}

}  // namespace orivane
