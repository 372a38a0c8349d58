// The CSV reader and writer: one file at a time, fields separated by ',' and
// records by newlines, no quoting. Scrambled files have every byte XORed
// with 0xA7.
#include <cstdio>

#include "archive/file_layer.h"
#include "engine.h"
#include "script/command_table.h"
#include "script/error.h"
#include "script/expression.h"
#include "script/file_commands.h"
#include "script/general_commands.h"
#include "script/readers.h"
#include "script/variable_targets.h"
#include "util/game_path.h"

namespace orivane {
namespace {

constexpr uint8_t kScrambleKey = 0xA7;

[[noreturn]] void CannotOpen(Engine& engine) { ReportError(engine, "csvファイルが開けません。", "エラー"); }

void CmdCsvOpen(Engine& engine) {
  CsvState& csv = engine.general.csv;
  if (csv.is_open()) ReportError(engine, "CSVファイルを二つ同時に開こうとしました。", "エラー");
  std::string name = ReadString(engine);
  ExpectComma(engine);
  std::string mode = ReadString(engine);
  // An unknown mode keeps the switches of the previous csvopen.
  if (mode == "r" || mode == "rc" || mode == "w" || mode == "wc") {
    csv.writing = mode[0] == 'w';
    csv.scrambled = mode.size() == 2;
  }
  if (csv.writing) {
    CheckWritableName(engine, name);
    // Written beside the file and renamed over it at csvclose, so an
    // interrupted game never leaves a half-written file in its place.
    std::string path = HostPath(name);
    std::string temp = path + ".tmp";
    FILE* f = std::fopen(temp.c_str(), "wbe");  // not inherited by started programs
    if (!f) CannotOpen(engine);
    csv.out = f;
    csv.out_temp_path = std::move(temp);
    csv.out_final_path = std::move(path);
  } else {
    if (!ReadGameFile(engine, name, csv.data)) CannotOpen(engine);
    if (csv.scrambled)
      for (uint8_t& b : csv.data) b ^= kScrambleKey;
    csv.read_pos = 0;
  }
  csv.name = std::move(name);
}

// The bytes of the next field up to ',', a newline or the end; the ',' or
// newline is consumed.
std::string_view NextCsvField(CsvState& csv) {
  const char* base = reinterpret_cast<const char*>(csv.data.data());
  size_t begin = csv.read_pos, i = begin;
  while (i < csv.data.size() && base[i] != ',' && base[i] != '\n') ++i;
  csv.read_pos = i < csv.data.size() ? i + 1 : i;
  return std::string_view(base + begin, i - begin);
}

void CmdCsvRead(Engine& engine) {
  CsvState& csv = engine.general.csv;
  if (!csv.is_open() || csv.writing) ReportError(engine, "読み込み用のCSVファイルが開かれていません。", "エラー");
  std::string& field = csv.field;  // reused, so reading allocates only when a field grows
  for (;;) {
    int32_t n = 0;
    bool numeric = ReadVariableNumber(engine, '%', n);
    if (!numeric && !ReadVariableNumber(engine, '$', n))
      ReportError(engine, "csvreadの指定が間違っています。", "エラー");
    std::string_view raw = NextCsvField(csv);
    field.clear();
    for (char c : raw) {
      if (c == '\r' || (numeric && (c == ' ' || c == '\t'))) continue;
      field.push_back(c);
    }
    if (numeric) {
      engine.vars.SetNum(n, ParseLeadingInt(field));
    } else {
      engine.vars.SetStr(n, field);
    }
    SkipBlanks(engine);
    if (engine.script.Cur() != ',') break;
    ExpectComma(engine);
  }
  engine.vars.ApplyIntLimits();
  engine.ret.value = 0;
}

void WriteBytes(Engine& engine, std::string_view bytes) {
  CsvState& csv = engine.general.csv;
  bool ok = true;
  if (csv.scrambled) {
    for (char c : bytes) ok = std::fputc(static_cast<uint8_t>(c) ^ kScrambleKey, csv.out) != EOF && ok;
  } else {
    ok = std::fwrite(bytes.data(), 1, bytes.size(), csv.out) == bytes.size();
  }
  if (!ok) ReportError(engine, "csvファイルに書き込めません。", "エラー");
}

void CmdCsvWrite(Engine& engine) {
  CsvState& csv = engine.general.csv;
  if (!csv.is_open() || !csv.writing) ReportError(engine, "書き込み用のCSVファイルが開かれていません。", "エラー");
  for (;;) {
    SkipBlanks(engine);
    uint8_t c = engine.script.Cur();
    if (c == '"' || c == '$') {
      WriteBytes(engine, ReadString(engine));
    } else if (c == '%' || c == '+' || c == '-' || IsDigit(c)) {
      char digits[16];
      int len = std::snprintf(digits, sizeof digits, "%d", ReadNumber(engine));
      WriteBytes(engine, std::string_view(digits, static_cast<size_t>(len)));
    } else {
      std::string name = ReadToken(engine);
      if (const std::string* text = engine.vars.FindStrAlias(name)) {
        WriteBytes(engine, *text);
      } else if (const int32_t* value = engine.vars.FindNumAlias(name)) {
        WriteBytes(engine, std::to_string(*value));
      } else {
        ReportError(engine, "csvwriteの指定が間違っています。", "エラー");
      }
    }
    SkipBlanks(engine);
    if (engine.script.Cur() != ',') break;
    ExpectComma(engine);
    WriteBytes(engine, ",");
  }
}

// With no file open there is nothing left to read: the answer is 1, so a
// reading loop ends.
void CmdCsvEof(Engine& engine) {
  int32_t n = ExpectNumVar(engine, "csveofの第一引数は数字変数です。");
  const CsvState& csv = engine.general.csv;
  bool at_end = !csv.is_open() || csv.writing || csv.read_pos >= csv.data.size();
  engine.vars.SetNum(n, at_end ? 1 : 0);
  engine.vars.ApplyIntLimits();
}

void CmdCsvClose(Engine& engine) {
  CsvState& csv = engine.general.csv;
  if (!csv.is_open()) return;
  if (!csv.Close()) ReportError(engine, "csvファイルに書き込めません。", "エラー");
}

}  // namespace

void RegisterCsvCommands(CommandTable& table) {
  table.Register("csvopen", CmdCsvOpen);
  table.Register("csvread", CmdCsvRead);
  table.Register("csvwrite", CmdCsvWrite);
  table.Register("csveof", CmdCsvEof);
  table.Register("csvclose", CmdCsvClose);
}

}  // namespace orivane
