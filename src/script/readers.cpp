#include "script/readers.h"

#include "engine.h"
#include "script/debug_trace.h"
#include "script/error.h"
#include "script/expression.h"
#include "script/variables.h"

namespace orivane {
namespace {

constexpr uint8_t ToLower(uint8_t c) { return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c; }

// Reads up to 18 decimal digits at the position (the sign has been taken).
int32_t ReadDigits(Engine& engine, int32_t sign) {
  ScriptBuffer& s = engine.script;
  int64_t value = 0;
  int count = 0;
  while (IsDigit(s.Cur())) {
    if (count == kMaxNumberDigits) {
      std::string digits(reinterpret_cast<const char*>(&s.bytes[s.pos - count]), count + 1);
      ReportError(engine, "数字が長すぎます。:%s", "構文エラー", {digits});
    }
    value = value * 10 + (s.Cur() - '0');
    ++count;
    s.Advance();
  }
  SkipBlanks(engine);
  return static_cast<int32_t>(static_cast<uint32_t>(value) * static_cast<uint32_t>(sign));
}

std::string ReadLiteral(Engine& engine) {
  ScriptBuffer& s = engine.script;
  s.Advance();  // the opening quote, or the byte standing in for it
  std::string out;
  for (;;) {
    uint8_t c = s.Cur();
    if (c == '"' || c == 0) break;  // a literal cut by the end of the script ends there
    if (c == '\n') ReportError(engine, "文字列中に改行が有ります。", "構文エラー");
    if (out.size() == kMaxLiteralBytes) {
      out.push_back(static_cast<char>(c));
      ReportError(engine, "文字列が長すぎます。:%s", "構文エラー", {out});
    }
    out.push_back(static_cast<char>(c));
    s.Advance();
  }
  if (s.Cur() == '"') s.Advance();
  SkipBlanks(engine);
  return out;
}

}  // namespace

void SkipBlanks(Engine& engine) {
  ScriptBuffer& s = engine.script;
  while (IsBlank(s.Cur())) ++s.pos;  // a blank is never the terminating NUL
}

void ExpectComma(Engine& engine) {
  SkipBlanks(engine);
  if (engine.script.Cur() != ',')
    ReportError(engine, "コンマが必要なところにコンマが有りません。", "構文エラー");
  engine.script.Advance();
  SkipBlanks(engine);
}

bool CommaFollows(Engine& engine) {
  SkipBlanks(engine);
  return engine.script.Cur() == ',';
}

std::string ReadToken(Engine& engine) {
  ScriptBuffer& s = engine.script;
  SkipBlanks(engine);
  std::string token;
  for (;;) {
    uint8_t c = ToLower(s.Cur());
    bool accept = (c >= 'a' && c <= 'z') || c == '_' || (!token.empty() && IsDigit(c));
    if (!accept) break;
    token.push_back(static_cast<char>(c));
    s.Advance();
    if (token.size() > kMaxTokenChars)
      ReportError(engine, "長すぎるトークンです:%s", "命令エラー", {token});
  }
  SkipBlanks(engine);
  return token;
}

std::string ReadLabelName(Engine& engine) {
  ScriptBuffer& s = engine.script;
  SkipBlanks(engine);
  uint8_t c = s.Cur();
  if (c == '$' || c == '"') {
    std::string str = ReadString(engine);
    if (str.empty() || str[0] != '*')
      ReportError(engine,
                  "ラベル名を指定すべきところで文字列が代わりに指定されましたが、文字列の先頭が*"
                  "ではありません。",
                  "実行時エラー");
    return str.substr(1);
  }
  if (c != '*')
    ReportError(engine, "ラベル名が来るべきところにラベル名が来ませんでした。", "構文エラー");
  s.Advance();
  return ReadToken(engine);
}

int32_t ReadNumberTerm(Engine& engine) {
  int32_t var;
  bool cacheable;
  return ReadNumberTermForCache(engine, var, cacheable);
}

int32_t ReadNumberTermForCache(Engine& engine, int32_t& var, bool& cacheable) {
  ScriptBuffer& s = engine.script;
  var = -1;
  cacheable = true;
  SkipBlanks(engine);
  // %%n reads the variable whose number variable n holds: count the '%' and
  // apply the lookups innermost first, without recursion.
  int indirections = 0;
  while (s.Cur() == '%') {
    ++indirections;
    s.Advance();
    SkipBlanks(engine);
  }
  int32_t value;
  uint8_t c = s.Cur();
  if (c == '?') {
    s.Advance();
    if (engine.interp.variable_trace) {
      const ArrayIndices ref = ReadArrayRef(engine, ArrayRefMode::kElement);
      value = GetArrayElement(engine, ref);
      TraceVariable(engine, FormatTrace("配列変数?%dへアクセス：値%d", {int64_t{ref.number}, int64_t{value}}));
    } else {
      value = ReadArrayElement(engine);
    }
    cacheable = false;
  } else if (IsDigit(c) || c == '+') {
    value = ReadDigits(engine, 1);
  } else if (c == '-') {
    s.Advance();
    value = ReadDigits(engine, -1);
  } else {
    std::string name = ReadToken(engine);
    const int32_t* alias = engine.vars.FindNumAlias(name);
    if (!alias) ReportError(engine, "数字がくるべきところに数字がありません。", "構文エラー");
    value = *alias;
    if (engine.interp.variable_trace)
      TraceVariable(engine, FormatTrace("エイリアス%sへアクセス：値%d", {std::string_view(name), int64_t{value}}));
  }
  if (indirections == 1 && cacheable) var = value;
  if (indirections > 1) cacheable = false;
  for (; indirections > 0; --indirections) {
    const int32_t number = value;
    value = engine.vars.Num(number);
    if (engine.interp.variable_trace)
      TraceVariable(engine, FormatTrace("数字変数%%%dへアクセス：値%d", {int64_t{number}, int64_t{value}}));
    SkipBlanks(engine);
  }
  return value;
}

std::string ReadStringTerm(Engine& engine) {
  ScriptBuffer& s = engine.script;
  SkipBlanks(engine);
  uint8_t c = s.Cur();
  if (c == '(' || c == '[') {
    ReaderDepth depth(engine);
    s.Advance();
    bool known;
    if (c == '(') {
      std::string file = ReadStringTerm(engine);
      if (s.Cur() != ')')
        ReportError(engine, "ファイル文字列指定は(\"ファイル名\")という形式です。", "エラー");
      known = engine.file_log.Contains(file);
    } else {
      std::string label = ReadLabelName(engine);
      if (s.Cur() != ']')
        ReportError(engine, "ファイル文字列指定は(\"ファイル名\")という形式です。", "エラー");
      known = engine.label_log.Contains(label);
    }
    s.Advance();
    std::string if_known = ReadStringTerm(engine);
    std::string otherwise = ReadStringTerm(engine);
    return known ? if_known : otherwise;
  }
  if (c == '$') {
    s.Advance();
    int32_t n = ReadNumberTerm(engine);
    SkipBlanks(engine);
    if (engine.interp.variable_trace)
      TraceVariable(engine, FormatTrace("文字列変数$%dへアクセス：値\"%s\"", {int64_t{n}, std::string_view(engine.vars.Str(n))}));
    return engine.vars.Str(n);
  }
  if (c == '"') return ReadLiteral(engine);
  std::string name = ReadToken(engine);
  const std::string* alias = engine.vars.FindStrAlias(name);
  if (!alias) ReportError(engine, "文字列が来るべきところに文字列がありません。", "構文エラー");
  SkipBlanks(engine);
  return *alias;
}

std::string ReadString(Engine& engine) {
  std::string out = ReadStringTerm(engine);
  while (engine.script.Cur() == '+') {
    engine.script.Advance();
    std::string more = ReadStringTerm(engine);
    out.append(more, 0, kMaxJoinedStringBytes - std::min(out.size(), kMaxJoinedStringBytes));
  }
  if (out.size() > kMaxJoinedStringBytes) out.resize(kMaxJoinedStringBytes);
  return out;
}

uint32_t ParseColor(Engine& engine, std::string_view six) {
  uint32_t color = 0;
  for (size_t i = 0; i < 6; ++i) {
    uint8_t c = i < six.size() ? static_cast<uint8_t>(six[i]) : 0;
    uint32_t digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else {
      ReportError(engine,
                  "カラー指定が間違っています。HTMLと同じ形式（例：#75fe1b）で指定してください。",
                  "構文エラー");
    }
    color = (color << 4) | digit;
  }
  return color;
}

uint32_t ReadColor(Engine& engine) {
  const ScriptBuffer& s = engine.script;
  // The padding after the script guarantees six readable bytes.
  return ParseColor(engine, std::string_view(reinterpret_cast<const char*>(&s.bytes[s.pos + 1]), 6));
}

uint32_t ExpectLiteralColor(Engine& engine, std::string_view message, std::string_view title) {
  SkipBlanks(engine);
  if (engine.script.Cur() != '#') ReportError(engine, message, title);
  const uint32_t rgb = ReadColor(engine);
  engine.script.Advance(7);
  return rgb;
}

}  // namespace orivane

namespace orivane {

ReaderDepth::ReaderDepth(Engine& engine) : engine_(engine) {
  if (++engine.interp.reader_depth > kMaxDepth) {
    engine.interp.reader_depth = 0;  // the report below ends the run; keep the counter sane
    ReportError(engine, "入れ子が深すぎます。", "構文エラー");
  }
}

ReaderDepth::~ReaderDepth() {
  if (engine_.interp.reader_depth > 0) --engine_.interp.reader_depth;
}

}  // namespace orivane
