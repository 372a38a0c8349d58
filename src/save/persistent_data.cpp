#include "save/persistent_data.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <vector>

#include "engine.h"
#include "text/read_flags.h"
#include "util/file_io.h"

namespace orivane {
namespace {

// Reads up to `out.size()` bytes from the start of the regular file `path`
// into `out`; returns how many it read. Anything else by that name (a
// directory, a pipe that would block) gives 0.
size_t ReadFilePrefix(const std::string& path, std::vector<uint8_t>& out) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
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

}  // namespace

std::string PersistentFilePath(const Engine&, std::string_view name) {
  // The place for `savedir` (and for a game directory that cannot be written):
  // every persistent file's path is made here.
  return std::string(name);
}

bool WriteReadFlagsFile(Engine& engine) {
  const ReadFlags& rf = engine.read_flags;
  if (!rf.kept) return true;
  static constexpr uint8_t kNothing = 0;
  const void* data = rf.bits.empty() ? &kNothing : rf.bits.data();
  return WriteFileAtomically(PersistentFilePath(engine, kReadFlagsFile), data, rf.bits.size());
}

void WritePersistentData(Engine& engine) {
  // In order: the read flags; then (as their commands arrive) the global
  // variables after `globalon`, the environment data, and the file and label
  // logs after `filelog` / `labellog`. A file that fails is skipped.
  WriteReadFlagsFile(engine);
}

void LoadReadFlagsFile(Engine& engine) {
  ReadFlags& rf = engine.read_flags;
  if (!rf.kept || rf.bits.empty()) return;
  std::vector<uint8_t> saved(rf.bits.size());
  saved.resize(ReadFilePrefix(PersistentFilePath(engine, kReadFlagsFile), saved));
  TakeSavedReadFlags(rf, saved);
}

void AttachPersistentData(Engine& engine) { engine.waits.write_persistent = WritePersistentData; }

void ResetPersistentDataForStartUp(Engine& engine) {
  WriteReadFlagsFile(engine);
  ForgetReadFlagsForStartUp(engine.read_flags);
}

}  // namespace orivane
