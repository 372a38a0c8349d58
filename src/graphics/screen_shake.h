// The window effects that animate the window itself rather than the scene:
// the shakes of `quake`, `quakex` and `quakey`, and the white flash of
// `flushout`. Frames are paced by the engine clock (exact and free of real
// time under the headless platform) and shown through window_picture.h, so a
// screenshot taken mid-shake shows the shifted picture.
#pragma once

#include <vector>

namespace orivane {

class CommandTable;

// The offsets, one per frame, of a damped shake of `amplitude`: for each
// cycle c = 0 … amplitude − 1 a triangle of step 4·(amplitude − c) out to
// ±16·(amplitude − c) and back, sixteen frames a cycle, starting and ending
// at 0. Empty for an amplitude of 0 or less.
std::vector<int> DampedShakeOffsets(int amplitude);

// `quake`, `quakex`, `quakey`, `flushout` and `yugami`.
void RegisterScreenShakeCommands(CommandTable& table);

}  // namespace orivane
