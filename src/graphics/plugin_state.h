// What graphics keeps for plug-ins: the layer table, the state of the calls
// into plug-ins, and the picture records the exported functions hand out for
// the display surface and the scene buffer.
#pragma once

#include "graphics/layers.h"
#include "graphics/plugin_calls.h"
#include "orivane/plugin.h"

namespace orivane {

struct Engine;

struct PluginState {
  LayerTable layers;
  PluginCallState calls;
  OrvnSurface display_record{};  // OrvnGetDestDC
  OrvnSurface scene_record{};    // OrvnGetSrcDC
};

// The window as plug-ins see it (OrvnGetWindow, OrvnPlugInMain): a token
// that only names the engine; no plug-in can do anything with it but pass it.
inline OrvnWindow PluginWindowToken(Engine& engine) {
  return reinterpret_cast<OrvnWindow>(&engine);
}

}  // namespace orivane
