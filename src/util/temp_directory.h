// The engine's private temporary directory: made with mkdtemp as
// "$TMPDIR/orivane-XXXXXX" (default /tmp) at start-up and removed with
// everything in it at exit. Archived files that a player can only open by
// name are written here.
//
// A run killed outright (SIGKILL, a crash) cannot remove its directory, so
// each directory has its owner's mark beside it, "orivane-XXXXXX.owner",
// holding the owner's pid, on which the owner keeps an exclusive flock for
// its whole life (the directory itself holds only the engine's files). The
// system drops the lock however the process ends, so a mark that can be
// locked belongs to no live run; Create removes those of this user with
// their directories. A directory without a mark (a run from before marks,
// or one being made this instant) is left alone.
#pragma once

#include <string>

namespace orivane {

class TempDirectory {
 public:
  TempDirectory() = default;
  ~TempDirectory() { Remove(); }
  TempDirectory(const TempDirectory&) = delete;
  TempDirectory& operator=(const TempDirectory&) = delete;

  // Creates the directory unless it exists already, marks it as this run's
  // and removes the directories of runs that are gone. Returns false when it
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
  int owner_fd_ = -1;  // the locked mark, open for the directory's life
  std::string mark_;   // its path; empty when the directory has none
};

// The folder temporary directories are made in: $TMPDIR, or /tmp.
std::string TemporaryBase();

// Removes, in `base`, the "orivane-XXXXXX" directories of this user (and
// their marks) whose mark nobody holds locked: their run has ended without
// removing them. Returns how many marks it removed.
int RemoveAbandonedTempDirectories(const std::string& base);

}  // namespace orivane
