#include "archive/archive_commands.h"

#include <algorithm>

#include "engine.h"
#include "script/command_table.h"
#include "script/error.h"
#include "script/readers.h"

namespace orivane {
namespace {

void CmdOra(Engine& engine) { engine.archive.archives_on = true; }

void CmdOr2(Engine& engine) {
  engine.archive.archives_on = true;
  engine.archive.prefix_one = true;
}

void CmdOr3(Engine& engine) {
  engine.archive.archives_on = true;
  engine.archive.prefix_two = true;
}

void CmdOradir(Engine& engine) {
  std::string dir = ReadString(engine);
  if (!dir.empty() && (dir.back() == '\\' || dir.back() == '/')) dir.pop_back();
  engine.archive.primary_dir = dir;
}

void CmdAddoradir(Engine& engine) { engine.archive.added_dir = ReadString(engine); }

void CmdArc(Engine& engine) {
  std::string entry = ReadString(engine);
  auto& table = engine.archive.plugin_archives;
  // The table lives for the whole run, and a `definereset` runs the define
  // block again: the same registration must not count twice.
  if (std::find(table.begin(), table.end(), entry) != table.end()) return;
  if (table.size() >= ArchiveState::kMaxPluginArchives) ReportError(engine, "SPI設定が多すぎます。", "エラー");
  table.push_back(entry);
}

void CmdNoloaderror(Engine& engine) { engine.archive.no_load_error = true; }

}  // namespace

void RegisterArchiveCommands(CommandTable& table) {
  table.Register("ora", CmdOra);
  table.Register("or2", CmdOr2);
  table.Register("or3", CmdOr3);
  table.Register("oradir", CmdOradir);
  table.Register("addoradir", CmdAddoradir);
  table.Register("arc", CmdArc);
  table.Register("noloaderror", CmdNoloaderror);
}

}  // namespace orivane
