// Test support for the writers of files: a full disk as a write sees it,
// and the temporary files a write leaves behind.
//
//   FileSizeLimit limit(100);  // writes past 100 bytes fail while it lives
//   EXPECT_TRUE(TemporaryFilesIn(dir).empty());
#pragma once

#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "util/file_io.h"

namespace orivane::test {

// The temporary files of any name in `dir` (the names atomic writes use,
// fixed or fresh), found without following links.
inline std::vector<std::string> TemporaryFilesIn(const std::string& dir) {
  std::vector<std::string> found;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(dir, ec))
    if (IsTemporaryFileOf(entry.path().filename().string(), [](std::string_view) { return true; }))
      found.push_back(entry.path().filename().string());
  return found;
}

// Lowers the largest file this process may write (RLIMIT_FSIZE) for as long
// as it lives; a write past the limit fails with EFBIG instead of raising
// SIGXFSZ. It needs no privilege and no file system of its own.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old_);
    old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit lower = old_;
    lower.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &lower);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, old_handler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit old_{};
  void (*old_handler_)(int) = nullptr;
};

}  // namespace orivane::test
