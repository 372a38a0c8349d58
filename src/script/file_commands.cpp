// File tests and whole-file reads, label tests, INI and registry lookups,
// and creating and deleting files. Scripts may write and delete only inside
// the game directory.
#include "platform/platform.h"
#include "script/file_commands.h"

#include <cstdio>

#include "archive/archive_set.h"
#include "archive/file_layer.h"
#include "engine.h"
#include "script/command_table.h"
#include "script/error.h"
#include "script/general_commands.h"
#include "script/labels.h"
#include "script/readers.h"
#include "script/variable_targets.h"
#include "util/file_io.h"
#include "util/game_path.h"
#include "util/ini_file.h"
#include "util/sjis.h"

namespace orivane {

bool GameFileExists(Engine& engine, std::string_view sjis_name) {
  if (IsRegularFile(HostPath(sjis_name))) return true;
  return engine.archive.archives_on && LocateArchived(engine, sjis_name).has_value();
}

void CheckWritableName(Engine& engine, std::string_view sjis_name) {
  if (!IsInsideGameDirectory(sjis_name))
    ReportError(engine, "ゲームのフォルダの外のファイルは書き換えられません。:%s", "エラー", {sjis_name});
}

namespace {

// Text stops at the first NUL, as it did for the games' C strings.
std::string AsText(const std::vector<uint8_t>& bytes, size_t limit = SIZE_MAX) {
  size_t n = 0;
  while (n < bytes.size() && n < limit && bytes[n] != 0) ++n;
  return std::string(reinterpret_cast<const char*>(bytes.data()), n);
}

void CmdFileExist(Engine& engine) {
  int32_t n = ExpectNumVar(engine, "fileexistの第一引数は数字変数です。", "エラー");
  ExpectComma(engine);
  std::string name = ReadString(engine);
  engine.vars.SetNum(n, GameFileExists(engine, name) ? 1 : 0);
}

void CmdLabelExist(Engine& engine) {
  int32_t n = ExpectNumVar(engine, "labelexistの第一引数は数字変数です。", "エラー");
  ExpectComma(engine);
  std::string label = ReadLabelName(engine);
  engine.vars.SetNum(n, engine.labels.Find(ToLowerAscii(label)) >= 0 ? 1 : 0);
}

void CmdReadFile(Engine& engine) {
  int32_t n = ExpectStrVar(engine, "readfileの第一引数は文字変数です。");
  ExpectComma(engine);
  std::string name = ReadString(engine);
  std::vector<uint8_t> bytes;
  if (ReadGameFile(engine, name, bytes)) engine.vars.SetStr(n, AsText(bytes));
}

// A file that cannot be created is not an error of the script (the games
// expect this to be quiet); the person running the engine gets a note.
void CmdFileCreate(Engine& engine) {
  std::string name = ReadString(engine);
  CheckWritableName(engine, name);
  std::string path = HostPath(name);
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fclose(f);
  } else {
    engine.platform.Note("orivane: filecreate could not create " + path);
  }
}

// Deleting a file that is not there is quiet.
void CmdFileRemove(Engine& engine) {
  std::string name = ReadString(engine);
  CheckWritableName(engine, name);
  std::remove(HostPath(name).c_str());
}

// Reads an INI-style file and stores the value (cut to `limit` bytes) or the
// empty string.
void StoreIniValue(Engine& engine, int32_t n, const std::string& path, std::string_view section,
                   std::string_view key, size_t limit) {
  std::vector<uint8_t> bytes;
  std::string value;
  if (ReadFileBytes(path, bytes)) {
    std::string text = AsText(bytes);
    if (auto found = FindIniValue(text, section, key)) value = std::string(CutAtCharacter(*found, limit));
  }
  engine.vars.SetStr(n, std::move(value));
}

void CmdGetIni(Engine& engine) {
  int32_t n = ExpectStrVar(engine, "getiniの第一引数は文字変数です。");
  ExpectComma(engine);
  std::string file = ReadString(engine);
  ExpectComma(engine);
  std::string section = ReadString(engine);
  ExpectComma(engine);
  std::string key = ReadString(engine);
  StoreIniValue(engine, n, HostPath(file), section, key, 255);
}

void CmdGetReg(Engine& engine) {
  int32_t n = ExpectStrVar(engine, "getregの第一引数は文字変数です。");
  ExpectComma(engine);
  std::string key_path = ReadString(engine);
  ExpectComma(engine);
  std::string value_name = ReadString(engine);
  StoreIniValue(engine, n, HostPath(kRegistryFile), key_path, value_name, 256);
}

}  // namespace

void RegisterFileCommands(CommandTable& table) {
  table.Register("fileexist", CmdFileExist);
  table.Register("labelexist", CmdLabelExist);
  table.Register("readfile", CmdReadFile);
  table.Register("filecreate", CmdFileCreate);
  table.Register("fileremove", CmdFileRemove);
  table.Register("getini", CmdGetIni);
  table.Register("getreg", CmdGetReg);
}

}  // namespace orivane
