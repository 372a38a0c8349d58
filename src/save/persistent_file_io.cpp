#include "save/persistent_file_io.h"

#include <algorithm>
#include <string>

#include "util/file_io.h"

namespace orivane {

std::vector<uint8_t> ReadPersistentFile(const Engine& engine, std::string_view name,
                                        FilePlace place, size_t limit) {
  const std::string path = PersistentFilePath(engine, name, FileUse::kRead, place);
  const std::optional<uint64_t> size = FileSize(path);
  if (!size) return {};
  std::vector<uint8_t> bytes(static_cast<size_t>(std::min<uint64_t>(*size, limit)));
  bytes.resize(ReadFileStart(path, bytes));
  return bytes;
}

bool PersistentFileExists(const Engine& engine, std::string_view name, FilePlace place) {
  return IsRegularFile(PersistentFilePath(engine, name, FileUse::kRead, place));
}

bool WritePersistentFile(const Engine& engine, std::string_view name, const void* data, size_t size,
                         FilePlace place) {
  static constexpr uint8_t kNothing = 0;  // an empty file still needs a valid pointer
  return WriteFileAtomically(PersistentFilePath(engine, name, FileUse::kWrite, place),
                             size ? data : &kNothing, size);
}

}  // namespace orivane
