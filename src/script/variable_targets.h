// Reading the variable that a command stores into: %n (a numeric variable),
// $n (a string variable) or ?n[i]... (an array element). The variable number
// is a term, so %%0 names the variable whose number variable 0 holds. Each
// command checks for its own marker and reports its own message when it is
// missing.
#pragma once

#include <cstdint>
#include <string_view>

#include "script/variables.h"

namespace orivane {

struct Engine;

enum class TargetKind : uint8_t { kNone, kNum, kStr, kArray };

struct StoreTarget {
  TargetKind kind = TargetKind::kNone;
  int32_t number = 0;    // variable number for kNum and kStr
  bool constant = false;  // the number is written as digits or an alias (not %%n)
  ArrayIndices element;  // for kArray, checked against the declaration
};

// Skips blanks; when the byte is `marker` ('%' or '$') reads the variable
// number after it and returns true. Otherwise consumes nothing and returns
// false. `constant`, when given, tells whether the number is written as digits
// or an alias, so that it names the same variable every time.
bool ReadVariableNumber(Engine& engine, char marker, int32_t& number, bool* constant = nullptr);

// Reads %n and returns n; without the '%' reports `message` with `title`.
int32_t ExpectNumVar(Engine& engine, std::string_view message, std::string_view title = "構文エラー");
// Reads $n and returns n; without the '$' reports `message` with `title`.
int32_t ExpectStrVar(Engine& engine, std::string_view message, std::string_view title = "構文エラー");

// Reads %n, $n or (when `allow_array`) ?n[...]; kind kNone when the byte
// starts none of them (nothing is consumed then).
StoreTarget ReadStoreTarget(Engine& engine, bool allow_array);

// The number at the start of a text as C's atoi reads it: leading white
// space, an optional sign, decimal digits; 0 without digits. A value beyond
// the 32-bit range is held at the nearest end of it.
int32_t ParseLeadingInt(std::string_view text);

}  // namespace orivane
