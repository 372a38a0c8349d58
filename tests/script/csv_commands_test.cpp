// The CSV reader and writer.
#include <filesystem>

#include "script/general_test_support.h"
#include "support/script_cases.h"

namespace orivane::test {
namespace {

std::string Scramble(std::string s) {
  for (char& c : s) c = static_cast<char>(static_cast<uint8_t>(c) ^ 0xA7);
  return s;
}

TEST(CsvWrite, ValuesContinueOnTheSameLine) {
  GameDir game;
  RunResult r = RunBody(game,
                        "mov %0,5\nmov $0,\"名前\"\ncsvopen \"out.csv\",\"w\"\ncsvwrite 1,2\ncsvwrite 3\n"
                        "csvwrite $0,\"x y\",%0*2,-4\ncsvclose");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(game.ReadBytes("out.csv"), "1,23" + Utf8ToSjis("名前") + ",x y,10,-4");
  EXPECT_FALSE(std::filesystem::exists(game.path() + "/out.csv.tmp"));
}

TEST(CsvWrite, WritesAliasValues) {
  PreparedEngine p;
  p.engine.vars.AddStrAlias("title", "abc");
  p.engine.vars.AddNumAlias("count", 12);
  p.engine.vars.AddNumAlias("both", 1);
  p.engine.vars.AddStrAlias("both", "text first");
  ASSERT_EQ(p.Run("csvopen \"a.csv\",\"w\"\ncsvwrite title,count,both\ncsvclose"), 0) << p.err();
  EXPECT_EQ(p.game.ReadBytes("a.csv"), "abc,12,text first");
}

// Until csvclose the file on disk keeps its old contents; the new contents
// replace it whole, also when the run ends with the file still open.
TEST(CsvWrite, ReplacesTheFileWholeAtTheEnd) {
  GameDir game;
  game.WriteBytes("save.csv", "old");
  RunResult r = RunBody(game, "csvopen \"save.csv\",\"w\"\ncsvwrite 7,8\nfileexist %0,\"save.csv\"\nmov 1,1");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(game.ReadBytes("save.csv"), "7,8");
}

TEST(CsvRead, FieldsNumbersAndStrings) {
  GameDir game;
  game.WriteBytes("in.csv", " 12\r,  a b \r\n-3,x\n\n7");
  RunResult r = RunBody(game,
                        "csvopen \"IN.CSV\",\"r\"\ncsvread %0,$0\ncsveof %9\ncsvread %1\ncsvread $1\n"
                        "csvread %2,%3\ncsveof %8\ncsvclose\ncmp %4,$0,\"  a b \"\ncmp %5,$1,\"x\"\n"
                        "%0\n%1\n%2\n%3\n%8\n%9\n%4\n%5");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, WideLines({"12", "-3", "0", "7", "1", "0", "0", "0"}));
}

TEST(CsvRead, ScrambledRoundTrip) {
  GameDir game;
  RunResult w = RunBody(game, "csvopen \"s.csv\",\"wc\"\ncsvwrite \"secret\",42\ncsvclose");
  ASSERT_EQ(w.status, 0) << w.err;
  EXPECT_EQ(game.ReadBytes("s.csv"), Scramble("secret,42"));
  RunResult r = RunBody(game, "csvopen \"s.csv\",\"rc\"\ncsvread $0,%0\ncsvclose\n$0\n%0");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "secret\n" + Wide("42") + "\n");
}

// After csvclose another file may be opened; csveof with nothing open is 1.
TEST(CsvState, CloseAllowsNextOpen) {
  GameDir game;
  game.WriteBytes("a.csv", "1");
  game.WriteBytes("b.csv", "2");
  RunResult r = RunBody(game,
                        "csvopen \"a.csv\",\"r\"\ncsvread %0\ncsvclose\ncsvclose\ncsvopen \"b.csv\",\"r\"\n"
                        "csvread %1\ncsvclose\ncsveof %2\n%0\n%1\n%2");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, WideLines({"1", "2", "1"}));
}

TEST(CsvRead, ClampsLimitedVariablesAndClearsReturnValue) {
  PreparedEngine p;
  p.engine.vars.SetLimit(5, 0, 10);
  p.engine.ret.value = 9;
  p.game.WriteBytes("n.csv", "50");
  ASSERT_EQ(p.Run("csvopen \"n.csv\",\"r\"\ncsvread %5\ncsvclose"), 0) << p.err();
  EXPECT_EQ(p.engine.vars.Num(5), 10);
  EXPECT_EQ(p.engine.ret.value, 0);
}

class CsvErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(CsvErrors, ReportExactText) {
  GameDir game;
  game.WriteBytes("a.csv", "1,2");
  RunResult r = RunBody(game, GetParam().body);
  EXPECT_EQ(r.status, 1);
  EXPECT_THAT(r.err, IsErrorReport(GetParam().title, GetParam().message));
}

INSTANTIATE_TEST_SUITE_P(
    Misuse, CsvErrors,
    ::testing::Values(
        ErrorCase{"csvopen \"a.csv\",\"r\"\ncsvopen \"a.csv\",\"r\"", "エラー", "CSVファイルを二つ同時に開こうとしました。"},
        ErrorCase{"csvopen \"missing.csv\",\"r\"", "エラー", "csvファイルが開けません。"},
        ErrorCase{"csvopen \"no/such/dir/x.csv\",\"w\"", "エラー", "csvファイルが開けません。"},
        ErrorCase{"csvopen \"a.csv\",\"r\"\ncsvread %0,?1[0]", "エラー", "csvreadの指定が間違っています。"},
        ErrorCase{"csvopen \"a.csv\",\"r\"\ncsvread 5", "エラー", "csvreadの指定が間違っています。"},
        ErrorCase{"csvopen \"b.csv\",\"w\"\ncsvwrite nothing", "エラー", "csvwriteの指定が間違っています。"},
        ErrorCase{"csvopen \"a.csv\",\"r\"\ncsveof $0", "構文エラー", "csveofの第一引数は数字変数です。"},
        ErrorCase{"csvread %0", "エラー", "読み込み用のCSVファイルが開かれていません。"},
        ErrorCase{"csvopen \"b.csv\",\"w\"\ncsvread %0", "エラー", "読み込み用のCSVファイルが開かれていません。"},
        ErrorCase{"csvwrite 1", "エラー", "書き込み用のCSVファイルが開かれていません。"}));

}  // namespace
}  // namespace orivane::test
