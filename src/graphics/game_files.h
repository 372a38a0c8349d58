// Where picture bytes come from. Every picture read of the graphics code goes
// through these two calls, so that the file layer (loose file, then archive,
// then archive plug-in) can be put behind them in one place.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "graphics/image_surface.h"

namespace orivane {

struct Engine;

enum class GameFileResult { kFound, kNotFound };

// Reads the named game file. Loose files relative to the game directory for
// now; archives join here.
GameFileResult ReadGameFile(Engine& engine, const std::string& name, std::vector<uint8_t>& out);

// Decodes an SPB picture (the archive's packed-picture format) into `out`.
// False when no SPB decoder is present or the data does not decode.
bool DecodeSpbPicture(Engine& engine, const std::vector<uint8_t>& data, ImageSurface& out);

}  // namespace orivane
