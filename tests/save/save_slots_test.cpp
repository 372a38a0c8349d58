// Save games in whole runs: a save writes the state of the last save point
// (the start of the page), a load puts it back and goes on at that page with
// its variables, pictures and back-log; the files themselves (same bytes for
// two saves of one page, the savegame2 trailer, a damaged position); and the
// commands that ask about slots.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/game_fixture.h"
#include "support/graphics_run.h"
#include "support/script_cases.h"
#include "text/text_window_run.h"
#include "util/sjis.h"

namespace orivane::test {
namespace {

std::string Game(const std::string& body) { return "*define\ngame\n*start\n" + body + "\nend\n"; }

// The page "二" is where the save point is taken: the variable is 7 then and
// sprite 3 is showing. After the save both change; the load brings them back
// and the story goes on from "二" (a global variable tells the second pass).
constexpr const char* kSaveThenLoad =
    "mov %1,5\n"
    "lsp 3,\":c;a.bmp\",10,20\n"
    "一\\\n"
    "mov %1,7\n"
    "二@\n"
    "if %300 == 1 goto *loaded\n"
    "savegame 1\n"
    "mov %1,9\n"
    "csp 3\n"
    "三\\\n"
    "mov %300,1\n"
    "loadgame 1\n"
    "end\n"
    "*loaded\n"
    "%1";

TEST(SaveSlots, ALoadGoesOnAtTheSavedPageWithItsState) {
  GameDir game;
  game.WriteBytes("a.bmp", MakeBmp24(4, 4, [](int, int) { return 0x102030u; }));
  game.Write("0.txt", Game(kSaveThenLoad));
  bool sprite_visible = false;
  std::string sprite_tag;
  std::vector<std::string> pages;
  TextRun r = RunTextGame(game, [&](Engine& e) {
    sprite_visible = e.graphics.sprites[3].visible;
    sprite_tag = e.graphics.sprites[3].tag;
    for (int n = e.back_log.PageCount(); n >= 1; --n) pages.push_back(SjisToUtf8(*e.back_log.PageBack(n)));
  });
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "一\n二\n三\n二\n７\n");
  EXPECT_TRUE(sprite_visible);
  EXPECT_EQ(sprite_tag, ":c;a.bmp");
  // The back-log as it was at the save point: the page "三" is gone.
  EXPECT_EQ(pages, (std::vector<std::string>{"一"}));
}

TEST(SaveSlots, TwoSavesOfOnePageWriteTheSameBytes) {
  GameDir game;
  game.Write("0.txt", Game("一\\\n二@\nsavegame 1\nmov %1,3\nsavegame2 2,\"栞\"\nsavegame 3"));
  RunResult r = game.Run();
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string one = game.ReadBytes("save1.dat"), two = game.ReadBytes("save2.dat"),
                    three = game.ReadBytes("save3.dat");
  ASSERT_FALSE(one.empty());
  EXPECT_EQ(one, three);
  // savegame2 appends its text as "\"text\"*".
  EXPECT_EQ(two, one + "\"" + Utf8ToSjis("栞") + "\"*");
  // The file starts with the version and ends with the page's place: line 4
  // of the script ("二@"), its first statement.
  EXPECT_EQ(one.substr(0, 4), std::string("\x01\0\0\0", 4));
  EXPECT_EQ(one.substr(one.size() - 8), std::string("\x04\0\0\0\0\0\0\0", 8));
}

// A file read back is taken whole: the page saved again at once, after the
// load, writes the same bytes (and the same screen file).
TEST(SaveSlots, ASaveAfterALoadWritesTheSameBytes) {
  GameDir game;
  game.WriteBytes("a.bmp", MakeBmp24(4, 4, [](int, int) { return 0x102030u; }));
  game.Write("0.txt", Game("mov %1,5\nmov $2,\"字\"\nlsp 3,\":c;a.bmp\",10,20\nbg #204060,1\nbgcpy\n"
                           "gosub *sub\nend\n*sub\n一\\\n二@\nif %300 == 1 goto *again\nsavegame 1\n"
                           "mov %1,9\ncsp 3\nbg white,1\n三\\\nmov %300,1\nloadgame 1\n*again\nsavegame 2\nreturn"));
  RunResult r = game.Run();
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "一\n二\n三\n二\n");
  const std::string one = game.ReadBytes("save1.dat");
  ASSERT_FALSE(one.empty());
  EXPECT_TRUE(game.ReadBytes("save2.dat") == one);
  ASSERT_FALSE(game.ReadBytes("save1.ss").empty());
  EXPECT_TRUE(game.ReadBytes("save2.ss") == game.ReadBytes("save1.ss"));
}

INSTANTIATE_TEST_SUITE_P(
    SlotQuestions, ScriptPrints,
    ::testing::Values(
        ScriptCase{"savefileexist", "savefileexist %1,1\nsavegame 1\nsavefileexist %2,1\n%1%2", "０１\n"},
        ScriptCase{"getsavestr reads the savegame2 text",
                   "savegame2 1,\"第一章\"\nsavegame 2\ngetsavestr $1,1\ngetsavestr $2,2\n$1と$2と", "第一章とと\n"},
        ScriptCase{"getsavestr of a missing slot answers 1", "getsavestr $1,5\ngetret %1\n%1", "１\n"},
        ScriptCase{"savetime of a missing slot gives month 0",
                   "mov %1,9\nsavetime 4,%1,%2,%3,%4\n%1", "０\n"},
        ScriptCase{"savetime2 of a written slot gives its year",
                   "savegame 4\nsavetime2 4,%1,%2,%3,%4,%5,%6\nif %1 >= 2020 && %2 >= 1 && %2 <= 12 mov %7,1\n%7",
                   "１\n"}));

INSTANTIATE_TEST_SUITE_P(
    SaveCommands, ScriptErrors,
    ::testing::Values(
        ErrorCase{"savefileexist $1,1", "エラー", "savefileexistの第一引数は数字変数です。"},
        ErrorCase{"savetime 1,%1,$2,%3,%4", "構文エラー", "savedateの第三引数は数字変数です。"},
        ErrorCase{"savetime2 1,%1,%2,%3,%4,$5,%6", "構文エラー", "savedate2の第六引数は数字変数です。"},
        ErrorCase{"getsavestr %1,1", "構文エラー", "getsavestrの第一引数は文字変数です。"}));

// On an empty page every statement is a save point: a save made there goes
// on from that statement, with the state as it was when it began.
struct SavePointCase {
  const char* name;
  const char* body;
  const char* first_run;
  const char* second_run;
};

class SavePointEveryStatement : public ::testing::TestWithParam<SavePointCase> {};

TEST_P(SavePointEveryStatement, LoadsAtTheStatement) {
  const SavePointCase& c = GetParam();
  GameDir game;
  game.Write("0.txt", Game(std::string("savefileexist %1,1\nif %1 == 1 loadgame 1\n") + c.body));
  RunResult first = game.Run();
  EXPECT_EQ(first.status, 0) << first.err;
  EXPECT_EQ(first.out, c.first_run);
  RunResult second = game.Run();
  EXPECT_EQ(second.status, 0) << second.err;
  EXPECT_EQ(second.out, c.second_run);
}

INSTANTIATE_TEST_SUITE_P(
    SaveSlots, SavePointEveryStatement,
    ::testing::Values(
        SavePointCase{"AfterAPageWait", "あ\\\nsavegame 1\nい@", "あ\nい\n", "い\n"},
        // The counter was 1 when `savegame` began: the load does not add again.
        SavePointCase{"StateAsTheStatementBegan", "あ\\\nadd %5,1\nsavegame 1\n%5@", "あ\n１\n", "１\n"},
        // `saveoff` keeps the place marked as it began: the add runs again.
        SavePointCase{"SaveoffKeepsTheMarkedPlace", "あ\\\nsaveoff\nadd %5,1\nsavegame 1\n%5@", "あ\n１\n",
                      "１\n"},
        // A filled page takes no save point: the load goes on at "う".
        SavePointCase{"NotOnAFilledPage", "う@\nadd %5,1\nsavegame 1\n%5@", "う\n１\n", "う\n１\n"}),
    [](const ::testing::TestParamInfo<SavePointCase>& case_info) { return std::string(case_info.param.name); });

// The place of a save is a line and statement number: a line added above it
// in the script moves the loaded place one line up.
TEST(SaveSlots, ThePlaceIsALineAndStatementNumber) {
  GameDir game;
  game.Write("0.txt", Game("一\\\n二@\nsavegame 1"));
  ASSERT_EQ(game.Run().status, 0);
  game.Write("0.txt", Game("loadgame 1\n前\\\n一\\\n二@"));
  RunResult r = game.Run();
  EXPECT_EQ(r.status, 0) << r.err;
  // The save point was line 4 ("二"): now "前" stands there.
  EXPECT_EQ(r.out, "前\n一\n二\n");
}

// A place outside the script, or a file that ends before its place, is a
// damaged save: reported, which ends the run.
TEST(SaveSlots, ADamagedFileIsReported) {
  struct Case {
    const char* name;
    std::string (*damage)(std::string);
  };
  const std::vector<Case> cases = {
      {"a line past the script",
       [](std::string b) { return b.replace(b.size() - 8, 4, std::string("\x40\x42\x0F\x00", 4)); }},
      {"a statement past its line",
       [](std::string b) { return b.replace(b.size() - 4, 4, std::string("\x05\x00\x00\x00", 4)); }},
      {"a file cut short", [](std::string b) { return b.substr(0, 100); }},
      {"an empty file", [](std::string) { return std::string(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameDir game;
    game.Write("0.txt", Game("一@\nsavegame 1"));
    ASSERT_EQ(game.Run().status, 0);
    game.WriteBytes("save1.dat", c.damage(game.ReadBytes("save1.dat")));
    game.Write("0.txt", Game("loadgame 1"));
    RunResult r = game.Run();
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(TitleAndMessage(r), "エラー\nセーブデータが壊れています。");
  }
}

TEST(SaveSlots, LoadgosubRunsAfterTheLoad) {
  GameDir game;
  game.Write("0.txt", "*define\nloadgosub *after_load\ngame\n*start\n一@\nif %300 == 1 goto *fin\nsavegame 1\n"
                      "mov %300,1\nloadgame 1\n*fin\nend\n*after_load\nロード\nreturn\n");
  RunResult r = game.Run();
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "一\nロード\n一\n");
}

TEST(SaveSlots, ErrorsaveSavesBeforeTheErrorOnceThereIsAPage) {
  GameDir game;
  game.Write("0.txt", "*define\nerrorsave\ngame\n*start\n一@\ngoto *nowhere\nend\n");
  RunResult r = game.Run();
  EXPECT_EQ(r.status, 1);
  EXPECT_FALSE(game.ReadBytes("save999.dat").empty());

  // Before the first text there is no place to go on from.
  GameDir early;
  early.Write("0.txt", "*define\nerrorsave\ngoto *nowhere\ngame\n*start\nend\n");
  EXPECT_EQ(early.Run().status, 1);
  EXPECT_TRUE(early.ReadBytes("save999.dat").empty());
}

// A background made by `bgcpy` has no name to load it by: the save keeps
// the picture beside the slot ("save1.ss"). The first run copies a blue
// screen with a red square into the background, takes the sprite away and
// saves at the page; the second loads it, and its screenshot shows that
// background. A slot saved without the picture (an older save) loads with
// a black background instead.
TEST(SaveSlots, ABackgroundCopiedFromTheScreenComesBackWithALoad) {
  const std::string script =
      ";mode320\n*define\nsetwindow 8,200,18,1,16,16,0,2,0,0,0,#999999,0,190,319,239\ngame\n*start\n"
      "savefileexist %0,1\nif %0 == 1 loadgame 1\n"
      "bg #204060,1\nlsp 1,\":c;red.bmp\",40,40\nprint 1\nbgcpy\ncsp 1\nprint 1\n一@\nsavegame 1\nend\n";
  struct Case {
    const char* name;
    bool keep_screen_file;
    uint32_t background, square;
  } cases[] = {
      {"with its screen file", true, 0x204060, 0xFF0000},
      {"a save without one", false, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameDir game;
    game.WriteBytes("red.bmp", MakeBmp24(8, 8, [](int, int) { return 0xFF0000u; }));
    game.Write("0.txt", script);
    const std::string shot = game.path() + "/shot.bmp";
    RunResult first = RunProgram({"--headless", "--screenshot", shot, game.path()});
    ASSERT_EQ(first.status, 0) << first.err;
    const Screenshot saved(game.ReadBytes("shot.bmp"), 320, 240);
    ASSERT_TRUE(saved.Complete());
    ASSERT_EQ(saved.Pixel(10, 10), 0x204060u);
    ASSERT_EQ(saved.Pixel(42, 42), 0xFF0000u);
    ASSERT_EQ(game.ReadBytes("save1.ss").substr(0, 2), "BM");
    if (!c.keep_screen_file) std::remove((game.path() + "/save1.ss").c_str());
    std::remove(shot.c_str());

    RunResult second = RunProgram({"--headless", "--screenshot", shot, game.path()});
    ASSERT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(second.out, "一\n");  // the loaded page
    const Screenshot loaded(game.ReadBytes("shot.bmp"), 320, 240);
    ASSERT_TRUE(loaded.Complete());
    EXPECT_EQ(loaded.Pixel(10, 10), c.background);
    EXPECT_EQ(loaded.Pixel(42, 42), c.square);
  }
}

// The screen file goes with its slot: written when the saved page's
// background is a copy of the screen, removed when a later save of the slot
// has an ordinary one.
TEST(SaveSlots, TheScreenFileGoesWithItsSlot) {
  GameDir game;
  game.Write("0.txt", Game("bg #204060,1\nbgcpy\n一@\nsavegame 1\nsavegame 2\n一\\\nbg white,1\n二@\nsavegame 2"));
  RunResult r = game.Run();
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(game.ReadBytes("save1.ss").substr(0, 2), "BM");
  EXPECT_TRUE(game.ReadBytes("save2.ss").empty());
  EXPECT_FALSE(game.ReadBytes("save2.dat").empty());
}

TEST(SaveSlots, ALoadOfAMissingSlotDoesNothing) {
  GameDir game;
  game.Write("0.txt", Game("mov %1,2\nloadgame 7\n%1"));
  RunResult r = game.Run();
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "２\n");
}

}  // namespace
}  // namespace orivane::test
