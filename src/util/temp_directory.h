// The engine's private temporary directory: made with mkdtemp under $TMPDIR
// (default /tmp) at start-up and removed with everything in it at exit.
// Archived files that a player can only open by name are written here.
#pragma once

#include <string>

namespace orivane {

class TempDirectory {
 public:
  TempDirectory() = default;
  ~TempDirectory() { Remove(); }
  TempDirectory(const TempDirectory&) = delete;
  TempDirectory& operator=(const TempDirectory&) = delete;

  // Creates the directory unless it exists already. Returns false when it
  // cannot be made; path() is then empty.
  bool Create();
  // Removes the directory and its contents; safe to call more than once.
  void Remove();

  // The directory without a trailing slash; empty until Create succeeded.
  const std::string& path() const { return path_; }
  // A file name inside the directory.
  std::string FilePath(const std::string& file_name) const { return path_ + "/" + file_name; }

 private:
  std::string path_;
};

}  // namespace orivane
