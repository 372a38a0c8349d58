// The lifecycle of the engine's subsystems, in one ordered place. Each
// subsystem owns its steps (script/script_lifecycle.h, graphics_state.h,
// text_output.h, text_window.h, sound_lifecycle.h, save_point.h, persistent_data.h,
// archive_set.h, shell/shell_lifecycle.h); here they are called in the order
// the start-up cycle needs:
//
//   attach       once, when the Engine is made: wake sources and hooks
//   reset        before the script is loaded (start-up, `definereset`):
//                everything the *define block builds is forgotten
//   start        after the script is loaded and the screen size is known
//   after-define once the *define block has run: defaults it did not replace
//   reset-game   at every game start, `reset` and reset request
#pragma once

namespace orivane {

struct Engine;

void AttachSubsystems(Engine& engine);
void ResetSubsystemsForStartUp(Engine& engine);
void StartSubsystems(Engine& engine);
void FinishSubsystemsAfterDefine(Engine& engine);
void ResetSubsystemsForGame(Engine& engine);

}  // namespace orivane
