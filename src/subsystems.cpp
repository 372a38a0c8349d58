#include "subsystems.h"

#include "archive/archive_set.h"
#include "engine.h"
#include "graphics/graphics_state.h"
#include "graphics/layers.h"
#include "platform/platform.h"
#include "save/persistent_data.h"
#include "save/save_point.h"
#include "save/save_slots.h"
#include "save/system_menu.h"
#include "script/script_lifecycle.h"
#include "shell/shell_lifecycle.h"
#include "sound/sound_lifecycle.h"
#include "text/back_log_viewer.h"
#include "text/text_output.h"
#include "text/text_window.h"

namespace orivane {

void AttachSubsystems(Engine& engine) {
  AttachShell(engine);
  AttachGraphics(engine);
  AttachText(engine);
  AttachSound(engine);
  AttachPersistentData(engine);
  AttachSaveSlots(engine);
  AttachSystemMenu(engine);
}

void ResetSubsystemsForStartUp(Engine& engine) {
  // First: the persistent files of the cycle that ends are written while
  // the variables and settings they hold are still whole.
  ResetPersistentDataForStartUp(engine);
  ResetSoundForStartUp(engine);
  ResetScriptForStartUp(engine);
  ResetTextForStartUp(engine);
  ResetSaveForStartUp(engine);
  ResetShellForStartUp(engine);
}

void StartSubsystems(Engine& engine) {
  engine.display.Resize(engine.screen_width, engine.screen_height);
  engine.platform.SetScreenSize(engine.screen_width, engine.screen_height);
  StartShell(engine);
  StartGraphics(engine);
  StartTextWindow(engine);
  StartPersistentData(engine);
}

void FinishSubsystemsAfterDefine(Engine& engine) {
  FinishPersistentDataAfterDefine(engine);
  LoadDefaultBackLogButtons(engine);
  InitializeLayers(engine);
}

void ResetSubsystemsForGame(Engine& engine) {
  ResetSoundForGame(engine);
  ResetArchivesForGame(engine);
  ResetScriptForGame(engine);
  ResetGraphicsForGame(engine);
  ResetTextWindowForGame(engine);
  ResetTextOutputForGame(engine);
}

}  // namespace orivane
