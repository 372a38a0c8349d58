#include "shell/startup.h"

#include "engine.h"
#include "script/execute.h"
#include "script/labels.h"
#include "script/loader.h"

namespace orivane {
namespace {

// Everything the define block builds is forgotten before it runs again.
void ResetForStartUp(Engine& engine) {
  InterpreterState& st = engine.interp;
  st.stop_request = 0;
  st.define_done = 0;
  st.reset_request = 0;
  st.reset_pending = 0;
  st.gosub.Clear();
  st.defsubs.clear();
  st.defsub_names.clear();
  st.pretext_on = false;
  st.pretext_label.clear();
  st.textgosub_on = false;
  st.textgosub_label.clear();
  engine.vars.ClearAll();
  engine.text = TextWindow{};
  engine.save_point = SavePointState{};
}

}  // namespace

int RunEngine(Engine& engine) {
  try {
    for (;;) {
      ResetForStartUp(engine);
      LoadScript(engine);
      engine.display.Resize(engine.screen_width, engine.screen_height);
      StartGraphics(engine);
      BuildLabelTable(engine);
      ExecuteScript(engine, RunMode::kDefine);
      while (engine.interp.stop_request == 0) {
        if (engine.interp.quit_request) return 0;
        StartGame(engine);
        ExecuteScript(engine, RunMode::kGame);
      }
    }
  } catch (const EngineExit& exit) {
    return exit.status;
  }
}

}  // namespace orivane
