#include "util/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

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

bool WriteFileAtomically(const std::string& name, const void* data, size_t size) {
  std::string tmp = name + ".tmp";
  FILE* f = std::fopen(tmp.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(data, 1, size, f) == size;
  return FinishAndRename(f, tmp, name, ok);
}

bool FinishAndRename(std::FILE* f, const std::string& temp_path, const std::string& final_path, bool ok) {
  ok = (std::fflush(f) == 0) && ok;
  ok = (::fsync(fileno(f)) == 0) && ok;
  ok = (std::fclose(f) == 0) && ok;
  if (!ok || std::rename(temp_path.c_str(), final_path.c_str()) != 0) {
    std::remove(temp_path.c_str());
    return false;
  }
  return true;
}

}  // namespace orivane
