#include "shell/startup.h"

#include <new>

#include "engine.h"
#include "graphics/layers.h"
#include "graphics/window_picture.h"
#include "platform/platform.h"
#include "plugin_host.h"
#include "save/environment_file.h"
#include "save/persistent_data.h"
#include "script/error.h"
#include "script/execute.h"
#include "script/labels.h"
#include "script/loader.h"
#include "shell/config_file.h"
#include "shell/menu_bar.h"
#include "shell/pump.h"
#include "subsystems.h"
#include "util/sjis.h"
#include "util/temp_directory.h"

namespace orivane {
namespace {

// Lets the commands posted by the menu's completion take effect, shows the
// window and starts the heartbeat. The player's own input is left for the
// game's first wait.
void ShowWindowForGame(Engine& engine) {
  PumpPosted(engine);
  engine.platform.ShowWindow();
  ShowOnWindow(engine, engine.display);
  Heartbeat& hb = engine.shell.heartbeat;
  hb.running = true;
  hb.next_tick = engine.platform.Ticks() + Heartbeat::kPeriodMs;
}

// Releases what the run holds, in order: the persistent files are written,
// then the menu goes, then full screen. (The parts that play movies and
// sound and keep output files release theirs before the menu goes.) The
// temporary directory goes last, with RunEngine. Every end of the run passes
// here: `end`, a confirmed close, a script error, a timeout, a signal.
void Shutdown(Engine& engine) {
  engine.shell.heartbeat.running = false;
  WritePersistentData(engine);
  engine.platform.SetMenu(nullptr);
  if (engine.shell.full_screen) engine.platform.SetFullScreen(false);
}

// The start-up cycle, repeated after every `definereset`: load the script,
// run the *define block, show the window, then start and run the game until
// the script asks to load itself again.
[[noreturn]] void RunStartUpCycles(Engine& engine) {
  for (;;) {
    ResetSubsystemsForStartUp(engine);
    LoadScript(engine);
    StartSubsystems(engine);
    BuildLabelTable(engine);
    ExecuteScript(engine, RunMode::kDefine);
    if (engine.interp.stop_request != 0) continue;
    FinishSubsystemsAfterDefine(engine);
    CompleteMenuAtGame(engine);
    ApplyEnvironmentFile(engine);
    ShowWindowForGame(engine);
    while (engine.interp.stop_request == 0) {
      StartGame(engine);
      ExecuteScript(engine, RunMode::kGame);
      if (engine.interp.quit_request) throw EngineExit{0};
    }
  }
}

// A normal end (`end`, a confirmed close, the end of scripted input) lets
// the layer plug-ins finish; whatever they meet by then no longer matters.
void FinishLayers(Engine& engine) {
  try {
    FinalizeLayers(engine);
  } catch (const EngineExit&) {
  }
}

}  // namespace

int RunEngine(Engine& engine) {
  PluginHostScope serving_plugins(engine);
  int status = 0;
  try {
    if (!engine.temp_dir.Create())
      engine.platform.Note("orivane: cannot create a temporary directory; sound taken from archives will fail");
    engine.shell.version_text = Utf8ToSjis("Orivane Version 2.67");
    engine.shell.credit_text = Utf8ToSjis("Orivane for Linux, with SDL2 and Dear ImGui");
    ReadShellConfig(engine.shell);
    try {
      RunStartUpCycles(engine);
    } catch (const std::bad_alloc&) {
      // Loading a script or building its labels ran out of memory (commands
      // report their own): a report, never an abort.
      ReportError(engine, "メモリが足りません。", "エラー");
    }
  } catch (const EngineExit& exit) {
    status = exit.status;
  }
  if (status == 0) FinishLayers(engine);
  Shutdown(engine);
  engine.temp_dir.Remove();
  return status;
}

}  // namespace orivane
