#include "graphics/layers.h"

#include <cstdlib>

#include "engine.h"
#include "graphics/plugin_state.h"

namespace orivane {
namespace {

PluginCallState& Calls(Engine& engine) {
  return engine.graphics.plugins.calls;
}

// True when `now` is past last + interval (the clock may wrap).
bool TimerDue(const LayerRecord& layer, uint32_t now) {
  const uint32_t next = layer.last_time + static_cast<uint32_t>(layer.interval);
  return static_cast<int32_t>(now - next) > 0;
}

}  // namespace

int64_t LayerNumber(const std::string& tag) {
  // strtoll stops at the first non-digit and saturates instead of overflowing.
  return tag.size() > 1 ? std::strtoll(tag.c_str() + 1, nullptr, 10) : 0;
}

LayerRecord* LayerAt(Engine& engine, int64_t n) {
  if (n < 0 || n >= kLayerCount) return nullptr;
  return &engine.graphics.plugins.layers[static_cast<size_t>(n)];
}

DllString SplitDllString(const std::string& text) {
  const size_t slash = text.find('/');
  if (slash == std::string::npos) return {text, std::string()};
  return {text.substr(0, slash), text.substr(slash + 1)};
}

void SetLayer(Engine& engine, int n, int32_t interval, const std::string& dll_string) {
  LayerRecord* layer = LayerAt(engine, n);
  if (!layer) return;
  const DllString dll = SplitDllString(dll_string);
  layer->interval = interval;
  layer->parameters = dll.parameters;
  PluginModuleTable& modules = engine.plugin_modules;
  layer->initialize =
      reinterpret_cast<OrvnLayerInitializeFn>(modules.Find(dll.module, "Initialize"));
  layer->finalize = reinterpret_cast<OrvnLayerFinalizeFn>(modules.Find(dll.module, "Finalize"));
  layer->draw = reinterpret_cast<OrvnLayerDrawFn>(modules.Find(dll.module, "Draw"));
  layer->timer = reinterpret_cast<OrvnLayerTimerFn>(modules.Find(dll.module, "Timer"));
  layer->message = reinterpret_cast<OrvnLayerMessageFn>(modules.Find(dll.module, "Message"));
}

void DrawLayer(Engine& engine, int64_t n, PixelRect area) {
  LayerRecord* layer = LayerAt(engine, n);
  DisplaySurface& scene = engine.graphics.scene;
  if (!layer || !layer->draw || scene.pixels.empty() || area.empty()) return;
  if (layer->hold != 0 && engine.graphics.transition_running) return;
  int bounds[4] = {area.left, area.top, area.right + 1, area.bottom + 1};
  CallPlugin(Calls(engine), [&] { layer->draw(scene.pixels.data(), bounds); });
}

bool RunLayerTimer(Engine& engine, int64_t n, uint32_t now) {
  LayerRecord* layer = LayerAt(engine, n);
  if (!layer || layer->interval == 0 || !TimerDue(*layer, now)) return false;
  layer->last_time = now;
  if (!layer->timer) return false;
  return CallPlugin(Calls(engine), [&] { return layer->timer(); }) != 0;
}

std::optional<uint32_t> NextLayerTimer(Engine& engine, int64_t n) {
  const LayerRecord* layer = LayerAt(engine, n);
  if (!layer || layer->interval == 0 || !layer->timer) return std::nullopt;
  // Due once the clock is past last + interval; a negative interval is due at once.
  const uint32_t wait = layer->interval > 0 ? static_cast<uint32_t>(layer->interval) : 0;
  return layer->last_time + wait + 1;
}

void InitializeLayers(Engine& engine) {
  for (LayerRecord& layer : engine.graphics.plugins.layers)
    if (layer.initialize)
      CallPlugin(Calls(engine), [&] { layer.initialize(layer.parameters.c_str()); });
}

void FinalizeLayers(Engine& engine) {
  for (LayerRecord& layer : engine.graphics.plugins.layers)
    if (layer.finalize) CallPlugin(Calls(engine), [&] { layer.finalize(); });
}

}  // namespace orivane
