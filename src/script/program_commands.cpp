// `winexec` starts a program directly (util/child_process): the arguments are split from
// the command line as Windows would split them and passed directly, with no
// shell in between. `shell` hands a file or address to xdg-open, the desktop's
// "open" action. `getret` reads the return channel.
#include "platform/platform.h"
#include "script/program_commands.h"

#include "engine.h"
#include "script/command_table.h"
#include "script/error.h"
#include "script/expression.h"
#include "script/general_commands.h"
#include "script/readers.h"
#include "script/variable_targets.h"
#include "util/child_process.h"
#include "util/game_path.h"
#include "util/sjis.h"

namespace orivane {

std::vector<std::string> SplitCommandLine(std::string_view s) {
  std::vector<std::string> args;
  std::string current;
  bool in_arg = false, quoted = false;
  size_t i = 0;
  while (i < s.size()) {
    uint8_t c = static_cast<uint8_t>(s[i]);
    if (!quoted && (c == ' ' || c == '\t')) {
      if (in_arg) args.push_back(std::move(current));
      current.clear();
      in_arg = false;
      ++i;
      continue;
    }
    in_arg = true;
    if (IsSjisLead(c) && i + 1 < s.size()) {
      current.append(s.substr(i, 2));
      i += 2;
    } else if (c == '\\') {
      size_t run = 0;
      while (i + run < s.size() && s[i + run] == '\\') ++run;
      if (i + run < s.size() && s[i + run] == '"') {
        current.append(run / 2, '\\');
        if (run % 2) current.push_back('"');
        i += run + (run % 2);  // an even run leaves the quote to group
      } else {
        current.append(run, '\\');
        i += run;
      }
    } else if (c == '"') {
      quoted = !quoted;
      ++i;
    } else {
      current.push_back(static_cast<char>(c));
      ++i;
    }
  }
  if (in_arg) args.push_back(std::move(current));
  return args;
}

namespace {

// Waits until the child ends, or until the player asks to quit (the child is
// then left running and reaped later). A watcher thread wakes the engine when
// the child ends, so the wait sleeps on the player's events and the child at
// once.
void WaitForChild(Engine& engine, int pid) {
  ChildWatch watch(pid, [&engine] { engine.platform.Wake(); });
  for (;;) {
    PumpAll(engine);
    if (watch.ended()) {
      ReapIfEnded(pid);
      engine.general.children.Forget(pid);
      return;
    }
    if (engine.interp.quit_request) return;
    SleepForOutside(engine, std::nullopt);
  }
}

void CmdWinExec(Engine& engine) {
  std::string line = ReadString(engine);
  ExpectComma(engine);
  int32_t wait = ReadNumber(engine);
  std::vector<std::string> args = SplitCommandLine(line);
  if (!args.empty()) {
    const std::string& program = args[0];
    bool has_separator = program.find('/') != std::string::npos || program.find('\\') != std::string::npos;
    std::string host = has_separator ? HostPath(program) : SjisToUtf8(program);
    for (std::string& a : args) a = SjisToUtf8(a);
    args[0] = std::move(host);
  }
  engine.general.children.Reap();
  int pid = SpawnProgram(args);
  if (pid < 0) {
    engine.platform.Note("orivane: winexec could not start " + SjisToUtf8(line));
    return;
  }
  engine.general.children.Add(pid);  // still reaped later if the wait is cut short
  if (wait != 0) WaitForChild(engine, pid);
}

bool LooksLikeAddress(std::string_view s) {
  return s.find("://") != std::string_view::npos || s.substr(0, 7) == "mailto:";
}

void CmdShell(Engine& engine) {
  std::string target = ReadString(engine);
  engine.general.children.Reap();
  std::string host = LooksLikeAddress(target) ? SjisToUtf8(target) : HostPath(target);
  int pid = SpawnProgram({"xdg-open", host});
  if (pid < 0) {
    engine.platform.Note("orivane: shell could not run xdg-open for " + host);
    return;
  }
  engine.general.children.Add(pid);
}

void CmdGetRet(Engine& engine) {
  StoreTarget t = ReadStoreTarget(engine, true);
  switch (t.kind) {
    case TargetKind::kNum:
      engine.vars.SetNum(t.number, engine.ret.value);
      engine.vars.ApplyIntLimits();
      break;
    case TargetKind::kArray:
      SetArrayElement(engine, t.element, engine.ret.value);
      break;
    case TargetKind::kStr:
      engine.vars.SetStr(t.number, engine.ret.text);
      break;
    default:
      ReportError(engine, "getretの第一引数は数字／文字変数／配列です。", "構文エラー");
  }
}

}  // namespace

void RegisterProgramCommands(CommandTable& table) {
  table.Register("winexec", CmdWinExec);
  table.Register("shell", CmdShell);
  table.Register("getret", CmdGetRet);
}

}  // namespace orivane
