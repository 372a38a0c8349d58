// Text buttons: "<" … ">" in story text become buttons over the cells their
// text takes, in the link colours, answered by `textbtnwait` and its kin.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fake_fonts.h"
#include "support/game_fixture.h"
#include "support/script_cases.h"
#include "support/scripted_run.h"
#include "text_window_run.h"

namespace orivane::test {
namespace {

// The default window: cells 26 pixels wide from x 21, lines 28 apart from y 16.
// 「<はい>」「<いいえ>」: button 1 over columns 1–2 (x 47–98), button 2 over
// columns 5–7 (x 151–228).
constexpr const char* kLine = "textspeed 0\n「<はい>」「<いいえ>」\n";

struct PickCase {
  const char* wait;
  const char* input;
  const char* out;
};

TEST(TextButtons, AClickOnTheirTextChoosesThem) {
  const std::vector<PickCase> cases = {
      {"textbtnwait", "click 60 20\n", "１"},
      {"textbtnwait", "click 200 30\n", "２"},
      {"textbtnwait", "click 5 300\n", "０"},
      {"tbtnwait", "click 160 20\n", "２"},
      {"selectbtnwait", "rclick 60 20\n", "－１"},
  };
  for (const PickCase& c : cases) {
    GameDir game;
    game.Write("0.txt", std::string("*define\ngame\n*start\n") + kLine + c.wait + " %0\n%0\ngettextbtnstr $1,2\n$1\nend\n");
    RunResult r = RunScripted(game, c.input);
    EXPECT_EQ(r.status, 0) << c.wait << " " << c.input << r.err;
    EXPECT_EQ(r.out, std::string("「はい」「いいえ」\n") + c.out + "\n" + (std::string(c.wait) == "tbtnwait" ? "\n" : "いいえ\n"))
        << c.wait << " " << c.input;
  }
}

TEST(TextButtons, NumbersComeFromTheCounterOrTheirDigits) {
  GameDir game;
  game.Write("0.txt",
             "*define\ngame\n*start\ntextspeed 0\ntextbtnstart 5\n<甲><7乙><丙>\nselectbtnwait %0\n%0\nend\n");
  std::vector<int32_t> numbers;
  RunResult r = RunScripted(game, "click 80 20\n", [&](Engine& e) {
    for (const TextButton& b : e.buttons.text_buttons) numbers.push_back(b.number);
  });
  EXPECT_EQ(r.status, 0) << r.err;
  // Digits set the counter without moving it on: the next automatic button shares the number.
  EXPECT_EQ(numbers, (std::vector<int32_t>{5, 7, 7}));
  EXPECT_EQ(r.out, "甲乙丙\n７\n");
}

// Under the pointer a text button takes the active link colour; elsewhere
// its glyphs are in the normal link colour, the other text in its own.
TEST(TextButtons, ThePointerLightsTheButtonUp) {
  GameDir game;
  game.Write("0.txt", SmallGame("linkcolor #0000ff,#00ff00\n", "textspeed 0\n文<字>\ntextbtnwait %0"));
  FakeFonts fonts;
  FakeFonts::DrawSolid(fonts);
  std::vector<uint32_t> colours;
  TextRun r = RunTextGame(
      game,
      [&](Engine& e) {
        for (int x : {30, 55}) {
          const uint8_t* c = e.text.layer.ColourAt(x, 25);
          colours.push_back(uint32_t{c[2]} << 16 | uint32_t{c[1]} << 8 | c[0]);
        }
      },
      {}, RunWith(&fonts, "move 60 25\n"));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(colours, (std::vector<uint32_t>{0xFFFFFF, 0x00FF00}));
}

INSTANTIATE_TEST_SUITE_P(
    TextButtonCommands, ScriptErrors,
    ::testing::Values(ErrorCase{"linkcolor 1,#ffffff", "エラー", "linkcolor命令の第一引数はリンク部分の#カラー指定です。"},
                      ErrorCase{"linkcolor #ffffff,2", "エラー", "linkcolor命令の第ニ引数はアクティブ時の#カラー指定です。"},
                      ErrorCase{"gettextbtnstr %1,1", "構文エラー", "gettextbtnstrの第１引数は文字変数です。"}));

}  // namespace
}  // namespace orivane::test
