// `--screenshot FILE`: the display surface written as PNG or BMP, chosen by
// the file name's extension, when the run ends.
#pragma once

#include <string>

#include "platform/display_surface.h"

namespace orivane {

enum class ScreenshotFormat { kNone, kPng, kBmp };

// The format of a file name by its extension (any case); kNone otherwise.
ScreenshotFormat ScreenshotFormatOf(const std::string& path);

// Writes the surface (through a temporary file renamed into place). False with
// `error` set when the file cannot be written.
bool WriteScreenshot(const DisplaySurface& display, const std::string& path, std::string& error);

}  // namespace orivane
