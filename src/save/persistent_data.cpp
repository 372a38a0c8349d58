#include "save/persistent_data.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine.h"
#include "save/environment_file.h"
#include "save/global_variables_file.h"
#include "save/name_log_files.h"
#include "platform/platform.h"
#include "save/persistent_file_io.h"
#include "text/read_flags.h"
#include "util/file_io.h"

namespace orivane {

bool WriteReadFlagsFile(Engine& engine) {
  const ReadFlags& rf = engine.read_flags;
  if (!rf.kept) return true;
  return WritePersistentFile(engine, kReadFlagsFile, rf.bits.data(), rf.bits.size());
}

void WritePersistentData(Engine& engine) {
  WriteReadFlagsFile(engine);
  WriteGlobalVariablesFile(engine);
  if (engine.persistent.environment_taken) WriteEnvironmentFile(engine);
  WriteNameLogFiles(engine);
}

void LoadReadFlagsFile(Engine& engine) {
  ReadFlags& rf = engine.read_flags;
  if (!rf.kept || rf.bits.empty()) return;
  std::fill(rf.bits.begin(), rf.bits.end(), 0);
  const std::string path = PersistentFilePath(engine, kReadFlagsFile, FileUse::kRead);
  if (!IsRegularFile(path)) return;
  const std::optional<uint64_t> size = FileSize(path);
  // The writer writes the bitmap whole: a longer file was written for
  // another script (or is no read-flag file), and flags taken from it would
  // pass text the player has not read.
  if (!size || *size > rf.bits.size()) {
    engine.platform.Note("orivane: kidoku.dat does not fit this script: every text counts as unread");
    return;
  }
  // Never more than the bitmap's size is read; fewer bytes than the file
  // held a moment ago is a read that failed part-way.
  const std::vector<uint8_t> saved =
      ReadPersistentFile(engine, kReadFlagsFile, FilePlace::kSaveDirectory, rf.bits.size());
  if (saved.size() != *size) {
    engine.platform.Note("orivane: kidoku.dat cannot be read whole: every text counts as unread");
    return;
  }
  TakeSavedReadFlags(rf, saved);
}

void AttachPersistentData(Engine& engine) { engine.waits.write_persistent = WritePersistentData; }

namespace {

// A run killed in the middle of a write leaves its temporary file beside the
// file; the file itself is whole (the old one or the new one).
void RemoveLeftoversOfEndedRuns(const Engine& engine) {
  RemoveStaleTemporaryFiles(PersistentFolderPath(engine, FilePlace::kTopFolder));
  if (!engine.persistent.places.save_dir.empty())
    RemoveStaleTemporaryFiles(PersistentFolderPath(engine, FilePlace::kSaveDirectory));
}

}  // namespace

void ResetPersistentDataForStartUp(Engine& engine) {
  const bool first_start_up = !engine.persistent.places.decided;
  ChoosePersistentFolder(engine);
  WritePersistentData(engine);
  ForgetReadFlagsForStartUp(engine.read_flags);
  // `filelog` and `labellog` stay: the logs live for the whole process.
  engine.persistent.environment_taken = false;
  TakeSaveDirectoryFromEnvironment(engine);
  if (first_start_up) RemoveLeftoversOfEndedRuns(engine);  // once the save directory is known
}

void StartPersistentData(Engine& engine) { LoadGlobalVariablesFile(engine); }

void FinishPersistentDataAfterDefine(Engine& engine) { LoadNameLogFiles(engine); }

bool ChangeSaveDirectory(Engine& engine, const std::string& sjis_dir) {
  const std::string old_dir = engine.persistent.places.save_dir;
  if (!UseSaveDirectory(engine, sjis_dir)) return false;
  if (sjis_dir == old_dir) return true;
  if (!sjis_dir.empty()) RemoveStaleTemporaryFiles(PersistentFolderPath(engine, FilePlace::kSaveDirectory));
  // The directory the files were read from at start-up came from "envdata";
  // when the script names another that holds them, they are taken from there,
  // so a lost "envdata" never lets the writer replace them with defaults.
  if (PersistentFileExists(engine, kGlobalVariablesFile)) LoadGlobalVariablesFile(engine);
  if (engine.read_flags.kept && PersistentFileExists(engine, kReadFlagsFile)) LoadReadFlagsFile(engine);
  return true;
}

}  // namespace orivane
