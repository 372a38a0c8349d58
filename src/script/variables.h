// Numeric and string variables, arrays and aliases. Variable numbers run from
// 0 to 4095; numbers outside that range are never stored: reading one gives 0
// or the empty string and writing one does nothing, so no script can reach
// memory outside the tables.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace orivane {

struct Engine;

inline constexpr int kVariableCount = 4096;
inline constexpr int kMaxArrayDimensions = 20;
inline constexpr size_t kMaxAliases = 10000;
// The largest array a script may declare (elements); beyond it the
// declaration is reported, instead of exhausting memory.
inline constexpr int64_t kMaxArrayElements = 1 << 24;
// All arrays together may hold this many elements (256 MB): many large
// declarations are reported before they exhaust memory.
inline constexpr int64_t kMaxTotalArrayElements = int64_t{1} << 26;

struct ArrayRecord {
  int32_t number = 0;
  std::vector<int32_t> max_index;  // per dimension; valid indices are 0..max
  std::vector<int32_t> data;
};

// Indices read by ReadArrayRef; `count` of them are valid.
struct ArrayIndices {
  int32_t number = 0;
  int count = 0;
  std::array<int32_t, kMaxArrayDimensions> index{};
};

enum class ArrayRefMode { kDeclaration = 0, kElement = 1, kRow = 2 };

class Variables {
 public:
  Variables();

  static constexpr bool InRange(int64_t n) { return n >= 0 && n < kVariableCount; }

  int32_t Num(int64_t n) const { return InRange(n) ? num_[n] : 0; }
  void SetNum(int64_t n, int32_t v) {
    if (InRange(n)) num_[n] = v;
  }
  const std::string& Str(int64_t n) const { return InRange(n) ? str_[n] : empty_; }
  void SetStr(int64_t n, std::string v) {
    if (InRange(n)) str_[n] = std::move(v);
  }

  // Clears numbers 0 .. border-1 of both tables (the local variables).
  void ClearLocals(int32_t border);
  // Clears everything and forgets arrays, aliases and limits (start-up).
  void ClearAll();

  // Limits set by `intlimit`; an upper limit of -1 means none.
  void SetLimit(int64_t n, int32_t lower, int32_t upper);
  // Called after every numeric store, so the common case (no limit) stays inline.
  void ApplyIntLimits() {
    if (any_limit_) ClampToLimits();
  }

  const ArrayRecord* FindArray(int32_t number) const;
  ArrayRecord* FindArray(int32_t number);
  // Appends a declared array; false when the number is already declared.
  bool DeclareArray(ArrayRecord record);
  void ClearArrays();
  // Every declared array, in the order of declaration.
  const std::vector<ArrayRecord>& arrays() const { return arrays_; }
  std::vector<ArrayRecord>& arrays() { return arrays_; }
  // Elements held by all declared arrays together.
  int64_t array_elements() const { return array_elements_; }

  const int32_t* FindNumAlias(std::string_view lower_name) const;
  const std::string* FindStrAlias(std::string_view lower_name) const;
  size_t num_alias_count() const { return num_alias_.size(); }
  size_t str_alias_count() const { return str_alias_.size(); }
  // Both return false when the name is already defined (the pair is still added).
  bool AddNumAlias(std::string name, int32_t value);
  bool AddStrAlias(std::string name, std::string value);
  void ClearAliases();

  // `globalon`: the global range is saved at shutdown.
  bool save_globals = false;

 private:
  std::array<int32_t, kVariableCount> num_{};
  std::array<std::string, kVariableCount> str_;
  std::array<int32_t, kVariableCount> lower_;
  std::array<int32_t, kVariableCount> upper_;
  bool any_limit_ = false;
  void ClampToLimits();
  std::string empty_;

  std::vector<ArrayRecord> arrays_;
  std::unordered_map<int32_t, size_t> first_array_;
  int64_t array_elements_ = 0;

  std::vector<std::pair<std::string, int32_t>> num_alias_;
  std::unordered_map<std::string, size_t> first_num_alias_;
  std::vector<std::pair<std::string, std::string>> str_alias_;
  std::unordered_map<std::string, size_t> first_str_alias_;
};

// Reads `n[i][j]...` after a '?' (the array number is a term, each index an
// expression) and checks it against the declaration as the mode asks.
ArrayIndices ReadArrayRef(Engine& engine, ArrayRefMode mode);

// Reads an element reference after its '?' and returns the element's value.
int32_t ReadArrayElement(Engine& engine);

int32_t GetArrayElement(Engine& engine, const ArrayIndices& ref);
void SetArrayElement(Engine& engine, const ArrayIndices& ref, int32_t value);

}  // namespace orivane
