#include "util/plugin_modules.h"

#include <dlfcn.h>

namespace orivane {

PluginModuleTable::~PluginModuleTable() {
  for (Module& m : modules_)
    if (m.handle) ::dlclose(m.handle);
}

std::string PluginModuleTable::SharedObjectPath(std::string_view module_name) {
  std::string path(module_name);
  for (char& c : path)
    if (c == '\\') c = '/';
  if (path.size() >= 4) {
    std::string ext = path.substr(path.size() - 4);
    for (char& c : ext)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (ext == ".dll") path = path.substr(0, path.size() - 4) + ".so";
  }
  if (path.empty() || path[0] != '/') path = "./" + path;
  return path;
}

void* PluginModuleTable::Find(const std::string& module_name, const char* symbol) {
  for (Module& m : modules_)
    if (m.name == module_name) return m.handle ? ::dlsym(m.handle, symbol) : nullptr;
  if (modules_.size() >= kCapacity) return nullptr;
  Module m;
  m.name = module_name;
  m.handle = ::dlopen(SharedObjectPath(module_name).c_str(), RTLD_NOW | RTLD_LOCAL);
  modules_.push_back(m);
  return m.handle ? ::dlsym(m.handle, symbol) : nullptr;
}

}  // namespace orivane
