#include "save/persistent_commands.h"

#include <string>

#include "engine.h"
#include "save/persistent_data.h"
#include "script/command_table.h"
#include "script/error.h"
#include "script/readers.h"
#include "text/read_flags.h"

namespace orivane {
namespace {

// A fresh bitmap, one bit per byte of the script as loaded now, filled from
// the saved flags. Saved flags of an edited script mark other statements of
// it: offsets are all they know.
void CmdKidokuskip(Engine& engine) {
  KeepReadFlags(engine.read_flags, engine.script.length);
  LoadReadFlagsFile(engine);
}

// The file layer records every name it is asked for from now on; the log
// file is read once the *define block has run and written by the writer.
void CmdFilelog(Engine& engine) { engine.archive.file_log_on = true; }

// The labels reached are always recorded; this keeps them across runs.
void CmdLabellog(Engine& engine) { engine.persistent.label_log_kept = true; }

void CmdSavedir(Engine& engine) {
  const std::string dir = ReadString(engine);
  if (!ChangeSaveDirectory(engine, dir))
    ReportError(engine, "savedirのディレクトリ「%s」はゲームフォルダの外を指しています。", "エラー", {dir});
}

}  // namespace

void RegisterPersistentDataCommands(CommandTable& table) {
  table.Register("kidokuskip", CmdKidokuskip);
  table.Register("filelog", CmdFilelog);
  table.Register("labellog", CmdLabellog);
  table.Register("savedir", CmdSavedir);
}

}  // namespace orivane
