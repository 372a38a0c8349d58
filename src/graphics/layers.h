// Layer plug-ins: 32 live picture sources that a sprite shows by the tag
// "*N". `setlayer` fills a record in the *define block; the layer's Draw
// paints into the scene buffer while a frame is composed, its Timer runs from
// the animation step, Initialize when the game starts and Finalize when it
// ends normally. A layer number outside the table shows nothing.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "graphics/pixel_view.h"
#include "orivane/plugin.h"

namespace orivane {

struct Engine;

inline constexpr int kLayerCount = 32;

struct LayerRecord {
  int32_t interval = 0;    // ms between Timer calls; 0: no timer
  uint32_t last_time = 0;  // engine time of the last Timer call
  int32_t hold = 0;        // drawn during transitions only while 0 (never set)
  std::string parameters;  // the text after the "/" of the DLL string
  OrvnLayerInitializeFn initialize = nullptr;
  OrvnLayerFinalizeFn finalize = nullptr;
  OrvnLayerTimerFn timer = nullptr;
  OrvnLayerDrawFn draw = nullptr;
  OrvnLayerMessageFn message = nullptr;
};

using LayerTable = std::array<LayerRecord, kLayerCount>;

// The N of a "*N" tag: the decimal digits after the "*" (0 when there are
// none), not checked against the table.
int64_t LayerNumber(const std::string& tag);

// The layer of a "*N" tag; nullptr for a number outside the table.
LayerRecord* LayerAt(Engine& engine, int64_t n);

// A DLL string: the module name before the first "/", the parameters after it.
struct DllString {
  std::string module;
  std::string parameters;
};
DllString SplitDllString(const std::string& text);

// Fills layer `n` (in the table) from a DLL string: the parameters, then the
// five entry points (all null when the module is missing).
void SetLayer(Engine& engine, int n, int32_t interval, const std::string& dll_string);

// Composition: the layer's Draw over `area` (inclusive) of the scene buffer.
void DrawLayer(Engine& engine, int64_t n, PixelRect area);

// The animation step: runs the layer's Timer when its interval has passed
// since the last call; true when the Timer says the picture changed.
bool RunLayerTimer(Engine& engine, int64_t n, uint32_t now);
// When the layer's Timer falls due next; nullopt without a timer.
std::optional<uint32_t> NextLayerTimer(Engine& engine, int64_t n);

// Initialize of every layer that has one, in layer order (the game starts).
void InitializeLayers(Engine& engine);
// Finalize of every layer that has one (the game ends normally).
void FinalizeLayers(Engine& engine);

}  // namespace orivane
