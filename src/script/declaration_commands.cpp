#include "script/declaration_commands.h"

#include "engine.h"
#include "script/command_table.h"
#include "script/error.h"
#include "script/expression.h"
#include "script/readers.h"

namespace orivane {
namespace {

void CmdDim(Engine& engine) {
  SkipBlanks(engine);
  if (engine.script.Cur() != '?') ReportError(engine, "Dim文の第一引数は~数字です。", "エラー");
  engine.script.Advance();
  ArrayIndices ref = ReadArrayRef(engine, ArrayRefMode::kDeclaration);
  if (engine.vars.FindArray(ref.number)) ReportError(engine, "配列変数の二重宣言です。", "エラー");
  ArrayRecord record;
  record.number = ref.number;
  int64_t elements = 1;
  for (int k = 0; k < ref.count; ++k) {
    // A negative or huge size cannot be stored; it is a wrong subscript.
    if (ref.index[k] < 0 || (elements *= int64_t{ref.index[k]} + 1) > kMaxArrayElements)
      ReportError(engine, "配列の添字指定が間違っています。", "エラー");
    record.max_index.push_back(ref.index[k]);
  }
  if (elements > kMaxTotalArrayElements - engine.vars.array_elements())
    ReportError(engine, "配列変数が多すぎます。配列の要素は合わせて%d個までです。", "エラー",
                {kMaxTotalArrayElements});
  record.data.assign(static_cast<size_t>(elements), 0);
  engine.vars.DeclareArray(std::move(record));
}

void CmdMovl(Engine& engine) {
  SkipBlanks(engine);
  if (engine.script.Cur() != '?') ReportError(engine, "movlの第一引数は?数字です。", "エラー");
  engine.script.Advance();
  ArrayIndices ref = ReadArrayRef(engine, ArrayRefMode::kRow);
  const ArrayRecord* array = engine.vars.FindArray(ref.number);
  int32_t last_max = array->max_index.back();  // ReadArrayRef checked the record exists with >= 1 dimension
  ExpectComma(engine);
  ref.count++;
  for (int32_t i = 0; i <= last_max; ++i) {
    if (i > 0) ExpectComma(engine);
    ref.index[ref.count - 1] = i;
    SetArrayElement(engine, ref, ReadNumber(engine));
  }
}

void CmdIntlimit(Engine& engine) {
  int32_t n = ReadNumberTerm(engine);
  ExpectComma(engine);
  int32_t lower = ReadNumber(engine);
  ExpectComma(engine);
  int32_t upper = ReadNumber(engine);
  engine.vars.SetLimit(n, lower, upper);
}

void CmdNumalias(Engine& engine) {
  if (engine.vars.num_alias_count() >= kMaxAliases)
    ReportError(engine, "数字エイリアスが多すぎます。", "エラー");
  std::string name = ReadToken(engine);
  if (engine.vars.FindNumAlias(name))
    ReportError(engine, "数字エイリアス%sが二重定義されています。", "エラー", {name});
  ExpectComma(engine);
  engine.vars.AddNumAlias(std::move(name), ReadNumber(engine));
}

void CmdStralias(Engine& engine) {
  if (engine.vars.str_alias_count() >= kMaxAliases)
    ReportError(engine, "文字列エイリアスが多すぎます。", "エラー");
  std::string name = ReadToken(engine);
  if (engine.vars.FindStrAlias(name))
    ReportError(engine, "文字列エイリアス%sが二重定義されています。", "エラー", {name});
  ExpectComma(engine);
  engine.vars.AddStrAlias(std::move(name), ReadString(engine));
}

void CmdGlobalon(Engine& engine) { engine.vars.save_globals = true; }

}  // namespace

void RegisterDeclarationCommands(CommandTable& table) {
  table.Register("dim", CmdDim);
  table.Register("movl", CmdMovl);
  table.Register("intlimit", CmdIntlimit);
  table.Register("numalias", CmdNumalias);
  table.Register("stralias", CmdStralias);
  table.Register("globalon", CmdGlobalon);
}

}  // namespace orivane
