// The cache of loaded plug-in modules shared by every kind of plug-in
// (archive readers, picture decoders, effects, sound converters): up to 256
// shared objects, each loaded once by its file name and released at exit.
//
// Plug-ins are named as their games name them, with ".dll"; such a name is
// looked up as the ".so" of the same stem. A name without a directory is
// taken relative to the game directory, never from the system's library path.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orivane {

class PluginModuleTable {
 public:
  static constexpr size_t kCapacity = 256;

  PluginModuleTable() = default;
  ~PluginModuleTable();
  PluginModuleTable(const PluginModuleTable&) = delete;
  PluginModuleTable& operator=(const PluginModuleTable&) = delete;

  // The exported symbol `symbol` of the module `module_name`, loading the
  // module on first use. nullptr when the module or the symbol is missing or
  // the table is full. The name is matched exactly as given.
  void* Find(const std::string& module_name, const char* symbol);

  // The path the module is loaded from: '\' becomes '/', ".dll" becomes ".so",
  // and a relative name is anchored at the current directory.
  static std::string SharedObjectPath(std::string_view module_name);

 private:
  struct Module {
    std::string name;
    void* handle = nullptr;  // null when loading failed (so it is not retried)
  };
  std::vector<Module> modules_;
};

}  // namespace orivane
