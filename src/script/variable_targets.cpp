#include "script/variable_targets.h"

#include "engine.h"
#include "script/error.h"
#include "script/readers.h"

namespace orivane {

bool ReadVariableNumber(Engine& engine, char marker, int32_t& number, bool* constant) {
  SkipBlanks(engine);
  if (engine.script.Cur() != static_cast<uint8_t>(marker)) return false;
  engine.script.Advance();
  int32_t var;
  bool cacheable;
  number = ReadNumberTermForCache(engine, var, cacheable);
  if (constant) *constant = cacheable && var < 0;
  return true;
}

int32_t ExpectNumVar(Engine& engine, std::string_view message, std::string_view title) {
  int32_t n = 0;
  if (!ReadVariableNumber(engine, '%', n)) ReportError(engine, message, title);
  return n;
}

int32_t ExpectStrVar(Engine& engine, std::string_view message, std::string_view title) {
  int32_t n = 0;
  if (!ReadVariableNumber(engine, '$', n)) ReportError(engine, message, title);
  return n;
}

StoreTarget ReadStoreTarget(Engine& engine, bool allow_array) {
  StoreTarget t;
  if (ReadVariableNumber(engine, '%', t.number, &t.constant)) {
    t.kind = TargetKind::kNum;
  } else if (ReadVariableNumber(engine, '$', t.number, &t.constant)) {
    t.kind = TargetKind::kStr;
  } else if (allow_array && engine.script.Cur() == '?') {
    engine.script.Advance();
    t.element = ReadArrayRef(engine, ArrayRefMode::kElement);
    t.kind = TargetKind::kArray;
  }
  return t;
}

int32_t ParseLeadingInt(std::string_view text) {
  size_t i = 0;
  auto space = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; };
  while (i < text.size() && space(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int64_t value = 0;
  constexpr int64_t kLimit = int64_t{INT32_MAX} + 1;
  for (; i < text.size() && IsDigit(static_cast<uint8_t>(text[i])); ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > kLimit) value = kLimit;  // held, so that long digit runs cannot overflow
  }
  if (negative) return static_cast<int32_t>(-value);
  return static_cast<int32_t>(value > INT32_MAX ? INT32_MAX : value);
}

}  // namespace orivane
