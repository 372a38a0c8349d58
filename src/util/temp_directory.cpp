#include "util/temp_directory.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <vector>

namespace orivane {
namespace {

constexpr std::string_view kPrefix = "orivane-";
constexpr size_t kRandomLength = 6;  // mkdtemp's XXXXXX
constexpr const char* kOwnerMark = ".orivane-owner";
constexpr const char* kOwnerMarkBeingMade = ".orivane-owner.new";

// Writes and locks the mark under another name first, then renames it into
// place: whoever finds the mark finds it locked already.
int MarkAsOurs(const std::string& dir) {
  const std::string fresh = dir + "/" + kOwnerMarkBeingMade;
  const int fd = ::open(fresh.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return -1;
  const std::string pid = std::to_string(::getpid()) + "\n";
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::write(fd, pid.data(), pid.size()) < 0 ||
      ::rename(fresh.c_str(), (dir + "/" + kOwnerMark).c_str()) != 0) {
    ::close(fd);
    ::unlink(fresh.c_str());
    return -1;
  }
  return fd;
}

bool LooksLikeOurs(std::string_view name) {
  return name.size() == kPrefix.size() + kRandomLength && name.starts_with(kPrefix);
}

// True when `dir` carries a mark that no live process holds locked. The lock
// taken to find out is held while the caller removes the directory, so an
// owner cannot appear meanwhile.
bool Abandoned(const std::string& dir, int& mark_fd) {
  mark_fd = ::open((dir + "/" + kOwnerMark).c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (mark_fd < 0) return false;
  if (::flock(mark_fd, LOCK_EX | LOCK_NB) == 0) return true;
  ::close(mark_fd);
  mark_fd = -1;
  return false;
}

}  // namespace

std::string TemporaryBase() {
  const char* base = std::getenv("TMPDIR");
  return base && *base ? base : "/tmp";
}

int RemoveAbandonedTempDirectories(const std::string& base, const std::string& keep) {
  DIR* listing = ::opendir(base.c_str());
  if (!listing) return 0;
  std::vector<std::string> candidates;
  while (const dirent* entry = ::readdir(listing))
    if (LooksLikeOurs(entry->d_name)) candidates.emplace_back(entry->d_name);
  const int base_fd = ::dirfd(listing);
  int removed = 0;
  for (const std::string& name : candidates) {
    const std::string dir = base + "/" + name;
    struct stat st;
    // Only real directories of this user: never a link, never another's.
    if (dir == keep || ::fstatat(base_fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISDIR(st.st_mode) ||
        st.st_uid != ::geteuid())
      continue;
    int mark_fd = -1;
    if (!Abandoned(dir, mark_fd)) continue;
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);  // removes symbolic links, never follows them
    if (!ec) ++removed;
    ::close(mark_fd);
  }
  ::closedir(listing);
  return removed;
}

bool TempDirectory::Create() {
  if (!path_.empty()) return true;
  const std::string base = TemporaryBase();
  std::string templ = base + "/" + std::string(kPrefix) + std::string(kRandomLength, 'X');
  if (!::mkdtemp(templ.data())) return false;
  path_ = templ;
  owner_fd_ = MarkAsOurs(path_);  // unmarked, the directory is merely never swept
  RemoveAbandonedTempDirectories(base, path_);
  return true;
}

void TempDirectory::Remove() {
  if (path_.empty()) return;
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);  // removes symbolic links, never follows them
  path_.clear();
  if (owner_fd_ >= 0) ::close(owner_fd_);
  owner_fd_ = -1;
}

}  // namespace orivane
