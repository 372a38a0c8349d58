#include "graphics/mouse_cursor.h"

#include <unistd.h>

#include <optional>
#include <string>
#include <vector>

#include "archive/file_layer.h"
#include "engine.h"
#include "graphics/cursor_file.h"
#include "platform/platform.h"
#include "script/command_table.h"
#include "script/error.h"
#include "script/readers.h"
#include "util/file_io.h"

namespace orivane {
namespace {

constexpr const char* kBadParameter = "mousecursorのパラメータは、offかファイル名です。";

// The argument: the word "off" (nullopt), or a string naming the file. A
// string alias is a file name too; any other word is refused.
std::optional<std::string> ReadCursorArgument(Engine& engine) {
  SkipBlanks(engine);
  const uint8_t c = engine.script.Cur();
  if (c != '"' && c != '$' && c != '?') {
    const int32_t start = engine.script.pos;
    const std::string word = ReadToken(engine);
    if (word == "off") return std::nullopt;
    if (word.empty() || !engine.vars.FindStrAlias(word))
      ReportError(engine, kBadParameter, "エラー");
    engine.script.Seek(start);
  }
  std::string name = ReadString(engine);
  if (name.empty()) ReportError(engine, kBadParameter, "エラー");
  return name;
}

// The file's bytes; an archived file is had as a temporary file, read and
// deleted at once.
bool ReadCursorBytes(Engine& engine, const std::string& name, std::vector<uint8_t>& bytes) {
  bool temporary = false;
  const std::optional<std::string> path = GameFilePath(engine, name, &temporary);
  if (!path) return false;
  const bool read = ReadFileBytes(*path, bytes);
  if (temporary) ::unlink(path->c_str());
  return read;
}

void CmdMousecursor(Engine& engine) {
  const std::optional<std::string> name = ReadCursorArgument(engine);
  if (!name) {
    engine.platform.SetCursorPicture(nullptr);
    return;
  }
  std::vector<uint8_t> bytes;
  if (!ReadCursorBytes(engine, *name, bytes))
    ReportError(engine, "カーソルファイルが見つかりません。", "エラー");
  CursorPicture picture;
  if (!ParseCursorFile(bytes.data(), bytes.size(), picture))
    ReportError(engine, "カーソルファイル%sは読めません。", "エラー", {*name});
  engine.platform.SetCursorPicture(&picture);
}

}  // namespace

void RegisterMouseCursorCommand(CommandTable& table) {
  table.Register("mousecursor", CmdMousecursor);
}

}  // namespace orivane
