#include "plugin_host.h"

namespace orivane {
namespace {

// The one global of the engine; see the header.
Engine* g_plugin_host = nullptr;

}  // namespace

Engine* PluginHostEngine() {
  return g_plugin_host;
}

PluginHostScope::PluginHostScope(Engine& engine) : previous_(g_plugin_host) {
  g_plugin_host = &engine;
}

PluginHostScope::~PluginHostScope() {
  g_plugin_host = previous_;
}

}  // namespace orivane
