// Jumps, subroutines, loops, relative jumps, user commands and conditions.
#include <gtest/gtest.h>

#include "support/game_fixture.h"

namespace orivane::test {
namespace {

// `setn N` stores N in %0 (through a user command, so these tests need no
// arithmetic commands).
RunResult RunGame(const std::string& body, const std::string& define = "") {
  GameDir game;
  game.Write("0.txt", "*define\ndefsub setn\n" + define + "game\n*setn\ngetparam %0\nreturn\n*start\n" + body);
  return game.Run();
}

TEST(ControlFlow, Programs) {
  struct Case {
    const char* name;
    const char* body;
    const char* out;
  } cases[] = {
      {"gosub returns to the rest of the line", "gosub *s : 後\nend\n*s\n中\nreturn\n", "中\n後\n"},
      {"return with a label forgets the caller", "gosub *s\n誤\nend\n*s\nreturn *t\n*t\n正\nend\n", "正\n"},
      {"for counts inclusively and leaves the variable past the end",
       "for %1 = 1 to 3\n%1\nnext\n%1\nend\n", "１\n２\n３\n４\n"},
      {"for with a negative step", "for %1 = 5 to 1 step -2\n%1\nnext\nend\n", "５\n３\n１\n"},
      {"for whose body never runs skips to next", "for %1 = 5 to 1\n誤\nnext\n後\nend\n", "後\n"},
      {"break leaves the loop", "for %1 = 1 to 9\n%1\nif %1 == 2 break\nnext\n外\nend\n", "１\n２\n外\n"},
      {"break to a label", "for %1 = 1 to 9\nbreak *out\nnext\n*out\n出\nend\n", "出\n"},
      {"nested loops", "for %1 = 1 to 2\nfor %2 = 1 to 2\n%1%2\nnext\nnext\nend\n", "１１\n１２\n２１\n２２\n"},
      {"jumpf goes past the next tilde", "jumpf\n誤\n~前\nend\n", "前\n"},
      {"jumpb goes back past the previous tilde",
       "setn 0\n~\nif %0 == 1 goto *done\nsetn 1\njumpb\n*done\n済\nend\n", "済\n"},
      {"skip forward", "skip 2\n誤\n正\nend\n", "正\n"},
      {"skip back", "setn 0\n%0\nif %0 == 1 end\nsetn 1 : skip -2\n", "０\n１\n"},
      {"tablegoto", "tablegoto 2, *a, *b, *c\n*a\n甲\nend\n*b\n乙\nend\n*c\n丙\nend\n", "丙\n"},
      {"tablegoto with a negative index takes the first", "tablegoto -1, *a, *b\n*a\n甲\nend\n*b\n乙\nend\n", "甲\n"},
      {"noreturn drops the return address", "gosub *s\n*s\nnoreturn\n落\nend\n", "落\n"},
      {"if runs the rest of the line", "setn 1\nif %0 == 1 goto *y : 誤\n誤\n*y\n真\nend\n", "真\n"},
      {"false if skips every statement on the line", "setn 2\nif %0 = 1 goto *n : goto *n\n偽\nend\n*n\n誤\nend\n", "偽\n"},
      {"if with & needs all conditions", "setn 1\nif %0 == 1 & %0 != 2 && %0 < 5 goto *y\n誤\n*y\n全\nend\n", "全\n"},
      {"notif with & runs only when all fail", "setn 1\nnotif %0 == 2 & %0 == 3 goto *y\n誤\n*y\n否\nend\n", "否\n"},
      {"notif stops at the first true condition", "setn 1\nnotif %0 == 2 & %0 == 1 goto *n\n止\nend\n*n\n誤\nend\n", "止\n"},
      {"string comparisons are bytewise", "if \"abc\" < \"abd\" & \"ab\" < \"abc\" & \"b\" >= \"abc\" goto *y\n誤\n*y\n字\nend\n", "字\n"},
      {"<> and <= and >", "setn 3\nif %0 <> 2 & %0 <= 3 & %0 > 2 goto *y\n誤\n*y\n比\nend\n", "比\n"},
      {"lchk after a label was passed", "*seen\nif lchk *seen goto *y\n誤\n*y\n見\nend\n", "見\n"},
      {"fchk of an unopened file is false", "if fchk \"a.bmp\" goto *n\n無\nend\n*n\n誤\nend\n", "無\n"},
      {"numeric alias with a capital first letter", "if Limit == 7 goto *y\n誤\n*y\n名\nend\n", "名\n"},
  };
  for (const Case& c : cases) {
    RunResult r = RunGame(c.body, "numalias limit, 7\n");
    EXPECT_EQ(r.status, 0) << c.name << "\n" << r.err;
    EXPECT_EQ(r.out, c.out) << c.name;
  }
}

TEST(ControlFlow, UserCommandParameters) {
  GameDir game;
  game.Write("0.txt",
             "*define\ndefsub mycmd\ndefsub refs\ngame\n"
             "*mycmd\ngetparam %0, $0, $1\nreturn\n"
             "*refs\ngetparam i%2, s%3\nreturn\n"
             "*start\nmycmd 1+2, \"abc\", *Lab : 後\n%0$0$1\nrefs %25, $7\n%2 %3\nend\n");
  RunResult r = game.Run();
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "後\n３abc*lab\n２５７\n");
}

TEST(ControlFlow, Errors) {
  struct Case {
    const char* body;
    const char* define;
    const char* report;
  } cases[] = {
      {"return\n", "", "スタックエラー\nreturnとgosub文が正しく対応していません。"},
      {"noreturn\n", "", "スタックエラー\nnoreturnとgosub文が正しく対応していません。"},
      {"next\n", "", "スタックエラー\nnext文とfor文が正しく対応していません。"},
      {"gosub *s\n*s\nnext\n", "", "スタックエラー\nnext文とfor文が正しく対応していません。"},
      {"break\n", "", "スタックエラー\nbreak文とfor文が正しく対応していません。"},
      {"for %1 = 1 to 2\nreturn\n", "", "スタックエラー\nreturnとgosub文が正しく対応していません。"},
      {"for 1 = 1 to 2\n", "", "構文エラー\nfor文の書式が違います。for %変数番号=数字 to 数字 (step 数字)です。"},
      {"for %1 = 1 upto 2\n", "", "構文エラー\nfor文の書式が違います。for %変数番号=数字 to 数字 (step 数字)です。"},
      {"for %1 = 1 to 2 stop 1\n", "", "構文エラー\nfor文の書式が違います。for %変数番号=数字 to 数字 (step 数字)です。"},
      {"*l\nfor %1 = 1 to 2\ngoto *l\n", "", "スタックエラー\nfor文のせいでスタックが溢れました。"},
      // Only a lower-case s starts the step clause: STEP is then a command word.
      {"for %1 = 1 to 2 STEP\n", "", "構文エラー\n不正な命令\"step\"です。"},
      {"jumpf\n", "", "エラー\njumpf命令が~を見つけられませんでした。"},
      {"jumpb\n", "", "エラー\njumpb命令が~を見つけられませんでした。"},
      {"skip -9\n", "", "構文エラー\nSKIPがスクリプトの範囲を飛び出しました。"},
      {"skip 999\n", "", "構文エラー\nSKIPがスクリプトの範囲を飛び出しました。"},
      // Past the last line, where only the empty lines of absent files follow.
      {"skip 1\n", "", "構文エラー\nSKIPがスクリプトの範囲を飛び出しました。"},
      {"skip 5\n", "", "構文エラー\nSKIPがスクリプトの範囲を飛び出しました。"},
      {"end\n", "defsub _bad\n", "エラー\ndefsubサブルーチンの一文字目に_は使えません。"},
      {"pc 1\n*pc\ngetparam x%1\nreturn\n", "defsub pc\n", "エラー\ngetparam指定が間違っています。"},
      {"pc 1\n*pc\ngetparam i%1\nreturn\n", "defsub pc\n", "エラー\n数字変数があるべきところで数字変数がありません"},
      {"pc 1\n*pc\ngetparam s%1\nreturn\n", "defsub pc\n", "エラー\n文字変数があるべきところで数字変数がありません"},
      {"gosub *p\n*p\ngettag ?1\n", "", "エラー\ngettag指定が間違っています。"},
      {"if %0 ! 1 end\n", "", "エラー\nif条件式が間違っています。"},
      {"if foo == 1 end\n", "numalias foo, 1\n", "エラー\nif条件式が間違っています。"},
      {"tablegoto 3, *a, *b\n*a\n*b\n", "", "構文エラー\nコンマが必要なところにコンマが有りません。"},
      {"end\n", "if fchk \"x\" end\n", "エラー\nfchk条件式は、定義ブロックでは使えません。"},
      {"end\n", "if lchk *x end\n", "エラー\nlchk条件式は、定義ブロックでは使えません。"},
  };
  for (const Case& c : cases) {
    RunResult r = RunGame(c.body, c.define);
    EXPECT_EQ(r.status, 1) << c.body;
    EXPECT_EQ(TitleAndMessage(r), c.report) << c.body;
  }
}

TEST(ControlFlow, ResetClearsLocalsButKeepsGlobals) {
  GameDir game;
  game.Write("0.txt",
             ";value10\n*define\ndefsub setv\ngame\n*setv\ngetparam %1, %10, $1, $10\nreturn\n"
             "*start\n%1%10$1$10\nif %10 == 9 end\nsetv 1, 9, \"局\", \"大\"\nreset\n");
  RunResult r = game.Run();
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "００\n０９大\n");
}

TEST(ControlFlow, DefineresetRunsTheDefineBlockAgain) {
  GameDir game;
  game.Write("0.txt",
             "*define\nnumalias once, 1\ngame\n"
             "*start\nif lchk *again goto *fin\n*again\n零\ndefinereset\n*fin\n終\nend\n");
  RunResult r = game.Run();
  // The alias is defined afresh (no double definition); the label log survives.
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "零\n終\n");
}

}  // namespace
}  // namespace orivane::test
