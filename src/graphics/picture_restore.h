// A loaded game's pictures: the background, the standing pictures and the
// sprites are loaded again from the names the save file gave (a picture that
// is missing now becomes a tiny black one, not an error), with the places,
// cells and opacities the file recorded, and the whole screen is redrawn.
#pragma once

#include <string>

namespace orivane {

struct Engine;

// `screen_copy` names the file that stands for a background kept as a copy
// of the screen ("*bgcpy").
void RestorePicturesAfterLoad(Engine& engine, const std::string& screen_copy);

}  // namespace orivane
