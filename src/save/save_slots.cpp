#include "save/save_slots.h"

#include <sys/stat.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "engine.h"
#include "sound/sound_lifecycle.h"
#include "graphics/bmp_read.h"
#include "graphics/effects.h"
#include "graphics/image_tag.h"
#include "graphics/picture_restore.h"
#include "graphics/surface_bmp_write.h"
#include "player_waits.h"
#include "save/game_state.h"
#include "save/persistent_data.h"
#include "script/error.h"
#include "script/labels.h"
#include "text/click_wait.h"
#include "text/text_window_display.h"
#include "util/file_io.h"
#include "util/save_stream.h"

namespace orivane {
namespace {

// The slot a script error saves to, after `errorsave`.
constexpr int32_t kErrorSaveSlot = 999;
// More back-log pages than this in a file is damage, not a game.
constexpr int32_t kMaxLoadedPages = 1 << 16;
// The background name that stands for a copy of the screen (`bgcpy`).
constexpr const char* kScreenCopyName = "*bgcpy";
constexpr const char* kDamagedSave = "セーブデータが壊れています。";

// Where a script position lies as the save file keeps it: the number of line
// feeds before it, and the number of ':' between its line's start and it.
// Kept this way, a save still finds its page after lines are edited above it.
struct LineStatement {
  int32_t line = 0;
  int32_t statement = 0;
};

LineStatement ToLineStatement(const ScriptBuffer& s, int32_t pos) {
  LineStatement at;
  int32_t line_start = 0;
  for (int32_t i = 0; i < pos && i < s.length; ++i)
    if (s.bytes[i] == '\n') {
      ++at.line;
      line_start = i + 1;
    }
  for (int32_t i = line_start; i < pos && i < s.length; ++i)
    if (s.bytes[i] == ':') ++at.statement;
  return at;
}

// The position again, or nullopt when the script ends before the line or the
// line ends before the statement.
std::optional<int32_t> FromLineStatement(const ScriptBuffer& s, LineStatement at) {
  if (at.line < 0 || at.statement < 0) return std::nullopt;
  int32_t i = 0;
  for (int32_t line = 0; line < at.line; ++i) {
    if (i >= s.length) return std::nullopt;
    if (s.bytes[i] == '\n') ++line;
  }
  for (int32_t statement = 0; statement < at.statement; ++i) {
    if (i >= s.length || s.bytes[i] == '\n') return std::nullopt;
    if (s.bytes[i] == ':') ++statement;
  }
  return i;
}

std::string SlotFile(const Engine& engine, int32_t slot, const char* extension, FileUse use) {
  return PersistentFilePath(engine, "save" + std::to_string(slot) + extension, use);
}

// The back-log pages and the save point's place, once per save point.
void FinaliseSnapshot(Engine& engine) {
  SavePointState& sp = engine.save_point;
  if (sp.finalised) return;
  SaveWriter out(sp.snapshot);
  const BackLog& log = engine.back_log;
  out.Int(log.PageCount());
  for (int32_t n = log.PageCount(); n >= 1; --n) out.Str(*log.PageBack(n));
  const LineStatement at = ToLineStatement(engine.script, sp.position);
  out.Int(at.line);
  out.Int(at.statement);
  sp.finalised = true;
}

// A save file read whole and found sound, before anything of it reaches the
// engine.
struct LoadedSave {
  SavedGame game;
  std::vector<std::string> pages;  // the back-log, the oldest first
  int32_t position = 0;            // where the saved page begins in this script
  ImageSurface screen_copy;        // the background kept as a copy of the screen
};

// False when the bytes are damaged: a field missing (a cut file), a count
// past its limit, a string without its end, a return point outside the
// script, or a place the script does not have. What follows the place (the
// `savegame2` trailer) is not read.
bool ReadSaveFile(const Engine& engine, const std::vector<uint8_t>& bytes, LoadedSave& loaded) {
  SaveReader in(bytes);
  ReadGameState(engine, in, loaded.game);
  const int32_t pages = in.Count(kMaxLoadedPages);
  for (int32_t i = 0; i < pages && !in.failed(); ++i) loaded.pages.push_back(in.Str());
  LineStatement at;
  at.line = in.Int();
  at.statement = in.Int();
  if (in.failed()) return false;
  const std::optional<int32_t> position = FromLineStatement(engine.script, at);
  if (!position) return false;
  loaded.position = *position;
  return true;
}

// The screen copy a slot's background stands for. A slot saved without one
// (by an engine that kept none) or with an unreadable one gets a black
// background, as a missing picture does.
void ReadScreenCopy(const Engine& engine, int32_t slot, ImageSurface& copy) {
  std::vector<uint8_t> bytes;
  if (!ReadFileBytes(ScreenFilePath(engine, slot), bytes) || !DecodeBmp(bytes.data(), bytes.size(), copy))
    copy.Reset();
}

// Writes the save point's screen copy beside the slot, or removes an old one
// when the saved background is no copy. The copy goes first: a failure then
// leaves the slot's old pair of files as it was.
bool WriteScreenCopy(Engine& engine, int32_t slot) {
  const ImageSurface& copy = engine.save_point.screen_copy;
  const std::string path = ScreenFilePath(engine, slot, FileUse::kWrite);
  if (copy.loaded) return SaveSurfaceBmp(path, copy);
  std::remove(path.c_str());
  return true;
}

// A damaged file changes nothing; the player is told and the game goes on,
// or (`loadgame`) the run ends with the report.
void RefuseDamagedSave(Engine& engine, OnDamagedSave on_damaged) {
  if (on_damaged == OnDamagedSave::kEndRun) ReportError(engine, kDamagedSave, "エラー");
  Question box;
  box.title = "エラー";
  box.text = kDamagedSave;
  box.icon = Question::Icon::kStop;
  box.notice = true;
  AskPlayer(engine, box);
}

// The text window as a loaded game starts it: its cursors and picture again,
// an empty page, no wait, off the screen.
void RestoreTextWindow(Engine& engine, const std::string cursor_tags[2]) {
  for (int i = 0; i < 2; ++i) {
    const WaitCursor& c = engine.text_out.cursors[i];
    RestoreWaitCursor(engine, i, cursor_tags[i], c.x, c.y, c.absolute);
  }
  TextWindow& w = engine.text;
  if (w.frame_color == kFramePicture) {
    const std::string tag = w.frame_image.tag;
    w.frame_image.Reset();
    if (!tag.empty()) LoadImageTag(engine, w.frame_image, tag);
  }
  StartNewTextPage(w);
  w.shown = false;
  engine.text_out.wait_state = 0;
  engine.text_out.cursor_showing = false;
  const std::string button_picture = engine.buttons.picture.tag;
  engine.buttons.ClearTable();
  if (!button_picture.empty()) LoadImageTag(engine, engine.buttons.picture, button_picture);
}

// Only a game that has reached a page has a place to go on from; an error
// before the first text (in the *define block, say) saves nothing.
void SaveOnError(Engine& engine) {
  if (engine.save_point.position >= 0) SaveToSlot(engine, kErrorSaveSlot);
}

}  // namespace

void AttachSaveSlots(Engine& engine) {
  engine.save_point.take = TakeSavePoint;
  engine.save_point.save_before_error = SaveOnError;
}

std::string SaveFilePath(const Engine& engine, int32_t slot, FileUse use) {
  return SlotFile(engine, slot, ".dat", use);
}
std::string ScreenFilePath(const Engine& engine, int32_t slot, FileUse use) {
  return SlotFile(engine, slot, ".ss", use);
}

void TakeSavePoint(Engine& engine, int32_t position) {
  SavePointState& sp = engine.save_point;
  sp.position = position;
  sp.snapshot.clear();
  SaveWriter out(sp.snapshot);
  WriteGameState(engine, out);
  sp.finalised = false;
  sp.snapshot_due = false;
  // A copy of the screen as background cannot be loaded again by its name:
  // the picture itself is kept, for the slot's screen file.
  const Graphics& g = engine.graphics;
  if (g.background_name == kScreenCopyName)
    sp.screen_copy = g.background;
  else
    sp.screen_copy.Reset();
}

bool SaveToSlot(Engine& engine, int32_t slot, const std::string* trailer) {
  if (slot < 0) return false;
  SavePointState& sp = engine.save_point;
  if (sp.position < 0) TakeSavePoint(engine, engine.script.pos);
  SettleSavePoint(engine, sp);
  FinaliseSnapshot(engine);
  std::vector<uint8_t> bytes = sp.snapshot;
  if (trailer) {
    bytes.push_back('"');
    bytes.insert(bytes.end(), trailer->begin(), trailer->end());
    bytes.push_back('"');
    bytes.push_back('*');
  }
  if (sp.screen_copy.loaded && !WriteScreenCopy(engine, slot)) return false;
  if (!WriteFileAtomically(SaveFilePath(engine, slot, FileUse::kWrite), bytes.data(), bytes.size())) return false;
  // Without a copy an old screen file would only mislead a later load.
  if (!sp.screen_copy.loaded) WriteScreenCopy(engine, slot);
  return true;
}

bool LoadFromSlot(Engine& engine, int32_t slot, OnDamagedSave on_damaged) {
  if (slot < 0) return false;
  std::vector<uint8_t> bytes;
  if (!ReadFileBytes(SaveFilePath(engine, slot), bytes)) return false;
  LoadedSave loaded;
  if (!ReadSaveFile(engine, bytes, loaded)) {
    RefuseDamagedSave(engine, on_damaged);
    return false;
  }
  if (loaded.game.background_name == kScreenCopyName) ReadScreenCopy(engine, slot, loaded.screen_copy);

  // The file is whole: from here it replaces the game.
  engine.back_log.Clear();
  TakeSavedGameState(engine, std::move(loaded.game));
  for (std::string& page : loaded.pages) engine.back_log.AddPage(std::move(page));
  const int32_t position = loaded.position;

  const std::string cursor_tags[2] = {engine.text_out.cursors[0].picture.tag,
                                      engine.text_out.cursors[1].picture.tag};
  RestoreTextWindow(engine, cursor_tags);
  RestorePicturesAfterLoad(engine, std::move(loaded.screen_copy));
  RestartSoundAfterLoad(engine);
  ShowDirtyNow(engine);

  // The loaded page is the save point now: saving at once writes it again.
  engine.script.Seek(position);
  TakeSavePoint(engine, engine.script.pos);
  InterpreterState& st = engine.interp;
  st.interrupted_wait = InterruptedWait{};
  if (!st.loadgosub_label.empty()) {
    if (!st.gosub.CanPush()) ReportError(engine, "gosub文のせいでスタックが溢れました。", "スタックエラー");
    st.gosub.Push(position);
    JumpToLabel(engine, st.loadgosub_label);
  }
  return true;
}

std::optional<std::tm> SlotTime(const Engine& engine, int32_t slot) {
  struct stat info {};
  if (slot < 0 || stat(SaveFilePath(engine, slot).c_str(), &info) != 0) return std::nullopt;
  std::tm local{};
  if (!localtime_r(&info.st_mtime, &local)) return std::nullopt;
  return local;
}

std::optional<std::string> SlotTrailer(const Engine& engine, int32_t slot) {
  std::vector<uint8_t> bytes;
  if (slot < 0 || !ReadFileBytes(SaveFilePath(engine, slot), bytes)) return std::nullopt;
  const std::string_view all(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (all.size() < 3 || all.substr(all.size() - 2) != "\"*") return std::string();
  const size_t open = all.rfind('"', all.size() - 3);
  if (open == std::string_view::npos) return std::string();
  return std::string(all.substr(open + 1, all.size() - 2 - open - 1));
}

}  // namespace orivane
