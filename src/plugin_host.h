// The engine that serves plug-ins. The functions the executable exports to
// plug-ins (plugin_exports.cpp) are called with no engine argument, so they
// need one process-wide pointer to the engine that runs: this is the single
// exception to "no globals". It is set only while an engine runs a game
// (RunEngine holds a PluginHostScope) and cleared when the run ends; with no
// engine set, every export does nothing and returns 0.
#pragma once

namespace orivane {

struct Engine;

// The engine plug-ins are served by now; nullptr when none runs.
Engine* PluginHostEngine();

// Makes `engine` the one that serves plug-ins for the scope's lifetime, then
// puts back the one before (tests may run engines one inside another).
class PluginHostScope {
 public:
  explicit PluginHostScope(Engine& engine);
  ~PluginHostScope();
  PluginHostScope(const PluginHostScope&) = delete;
  PluginHostScope& operator=(const PluginHostScope&) = delete;

 private:
  Engine* previous_;
};

}  // namespace orivane
