// `sp_rgb_gradation`: recolours the key-coloured pixels of a sprite's picture
// with a vertical gradient, top row colour 1, bottom row colour 2, and sets
// their mask. Games use it to tint a window or a gauge drawn in one flat
// colour.
#pragma once

#include <cstdint>

namespace orivane {

class CommandTable;
struct ImageSurface;

struct RgbGradation {
  int32_t top_red = 0, top_green = 0, top_blue = 0;           // colour 1
  int32_t bottom_red = 0, bottom_green = 0, bottom_blue = 0;  // colour 2
  int32_t key_red = 0, key_green = 0, key_blue = 0;
  int32_t mask = 0;
};

// Within the first cell's visible columns of a 24-bit picture, the rows from
// the first to the last one that hold the key colour are N rows; row i of
// them (from the top) gives its key pixels ((N − 1 − i)·colour 1 + i·colour 2)
// / (N − 1), and with N = 1 colour 1. The mask pixel one visible width to the
// right, where the picture has one, gets the mask value in all three bytes.
// Colours and the mask are taken within 0 … 255. False (and nothing changed)
// when the picture holds no key pixel there or is no 24-bit picture.
bool ApplyRgbGradation(ImageSurface& picture, const RgbGradation& gradation);

void RegisterGradationCommands(CommandTable& table);

}  // namespace orivane
