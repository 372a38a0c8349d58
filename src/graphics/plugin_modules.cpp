#include "graphics/plugin_modules.h"

#include <dlfcn.h>

namespace orivane {
namespace {

std::string SharedObjectPath(const std::string& name) {
  std::string path = name;
  if (path.size() >= 4) {
    std::string ext = path.substr(path.size() - 4);
    for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (ext == ".dll") path = path.substr(0, path.size() - 4) + ".so";
  }
  // A bare name would make the loader search the system's library paths.
  if (path.find('/') == std::string::npos) path = "./" + path;
  return path;
}

}  // namespace

PluginModuleTable::~PluginModuleTable() {
  for (void* h : handles_)
    if (h) dlclose(h);
}

void* PluginModuleTable::Find(const std::string& module_name, const char* export_name) {
  for (int i = 0; i < kCapacity; ++i) {
    if (names_[i].empty()) {
      // First free slot: open the module there.
      void* h = dlopen(SharedObjectPath(module_name).c_str(), RTLD_NOW | RTLD_LOCAL);
      if (!h) return nullptr;
      handles_[i] = h;
      names_[i] = module_name;
      return dlsym(h, export_name);
    }
    if (names_[i] == module_name) return handles_[i] ? dlsym(handles_[i], export_name) : nullptr;
  }
  return nullptr;
}

}  // namespace orivane
