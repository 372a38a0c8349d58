#include "script/error.h"

#include "engine.h"
#include "platform/platform.h"
#include "script/loader.h"
#include "util/file_io.h"
#include "util/sjis.h"

namespace orivane {

namespace {

// First position of a file's text.
int32_t FileStart(const ScriptBuffer& script, int file) {
  return (script.packed || file == 0) ? 0 : script.file_end[file - 1] + 1;
}

// A position at or past the end of the script's text stands for the end of
// its last line, before the last file's own final newline; others are kept.
int32_t WithinText(const ScriptBuffer& script, int32_t pos) {
  if (script.last_file < 0 || pos < script.text_end) return pos;
  int32_t end = script.text_end;
  if (end > FileStart(script, script.last_file) && script.bytes[end - 1] == '\n') --end;
  return end;
}

}  // namespace

ScriptLocation LocatePosition(const ScriptBuffer& script, int32_t pos) {
  if (script.last_file >= 0 && pos >= script.text_end) {
    // Beyond the text there are only the empty lines of absent files: name
    // the last file read and its last line.
    int32_t end = WithinText(script, pos);
    int newlines = 0;
    for (int32_t p = FileStart(script, script.last_file); p < end; ++p) newlines += script.bytes[p] == '\n';
    return {script.packed ? 0 : script.last_file, newlines + 1};
  }
  if (script.packed) {
    // A packed script has no file boundaries: count lines from its start.
    int newlines = 0;
    for (int32_t p = 0; p < pos && p < script.length; ++p) newlines += script.bytes[p] == '\n';
    return {0, newlines + 1};
  }
  int file = 0;
  int newlines = 0;
  int file_start = 0;
  for (int32_t p = 0; p < pos && p < script.length; ++p) {
    if (file < kScriptFileCount - 1 && p > script.file_end[file]) {
      ++file;
      file_start = newlines;
    }
    if (script.bytes[p] == '\n') ++newlines;
  }
  return {file, newlines - file_start + 1};
}

std::string BuildErrorReport(const ScriptBuffer& script, int32_t pos, std::string_view message_sjis) {
  if (pos < 0) pos = 0;
  if (pos > script.length) pos = script.length;
  std::string text;
  text.append(message_sjis.substr(0, kMaxErrorTextBytes / 2));
  text.append("\n\n");

  ScriptLocation where = LocatePosition(script, pos);
  pos = WithinText(script, pos);  // the excerpt too ends on the script's last line
  if (script.packed) {
    text.append(FormatBytes("%s line:%d\n", {std::string_view(script.packed_name), int64_t{where.line}}));
  } else {
    const char* format = FileExists(ScriptFileName(where.file)) ? "%d.txt line:%d\n" : "0%d.txt line:%d\n";
    text.append(FormatBytes(format, {int64_t{where.file}, int64_t{where.line}}));
  }

  // The excerpt starts at the third-last newline before the position.
  int32_t start = 0;
  int32_t last_newline = -1;
  int found = 0;
  for (int32_t p = pos - 1; p >= 0; --p) {
    if (script.bytes[p] != '\n') continue;
    if (found == 0) last_newline = p;
    if (++found == 3) {
      start = p;
      break;
    }
  }
  // Keep the end of the excerpt, where reading stopped, when it is too long.
  size_t budget = kMaxErrorTextBytes - text.size();
  if (static_cast<size_t>(pos - start) * 2 > budget) start = pos - static_cast<int32_t>(budget / 2);
  for (int32_t p = start; p < pos; ++p) {
    uint8_t c = script.bytes[p];
    text.push_back(static_cast<char>(c));
    if (c == '\n') text.push_back(p == last_newline ? '>' : '|');
  }
  return text;
}

void ReportError(Engine& engine, std::string_view message, std::string_view title,
                 std::initializer_list<FormatArg> args) {
  std::string message_sjis = FormatBytes(Utf8ToSjis(message), args);
  std::string report = BuildErrorReport(engine.script, engine.script.pos, message_sjis);
  // `errorsave`: the player can go on from the last save point. Once only:
  // an error while saving must not save again.
  if (engine.interp.error_save && engine.save_point.save_before_error) {
    engine.interp.error_save = false;
    engine.save_point.save_before_error(engine);
  }
  engine.platform.ShowError(title, SjisToUtf8(report));
  throw EngineExit{1};
}

}  // namespace orivane
