// PluginModuleTable: the shared objects the engine has opened for plug-ins
// (picture decoders, effects, and later sound and layer plug-ins), kept by
// file name for the whole run. A name ending in ".dll" opens the ".so" of the
// same stem; names are looked up in the game directory.
#pragma once

#include <array>
#include <string>

namespace orivane {

class PluginModuleTable {
 public:
  static constexpr int kCapacity = 256;

  PluginModuleTable() = default;
  ~PluginModuleTable();
  PluginModuleTable(const PluginModuleTable&) = delete;
  PluginModuleTable& operator=(const PluginModuleTable&) = delete;

  // The named export of the module, opening the module on first use. Null when
  // the module or the export is missing, or every slot is taken.
  void* Find(const std::string& module_name, const char* export_name);

 private:
  std::array<void*, kCapacity> handles_{};
  std::array<std::string, kCapacity> names_;
};

}  // namespace orivane
