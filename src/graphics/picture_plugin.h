// Picture plug-ins: shared objects that decode a file format the engine does
// not know, registered by `spi` as "module|extension". The module exports
//
//   int GetPicture(const char* buf, long len, unsigned int flag,
//                  void** info, void** bits, void* progress, long data);
//
// For a loose file buf is the file name, len 0 and flag 0. On success (result
// 0) *info points to a BITMAPINFO block (the 40-byte info header followed by
// the colour table) and *bits to the bottom-up pixel rows, both allocated
// with malloc; the engine copies them and frees both.
#pragma once

#include <string>

#include "graphics/image_surface.h"

namespace orivane {

struct Engine;

// The registered module for a lower-case extension, or the empty string.
std::string FindPicturePlugin(const Engine& engine, const std::string& extension);

// Decodes the loose file through the module. False when the module or its
// export is missing or the plug-in reports a failure.
bool LoadWithPicturePlugin(Engine& engine, const std::string& module, const std::string& file,
                           ImageSurface& out);

}  // namespace orivane
