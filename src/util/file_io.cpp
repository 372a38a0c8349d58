#include "util/file_io.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

namespace orivane {

bool FileExists(const std::string& name) {
  struct stat st;
  return ::stat(name.c_str(), &st) == 0;
}

std::optional<uint64_t> FileSize(const std::string& name) {
  struct stat st;
  if (::stat(name.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  return static_cast<uint64_t>(st.st_size);
}

std::optional<uint64_t> OpenFileSize(std::FILE* file) {
  struct stat st;
  if (::fstat(fileno(file), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  return static_cast<uint64_t>(st.st_size);
}

bool IsRegularFile(const std::string& name) { return FileSize(name).has_value(); }

std::FILE* CreatePrivateFile(const std::string& path) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return nullptr;
  std::FILE* f = ::fdopen(fd, "wb");
  if (!f) ::close(fd);
  return f;
}

bool ReadFileBytes(const std::string& name, std::vector<uint8_t>& out) {
  out.clear();
  return AppendFileBytes(name, out);
}

size_t ReadFileStart(const std::string& name, std::vector<uint8_t>& out) {
  const int fd = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return 0;
  size_t got = 0;
  struct stat st;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
    while (got < out.size()) {
      const ssize_t n = ::read(fd, out.data() + got, out.size() - got);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      got += static_cast<size_t>(n);
    }
  }
  ::close(fd);
  return got;
}

bool AppendFileBytes(const std::string& name, std::vector<uint8_t>& out) {
  FILE* f = std::fopen(name.c_str(), "rb");
  if (!f) return false;
  // Read straight into the vector: size it by the file's length, then grow in
  // large steps for files that change size or report none.
  struct stat st;
  size_t chunk = 1 << 16;
  if (::fstat(fileno(f), &st) == 0 && st.st_size > 0) chunk = static_cast<size_t>(st.st_size) + 1;
  bool ok = true;
  for (;;) {
    size_t old = out.size();
    out.resize(old + chunk);
    size_t n = std::fread(out.data() + old, 1, chunk, f);
    out.resize(old + n);
    if (n < chunk) {
      ok = !std::ferror(f);
      break;
    }
    chunk = std::max<size_t>(chunk, 1 << 20);
  }
  std::fclose(f);
  return ok;
}

namespace {

constexpr std::string_view kTemporarySuffix = ".tmp";
constexpr size_t kRandomPartLength = 6;

bool IsRandomPart(std::string_view part) {
  if (part.size() != kRandomPartLength) return false;
  for (char c : part)
    if (!std::isalnum(static_cast<unsigned char>(c))) return false;
  return true;
}

// Opens a new file "<prefix>.XXXXXX.tmp" relative to `dir_fd`, exclusively:
// O_EXCL refuses any name that exists, a symbolic link included, so nothing
// planted there is ever written through. Tries fresh names while one exists.
int OpenFreshTemporary(int dir_fd, const std::string& prefix, std::string& name) {
  static constexpr char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    uint64_t bits = (uint64_t{random()} << 32) | random();
    std::string candidate = prefix + ".";
    for (size_t i = 0; i < kRandomPartLength; ++i) {
      candidate += kChars[bits % (sizeof kChars - 1)];
      bits /= sizeof kChars - 1;
    }
    candidate += kTemporarySuffix;
    const int fd = ::openat(dir_fd, candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0) {
      name = std::move(candidate);
      return fd;
    }
    if (errno != EEXIST) return -1;
  }
  errno = EEXIST;
  return -1;
}

std::string ErrorWords(int error) { return std::strerror(error ? error : EIO); }

bool WriteAll(int fd, const void* data, size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = ::write(fd, p, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = ENOSPC;
      return false;
    }
    p += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

std::vector<std::string> SplitRelative(const std::string& relative) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    const size_t slash = relative.find('/', start);
    parts.push_back(relative.substr(start, slash == std::string::npos ? std::string::npos : slash - start));
    if (slash == std::string::npos) break;
    start = slash + 1;
  }
  return parts;
}

}  // namespace

std::FILE* CreateTemporaryBeside(const std::string& final_path, std::string& temp_path) {
  const int fd = OpenFreshTemporary(AT_FDCWD, final_path, temp_path);
  if (fd < 0) return nullptr;
  std::FILE* f = ::fdopen(fd, "wb");
  if (!f) {
    const int error = errno;
    ::close(fd);
    ::unlink(temp_path.c_str());
    errno = error;
  }
  return f;
}

bool WriteFileAtomically(const std::string& name, const void* data, size_t size, std::string* reason) {
  std::string tmp;
  FILE* f = CreateTemporaryBeside(name, tmp);
  if (!f) {
    if (reason) *reason = ErrorWords(errno);
    return false;
  }
  errno = 0;
  const bool ok = std::fwrite(data, 1, size, f) == size;
  return FinishAndRename(f, tmp, name, ok, reason);
}

bool FinishAndRename(std::FILE* f, const std::string& temp_path, const std::string& final_path, bool ok,
                     std::string* reason) {
  int error = ok ? 0 : (errno ? errno : EIO);
  auto step = [&error](bool step_ok) {
    if (!step_ok && error == 0) error = errno ? errno : EIO;
    return step_ok;
  };
  step(std::fflush(f) == 0);
  step(::fsync(fileno(f)) == 0);
  step(std::fclose(f) == 0);
  if (error == 0) step(std::rename(temp_path.c_str(), final_path.c_str()) == 0);
  if (error == 0) return true;
  std::remove(temp_path.c_str());
  if (reason) *reason = ErrorWords(error);
  return false;
}

bool IsTemporaryFileOf(std::string_view name, const std::function<bool(std::string_view)>& is_ours) {
  if (name.size() <= kTemporarySuffix.size() || !name.ends_with(kTemporarySuffix)) return false;
  std::string_view stem = name.substr(0, name.size() - kTemporarySuffix.size());
  if (is_ours(stem)) return true;  // the older fixed name
  const size_t dot = stem.size() > kRandomPartLength ? stem.size() - kRandomPartLength - 1 : std::string_view::npos;
  return dot != std::string_view::npos && dot > 0 && stem[dot] == '.' && IsRandomPart(stem.substr(dot + 1)) &&
         is_ours(stem.substr(0, dot));
}

size_t RemoveTemporaryFilesIn(const std::string& dir, const std::function<bool(std::string_view)>& is_ours) {
  const int dir_fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir_fd < 0) return 0;
  DIR* listing = ::fdopendir(dir_fd);
  if (!listing) {
    ::close(dir_fd);
    return 0;
  }
  std::vector<std::string> doomed;
  while (const dirent* entry = ::readdir(listing))
    if (IsTemporaryFileOf(entry->d_name, is_ours)) doomed.emplace_back(entry->d_name);
  size_t removed = 0;
  for (const std::string& name : doomed) {
    struct stat st;
    if (::fstatat(dir_fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (!S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode)) continue;
    if (::unlinkat(dir_fd, name.c_str(), 0) == 0) ++removed;
  }
  ::closedir(listing);  // closes dir_fd
  return removed;
}

bool WriteFileBelow(const std::string& dir, const std::string& relative, const void* data, size_t size,
                    std::string& reason) {
  const std::vector<std::string> parts = SplitRelative(relative);
  for (const std::string& part : parts) {
    if (part.empty() || part == "." || part == "..") {
      reason = "the name would leave " + dir;
      return false;
    }
  }
  // The folder the caller named is taken as it is; below it every step is
  // opened without following a link, so nothing planted there leads out.
  int dir_fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir_fd < 0) {
    reason = dir + ": " + ErrorWords(errno);
    return false;
  }
  std::string walked = dir;
  for (size_t i = 0; i + 1 < parts.size(); ++i) {
    walked += "/" + parts[i];
    if (::mkdirat(dir_fd, parts[i].c_str(), 0777) != 0 && errno != EEXIST) {
      reason = walked + ": " + ErrorWords(errno);
      ::close(dir_fd);
      return false;
    }
    const int next = ::openat(dir_fd, parts[i].c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    const int error = errno;
    struct stat st;
    const bool link = next < 0 && ::fstatat(dir_fd, parts[i].c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
                      S_ISLNK(st.st_mode);
    ::close(dir_fd);
    if (next < 0) {
      reason = walked + (link ? std::string(" is a symbolic link; nothing is written through it")
                              : ": " + ErrorWords(error));
      return false;
    }
    dir_fd = next;
  }
  const std::string& file = parts.back();
  std::string temp;
  const int fd = OpenFreshTemporary(dir_fd, file, temp);
  if (fd < 0) {
    reason = walked + "/" + file + ": " + ErrorWords(errno);
    ::close(dir_fd);
    return false;
  }
  bool ok = WriteAll(fd, data, size) && ::fsync(fd) == 0;
  int error = ok ? 0 : errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    error = errno;
  }
  // renameat replaces a link standing at the name; it never follows it.
  if (ok && ::renameat(dir_fd, temp.c_str(), dir_fd, file.c_str()) != 0) {
    ok = false;
    error = errno;
  }
  if (!ok) {
    ::unlinkat(dir_fd, temp.c_str(), 0);
    reason = walked + "/" + file + ": " + ErrorWords(error);
  }
  ::close(dir_fd);
  return ok;
}

}  // namespace orivane
