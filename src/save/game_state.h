// The state of a game as a save file holds it, field by field in the order
// the file format fixes: the text window and its cursors, the screen's
// pictures and sprites, the variables, the gosub stack, the screen filters,
// the sound, the decorations, and the rest. Writing reads the engine's
// records; reading puts the values back into them (the pictures are loaded
// again afterwards from the names read). State of parts this engine does not
// keep yet (the numbers of `prnum`) is written as its
// defaults and skipped when read.
#pragma once

#include <cstdint>

namespace orivane {

struct Engine;
class SaveReader;
class SaveWriter;

// The format version written (1: the bar and number slots are present).
inline constexpr int32_t kSaveFormatVersion = 1;

// Fields 1 to 16: everything but the back-log and the position.
void WriteGameState(Engine& engine, SaveWriter& out);

// Reads fields 1 to 16 into the engine's records. Picture names are stored
// in the records' tags without loading anything; RebuildAfterLoad loads them.
void ReadGameState(Engine& engine, SaveReader& in);

}  // namespace orivane
