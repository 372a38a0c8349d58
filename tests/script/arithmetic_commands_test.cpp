// Assignment, arithmetic, random numbers and trigonometry, run as games.
#include <climits>

#include "script/arithmetic_commands.h"
#include "script/general_test_support.h"
#include "support/script_cases.h"

namespace orivane::test {
namespace {

INSTANTIATE_TEST_SUITE_P(
    Arithmetic, ScriptPrints,
    ::testing::Values(
        ScriptCase{"MovNumberAndExpression", "mov %0 , 1+2*3\nmov %1,%0*2\n%0\n%1", WideLines({"7", "14"})},
        ScriptCase{"MovIndirectVariable", "mov %1,7\nmov %%1,3\n%7", WideLines({"3"})},
        ScriptCase{"MovStringJoinsTerms", "mov $0,\"a\"+\"b\"\nadd $0,\"c\"\nadd $0,$0\n$0", "abcabc\n"},
        ScriptCase{"Mov3SetsConsecutiveVariables", "mov3 %10,1,2,3\n%10\n%11\n%12\n%13",
                   WideLines({"1", "2", "3", "0"})},
        ScriptCase{"Mov10SetsTenVariables", "mov10 %0,1,2,3,4,5,6,7,8,9,10\n%0\n%9", WideLines({"1", "10"})},
        ScriptCase{"MovNStoresEachValueAsItIsRead", "mov4 %0,5,%0+1,%1+1,%2+1\n%3", WideLines({"8"})},
        ScriptCase{"AddSubtractsNegative", "mov %0,10\nadd %0,-3\n%0", WideLines({"7"})},
        ScriptCase{"SubMul", "mov %0,10\nsub %0,12\nmul %0,3\n%0", WideLines({"-6"})},
        ScriptCase{"MulWraps", "mov %0,65536\nmul %0,65536\nmov %1,2147483647\ninc %1\n%0\n%1",
                   WideLines({"0", "-2147483648"})},
        ScriptCase{"DivTruncatesTowardZero", "mov %0,-7\ndiv %0,2\nmov %1,7\ndiv %1,-2\n%0\n%1",
                   WideLines({"-3", "-3"})},
        ScriptCase{"ModTakesSignOfDividend", "mov %0,-7\nmod %0,3\nmov %1,7\nmod %1,-3\n%0\n%1",
                   WideLines({"-1", "1"})},
        ScriptCase{"DivOfMostNegativeByMinusOneWraps",
                   "mov %0,-2147483647-1\ndiv %0,0-1\nmov %1,-2147483647-1\nmod %1,0-1\n%0\n%1",
                   WideLines({"-2147483648", "0"})},
        ScriptCase{"IncDec", "inc %0\ninc %0\ndec %1\n%0\n%1", WideLines({"2", "-1"})},
        ScriptCase{"Trigonometry",
                   "sin %0,30\nsin %1,90\ncos %2,180\ncos %3,90\ntan %4,45\nsin %5,-30\nsin %6,390\n"
                   "%0\n%1\n%2\n%3\n%4\n%5\n%6",
                   WideLines({"500", "1000", "-1000", "0", "1000", "-500", "500"})},
        ScriptCase{"Rnd2WithEqualBoundsIsThatValue", "rnd2 %0,5,5\nrnd2 %1,-3,-3\n%0\n%1", WideLines({"5", "-3"})},
        ScriptCase{"RndWithoutRangeStoresZero", "mov %0,9\nrnd %0,0\nmov %1,9\nrnd %1,-4\n%0\n%1",
                   WideLines({"0", "0"})},
        ScriptCase{"Rnd2WithReversedBoundsStoresLow", "rnd2 %0,7,3\n%0", WideLines({"7"})},
        ScriptCase{"GetVersion", "getversion %0\n%0", WideLines({"267"})},
        ScriptCase{"CommandWordsIgnoreCase", "MOV %0,4\nAdd %0,1\n%0", WideLines({"5"})},
        // Numbers outside 0..4095 are neither stored nor read past the tables.
        ScriptCase{"VariableNumbersOutOfRangeAreIgnored",
                   "mov %5000,1\nmov %-1,2\nmov $9999,\"x\"\nadd $-5,\"y\"\nmov3 %4094,1,2,3\ninc %70000\n"
                   "mov %0,%5000\n%0\n%4094\n%4095",
                   WideLines({"0", "1", "2"})}),
    [](const auto& param_info) { return std::string(param_info.param.name); });

// Random values stay in their range and the sequence repeats under the
// headless clock.
TEST(RandomNumbers, StayInRangeAndRepeat) {
  std::string body;
  for (int i = 0; i < 40; ++i) body += "rnd %0,10\n%0\\\nrnd2 %0,-2,2\n%0\\\n";  // a page each
  RunResult first = RunBody(body);
  RunResult second = RunBody(body);
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_EQ(first.out, second.out);
  std::istringstream lines(first.out);
  std::string line;
  std::set<std::string> seen_rnd, seen_rnd2;
  for (int i = 0; std::getline(lines, line); ++i) {
    if (i % 2 == 0) {
      seen_rnd.insert(line);
    } else {
      seen_rnd2.insert(line);
    }
  }
  std::set<std::string> allowed_rnd, allowed_rnd2;
  for (int v = 0; v < 10; ++v) allowed_rnd.insert(Wide(std::to_string(v)));
  for (int v = -2; v <= 2; ++v) allowed_rnd2.insert(Wide(std::to_string(v)));
  for (const auto& v : seen_rnd) EXPECT_TRUE(allowed_rnd.count(v)) << v;
  for (const auto& v : seen_rnd2) EXPECT_TRUE(allowed_rnd2.count(v)) << v;
  EXPECT_GT(seen_rnd.size(), 3u);  // not one value over and over
}

TEST(FixedPointTrig, RoundsHalfAwayFromZeroAndHoldsRange) {
  EXPECT_EQ(FixedPointTrig(TrigFunction::kSin, 45), 707);
  EXPECT_EQ(FixedPointTrig(TrigFunction::kCos, 135), -707);
  EXPECT_EQ(FixedPointTrig(TrigFunction::kTan, 60), 1732);
  // tan of 90 degrees with the engine's value of pi is a huge negative number.
  EXPECT_EQ(FixedPointTrig(TrigFunction::kTan, 90), INT32_MIN);
  EXPECT_EQ(FixedPointTrig(TrigFunction::kTan, 270), INT32_MIN);
}

// The commands of the clamping list clamp a limited variable right after
// storing; atoi does not.
TEST(IntLimits, ApplyAfterArithmeticButNotAfterAtoi) {
  struct Case {
    const char* statement;
    int32_t expected;
  } cases[] = {
      {"mov %10,150", 100},       {"mov3 %8,0,0,150", 100}, {"add %10,500", 100},  {"sub %10,5", 0},
      {"mul %10,-1", 0},          {"div %10,-1", 0},        {"mod %10,1", 0},      {"inc %10", 1},
      {"dec %10", 0},             {"rnd2 %10,200,200", 100}, {"sin %10,90", 100},  {"getversion %10", 100},
      {"atoi %10,\"150\"", 150},  {"len %10,\"abc\"", 3},   {"cmp %10,\"a\",\"b\"", -1},
  };
  for (const Case& c : cases) {
    PreparedEngine p;
    p.engine.vars.SetLimit(10, 0, 100);
    ASSERT_EQ(p.Run(c.statement), 0) << c.statement << p.err();
    EXPECT_EQ(p.engine.vars.Num(10), c.expected) << c.statement;
  }
}

TEST(ArrayTargets, MovAndGetretStoreIntoElements) {
  PreparedEngine p;
  ArrayRecord array;
  array.number = 3;
  array.max_index = {2, 1};
  array.data.assign(6, 0);
  ASSERT_TRUE(p.engine.vars.DeclareArray(array));
  p.engine.ret.value = 42;
  ASSERT_EQ(p.Run("mov ?3[2][1],7\nmov %0,1\ngetret ?3[%0][0]"), 0) << p.err();
  const ArrayRecord* stored = p.engine.vars.FindArray(3);
  EXPECT_EQ(stored->data[5], 7);
  EXPECT_EQ(stored->data[2], 42);

  PreparedEngine outside;
  outside.engine.vars.DeclareArray(array);
  EXPECT_EQ(outside.Run("mov ?3[3][0],7"), 1);
  EXPECT_THAT(outside.err(), IsErrorReport("エラー", "配列の添字が宣言された範囲を超えています（第1次元 最大値2 指定値3）"));
}

INSTANTIATE_TEST_SUITE_P(
    ArithmeticFirstArguments, ScriptErrors,
    ::testing::Values(ErrorCase{"mov 5,1", "構文エラー", "movの第一引数は数字／文字変数／配列です。"},
                      ErrorCase{"mov5 $0,1,2,3,4,5", "構文エラー", "mov5の第一引数は数字変数です。"},
                      ErrorCase{"mov10 1", "構文エラー", "mov10の第一引数は数字変数です。"},
                      ErrorCase{"add ?0[1],1", "構文エラー", "addの第一引数は数字／文字変数です。"},
                      ErrorCase{"sub $0,1", "構文エラー", "subの第一引数は数字変数です。"},
                      ErrorCase{"mul 0,1", "構文エラー", "mulの第一引数は数字変数です。"},
                      ErrorCase{"div $0,1", "構文エラー", "divの第一引数は数字変数です。"},
                      ErrorCase{"mod $0,1", "構文エラー", "modの第一引数は数字変数です。"},
                      ErrorCase{"inc $0", "構文エラー", "incの引数は数字変数です。"},
                      ErrorCase{"dec 1", "構文エラー", "decの引数は数字変数です。"},
                      ErrorCase{"rnd $0,5", "構文エラー", "rndの第一引数は数字変数です。"},
                      ErrorCase{"rnd2 $0,1,5", "構文エラー", "rnd2の第一引数は数字変数です。"},
                      ErrorCase{"sin $0,1", "構文エラー", "sinの第一引数は数字変数です。"},
                      ErrorCase{"cos $0,1", "構文エラー", "cosの第一引数は数字変数です。"},
                      ErrorCase{"tan $0,1", "構文エラー", "tanの第一引数は数字変数です。"},
                      ErrorCase{"getversion $0", "構文エラー", "getversionの第一引数は数字変数です。"},
                      ErrorCase{"getret 0", "構文エラー", "getretの第一引数は数字／文字変数／配列です。"},
                      ErrorCase{"mov %0 1", "構文エラー", "コンマが必要なところにコンマが有りません。"}));

INSTANTIATE_TEST_SUITE_P(
    DivisionByZero, ScriptErrors,
    ::testing::Values(ErrorCase{"mov %0,5\ndiv %0,0", "０除算エラー", "０で除算しました。"},
                      ErrorCase{"mov %0,5\nmod %0,%1", "０除算エラー", "０で剰余演算しました。"},
                      ErrorCase{"mov %0,1/0", "０除算エラー", "０で除算しました。"},
                      ErrorCase{"mov %0,5 mod 0", "０除算エラー", "０で剰余演算しました。"},
                      ErrorCase{"mov %0,7 mod -2", "０除算エラー", "０で剰余演算しました。"},
                      ErrorCase{"div %0,10/-2", "０除算エラー", "０で除算しました。"}));

}  // namespace
}  // namespace orivane::test
