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
constexpr std::string_view kMarkSuffix = ".owner";
constexpr std::string_view kMarkBeingMade = ".owner.new";

// Writes and locks the mark under another name first, then renames it into
// place: whoever finds the mark finds it locked already. Returns the open,
// locked mark, or -1 (the directory then merely stays unmarked).
int MarkAsOurs(const std::string& mark) {
  const std::string fresh = mark.substr(0, mark.size() - kMarkSuffix.size()) + std::string(kMarkBeingMade);
  const int fd = ::open(fresh.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return -1;
  const std::string pid = std::to_string(::getpid()) + "\n";
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::write(fd, pid.data(), pid.size()) < 0 ||
      ::rename(fresh.c_str(), mark.c_str()) != 0) {
    ::close(fd);
    ::unlink(fresh.c_str());
    return -1;
  }
  return fd;
}

// "orivane-XXXXXX.owner": the directory's name is given back.
bool IsMark(std::string_view name, std::string& dir_name) {
  if (name.size() != kPrefix.size() + kRandomLength + kMarkSuffix.size() || !name.starts_with(kPrefix) ||
      !name.ends_with(kMarkSuffix))
    return false;
  dir_name = std::string(name.substr(0, name.size() - kMarkSuffix.size()));
  return true;
}

bool OwnedByUs(int base_fd, const std::string& name, bool directory) {
  struct stat st;
  return ::fstatat(base_fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && st.st_uid == ::geteuid() &&
         (directory ? S_ISDIR(st.st_mode) : S_ISREG(st.st_mode));
}

}  // namespace

std::string TemporaryBase() {
  const char* base = std::getenv("TMPDIR");
  return base && *base ? base : "/tmp";
}

int RemoveAbandonedTempDirectories(const std::string& base) {
  DIR* listing = ::opendir(base.c_str());
  if (!listing) return 0;
  std::vector<std::string> marks;
  while (const dirent* entry = ::readdir(listing)) {
    std::string dir_name;
    if (IsMark(entry->d_name, dir_name)) marks.emplace_back(entry->d_name);
  }
  const int base_fd = ::dirfd(listing);
  int removed = 0;
  for (const std::string& mark : marks) {
    std::string dir_name;
    IsMark(mark, dir_name);
    if (!OwnedByUs(base_fd, mark, false)) continue;
    const int fd = ::openat(base_fd, mark.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) continue;
    // Locked: its owner lives. The lock taken here is held while the
    // directory goes, so no owner can appear meanwhile.
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      if (OwnedByUs(base_fd, dir_name, true)) {
        std::error_code ec;
        std::filesystem::remove_all(base + "/" + dir_name, ec);  // removes links, never follows them
      }
      if (::unlinkat(base_fd, mark.c_str(), 0) == 0) ++removed;
    }
    ::close(fd);
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
  owner_fd_ = MarkAsOurs(path_ + std::string(kMarkSuffix));
  if (owner_fd_ >= 0) mark_ = path_ + std::string(kMarkSuffix);
  RemoveAbandonedTempDirectories(base);
  return true;
}

void TempDirectory::Remove() {
  if (path_.empty()) return;
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);  // removes symbolic links, never follows them
  path_.clear();
  if (!mark_.empty()) ::unlink(mark_.c_str());
  mark_.clear();
  if (owner_fd_ >= 0) ::close(owner_fd_);
  owner_fd_ = -1;
}

}  // namespace orivane
