// PNG pictures through libpng. Colours become a 24-bit bottom-up surface;
// when the picture has an alpha channel and is to be shown in alpha mode, the
// channel becomes the engine's mask: each cell is widened to the picture
// followed by its mask, whose blue byte is 255 − alpha (0 = opaque).
#pragma once

#include <cstddef>
#include <cstdint>

#include "graphics/image_surface.h"

namespace orivane {

// `cells` is the cell count the tag gave (1 when none); `alpha_mode` asks for
// the mask layout. False when the data is not a readable PNG.
bool DecodePng(const uint8_t* data, size_t size, bool alpha_mode, int cells, ImageSurface& out);

// The check DecodePng makes before libpng sees the data: true when no chunk
// before IEND claims more bytes than `data` holds behind its 8-byte
// signature.
bool ChunksFitInData(const uint8_t* data, size_t size);

}  // namespace orivane
