#include "save/save_point.h"

#include "engine.h"

namespace orivane {

void ResetSaveForStartUp(Engine& engine) { engine.save_point = SavePointState{}; }

}  // namespace orivane
