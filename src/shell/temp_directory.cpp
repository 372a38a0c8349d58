#include "shell/temp_directory.h"

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>

namespace orivane {

bool TemporaryDirectory::Create() {
  Remove();
  const char* base = std::getenv("TMPDIR");
  std::string templ = std::string(base && *base ? base : "/tmp") + "/orivane-XXXXXX";
  if (!::mkdtemp(templ.data())) return false;
  path = templ;
  return true;
}

void TemporaryDirectory::Remove() {
  if (path.empty()) return;
  std::error_code ec;
  std::filesystem::remove_all(path, ec);
  path.clear();
}

}  // namespace orivane
