// The execution loop, text-line gathering, command dispatch and the exact
// error reports, run end to end on small games.
#include <gtest/gtest.h>

#include <new>
#include <utility>
#include <vector>

#include "script/execute.h"
#include "script/labels.h"
#include "support/engine_fixture.h"
#include "support/game_fixture.h"
#include "util/sjis.h"

namespace orivane::test {
namespace {

// A game whose *define block defines `setn` (sets %0 to its argument) and
// `sets` (sets $0), then runs `body` from *start.
RunResult RunGame(const std::string& body, const std::string& define = "") {
  GameDir game;
  game.Write("0.txt", "*define\ndefsub setn\ndefsub sets\n" + define + "game\n*setn\ngetparam %0\nreturn\n"
                      "*sets\ngetparam $0\nreturn\n*start\n" + body);
  return game.Run();
}

TEST(Execution, StatementsAndTextLines) {
  struct Case {
    const char* name;
    const char* body;
    const char* out;
  } cases[] = {
      {"colon separates statements", "goto *a : 誤\n*a\n正\nend\n", "正\n"},
      {"tilde and colon alone are passed over", "~\n:\n  \t:~\n本文\nend\n", "本文\n"},
      {"comment after a command", "setn 5 ;コメント\n%0\nend\n", "５\n"},
      {"negative number in full-width digits", "setn -12\n%0です\nend\n", "－１２です\n"},
      {"zero", "setn 0\n%0\nend\n", "０\n"},
      {"most negative number", "setn -2147483647-1\n%0\nend\n", "－２１４７４８３６４８\n"},
      {"string variable", "sets \"名前\"\n「$0」\nend\n", "「名前」\n"},
      {"!s before a variable is not expanded", "setn 3\n!s%0あ\nend\n", "%0あ\n"},
      {"inline controls are not printed", "あ@い\\う!w100え#ff0000お_か\nend\n", "あいうえおか\n"},
      {"braces assign variables", "{%1,42,$1,文字}\n%1$1\nend\n", "\n４２文字\n"},
      {"command words are case-insensitive", "GOTO *b\n*b\nGoto *c\n*c\n済\nEND\n", "済\n"},
      {"label lines are passed over", "*here\n通過\nend\n", "通過\n"},
      {"defsub replaces a builtin but _ reaches it", "_goto *d\n*d\n到達\nend\n", "到達\n"},
  };
  for (const Case& c : cases) {
    RunResult r = RunGame(c.body);
    EXPECT_EQ(r.status, 0) << c.name << "\n" << r.err;
    EXPECT_EQ(r.out, c.out) << c.name;
  }
}

TEST(Execution, UserCommandNamedLikeABuiltinReplacesIt) {
  RunResult r = RunGame("goto *x\n_goto *y\n*x\n誤\nend\n*y\n正\nend\n*goto\n替\nreturn\n",
                        "defsub goto\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "替\n正\n");
}

// Running out of memory inside a command (for a huge string, or a picture
// decoded from outside data) ends the run with a script error, after what
// ran before it.
TEST(Execution, CommandThatRunsOutOfMemoryIsReported) {
  EngineFixture f;
  f.engine().commands.Register("mov", [](Engine&) { throw std::bad_alloc(); });
  f.SetScript("一\nmov %0, 1\n二\n");
  std::string err = f.ErrorOf([&] { ExecuteScript(f.engine(), RunMode::kGame); });
  EXPECT_EQ(err.substr(0, err.find("\n\n")), "エラー\nメモリが足りません。");
  EXPECT_NE(err.find("\n>mov "), std::string::npos) << err;  // where the command stopped
  EXPECT_EQ(f.out(), "一\n");
}

TEST(Execution, Errors) {
  struct Case {
    const char* name;
    const char* body;
    const char* define;
    const char* report;
  } cases[] = {
      {"unknown command", "frobnicate 1\n", "", "構文エラー\n不正な命令\"frobnicate\"です。"},
      {"define-only command in the game phase", "numalias x, 1\n", "",
       "構文エラー\n不正な命令\"numalias\"です。"},
      {"define-only command with _", "_dim ?1[2]\n", "", "構文エラー\n不正な命令\"_dim\"です。"},
      {"end of the script", "通過\n", "", "スクリプトエラー\nファイルの終端に達しました。"},
      {"text in the define block", "end\n", "　\n", "定義ブロックエラー\n*defineブロックには、表示文はおけません。"},
      {"text in the define block via label", "end\n", "*def2\n文\n", "定義ブロックエラー\n*defineブロックには、表示文はおけません。"},
      {"gosub recursion", "*r\ngosub *r\n", "", "スタックエラー\ngosub文のせいでスタックが溢れました。"},
      {"user command recursion", "*user\nuser\n", "defsub user\n", "スタックエラー\ndefsub文のせいでスタックが溢れました。"},
  };
  for (const Case& c : cases) {
    RunResult r = RunGame(c.body, c.define);
    EXPECT_EQ(r.status, 1) << c.name;
    EXPECT_EQ(TitleAndMessage(r), c.report) << c.name;
  }
}

TEST(Execution, DefineOnlyCommandWorksInTheDefineBlock) {
  RunResult r = RunGame("%0\nend\n", "numalias seven, 7\nintlimit 0, 0, 100\n");
  EXPECT_EQ(r.status, 0) << r.err;
}

TEST(Execution, StatementRunAgainSeesALaterDefsub) {
  GameDir game;
  game.Write("0.txt",
             "*define\n*again\nitoa $300, %300\nif %300 == 1 goto *after\nmov %300, 1\n"
             "defsub itoa\ngoto *again\n*after\ngame\n"
             "*itoa\ngetparam $5, %5\nmov $301, \"user\"\nreturn\n"
             "*start\n$300$301\nend\n");
  RunResult r = game.Run();
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "0user\n");  // the second pass ran the user command, not the built-in
}

TEST(Execution, ExpressionRunAgainReadsVariablesAgain) {
  RunResult r = RunGame("for %1 = 1 to 3\nmov %2, %1 * 10 + 1 mod 3\n%2\nnext\nend\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "１１\n２１\n３１\n");
}

TEST(ErrorReport, ExactTextWithExcerpt) {
  GameDir game;
  game.Write("0.txt", "*define\ngame\n*start\n一\n二\nbogus 1, 2\n");
  RunResult r = game.Run();
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "構文エラー\n不正な命令\"bogus\"です。\n\n0.txt line:6\n\n|一\n|二\n>bogus \n");
}

TEST(ErrorReport, FirstStatementShowsExcerptFromTheStart) {
  GameDir game;
  game.Write("0.txt", "*define\nwrong\n");
  RunResult r = game.Run();
  EXPECT_EQ(r.err, "構文エラー\n不正な命令\"wrong\"です。\n\n0.txt line:2\n*define\n>wrong\n");
  game.Write("0.txt", "  oops");
  r = game.Run();  // no *define at all: the jump fails with the position at 0
  EXPECT_EQ(r.err, "ラベルエラー\nラベル*defineは存在しません\n\n0.txt line:1\n");
}

// Reaching the end of the script names the last file read and its last
// line, and the excerpt ends there, not among the empty lines that stand for
// the absent files after it.
TEST(ErrorReport, EndOfTheScriptNamesTheLastFileAndLine) {
  struct Case {
    const char* name;
    std::vector<std::pair<const char*, const char*>> files;
    const char* location_and_excerpt;
  } cases[] = {
      {"one file ending in a newline", {{"0.txt", "*define\ngame\n*start\n一\n"}}, "0.txt line:4\n\n|game\n|*start\n>一\n"},
      {"one file without a final newline", {{"0.txt", "*define\ngame\n*start\n一"}}, "0.txt line:4\n\n|game\n|*start\n>一\n"},
      {"the last of several files", {{"0.txt", "*define\ngame\n*start\ngoto *b\n"}, {"3.txt", "*b\n一\n二\n"}},
       "3.txt line:3\n\n|*b\n|一\n>二\n"},
      {"a zero-prefixed file", {{"00.txt", "*define\ngame\n*start\n"}, {"05.txt", "\n\n一\n"}}, "05.txt line:3\n\n|\n|\n>一\n"},
      {"an empty last file", {{"0.txt", "*define\ngame\n*start\n一\n"}, {"9.txt", ""}}, "9.txt line:1\n\n|\n|\n>\n"},
  };
  for (const Case& c : cases) {
    GameDir game;
    for (const auto& [name, text] : c.files) game.Write(name, text);
    RunResult r = game.Run();
    EXPECT_EQ(r.status, 1) << c.name;
    EXPECT_EQ(r.err, std::string("スクリプトエラー\nファイルの終端に達しました。\n\n") + c.location_and_excerpt) << c.name;
  }
}

TEST(ErrorReport, PackedScriptEndNamesItsLastLine) {
  GameDir game;
  std::string script = Utf8ToSjis("*define\ngame\n*start\n一\n");
  for (char& b : script) b = static_cast<char>(b ^ 0xA7);
  game.WriteBytes("orscript.dat", script);
  RunResult r = game.Run();
  EXPECT_EQ(r.err, "スクリプトエラー\nファイルの終端に達しました。\n\norscript.dat line:4\n\n|game\n|*start\n>一\n");
}

TEST(ErrorReport, LongLinesAreCutToTheBound) {
  GameDir game;
  game.Write("0.txt", "*define\ngame\n*start\n" + std::string(20000, 'x') + "\n");
  RunResult r = game.Run();
  EXPECT_EQ(r.status, 1);
  EXPECT_LE(r.err.size(), 4096u + 200u);
  EXPECT_NE(r.err.find("長すぎるトークンです"), std::string::npos);
}

TEST(TextGathering, LongLineIsCutAndLineEndWaitKept) {
  EngineFixture f;
  f.engine().text.line_page = true;
  f.SetScript(std::string(10000, '!') + "\n");
  std::string line = GatherTextLine(f.engine());
  EXPECT_EQ(line.size(), kMaxTextLineBytes - 1);
  EXPECT_EQ(line.back(), '\\');
  EXPECT_EQ(f.Rest(), "");  // the whole line was consumed
}

TEST(TextGathering, LinePage2WaitsByLine) {
  EngineFixture f;
  f.engine().text.line_page2 = true;
  f.engine().text.rows = 10;
  f.engine().text.click_lines_from_bottom = 2;
  f.engine().text.line = 7;
  f.SetScript("あ\n");
  EXPECT_EQ(SjisToUtf8(GatherTextLine(f.engine())), "あ@");
  f.engine().text.line = 8;
  f.SetScript("あ\n");
  EXPECT_EQ(SjisToUtf8(GatherTextLine(f.engine())), "あ\\");
}

TEST(TextGathering, TextgosubEndsTheBufferAtTheWait) {
  EngineFixture f;
  f.engine().interp.textgosub_on = true;
  f.SetScript("前@後\n");
  EXPECT_EQ(SjisToUtf8(GatherTextLine(f.engine())), "前@");
  EXPECT_EQ(f.Rest(), "後");
}

TEST(Pretext, FullWidthBracketsBecomeATag) {
  EngineFixture f;
  f.SetScript("*start\n【太郎】こんにちは\n【閉じない\nend\n*pre\ngettag $2\nreturn\n");
  Engine& e = f.engine();
  BuildLabelTable(e);
  e.interp.pretext_label = "pre";
  e.interp.pretext_on = true;
  e.text.bracket_conversion = true;
  JumpToLabel(e, "start");
  std::string err = f.ErrorOf([&] { ExecuteScript(e, RunMode::kGame); });
  EXPECT_EQ(err, "");
  EXPECT_EQ(SjisToUtf8(e.vars.Str(2)), "");  // the last line had no tag
  EXPECT_EQ(f.out(), "こんにちは\n【閉じない\n");
  std::string script(e.script.bytes.begin(), e.script.bytes.begin() + e.script.length);
  EXPECT_NE(SjisToUtf8(script).find("[[太郎]]こんにちは"), std::string::npos);
}

TEST(Pretext, RoutineReadsTheTagAndTheTextFollows) {
  GameDir game;
  game.Write("0.txt",
             "*define\npretextgosub *pre\ndefsub keep\ngame\n"
             "*pre\ngettag $2, %2\nif $2 != \"\" keep $2, %2\nreturn\n"
             "*keep\ngetparam $3, %3\nreturn\n"
             "*start\n[太郎/3]やあ\n$3%3\nend\n");
  RunResult r = game.Run();
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "やあ\n太郎３\n");
}

TEST(Cli, ExitStatusAndUsage) {
  GameDir game;
  game.Write("0.txt", "*define\ngame\n*start\n*loop\ngoto *loop\n");
  RunResult timeout = RunProgram({"--headless", "--timeout", "300", game.path()});
  EXPECT_EQ(timeout.status, 3);
  EXPECT_NE(timeout.err.find("timeout"), std::string::npos);

  EXPECT_EQ(RunProgram({"--headless", "--bogus", game.path()}).status, 2);
  EXPECT_EQ(RunProgram({"--headless", game.path() + "/missing"}).status, 2);
  EXPECT_EQ(RunProgram({"--headless", "--timeout"}).status, 2);

  game.Write("0.txt", "*define\ngame\n*start\n日本語\nend\n");
  RunResult ok = RunProgram({"--headless", game.path()});
  EXPECT_EQ(ok.status, 0);
  EXPECT_EQ(ok.out, "日本語\n");

  game.Write("0.txt", "*define\ngame\n*start\nbad\n");
  RunResult bad = RunProgram({"--headless", game.path()});
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.err.substr(0, bad.err.find('\n')), "構文エラー");
}

}  // namespace
}  // namespace orivane::test

namespace orivane::test {
namespace {

TEST(TextOutput, UnderscoreBeforeAWaitSkipsIt) {
  GameDir game;
  game.Write("0.txt", "*define\ngame\n*start\n一_@二_\\三@\nend\n");
  // Only the last '@' waits and takes the click (given after the typing). A
  // second wait would meet the answer line, which fits no click wait and ends
  // the run with status 2.
  game.WriteBytes("input.txt", "after 1000 click 1 1\nanswer yes\n");
  RunResult r = RunProgram({"--headless", "--timeout", "20000", "--input", game.path() + "/input.txt", game.path()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "一二三\n");
}

}  // namespace
}  // namespace orivane::test
