#include "support/plugin_build.h"

#include <spawn.h>
#include <sys/wait.h>

#include <fstream>
#include <vector>

extern char** environ;

namespace orivane::test {

bool BuildPluginInto(const GameDir& game, const std::string& name, const std::string& source) {
  const std::string c_file = game.path() + "/" + name + ".c";
  std::ofstream(c_file) << source;
  std::vector<std::string> args = {"cc",    "-shared",
                                   "-fPIC", "-I" ORIVANE_SOURCE_DIR "/include",
                                   "-o",    game.path() + "/" + name + ".so",
                                   c_file};
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid;
  if (posix_spawnp(&pid, "cc", nullptr, nullptr, argv.data(), environ) != 0) return false;
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace orivane::test
