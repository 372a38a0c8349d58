#include "save/persistent_data.h"

#include <cstdint>
#include <vector>

#include "engine.h"
#include "text/read_flags.h"
#include "util/file_io.h"

namespace orivane {

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
  saved.resize(ReadFileStart(PersistentFilePath(engine, kReadFlagsFile), saved));
  TakeSavedReadFlags(rf, saved);
}

void AttachPersistentData(Engine& engine) { engine.waits.write_persistent = WritePersistentData; }

void ResetPersistentDataForStartUp(Engine& engine) {
  WriteReadFlagsFile(engine);
  ForgetReadFlagsForStartUp(engine.read_flags);
}

}  // namespace orivane
