// Which files make up the script, the header comments, the label table and
// the file/line location of a script position.
#include <gtest/gtest.h>

#include "engine.h"
#include "script/labels.h"
#include "script/loader.h"
#include "support/engine_fixture.h"
#include "support/game_fixture.h"
#include "util/sjis.h"

namespace orivane::test {
namespace {

std::string Xor(std::string_view utf8, uint8_t key) {
  std::string s = Utf8ToSjis(utf8);
  for (char& c : s) c = static_cast<char>(static_cast<uint8_t>(c) ^ key);
  return s;
}

TEST(ScriptLoading, NumberedFilesJoinInOrderAndPreferTheNameWithoutZero) {
  GameDir game;
  game.Write("0.txt", "*define\ngame\n*start\ngoto *one");  // no final newline
  game.Write("1.txt", "*one\n壱\ngoto *two\n");
  game.Write("01.txt", "*one\n誤\n");
  game.Write("10.txt", "*two\n拾\nend\n");
  game.Write("010.txt", "読まない\n");
  RunResult r = game.Run();
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "壱\n拾\n");
}

TEST(ScriptLoading, CarriageReturnsOfNumberedFilesAreDropped) {
  GameDir game;
  game.Write("0.txt", "*define\r\ngame\r\n*start\r\n文字\r\nend\r\n");
  RunResult r = game.Run();
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "文字\n");
}

struct PackedCase {
  const char* file;
  uint8_t key;
};

class PackedScript : public testing::TestWithParam<PackedCase> {};

TEST_P(PackedScript, IsDecodedWithItsKey) {
  GameDir game;
  game.WriteBytes(GetParam().file, Xor("*define\ngame\n*start\n秘密\nend\n", GetParam().key));
  RunResult r = game.Run();
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "秘密\n");
}

INSTANTIATE_TEST_SUITE_P(Both, PackedScript,
                         testing::Values(PackedCase{"orscript.zat", 0x3C}, PackedCase{"orscript.dat", 0xA7}));

TEST(ScriptLoading, SourceChoice) {
  struct Case {
    const char* name;
    bool zero_txt, five_txt, zat, dat;
    const char* expected_out;
  } cases[] = {
      {"0.txt beats packed", true, false, true, true, "平文\n"},
      {"zat beats dat", false, false, true, true, "ザット\n"},
      {"dat alone", false, false, false, true, "ダット\n"},
      {"5.txt without 0.txt and no packed file", false, true, false, false, "五\n"},
  };
  for (const Case& c : cases) {
    GameDir game;
    if (c.zero_txt) game.Write("0.txt", "*define\ngame\n*start\n平文\nend\n");
    if (c.five_txt) game.Write("5.txt", "*define\ngame\n*start\n五\nend\n");
    if (c.zat) game.WriteBytes("orscript.zat", Xor("*define\ngame\n*start\nザット\nend\n", 0x3C));
    if (c.dat) game.WriteBytes("orscript.dat", Xor("*define\ngame\n*start\nダット\nend\n", 0xA7));
    RunResult r = game.Run();
    EXPECT_EQ(r.status, 0) << c.name << "\n" << r.err;
    EXPECT_EQ(r.out, c.expected_out) << c.name;
  }
}

TEST(ScriptLoading, MissingScriptFailsAtTheDefineLabel) {
  GameDir game;
  RunResult r = game.Run();
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err.substr(0, r.err.find('\n', r.err.find('\n') + 1)), "ラベルエラー\nラベル*defineは存在しません");
}

TEST(ScriptLoading, HeaderComments) {
  struct Case {
    const char* first_line;
    int width, height, border;
  } cases[] = {
      {";mode800", 800, 600, 200},       {";mode400", 400, 300, 200},
      {";mode320", 320, 240, 200},       {";mode640", 640, 480, 200},
      {";mode400,value300", 400, 300, 300}, {";value300", 640, 480, 300},
      {";mode800 value300", 800, 600, 200}, {";value  -5", 640, 480, -5},
      {" ;mode800", 640, 480, 200},      {";MODE800", 640, 480, 200},
  };
  for (const Case& c : cases) {
    GameDir game;
    game.Write("0.txt", std::string(c.first_line) + "\n*define\ngame\n");
    EngineFixture f;
    ScopedCurrentDir cd(game.path());
    LoadScript(f.engine());
    EXPECT_EQ(f.engine().screen_width, c.width) << c.first_line;
    EXPECT_EQ(f.engine().screen_height, c.height) << c.first_line;
    EXPECT_EQ(f.engine().global_border, c.border) << c.first_line;
  }
}

TEST(LabelTable, FindsLabelsOnlyAtTheStartOfALine) {
  EngineFixture f;
  f.SetScript("*Define\n  *loop mov %0, 1\ntext *notlabel\n\t*last\nx\n");
  BuildLabelTable(f.engine());
  const LabelTable& t = f.engine().labels;
  ASSERT_EQ(t.size(), 3u);
  EXPECT_EQ(t[0].name, "define");
  EXPECT_EQ(t[1].name, "loop");
  EXPECT_EQ(t[2].name, "last");
  JumpToLabel(f.engine(), "LOOP");
  EXPECT_EQ(f.Rest(), "mov %0, 1");  // a label followed by a command points at the command
  JumpToLabel(f.engine(), "last");
  EXPECT_EQ(f.Rest(), "x");  // a label alone on its line points at the next line
  EXPECT_TRUE(f.engine().label_log.Contains("loop"));
}

TEST(LabelTable, Errors) {
  EngineFixture f;
  f.SetScript("*a\n*b\n*A\n");
  EXPECT_EQ(f.ErrorOf([&] { BuildLabelTable(f.engine()); }),
            "エラー\nラベル*aの多重定義です。\n\n00.txt line:3\n*a\n|*b\n>*A\n");
  f.SetScript("*a\n");
  BuildLabelTable(f.engine());
  std::string err = f.ErrorOf([&] { JumpToLabel(f.engine(), "Missing"); });
  EXPECT_EQ(err.substr(0, err.find("\n\n")), "ラベルエラー\nラベル*Missingは存在しません");
}

TEST(LabelTable, ReportsMoreThanTenThousandLabels) {
  std::string script;
  for (int i = 0; i <= 10000; ++i) script += "*l" + std::to_string(i) + "\n";
  EngineFixture f;
  f.SetScript(script);
  std::string err = f.ErrorOf([&] { BuildLabelTable(f.engine()); });
  EXPECT_EQ(err.substr(0, err.find('\n')), "エラー");
  EXPECT_EQ(f.engine().labels.size(), 10000u);
}

TEST(ScriptLocation, ErrorInSeventhFileIsLocatedThere) {
  GameDir game;
  game.Write("0.txt", "*define\ngame\n*start\ngoto *seven\n");
  game.Write("3.txt", "one\ntwo\nthree\n");
  game.Write("07.txt", "*seven\nbogus\n");
  RunResult r = game.Run();
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("\n07.txt line:2\n"), std::string::npos) << r.err;
}

TEST(ScriptLocation, PackedScriptCountsLinesFromItsStart) {
  GameDir game;
  game.WriteBytes("orscript.dat", Xor("*define\ngame\n*start\nbogus\n", 0xA7));
  RunResult r = game.Run();
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("\norscript.dat line:4\n"), std::string::npos) << r.err;
}

TEST(ScriptLoading, BytesThatAreNotShiftJisStillRun) {
  GameDir game;
  game.WriteBytes("0.txt", std::string("*define\ngame\n*start\n\xFF\xFE\x80\x81\nend\n"));
  RunResult r = game.Run();
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_FALSE(r.out.empty());
}

}  // namespace
}  // namespace orivane::test

namespace orivane::test {
namespace {

TEST(ScriptLoading, ScreenSizeReachesTheScript) {
  struct Case {
    const char* header;
    const char* out;
  } cases[] = {{";mode320\n", "３２０×２４０\n"}, {"", "６４０×４８０\n"}, {";mode800,value300\n", "８００×６００\n"}};
  for (const Case& c : cases) {
    GameDir game;
    game.Write("0.txt", std::string(c.header) + "*define\ngame\n*start\ngetwindowsize %1, %2\n%1×%2\nend\n");
    RunResult r = game.Run();
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, c.out) << c.header;
  }
}

TEST(SystemCommands, IsfullFollowsTheWindowMode) {
  GameDir game;
  game.Write("0.txt", "*define\ngame\n*start\nisfull %1\n%1\nmenu_full\nisfull %1\n%1\nmenu_window\nisfull %1\n%1\nend\n");
  RunResult r = game.Run();
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "０\n１\n０\n");
  game.Write("0.txt", "*define\ngame\n*start\nisfull 1\n");
  r = game.Run();
  EXPECT_EQ(r.err.substr(0, r.err.find("\n\n")), "構文エラー\nisfullの引数は数字変数です。");
}

TEST(SystemCommands, TestfuncShowsItsBox) {
  GameDir game;
  game.Write("0.txt", "*define\ngame\n*start\ntestfunc\n済\nend\n");
  game.WriteBytes("input.txt", "answer ok\n");
  RunResult r = RunProgram({"--headless", "--input", game.path() + "/input.txt", game.path()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("testfunc:"), std::string::npos) << r.err;
  EXPECT_EQ(r.out, "済\n");
}

TEST(SystemCommands, ChkdbgAndArgumentErrors) {
  GameDir game;
  game.Write("0.txt", "*define\nchkdbg %300\ngame\n*start\n%300\nend\n");  // define-only; %300 is global
  EXPECT_EQ(game.Run().out, "０\n");
  game.WriteBytes("58203749", "");
  EXPECT_EQ(game.Run().out, "１\n");
  game.Write("0.txt", "*define\ngame\n*start\ngetwindowsize %1, 2\n");
  RunResult r = game.Run();
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err.substr(0, r.err.find("0.txt")), "構文エラー\n\n\n");  // the title, an empty message
}

}  // namespace
}  // namespace orivane::test
