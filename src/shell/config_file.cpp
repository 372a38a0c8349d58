#include "shell/config_file.h"

#include <fstream>
#include <string>

#include "shell/shell_state.h"
#include "util/file_io.h"

namespace orivane {

bool ConfigLineSetsCdFadeOff(std::string_view line) { return line.substr(0, 9) == "cdfadeoff"; }

void ReadShellConfig(ShellState& shell) {
  std::ifstream config("config.txt");
  std::string line;
  while (std::getline(config, line))
    if (ConfigLineSetsCdFadeOff(line)) shell.cd_fade_off = true;
  shell.debug_mode = FileExists("probe.527");
}

}  // namespace orivane
