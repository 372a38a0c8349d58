// Table-driven script tests shared by the command test files: a case is a
// script body with the story text it must print, or with the error report it
// must end in. Each test file instantiates these suites with its own tables.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace orivane::test {

struct ScriptCase {
  const char* name;
  const char* body;
  std::string out;
};

inline void PrintTo(const ScriptCase& c, std::ostream* os) { *os << c.name; }

struct ErrorCase {
  const char* body;
  const char* title;
  const char* message;
};

// The body, run as the whole game, ends with `end` and prints `out`.
class ScriptPrints : public ::testing::TestWithParam<ScriptCase> {};

// The body ends the run with exactly this error report.
class ScriptErrors : public ::testing::TestWithParam<ErrorCase> {};

// The same for commands of the *define block: `body` is the block's lines.
class DefineErrors : public ::testing::TestWithParam<ErrorCase> {};

}  // namespace orivane::test
