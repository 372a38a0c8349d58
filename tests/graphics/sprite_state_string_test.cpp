// Sprite state strings: the grammar (steps read, strings refused), carrying
// the steps out on the sprite table with the dirty rectangle they leave, the
// sound hand-over, and `spstr` in a game with its error reports.
#include "graphics/sprite_state_string.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "engine.h"
#include "graphics/graphics_state.h"
#include "platform/headless/headless_platform.h"
#include "script/general_test_support.h"
#include "support/graphics_run.h"
#include "support/script_cases.h"

namespace orivane::test {
namespace {

// ---- grammar ------------------------------------------------------------------

SpriteStateStep Hide(int sprite) {
  SpriteStateStep s;
  s.op = SpriteStateOp::kHide;
  s.sprite = sprite;
  return s;
}
SpriteStateStep Show(int sprite, int cell = -1) {
  SpriteStateStep s;
  s.op = SpriteStateOp::kShow;
  s.sprite = sprite;
  s.cell = cell;
  return s;
}
SpriteStateStep Move(int sprite, int x, int y) {
  SpriteStateStep s;
  s.op = SpriteStateOp::kMove;
  s.sprite = sprite;
  s.x = x;
  s.y = y;
  return s;
}
SpriteStateStep Sound(int channel, const char* name) {
  SpriteStateStep s;
  s.op = SpriteStateOp::kSound;
  s.channel = channel;
  s.sound = name;
  return s;
}

std::string Describe(const SpriteStateStep& s) {
  const char* letters = "CPMS";
  return std::string(1, letters[static_cast<int>(s.op)]) + std::to_string(s.sprite) + "/" +
         std::to_string(s.cell) + "/" + std::to_string(s.x) + "," + std::to_string(s.y) + "/" +
         std::to_string(s.channel) + "," + s.sound;
}
std::vector<std::string> Describe(const std::vector<SpriteStateStep>& steps) {
  std::vector<std::string> out;
  for (const SpriteStateStep& s : steps) out.push_back(Describe(s));
  return out;
}

TEST(SpriteStateGrammar, ReadsEveryKindOfStep) {
  struct Case {
    const char* text;
    std::vector<SpriteStateStep> steps;
  } cases[] = {
      {"", {}},
      {" \t ", {}},
      {"C5", {Hide(5)}},
      {"C999", {Hide(999)}},
      {"P5", {Show(5)}},
      {"P5,2", {Show(5, 2)}},
      {"P0,0", {Show(0, 0)}},
      {"M7,100,20", {Move(7, 100, 20)}},
      {"S2,click.wav", {Sound(2, "click.wav")}},
      {"S2,se\\a b.wav,C3", {Sound(2, "se\\a b.wav"), Hide(3)}},
      {"C1P2,1 C3\tM4,5,6", {Hide(1), Show(2, 1), Hide(3), Move(4, 5, 6)}},
      {"P10C11C12", {Show(10), Hide(11), Hide(12)}},
      {"C007", {Hide(7)}},
  };
  for (const Case& c : cases) {
    const SpriteStateParse p = ParseSpriteStateString(c.text);
    EXPECT_EQ(p.error, SpriteStateError::kNone) << c.text;
    EXPECT_EQ(Describe(p.steps), Describe(c.steps)) << c.text;
  }
}

TEST(SpriteStateGrammar, RefusesWholeStringsThatAreWrong) {
  const char* bad[] = {
      "X1", "c1",   "C",     "C-1",     "C+1",     "C1000", "P",  "P1,", "P1,C2",   "P1;",  ",C1",
      "M1", "M1,2", "M1,2,", "M1 ,2,3", "M1,-2,3", "S",     "S1", "S1,", "S,a.wav", "C1 X", "C1C",
  };
  for (const char* text : bad) {
    const SpriteStateParse p = ParseSpriteStateString(text);
    EXPECT_EQ(p.error, SpriteStateError::kMalformed) << text;
    EXPECT_TRUE(p.steps.empty()) << text;  // nothing of a wrong string is carried out
  }
}

TEST(SpriteStateGrammar, NumbersTakeAtMostEighteenDigits) {
  const SpriteStateParse ok = ParseSpriteStateString("P1,000000000000000007");
  EXPECT_EQ(ok.error, SpriteStateError::kNone);
  EXPECT_EQ(Describe(ok.steps), Describe(std::vector<SpriteStateStep>{Show(1, 7)}));
  const SpriteStateParse long_one = ParseSpriteStateString("P1,12345678901234567890");
  EXPECT_EQ(long_one.error, SpriteStateError::kNumberTooLong);
  EXPECT_EQ(long_one.long_digits, "1234567890123456789");
}

// ---- carrying the steps out ------------------------------------------------------

// The rectangle a 10 × 8 sprite at (x, y) dirties.
DirtyRect SpriteRect(int x, int y) {
  return DirtyRect{x, y, x + 11, y + 9};
}

// An engine whose sprite table the tests fill directly.
class StateStringEngine {
 public:
  StateStringEngine() : platform_(out_, err_), engine_(std::make_unique<Engine>(platform_)) {
    Engine& e = *engine_;
    e.screen_width = 320;
    e.screen_height = 240;
    StartGraphics(e);
    // Sprites 1..3: 10 × 8 cells, three of them, at (10 k, 20 k).
    for (int k = 1; k <= 3; ++k) {
      SpriteSlot& s = e.graphics.sprites[k];
      s.tag = "cells" + std::to_string(k);
      s.surface.CreateBlank(30, 8, 24);
      s.surface.cells = 3;
      s.x = 10 * k;
      s.y = 20 * k;
      s.visible = k != 2;  // sprite 2 is hidden
    }
    e.graphics.dirty.Clear();
  }
  Engine& engine() { return *engine_; }

 private:
  std::ostringstream out_, err_;
  HeadlessPlatform platform_;
  std::unique_ptr<Engine> engine_;
};

TEST(SpriteStateSteps, ChangeTheSpritesAndDirtyOnlyWhatChanged) {
  struct Case {
    const char* text;
    bool visible[4];
    int cell[4];
    DirtyRect dirty;  // all zero: nothing dirtied
  } cases[] = {
      {"C1", {false, false, false, true}, {0, 0, 0, 0}, SpriteRect(10, 20)},
      {"C2", {false, true, false, true}, {0, 0, 0, 0}, {}},  // already hidden
      {"P1", {false, true, false, true}, {0, 0, 0, 0}, {}},  // already shown, same cell
      {"P2", {false, true, true, true}, {0, 0, 0, 0}, SpriteRect(20, 40)},
      {"P3,2", {false, true, false, true}, {0, 0, 0, 2}, SpriteRect(30, 60)},
      {"P3,0", {false, true, false, true}, {0, 0, 0, 0}, {}},
      {"P0 C0", {false, true, false, true}, {0, 0, 0, 0}, {}},  // slot 0 is unused
      {"C1P2", {false, false, true, true}, {0, 0, 0, 0}, DirtyRect{10, 20, 20 + 11, 40 + 9}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    StateStringEngine fresh;
    Engine& e = fresh.engine();
    RunSpriteStateString(e, c.text);
    for (int k = 0; k <= 3; ++k) {
      EXPECT_EQ(e.graphics.sprites[k].visible, c.visible[k]) << k;
      EXPECT_EQ(e.graphics.sprites[k].surface.cell, c.cell[k]) << k;
    }
    const DirtyRect& d = e.graphics.dirty;
    EXPECT_EQ((std::vector<int>{d.left, d.top, d.right, d.bottom}),
              (std::vector<int>{c.dirty.left, c.dirty.top, c.dirty.right, c.dirty.bottom}));
  }
}

TEST(SpriteStateSteps, MoveDirtiesTheOldAndTheNewPlace) {
  StateStringEngine fixture;
  Engine& e = fixture.engine();
  RunSpriteStateString(e, "M1,200,100");
  EXPECT_EQ(e.graphics.sprites[1].x, 200);
  EXPECT_EQ(e.graphics.sprites[1].y, 100);
  const DirtyRect& d = e.graphics.dirty;
  EXPECT_EQ((std::vector<int>{d.left, d.top, d.right, d.bottom}),
            (std::vector<int>{10, 20, 200 + 11, 100 + 9}));
  // A hidden sprite moves without dirtying anything.
  e.graphics.dirty.Clear();
  RunSpriteStateString(e, "M2,50,50");
  EXPECT_EQ(e.graphics.sprites[2].x, 50);
  EXPECT_TRUE(e.graphics.dirty.IsEmpty());
}

TEST(SpriteStateSteps, SoundsGoToTheHookInOrder) {
  StateStringEngine fixture;
  Engine& e = fixture.engine();
  // Without a hook the sound is passed over and the other steps still run.
  e.graphics.hooks.play_state_sound = nullptr;
  RunSpriteStateString(e, "S1,a.wav,C1");
  EXPECT_FALSE(e.graphics.sprites[1].visible);
  // The hook writes "channel:name;" after string variable 0.
  e.graphics.hooks.play_state_sound = [](Engine& en, int32_t channel, const std::string& name) {
    en.vars.SetStr(0, en.vars.Str(0) + std::to_string(channel) + ":" + name + ";");
  };
  RunSpriteStateString(e, "S3,one.wav,P1S12,two.wav");
  EXPECT_EQ(e.vars.Str(0), "3:one.wav;12:two.wav;");
  EXPECT_TRUE(e.graphics.sprites[1].visible);
}

// ---- `spstr` in a game ----------------------------------------------------------------

TEST(Spstr, HidesAndShowsSpritesForTheNextEffect) {
  GameDir game;
  // Two cells: red, then green.
  game.WriteBytes("two.bmp",
                  MakeBmp24(4, 2, [](int x, int) { return x < 2 ? 0xFF0000u : 0x00FF00u; }));
  game.WriteBytes("blue.bmp", MakeBmp24(2, 2, [](int, int) { return 0x0000FFu; }));
  game.Write("0.txt",
             ";mode320\n*define\ngame\n*start\nbg black,1\n"
             "lsp 1,\":c;blue.bmp\",0,0\nlsph 2,\":c/2,0,3;two.bmp\",10,0\nprint 1\n"
             "spstr \"C1P2,1\"\nprint 1\nend\n");
  const PictureRun r = RunPictures(game);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(PixelAt(r.display, 0, 0), 0u);          // sprite 1 hidden
  EXPECT_EQ(PixelAt(r.display, 10, 0), 0x00FF00u);  // sprite 2 shown in cell 1
  EXPECT_EQ(PixelAt(r.display, 11, 1), 0x00FF00u);
}

TEST(Spstr, ChangesNothingOnScreenWithoutAnEffect) {
  GameDir game;
  game.WriteBytes("blue.bmp", MakeBmp24(2, 2, [](int, int) { return 0x0000FFu; }));
  game.Write("0.txt",
             ";mode320\n*define\ngame\n*start\nbg black,1\n"
             "lsp 1,\":c;blue.bmp\",0,0\nprint 1\nspstr \"C1\"\nend\n");
  const PictureRun r = RunPictures(game);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(PixelAt(r.display, 0, 0), 0x0000FFu);
}

INSTANTIATE_TEST_SUITE_P(
    SpstrErrors, ScriptErrors,
    ::testing::Values(ErrorCase{"spstr \"X1\"", "エラー", "拡張ボタン指定が間違っています：X1"},
                      ErrorCase{"spstr \"C1P\"", "エラー", "拡張ボタン指定が間違っています：C1P"},
                      ErrorCase{"spstr \"C1000\"", "エラー",
                                "拡張ボタン指定が間違っています：C1000"},
                      ErrorCase{"spstr \"P1,12345678901234567890\"", "構文エラー",
                                "数字が長すぎます。:1234567890123456789"}));

}  // namespace
}  // namespace orivane::test
