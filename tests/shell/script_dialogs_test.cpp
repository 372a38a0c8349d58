// The script's message and input boxes and its text field, run headless: what each box shows on
// standard error, what its answers store, and the input dialog's rules for
// the answers it refuses.
#include "shell/input_dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/script_cases.h"
#include "support/scripted_run.h"
#include "util/sjis.h"

namespace orivane::test {
namespace {

TEST(InputDialogRules, RefuseWhatTheDialogRefuses) {
  struct Case {
    const char* name;
    int32_t max_length;
    bool full_width;
    const char* answer;  // UTF-8
    const char* refusal;  // empty: accepted
  };
  const std::vector<Case> cases = {
      {"a number with a leading minus", kNumberInput, false, "-12", ""},
      {"a minus elsewhere", kNumberInput, false, "1-2", "数値を入力してください。"},
      {"a letter after the digits", kNumberInput, false, "12a", "数値を入力してください。"},
      {"an empty number is 0", kNumberInput, false, "", ""},
      {"an empty text", 10, false, "", "文字列を入力してください。"},
      {"ten bytes fit ten", 10, false, "あいうえa", "" /* 9 bytes */},
      {"eleven bytes do not", 10, false, "あいうえおa", "文字列が長すぎます。"},
      {"full width only", 20, true, "あいう", ""},
      {"a half-width character anywhere", 20, true, "あaい", "全て全角文字で入力してください。"},
      {"a half-width character at the end", 20, true, "あい1", "全て全角文字で入力してください。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    InputRequest request;
    request.max_length = c.max_length;
    request.full_width_only = c.full_width;
    const auto refusal = CheckInputAnswer(request, Utf8ToSjis(c.answer));
    EXPECT_EQ(refusal ? refusal->text : std::string(), c.refusal);
  }
}

TEST(InputDialogRules, ALongAnswerIsCutAtACharacterStart) {
  std::string text(254, 'a');
  text += "\x82\xA0";  // あ would end at byte 256
  EXPECT_EQ(CutToInputBuffer(text), std::string(254, 'a'));
  EXPECT_EQ(CutToInputBuffer(std::string(300, 'b')).size(), kMaxInputBytes);
}

struct BoxCase {
  const char* name;
  const char* script;  // after *start; prints its results with `mes`
  const char* input;
  const char* out;     // story text
  const char* err;     // a line that standard error contains
};

class ScriptBoxes : public ::testing::TestWithParam<BoxCase> {};

TEST_P(ScriptBoxes, AnswerAndStore) {
  const BoxCase& c = GetParam();
  GameDir game;
  game.Write("0.txt", std::string("*define\ngame\n*start\n") + c.script + "\nend\n");
  RunResult r = RunScripted(game, c.input);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, c.out);
  EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, ScriptBoxes,
    ::testing::Values(
        BoxCase{"mesbox", "mesbox \"本文\",\"題\"\n終わり", "answer ok\n", "終わり\n", "[題] 本文 -> ok"},
        BoxCase{"yesnobox yes", "yesnobox %1,\"続けますか\",\"確認\"\nitoa $9,%1\n$9", "answer yes\n", "1\n",
                "[確認] 続けますか -> yes"},
        BoxCase{"yesnobox no", "mov %1,7\nyesnobox %1,\"続けますか\",\"確認\"\nitoa $9,%1\n$9", "answer no\n", "0\n",
                "-> no"},
        BoxCase{"okcancelbox", "okcancelbox %1,\"a\",\"b\"\nitoa $9,%1\n$9\nokcancelbox %1,\"a\",\"b\"\nitoa $9,%1\n$9",
                "answer ok\nanswer cancel\n", "1\n0\n", "[b] a -> cancel"},
        BoxCase{"inputstr", "inputstr $1,\"名前は\",10,0\n$1", "text ナナ\n", "ナナ\n", "[文字列入力] 名前は -> ナナ"},
        BoxCase{"inputstr refuses eleven bytes, then takes the next text",
                "inputstr $1,\"名前は\",10,0\n$1", "text あいうえおa\ntext あいうえお\n", "あいうえお\n",
                "[文字列入力] 文字列が長すぎます。 -> ok"},
        BoxCase{"escape without a default leaves inputstr open", "inputstr $1,\"名前は\",10,0\n$1",
                "key escape\ntext 太郎\n", "太郎\n", "-> cancel"},
        BoxCase{"escape in input gives the default", "input $1,\"名前は\",\"花子\",10,1\n$1", "key escape\n",
                "花子\n", "-> cancel"},
        BoxCase{"full width only", "input $1,\"名前は\",\"\",20,1\n$1",
                "text あa\nanswer ok\ntext あい\n", "あい\n", "全て全角文字で入力してください。"},
        BoxCase{"inputnum", "inputnum %1,\"数は\"\nitoa $9,%1\n$9", "text -12\n", "-12\n", "[数値入力] 数は -> -12"},
        BoxCase{"inputnum refuses a letter", "inputnum %1,\"数は\",100,50,80,20\nitoa $9,%1\n$9", "text 12a\ntext 3\n", "3\n",
                "[数値入力] 数値を入力してください。"}));

// `textfield` headless: a `text` line types into the field and confirms it;
// clicks and keys end it as they do in the window.
TEST(TextField, EndsAndStores) {
  struct Case {
    const char* name;
    const char* initial;
    int full_width_only;
    const char* input;
    const char* stored;
    const char* err;  // a line that standard error contains
  };
  const std::vector<Case> cases = {
      {"a text line replaces the field's text", "初め", 0, "text 山田\n", "山田", ""},
      {"a click ends it with the text it had", "初め", 0, "click 300 300\n", "初め", ""},
      {"escape empties a field with text, enter ends it", "初め", 0, "key escape\nkey enter\n", "", ""},
      {"escape ends an empty field", "", 0, "key escape\n", "", ""},
      {"typed keys stay in the field", "初め", 0, "key n\nkey space\ntext 山田\n", "山田", ""},
      {"full width only refuses a half-width character, then takes the next text", "", 1,
       "text あa\ntext あい\n", "あい", "[文字列入力] 全て全角文字で入力してください。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameDir game;
    game.Write("0.txt", std::string("*define\ngame\n*start\nmov $1,\"") + c.initial +
                            "\"\ntextfield $1,10,10,209,29,8,16," + std::to_string(c.full_width_only) +
                            "\nmov $9,\"「\"\nadd $9,$1\nadd $9,\"」\"\n$9\nend\n");
    RunResult r = RunScripted(game, c.input);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, std::string("「") + c.stored + "」\n");
    EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
  }
}

// Leaving the field with Tab is the Tab key of the next button wait that
// reports it, once.
TEST(TextField, TabIsReportedByTheNextButtonWait) {
  GameDir game;
  game.Write("0.txt",
             "*define\ngame\n*start\ntextfield $1,0,0,99,19,8,16,0\ngettab\nbtnwait %1\nitoa $9,%1\n$9\n"
             "gettab\nbtnwait %1\nitoa $9,%1\n$9\nend\n");
  RunResult r = RunScripted(game, "key tab\nbutton 0\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "-20\n0\n");
}

// An `answer` line while a field is open does not fit it: the run ends
// with a note naming the line.
TEST(TextField, ALineThatDoesNotFitEndsTheRun) {
  GameDir game;
  game.Write("0.txt", "*define\ngame\n*start\ntextfield $1,0,0,99,19,8,16,0\nend\n");
  RunResult r = RunScripted(game, "answer ok\n");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("answers a message box, but none is open"), std::string::npos) << r.err;
}

INSTANTIATE_TEST_SUITE_P(
    DialogArguments, ScriptErrors,
    ::testing::Values(ErrorCase{"yesnobox $1,\"a\",\"b\"", "構文エラー", "yesnoboxの引数は数字変数です。"},
                      ErrorCase{"okcancelbox $1,\"a\",\"b\"", "構文エラー", "okcancelboxの引数は数字変数です。"},
                      ErrorCase{"inputstr %1,\"a\",1,0", "構文エラー", "inputstrの第一引数は文字変数です。"},
                      ErrorCase{"input %1,\"a\",\"b\",1,0", "構文エラー", "inputの第一引数は文字変数です。"},
                      ErrorCase{"inputnum $1,\"a\"", "構文エラー", "inputnumの第一引数は数字変数です。"},
                      ErrorCase{"textfield %1,0,0,9,9,8,16,0", "エラー", "textfield命令の第一引数は文字列変数です"}));

}  // namespace
}  // namespace orivane::test
