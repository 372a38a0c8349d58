#include "script/script_lifecycle.h"

#include "engine.h"

namespace orivane {

void ResetScriptForStartUp(Engine& engine) {
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
  st.debug.log_to_file = false;
  engine.vars.ClearAll();
}

void ResetScriptForGame(Engine& engine) {
  engine.vars.ClearLocals(engine.global_border);
  engine.interp.gosub.Clear();
  engine.interp.interrupted_wait = InterruptedWait{};
  engine.interp.click_trap = Trap{};
  engine.interp.timer_trap = Trap{};
}

}  // namespace orivane
