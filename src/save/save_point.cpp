#include "save/save_point.h"

#include "engine.h"
#include "save/system_menu.h"

namespace orivane {

void ResetSaveForStartUp(Engine& engine) {
  SavePointState& sp = engine.save_point;
  const SavePointState hooks = sp;
  sp = SavePointState{};
  sp.take = hooks.take;
  sp.save_before_error = hooks.save_before_error;
  ResetSaveMenuForStartUp(engine.save_menu);
  ResetSystemMenuForStartUp(engine);
}

}  // namespace orivane
