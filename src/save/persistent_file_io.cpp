#include "save/persistent_file_io.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

#include "engine.h"
#include "platform/platform.h"
#include "util/file_io.h"

namespace orivane {
namespace {

// The fixed names, lower case (the game folder's spelling may differ in case).
constexpr std::array<std::string_view, 5> kPersistentNames = {"envdata", "gloval.sav", "kidoku.dat", "orvnflog.dat",
                                                              "orvnllog.dat"};

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// "save" + digits + `extension`.
bool IsSlotFileName(std::string_view lower, std::string_view extension) {
  if (lower.size() <= 4 + extension.size() || !lower.starts_with("save") || !lower.ends_with(extension)) return false;
  const std::string_view digits = lower.substr(4, lower.size() - 4 - extension.size());
  return std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void TellWriteFailure(Engine& engine, std::string_view name, const std::string& path, const std::string& reason) {
  PersistentState& state = engine.persistent;
  const std::string key(name);
  if (std::find(state.failing_writes.begin(), state.failing_writes.end(), key) != state.failing_writes.end()) return;
  state.failing_writes.push_back(key);
  engine.platform.Note("orivane: cannot write " + path + ": " + reason + "; the old file is kept");
  // A run that is being stopped by a signal gets the note alone: nobody is
  // there to close a box.
  if (state.write_failure_shown || engine.platform.StopRequested()) return;
  state.write_failure_shown = true;
  Question box;
  box.title = "書き込みエラー";
  box.text = "「" + path + "」を書き込めませんでした（" + reason +
             "）。\n前のファイルはそのまま残っています。空き容量と書き込み権限を確かめてください。";
  box.icon = Question::Icon::kStop;
  box.notice = true;  // it only tells: a scripted player passes it by
  engine.platform.Ask(box);  // whatever the answer, the run goes on
}

void ForgetWriteFailure(Engine& engine, std::string_view name) {
  std::vector<std::string>& failing = engine.persistent.failing_writes;
  failing.erase(std::remove(failing.begin(), failing.end(), name), failing.end());
}

}  // namespace

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

bool WritePersistentFile(Engine& engine, std::string_view name, const void* data, size_t size,
                         FilePlace place) {
  static constexpr uint8_t kNothing = 0;  // an empty file still needs a valid pointer
  const std::string path = PersistentFilePath(engine, name, FileUse::kWrite, place);
  std::string reason;
  if (WriteFileAtomically(path, size ? data : &kNothing, size, &reason)) {
    ForgetWriteFailure(engine, name);
    return true;
  }
  TellWriteFailure(engine, name, path, reason);
  return false;
}

bool IsPersistentFileName(std::string_view name) {
  const std::string lower = Lower(name);
  return std::find(kPersistentNames.begin(), kPersistentNames.end(), lower) != kPersistentNames.end() ||
         IsSlotFileName(lower, ".dat") || IsSlotFileName(lower, ".ss");
}

void RemoveStaleTemporaryFiles(const std::string& host_dir) {
  RemoveTemporaryFilesIn(host_dir, IsPersistentFileName);
}

}  // namespace orivane
