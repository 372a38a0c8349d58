// The argument readers and the expression reader: what each accepts, where it
// leaves the position, and the exact error it reports.
#include <gtest/gtest.h>

#include "script/expression.h"
#include "script/readers.h"
#include "support/engine_fixture.h"
#include "util/sjis.h"

namespace orivane::test {
namespace {

// The first line of an error report: its title.
std::string Title(const std::string& report) { return report.substr(0, report.find('\n')); }
// The second line: the message.
std::string Message(const std::string& report) {
  size_t start = report.find('\n') + 1;
  return report.substr(start, report.find('\n', start) - start);
}

TEST(ReadNumber, Expressions) {
  struct Case {
    const char* text;
    int32_t value;
    const char* rest;  // what is left on the line afterwards
  } cases[] = {
      {"1+2*3", 7, ""},          {"(1+2)*3", 9, ""},       {"7 mod 3", 1, ""},
      {"7 MOD 3", 1, ""},        {"7mod3", 7, "mod3"},     {"10-2-3", 5, ""},
      {"100/10/5", 2, ""},       {"-7/2", -3, ""},         {"2*-3", -3, ""},
      {"-3*2", -6, ""},          {"1+2,3", 3, ",3"},       {"2*3*4", 24, ""},
      {"6/2*3", 9, ""},          {"1+2*3-4", 3, ""},       {"3*(1+2)", 9, ""},
      {"-0", 0, ""},             {"007", 7, ""},           {"5 : mov", 5, ": mov"},
      {"2147483647+1", INT32_MIN, ""},                     {"-17 mod 5", -2, ""},
      {"%1", 7, ""},             {"%%1", 70, ""},          {"% % 1", 70, ""},
      {"%5000", 0, ""},          {"%-1", 0, ""},           {"1 == 2", 1, "== 2"},
      {"10/-2", 0, ""},  // read as (10/0)-2 in the language: reported, see below
  };
  for (const Case& c : cases) {
    if (std::string_view(c.text) == "10/-2") continue;
    EngineFixture f;
    f.engine().vars.SetNum(1, 7);
    f.engine().vars.SetNum(7, 70);
    f.SetScript(c.text);
    int32_t value = 0;
    std::string err = f.ErrorOf([&] { value = ReadNumber(f.engine()); });
    EXPECT_EQ(err, "") << c.text;
    EXPECT_EQ(value, c.value) << c.text;
    EXPECT_EQ(f.Rest(), c.rest) << c.text;
  }
}

TEST(ReadNumber, Errors) {
  struct Case {
    const char* text;
    const char* title;
    const char* message;
  } cases[] = {
      {"*3", "エラー", "式が間違っています"},
      {"1+*3", "エラー", "式が間違っています"},
      {"1)", "エラー", "式が間違っています"},
      {"()", "エラー", "式が間違っています"},
      {"(1+2 3", "エラー", "式のカッコの対応が間違っています"},
      {"1 (2)", "エラー", "式のカッコの対応が間違っています"},
      {"2+3(4)", "エラー", "式のカッコの対応が間違っています"},
      {"mod 3", "エラー", "式が間違っています"},
      {"10/0", "０除算エラー", "０で除算しました。"},
      {"10/-2", "０除算エラー", "０で除算しました。"},
      {"7 mod -2", "０除算エラー", "０で剰余演算しました。"},
      {"1234567890123456789", "構文エラー", "数字が長すぎます。:1234567890123456789"},
      {"unknown", "構文エラー", "数字がくるべきところに数字がありません。"},
      {"(0-2147483647-1)/(0-1)", "", ""},
      {"(0-2147483647-1) mod (0-1)", "", ""},
  };
  for (const Case& c : cases) {
    EngineFixture f;
    f.SetScript(c.text);
    std::string err = f.ErrorOf([&] { ReadNumber(f.engine()); });
    EXPECT_EQ(Title(err), c.title) << c.text;
    EXPECT_EQ(Message(err), c.message) << c.text;
  }
}

TEST(ReadNumber, DeepNestingIsReportedNotACrash) {
  EngineFixture f;
  f.SetScript(std::string(100000, '(') + "1");
  EXPECT_EQ(Title(f.ErrorOf([&] { ReadNumber(f.engine()); })), "構文エラー");
  f.SetScript(std::string(50000, '?') + "0");
  EXPECT_NE(f.ErrorOf([&] { ReadNumber(f.engine()); }), "");
  f.SetScript(std::string(100000, '%') + "0");  // indirection is a loop, not recursion
  EXPECT_EQ(f.ErrorOf([&] { ReadNumber(f.engine()); }), "");
}

TEST(ReadNumberTerm, PlusIsLeftInPlace) {
  EngineFixture f;
  f.SetScript("+5");
  EXPECT_EQ(ReadNumberTerm(f.engine()), 0);
  EXPECT_EQ(f.Rest(), "+5");
  f.SetScript("+5");
  EXPECT_EQ(ReadNumber(f.engine()), 5);  // a leading plus is a unary plus
  f.SetScript("2*+3");
  EXPECT_EQ(ReadNumber(f.engine()), 6);
}

TEST(ReadNumberTerm, AliasesAreCaseInsensitiveAndOnlyForNumbers) {
  EngineFixture f;
  f.engine().vars.AddNumAlias("ten", 10);
  f.engine().vars.AddStrAlias("ten", Utf8ToSjis("十"));
  f.SetScript("TEN*2");
  EXPECT_EQ(ReadNumber(f.engine()), 20);
  f.SetScript("ten");
  EXPECT_EQ(ReadString(f.engine()), Utf8ToSjis("十"));
}

TEST(ReadToken, LengthLimitAndCase) {
  EngineFixture f;
  f.SetScript("MoV_2x  ,");
  EXPECT_EQ(ReadToken(f.engine()), "mov_2x");
  EXPECT_EQ(f.Rest(), ",");
  f.SetScript(std::string(254, 'a') + " ok");
  EXPECT_EQ(ReadToken(f.engine()).size(), 254u);
  f.SetScript(std::string(300, 'a'));
  std::string err = f.ErrorOf([&] { ReadToken(f.engine()); });
  EXPECT_EQ(Title(err), "命令エラー");
  EXPECT_EQ(Message(err), "長すぎるトークンです:" + std::string(255, 'a'));
  f.SetScript("9abc");
  EXPECT_EQ(ReadToken(f.engine()), "");
}

TEST(ReadString, TermsAndJoining) {
  EngineFixture f;
  f.engine().vars.SetStr(1, Utf8ToSjis("変数"));
  f.engine().vars.AddStrAlias("name", Utf8ToSjis("名前"));
  struct Case {
    const char* text;
    const char* value;
    const char* rest;
  } cases[] = {
      {"\"abc\"+$1+\"xyz\"", "abc変数xyz", ""},
      {"\"abc\" + $1 + name", "abc変数名前", ""},
      {"\"first\" \"second\"", "first", "\"second\""},
      {"$5000", "", ""},
      {"\"\"", "", ""},
  };
  for (const Case& c : cases) {
    f.SetScript(c.text);
    EXPECT_EQ(SjisToUtf8(ReadString(f.engine())), c.value) << c.text;
    EXPECT_EQ(f.Rest(), c.rest) << c.text;
  }
}

TEST(ReadString, JoinedStringIsCutAtItsBound) {
  EngineFixture f;
  std::string literal = "\"" + std::string(500, 'x') + "\"";
  std::string script = literal;
  for (int i = 0; i < 20; ++i) script += "+" + literal;
  f.SetScript(script);
  EXPECT_EQ(ReadString(f.engine()).size(), kMaxJoinedStringBytes);
  EXPECT_EQ(f.Rest(), "");
}

TEST(ReadString, Errors) {
  struct Case {
    std::string text;
    const char* title;
    std::string message;
  } cases[] = {
      {"\"abc\ndef\"", "構文エラー", "文字列中に改行が有ります。"},
      {"\"" + std::string(600, 'y') + "\"", "構文エラー", "文字列が長すぎます。:" + std::string(511, 'y')},
      {"nothing", "構文エラー", "文字列が来るべきところに文字列がありません。"},
      {"(\"a.bmp\" \"x\" \"y\"", "エラー", "ファイル文字列指定は(\"ファイル名\")という形式です。"},
      {"[*lab \"x\" \"y\"", "エラー", "ファイル文字列指定は(\"ファイル名\")という形式です。"},
  };
  for (const Case& c : cases) {
    EngineFixture f;
    f.SetScript(c.text);
    std::string err = f.ErrorOf([&] { ReadString(f.engine()); });
    EXPECT_EQ(Title(err), c.title) << c.text;
    EXPECT_EQ(Message(err), c.message) << c.text;
  }
}

TEST(ReadString, FileAndLabelConditionals) {
  EngineFixture f;
  f.engine().file_log.Add("bg\\Room.BMP");
  f.engine().label_log.Add("seen");
  struct Case {
    const char* text;
    const char* value;
  } cases[] = {
      {"(\"BG/room.bmp\")\"yes\"\"no\"", "yes"},
      {"(\"bg/other.bmp\")\"yes\"\"no\"", "no"},
      {"[*SEEN] \"yes\" \"no\"", "yes"},
      {"[*unseen] \"yes\" \"no\"", "no"},
  };
  for (const Case& c : cases) {
    f.SetScript(c.text);
    EXPECT_EQ(ReadString(f.engine()), c.value) << c.text;
    EXPECT_EQ(f.Rest(), "") << c.text;
  }
}

TEST(ReadLabelName, Forms) {
  EngineFixture f;
  f.engine().vars.SetStr(2, "*FromVar");
  f.SetScript("*Start");
  EXPECT_EQ(ReadLabelName(f.engine()), "start");
  f.SetScript("\"*Quoted\"");
  EXPECT_EQ(ReadLabelName(f.engine()), "Quoted");
  f.SetScript("$2");
  EXPECT_EQ(ReadLabelName(f.engine()), "FromVar");
  f.SetScript("\"nostar\"");
  std::string err = f.ErrorOf([&] { ReadLabelName(f.engine()); });
  EXPECT_EQ(Title(err), "実行時エラー");
  f.SetScript("start");
  err = f.ErrorOf([&] { ReadLabelName(f.engine()); });
  EXPECT_EQ(Message(err), "ラベル名が来るべきところにラベル名が来ませんでした。");
}

TEST(ReadColor, HexDigits) {
  EngineFixture f;
  f.SetScript("#75FE1B");
  EXPECT_EQ(ReadColor(f.engine()), 0x75FE1Bu);
  f.SetScript("#75fe1b");
  EXPECT_EQ(ReadColor(f.engine()), 0x75FE1Bu);
  f.SetScript("#75fg1b");
  std::string err = f.ErrorOf([&] { ReadColor(f.engine()); });
  EXPECT_EQ(Message(err), "カラー指定が間違っています。HTMLと同じ形式（例：#75fe1b）で指定してください。");
  f.SetScript("#12");  // cut short at the end of the script
  EXPECT_NE(f.ErrorOf([&] { ReadColor(f.engine()); }), "");
}

TEST(ExpectComma, BlanksAroundAndMissingComma) {
  EngineFixture f;
  f.SetScript("  ,  5");
  ExpectComma(f.engine());
  EXPECT_EQ(f.Rest(), "5");
  f.SetScript(" 5");
  std::string err = f.ErrorOf([&] { ExpectComma(f.engine()); });
  EXPECT_EQ(Title(err), "構文エラー");
  EXPECT_EQ(Message(err), "コンマが必要なところにコンマが有りません。");
}

}  // namespace
}  // namespace orivane::test
