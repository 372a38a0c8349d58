// String conversion and slicing, `split`, and the date, time and version
// queries. None of these runs ApplyIntLimits: a limited variable written
// here keeps its value until the next clamping command.
#include "script/string_commands.h"

#include <cstring>

#include "engine.h"
#include "script/command_table.h"
#include "script/error.h"
#include "script/execute.h"
#include "script/expression.h"
#include "script/general_commands.h"
#include "script/readers.h"
#include "script/variable_targets.h"
#include "util/sjis.h"

namespace orivane {

std::string_view MidBytes(std::string_view text, int32_t start, int32_t length) {
  int64_t begin = start, end = int64_t{start} + length;
  int64_t size = static_cast<int64_t>(text.size());
  if (begin < 0) begin = 0;
  if (end > size) end = size;
  if (begin >= end) return {};
  return text.substr(static_cast<size_t>(begin), static_cast<size_t>(end - begin));
}

int32_t CompareBytes(std::string_view a, std::string_view b) {
  size_t n = std::min(a.size(), b.size());
  int r = n ? std::memcmp(a.data(), b.data(), n) : 0;  // memcmp compares as unsigned char
  if (r == 0) r = a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
  return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

std::string_view NextField(std::string_view source, size_t& pos, char delimiter) {
  size_t begin = pos;
  size_t i = pos;
  while (i < source.size()) {
    uint8_t c = static_cast<uint8_t>(source[i]);
    if (IsSjisLead(c)) {
      i += (i + 1 < source.size()) ? 2 : 1;
      continue;
    }
    if (source[i] == delimiter) break;
    ++i;
  }
  std::string_view field = source.substr(begin, i - begin);
  pos = i < source.size() ? i + 1 : i;
  return field;
}

DateFields DateOf(const std::tm& t) { return {t.tm_year % 100, t.tm_mon + 1, t.tm_mday}; }

namespace {

void CmdItoa(Engine& engine) {
  int32_t n = ExpectStrVar(engine, "itoaの第一引数は文字変数です。");
  ExpectComma(engine);
  engine.vars.SetStr(n, std::to_string(ReadNumber(engine)));
}

// The same message as itoa: the games' authors only ever saw that one.
void CmdItoa2(Engine& engine) {
  int32_t n = ExpectStrVar(engine, "itoaの第一引数は文字変数です。");
  ExpectComma(engine);
  std::string text;
  AppendFullWidthNumber(text, ReadNumber(engine));
  engine.vars.SetStr(n, std::move(text));
}

void CmdAtoi(Engine& engine) {
  int32_t n = ExpectNumVar(engine, "");
  ExpectComma(engine);
  engine.vars.SetNum(n, ParseLeadingInt(ReadString(engine)));
}

void CmdLen(Engine& engine) {
  int32_t n = ExpectNumVar(engine, "lenの第一引数は数字変数です。");
  ExpectComma(engine);
  engine.vars.SetNum(n, static_cast<int32_t>(ReadString(engine).size()));
}

void CmdMid(Engine& engine) {
  int32_t n = ExpectStrVar(engine, "midの第一引数は文字変数です。");
  ExpectComma(engine);
  std::string text = ReadString(engine);
  ExpectComma(engine);
  int32_t start = ReadNumber(engine);
  ExpectComma(engine);
  int32_t length = ReadNumber(engine);
  engine.vars.SetStr(n, std::string(MidBytes(text, start, length)));
}

void CmdCmp(Engine& engine) {
  int32_t n = ExpectNumVar(engine, "cmpの第一引数は数字変数です。");
  ExpectComma(engine);
  std::string a = ReadString(engine);
  ExpectComma(engine);
  std::string b = ReadString(engine);
  engine.vars.SetNum(n, CompareBytes(a, b));
}

void CmdSplit(Engine& engine) {
  std::string source = ReadString(engine);
  ExpectComma(engine);
  std::string delimiter = ReadString(engine);
  if (delimiter.size() != 1) ReportError(engine, "splitの分割文字は一文字です", "エラー");
  ExpectComma(engine);
  size_t pos = 0;
  for (;;) {
    std::string_view field = NextField(source, pos, delimiter[0]);
    int32_t n = 0;
    if (ReadVariableNumber(engine, '%', n)) {
      engine.vars.SetNum(n, ParseLeadingInt(field));
    } else if (ReadVariableNumber(engine, '$', n)) {
      engine.vars.SetStr(n, std::string(field));
    } else {
      ReportError(engine, "splitに指定できるのは数字変数か文字変数です（配列は現在のところ不可）", "エラー");
    }
    SkipBlanks(engine);
    if (engine.script.Cur() != ',') break;
    ExpectComma(engine);
  }
}

std::tm LocalNow() {
  std::time_t now = std::time(nullptr);
  std::tm t{};
  localtime_r(&now, &t);
  return t;
}

void CmdDate(Engine& engine) {
  int32_t y = ExpectNumVar(engine, "dateの第一引数は数字変数です。");
  ExpectComma(engine);
  int32_t m = ExpectNumVar(engine, "dateの第ニ引数は数字変数です。");
  ExpectComma(engine);
  int32_t d = ExpectNumVar(engine, "");
  DateFields f = DateOf(LocalNow());
  engine.vars.SetNum(y, f.year2);
  engine.vars.SetNum(m, f.month);
  engine.vars.SetNum(d, f.day);
}

void CmdTime(Engine& engine) {
  int32_t h = ExpectNumVar(engine, "timeの第一引数は数字変数です。");
  ExpectComma(engine);
  int32_t m = ExpectNumVar(engine, "timeの第ニ引数は数字変数です。");
  ExpectComma(engine);
  int32_t s = ExpectNumVar(engine, "");
  std::tm t = LocalNow();
  engine.vars.SetNum(h, t.tm_hour);
  engine.vars.SetNum(m, t.tm_min);
  engine.vars.SetNum(s, t.tm_sec);
}

void CmdGetVersion(Engine& engine) {
  int32_t n = ExpectNumVar(engine, "getversionの第一引数は数字変数です。");
  engine.vars.SetNum(n, 267);
  engine.vars.ApplyIntLimits();
}

}  // namespace

void RegisterStringCommands(CommandTable& table) {
  table.Register("itoa", CmdItoa);
  table.Register("itoa2", CmdItoa2);
  table.Register("atoi", CmdAtoi);
  table.Register("len", CmdLen);
  table.Register("mid", CmdMid);
  table.Register("cmp", CmdCmp);
  table.Register("split", CmdSplit);
  table.Register("date", CmdDate);
  table.Register("time", CmdTime);
  table.Register("getversion", CmdGetVersion);
}

}  // namespace orivane
