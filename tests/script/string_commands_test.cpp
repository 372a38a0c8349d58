// String conversion, slicing and splitting, and the date and time.
#include <ctime>

#include "script/general_test_support.h"
#include "support/script_cases.h"
#include "script/string_commands.h"

namespace orivane::test {
namespace {

INSTANTIATE_TEST_SUITE_P(
    Strings, ScriptPrints,
    ::testing::Values(
        ScriptCase{"Itoa", "itoa $0,-105\nitoa $1,2147483647\n$0\n$1", "-105\n2147483647\n"},
        ScriptCase{"Itoa2FullWidth", "itoa2 $0,-105\nlen %0,$0\n$0\n%0", "－１０５\n" + Wide("8") + "\n"},
        ScriptCase{"Itoa2MostNegative", "itoa2 $0,-2147483647-1\n$0", "－２１４７４８３６４８\n"},
        ScriptCase{"Atoi",
                   "atoi %0,\"  12abc\"\natoi %1,\"-5\"\natoi %2,\"abc\"\natoi %3,\"+7\"\n"
                   "atoi %4,\"99999999999\"\natoi %5,\"-99999999999\"\natoi %6,\"\"\n"
                   "%0\n%1\n%2\n%3\n%4\n%5\n%6",
                   WideLines({"12", "-5", "0", "7", "2147483647", "-2147483648", "0"})},
        ScriptCase{"LenCountsBytes", "len %0,\"あい\"\nlen %1,\"\"\nlen %2,\"aあ\"\n%0\n%1\n%2",
                   WideLines({"4", "0", "3"})},
        ScriptCase{"Mid",
                   "mid $0,\"abcdef\",2,3\nmid $1,\"abcdef\",4,10\nmid $2,\"abcdef\",6,1\n"
                   "mid $3,\"abcdef\",-2,4\nmid $4,\"abcdef\",1,-3\nmid $5,\"abcdef\",2147483647,2147483647\n"
                   "mov $6,\"x\"+$0+$1+$2+$3+$4+$5+\"x\"\n$6",
                   "xcdeefabx\n"},
        ScriptCase{"MidOfFullWidthTakesBytes", "mid $0,\"あいう\",2,4\n$0", "いう\n"},
        ScriptCase{"Cmp",
                   "cmp %0,\"abc\",\"abd\"\ncmp %1,\"abc\",\"abc\"\ncmp %2,\"b\",\"abc\"\n"
                   "cmp %3,\"ab\",\"abc\"\ncmp %4,\"あ\",\"a\"\n%0\n%1\n%2\n%3\n%4",
                   WideLines({"-1", "0", "1", "-1", "1"})},
        ScriptCase{"SplitFieldsAndMissingOnes",
                   "split \"a,b,,c\",\",\",$0,$1,$2,$3,%0\nmov $9,$0+\"|\"+$1+\"|\"+$2+\"|\"+$3\n$9\n%0",
                   "a|b||c\n" + Wide("0") + "\n"},
        ScriptCase{"SplitNumbersByAtoiRules", "mov %1,9\nsplit \" 12x;-3\",\";\",%0,%1,%2\n%0\n%1\n%2",
                   WideLines({"12", "-3", "0"})},
        // The second byte of ソ is the delimiter byte itself; it must not split.
        ScriptCase{"SplitKeepsTwoByteCharactersWhole", "split \"ソ\\ア\",\"\\\",$0,$1\nmov $2,$0+\"|\"+$1\n$2",
                   "ソ|ア\n"},
        ScriptCase{"SplitTargetsWithBlanks", "split \"1 2\",\" \" , %0 , %1\n%0\n%1", WideLines({"1", "2"})}),
    [](const auto& param_info) { return std::string(param_info.param.name); });

TEST(DateOf, GivesTwoDigitYearMonthDay) {
  std::tm t{};
  t.tm_year = 106;  // 2006
  t.tm_mon = 6;     // July
  t.tm_mday = 15;
  DateFields f = DateOf(t);
  EXPECT_EQ(f.year2, 6);
  EXPECT_EQ(f.month, 7);
  EXPECT_EQ(f.day, 15);
  t.tm_year = 99;
  EXPECT_EQ(DateOf(t).year2, 99);
}

std::string WideDate(const std::tm& t) {
  return WideLines({std::to_string(t.tm_year % 100), std::to_string(t.tm_mon + 1), std::to_string(t.tm_mday)});
}

TEST(DateAndTime, StoreTheLocalClock) {
  std::time_t before = std::time(nullptr);
  RunResult r = RunBody("date %0,%1,%2\ntime %3,%4,%5\n%0\n%1\n%2\n%3\n%4\n%5");
  std::time_t after = std::time(nullptr);
  ASSERT_EQ(r.status, 0) << r.err;
  std::tm b{}, a{};
  localtime_r(&before, &b);
  localtime_r(&after, &a);
  EXPECT_TRUE(r.out.rfind(WideDate(b), 0) == 0 || r.out.rfind(WideDate(a), 0) == 0) << r.out;
  // The clock fields: hour, minute, second between the two readings.
  std::istringstream lines(r.out);
  std::string line;
  std::vector<std::string> values;
  while (std::getline(lines, line)) values.push_back(line);
  ASSERT_EQ(values.size(), 6u);
  bool matches = false;
  for (std::time_t s = before; s <= after; ++s) {
    std::tm t{};
    localtime_r(&s, &t);
    matches |= values[3] == Wide(std::to_string(t.tm_hour)) && values[4] == Wide(std::to_string(t.tm_min)) &&
               values[5] == Wide(std::to_string(t.tm_sec));
  }
  EXPECT_TRUE(matches) << r.out;
}

INSTANTIATE_TEST_SUITE_P(
    StringArguments, ScriptErrors,
    ::testing::Values(ErrorCase{"itoa %0,1", "構文エラー", "itoaの第一引数は文字変数です。"},
                      ErrorCase{"itoa2 %0,1", "構文エラー", "itoaの第一引数は文字変数です。"},
                      ErrorCase{"atoi $0,\"1\"", "構文エラー", ""},
                      ErrorCase{"len $0,\"1\"", "構文エラー", "lenの第一引数は数字変数です。"},
                      ErrorCase{"mid %0,\"1\",0,1", "構文エラー", "midの第一引数は文字変数です。"},
                      ErrorCase{"cmp $0,\"1\",\"2\"", "構文エラー", "cmpの第一引数は数字変数です。"},
                      ErrorCase{"date $0,%1,%2", "構文エラー", "dateの第一引数は数字変数です。"},
                      ErrorCase{"date %0,$1,%2", "構文エラー", "dateの第ニ引数は数字変数です。"},
                      ErrorCase{"date %0,%1,$2", "構文エラー", ""},
                      ErrorCase{"time $0,%1,%2", "構文エラー", "timeの第一引数は数字変数です。"},
                      ErrorCase{"time %0,$1,%2", "構文エラー", "timeの第ニ引数は数字変数です。"},
                      ErrorCase{"time %0,%1,2", "構文エラー", ""},
                      ErrorCase{"split \"a,b\",\",,\",$0", "エラー", "splitの分割文字は一文字です"},
                      ErrorCase{"split \"a,b\",\"\",$0", "エラー", "splitの分割文字は一文字です"},
                      ErrorCase{"split \"a,b\",\",\",$0,?1[0]", "エラー",
                                "splitに指定できるのは数字変数か文字変数です（配列は現在のところ不可）"}));

}  // namespace
}  // namespace orivane::test
