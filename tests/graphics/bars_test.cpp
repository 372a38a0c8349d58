// The bars of `bar`: how much of a bar is filled, and bars in whole runs,
// cleared by `barclear` and kept by a save file.
#include "graphics/bars.h"

#include <gtest/gtest.h>

#include <vector>

#include "script/general_test_support.h"
#include "support/graphics_run.h"
#include "support/script_cases.h"

namespace orivane::test {
namespace {

TEST(Bars, FillTheirValuesShareOfTheirWidth) {
  struct Case {
    const char* name;
    Bar bar;
    int right;  // the filled rectangle's last column; -1: nothing filled
  };
  const std::vector<Case> cases = {
      {"half", {10, 5, 80, 20, 50, 100, 0}, 10 + 40 - 1},
      {"full", {10, 5, 80, 20, 100, 100, 0}, 10 + 80 - 1},
      {"truncated", {0, 0, 10, 1, 1, 3, 0}, 3 - 1},
      {"past the maximum: wider than the bar", {0, 0, 10, 1, 30, 10, 0}, 30 - 1},
      {"a value of 0", {0, 0, 10, 1, 0, 10, 0}, -1},
      {"a negative value", {0, 0, 10, 1, -5, 10, 0}, -1},
      {"a maximum of 0", {0, 0, 10, 1, 5, 0, 0}, -1},
      {"unused", {-1, 0, 10, 1, 5, 10, 0}, -1},
      {"no overflow", {0, 0, 2000000000, 1, 2000000000, 2000000000, 0}, 2000000000 - 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const PixelRect r = FilledRect(c.bar);
    if (c.right < 0) {
      EXPECT_TRUE(r.empty());
    } else {
      EXPECT_EQ(r.left, c.bar.x);
      EXPECT_EQ(r.right, c.right);
      EXPECT_EQ(r.bottom, c.bar.y + c.bar.height - 1);
    }
  }
}

TEST(BarCommands, DrawAfterTheSpritesAndGoWithBarclear) {
  struct Case {
    const char* name;
    const char* body;
    uint32_t inside, past;  // pixels at (10, 10) and (50, 10)
  };
  const std::vector<Case> cases = {
      {"a bar", "bar 0,50,10,10,80,20,100,#ff0000\nprint 1", 0xFF0000, 0x203040},
      {"a colour in a string", "mov $1,\"#00ff00\"\nbar 0,50,10,10,80,20,100,$1\nprint 1", 0x00FF00,
       0x203040},
      {"barclear", "bar 0,50,10,10,80,20,100,#ff0000\nprint 1\nbarclear\nprint 1", 0x203040,
       0x203040},
      {"a bar past its maximum is wiped whole",
       "bar 0,80,10,10,10,20,10,#ff0000\nprint 1\nbarclear\nprint 1", 0x203040, 0x203040},
      {"a new bar in the slot",
       "bar 3,50,10,10,80,20,100,#ff0000\nprint 1\nbar 3,100,10,10,80,20,100,#0000ff\nprint 1",
       0x0000FF, 0x0000FF},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameDir game;
    game.Write("0.txt",
               ";mode320\n*define\ngame\n*start\nbg #203040,1\n" + std::string(c.body) + "\nend\n");
    PictureRun r = RunPictures(game);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(PixelAt(r.display, 10, 10), c.inside);
    EXPECT_EQ(PixelAt(r.display, 50, 10), c.past);
  }
}

TEST(BarCommands, ASaveKeepsTheBars) {
  GameDir game;
  game.Write("0.txt",
             ";mode320\n*define\nsetwindow "
             "10,200,10,2,10,10,0,2,0,0,0,#ffffff,0,190,319,239\ngame\n*start\n"
             "bg #203040,1\nbar 7,1,10,10,80,20,1,#ff00ff\n一\\\n二@\nif %300 == 1 goto "
             "*loaded\nsavegame 1\n"
             "barclear\n三\\\nmov %300,1\nloadgame 1\nend\n*loaded\nprint 1\nend\n");
  PictureRun r = RunPictures(game);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(PixelAt(r.scene, 60, 20), 0xFF00FFu);
}

INSTANTIATE_TEST_SUITE_P(BarArguments, ScriptErrors,
                         ::testing::Values(ErrorCase{"bar 100,1,0,0,1,1,1,#ffffff", "エラー",
                                                     "barの番号100は使えません（０～９９）。"},
                                           ErrorCase{"bar 0,1,0,0,1,1,1,\"red\"", "エラー",
                                                     "barの色は#rrggbbで指定します。"}));

}  // namespace
}  // namespace orivane::test
