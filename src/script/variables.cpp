#include "script/variables.h"

#include "engine.h"
#include "script/error.h"
#include "script/expression.h"
#include "script/readers.h"

namespace orivane {

Variables::Variables() { ClearAll(); }

void Variables::ClearLocals(int32_t border) {
  int32_t end = border < 0 ? 0 : (border > kVariableCount ? kVariableCount : border);
  for (int32_t i = 0; i < end; ++i) {
    num_[i] = 0;
    str_[i].clear();
  }
}

void Variables::ClearAll() {
  num_.fill(0);
  for (auto& s : str_) s.clear();
  lower_.fill(-1);
  upper_.fill(-1);
  any_limit_ = false;
  save_globals = false;
  ClearArrays();
  ClearAliases();
}

void Variables::SetLimit(int64_t n, int32_t lower, int32_t upper) {
  if (!InRange(n)) return;
  lower_[n] = lower;
  upper_[n] = upper;
  if (upper != -1) any_limit_ = true;
}

void Variables::ClampToLimits() {
  for (int i = 0; i < kVariableCount; ++i) {
    if (upper_[i] == -1) continue;
    if (num_[i] > upper_[i]) num_[i] = upper_[i];
    if (num_[i] < lower_[i]) num_[i] = lower_[i];
  }
}

const ArrayRecord* Variables::FindArray(int32_t number) const {
  auto it = first_array_.find(number);
  return it == first_array_.end() ? nullptr : &arrays_[it->second];
}

ArrayRecord* Variables::FindArray(int32_t number) {
  auto it = first_array_.find(number);
  return it == first_array_.end() ? nullptr : &arrays_[it->second];
}

bool Variables::DeclareArray(ArrayRecord record) {
  if (first_array_.count(record.number)) return false;
  first_array_.emplace(record.number, arrays_.size());
  array_elements_ += static_cast<int64_t>(record.data.size());
  arrays_.push_back(std::move(record));
  return true;
}

void Variables::ClearArrays() {
  arrays_.clear();
  first_array_.clear();
  array_elements_ = 0;
}

const int32_t* Variables::FindNumAlias(std::string_view lower_name) const {
  auto it = first_num_alias_.find(std::string(lower_name));
  return it == first_num_alias_.end() ? nullptr : &num_alias_[it->second].second;
}

const std::string* Variables::FindStrAlias(std::string_view lower_name) const {
  auto it = first_str_alias_.find(std::string(lower_name));
  return it == first_str_alias_.end() ? nullptr : &str_alias_[it->second].second;
}

bool Variables::AddNumAlias(std::string name, int32_t value) {
  bool fresh = first_num_alias_.emplace(name, num_alias_.size()).second;
  num_alias_.emplace_back(std::move(name), value);
  return fresh;
}

bool Variables::AddStrAlias(std::string name, std::string value) {
  bool fresh = first_str_alias_.emplace(name, str_alias_.size()).second;
  str_alias_.emplace_back(std::move(name), std::move(value));
  return fresh;
}

void Variables::ClearAliases() {
  num_alias_.clear();
  first_num_alias_.clear();
  str_alias_.clear();
  first_str_alias_.clear();
}

ArrayIndices ReadArrayRef(Engine& engine, ArrayRefMode mode) {
  ReaderDepth depth(engine);
  ScriptBuffer& s = engine.script;
  ArrayIndices ref;
  ref.number = ReadNumberTerm(engine);
  SkipBlanks(engine);
  while (s.Cur() == '[') {
    s.Advance();
    int32_t index = ReadNumber(engine);
    SkipBlanks(engine);
    if (s.Cur() != ']') ReportError(engine, "配列変数指定が間違っています。", "エラー");
    s.Advance();
    if (ref.count == kMaxArrayDimensions)
      ReportError(engine, "配列の添字指定が間違っています。", "エラー");
    ref.index[ref.count++] = index;
  }
  if (mode == ArrayRefMode::kDeclaration) return ref;

  const ArrayRecord* array = engine.vars.FindArray(ref.number);
  int expected = array ? static_cast<int>(array->max_index.size()) : -1;
  if (mode == ArrayRefMode::kRow) --expected;
  if (ref.count != expected) ReportError(engine, "配列の添字指定が間違っています。", "エラー");
  for (int k = 0; k < expected; ++k) {
    // A negative index is outside the declared range as surely as a large one.
    if (ref.index[k] > array->max_index[k] || ref.index[k] < 0)
      ReportError(engine, "配列の添字が宣言された範囲を超えています（第%d次元 最大値%d 指定値%d）",
                  "エラー", {int64_t{k + 1}, int64_t{array->max_index[k]}, int64_t{ref.index[k]}});
  }
  return ref;
}

int32_t ReadArrayElement(Engine& engine) {
  return GetArrayElement(engine, ReadArrayRef(engine, ArrayRefMode::kElement));
}

namespace {

// Offset of the element in row-major order; reports a reference with too few
// indices or one outside the declaration.
size_t ElementOffset(Engine& engine, const ArrayRecord& array, const ArrayIndices& ref) {
  size_t offset = 0;
  size_t dims = array.max_index.size();
  for (size_t k = 0; k < dims; ++k) {
    if (static_cast<int>(k) >= ref.count)
      ReportError(engine, "配列の添字指定が間違っています。", "エラー");
    int32_t i = ref.index[k];
    if (i < 0 || i > array.max_index[k])
      ReportError(engine, "配列の添字が宣言された範囲を超えています（第%d次元 最大値%d 指定値%d）",
                  "エラー", {int64_t(k + 1), int64_t{array.max_index[k]}, int64_t{i}});
    offset = offset * (static_cast<size_t>(array.max_index[k]) + 1) + static_cast<size_t>(i);
  }
  return offset;
}

}  // namespace

int32_t GetArrayElement(Engine& engine, const ArrayIndices& ref) {
  const ArrayRecord* array = engine.vars.FindArray(ref.number);
  if (!array) ReportError(engine, "未宣言の配列変数を使いました。", "エラー");
  return array->data[ElementOffset(engine, *array, ref)];
}

void SetArrayElement(Engine& engine, const ArrayIndices& ref, int32_t value) {
  ArrayRecord* array = engine.vars.FindArray(ref.number);
  if (!array) ReportError(engine, "未宣言の配列変数を使いました。", "エラー");
  array->data[ElementOffset(engine, *array, ref)] = value;
}

}  // namespace orivane
