// Integer expressions and the conditions of `if` and `notif`.
//
// ReadNumber tokenizes one expression at the script position, converts it to
// postfix order with two precedence levels and evaluates it with 32-bit
// wrapping arithmetic. A unary minus becomes "0 -" at the place it stands, so
// 2*-3 is (2*0)-3 = -3. The expression ends at the first byte that cannot
// continue it (a comma, newline, colon, comparison sign, or a term right after
// a term).
#pragma once

#include <cstddef>
#include <cstdint>

namespace orivane {

struct Engine;
struct ExprToken;

int32_t ReadNumber(Engine& engine);

// Runs a postfix program that ReadNumber kept (it has run once, so it is well
// formed). Division and `mod` by zero are reported at the script position.
int32_t EvaluateProgram(Engine& engine, const ExprToken* ops, size_t count);

enum class Compare : uint8_t { kEqual, kNotEqual, kLess, kLessEqual, kGreater, kGreaterEqual };
bool CompareHolds(Compare op, int32_t left, int32_t right);

// Reads the conditions after `if` (negate = false) or `notif` (negate = true)
// and either leaves the position after them (the rest of the line runs) or
// skips to the start of the next line.
void EvaluateCondition(Engine& engine, bool negate);

}  // namespace orivane
