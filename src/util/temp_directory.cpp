#include "util/temp_directory.h"

#include <cstdlib>
#include <filesystem>

namespace orivane {

bool TempDirectory::Create() {
  if (!path_.empty()) return true;
  const char* base = std::getenv("TMPDIR");
  std::string templ = std::string(base && *base ? base : "/tmp") + "/orivane-XXXXXX";
  if (!::mkdtemp(templ.data())) return false;
  path_ = templ;
  return true;
}

void TempDirectory::Remove() {
  if (path_.empty()) return;
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);  // removes symbolic links, never follows them
  path_.clear();
}

}  // namespace orivane
