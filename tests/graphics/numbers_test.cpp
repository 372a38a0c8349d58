// The numbers of `prnum`: the three characters shown, the ink shrunk from
// the triple-size text, the blend into the scene, the rectangles dirtied,
// `prnumclear`, and the numbers a save file keeps.
#include "graphics/numbers.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "support/engine_fixture.h"
#include "support/graphics_run.h"
#include "support/script_cases.h"
#include "text/fake_fonts.h"
#include "text/text_window_run.h"

namespace orivane::test {
namespace {

TEST(NumberText, IsThreeCharactersRightAligned) {
  const std::vector<std::pair<int32_t, std::string>> cases = {
      {0, "  0"},    {5, "  5"},  {42, " 42"},   {123, "123"},
      {1234, "123"}, {-5, " -5"}, {-100, "-10"}, {2147483647, "214"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(NumberText(value), text) << value;
}

// Glyphs of a 6 × 6 cell (a character 2 × 2 at three times the size) with
// ink at the given pixels; every other character blank.
FakeFonts PatternFonts(char32_t c, const std::map<std::pair<int, int>, uint8_t>& ink) {
  FakeFonts fonts;
  fonts.draw = [c, ink](const GlyphRequest& r) {
    GlyphBitmap g = FakeFonts::Blank(r.width, r.height);
    if (r.code_point == c)
      for (const auto& [at, value] : ink)
        g.coverage[static_cast<size_t>(at.second) * g.width + at.first] = value;
    return g;
  };
  return fonts;
}

// The digit 7 of "  7": ink in each quarter of its 6 × 6 cell, so that each
// of its four output pixels weighs a different part of the 3 × 3 block.
const std::map<std::pair<int, int>, uint8_t> kSevenInk = {
    {{1, 1}, 255},                 // the centre (weight 4) of output (4, 0)
    {{3, 0}, 160}, {{4, 1}, 100},  // a corner (1) and the centre (4) of output (5, 0)
    {{2, 5}, 200},                 // a corner (1) of output (4, 1)
    {{5, 5}, 255}, {{5, 4}, 255},  // a corner (1) and an edge (2) of output (5, 1)
};

NumberDisplay Seven(int x, int y, uint32_t color) {
  NumberDisplay n;
  n.x = x;
  n.y = y;
  n.char_width = 2;
  n.char_height = 2;
  n.value = 7;
  n.color = color;
  return n;
}

TEST(NumberInk, IsTheWeightedBlockOfTheTripleSizeText) {
  FakeFonts fonts = PatternFonts('7', kSevenInk);
  const CoverageGrid ink = RenderNumberCoverage(fonts, Seven(0, 0, 0));
  ASSERT_EQ(ink.width, 6);
  ASSERT_EQ(ink.height, 2);
  const std::vector<uint8_t> expected = {
      0, 0, 0, 0, 4 * 255 / 16, (160 + 4 * 100) / 16,  // row 0
      0, 0, 0, 0, 200 / 16,     (255 + 2 * 255) / 16,  // row 1
  };
  EXPECT_EQ(ink.pixels, expected);
  // Each character at three times the size, in the engine's Gothic face.
  ASSERT_EQ(fonts.requests.size(), 3u);
  for (const RecordedRequest& r : fonts.requests) {
    EXPECT_EQ(r.face, kGothicFaceUtf8);
    EXPECT_EQ(r.width, 6);
    EXPECT_EQ(r.height, 6);
    EXPECT_EQ(r.weight, 400);
  }
  EXPECT_EQ(fonts.requests[2].code_point, U'7');
}

TEST(NumberInk, OfAFourDigitValueIsItsFirstThreeCharacters) {
  FakeFonts fonts;
  NumberDisplay n = Seven(0, 0, 0);
  n.value = 1234;
  RenderNumberCoverage(fonts, n);
  std::u32string asked;
  for (const RecordedRequest& r : fonts.requests) asked.push_back(r.code_point);
  EXPECT_EQ(asked, U"123");
}

TEST(NumberInk, OfSizesTheFontsRefuseIsNothing) {
  for (auto [w, h] : {std::pair{0, 4}, {4, 0}, {-3, 4}, {kMaxGlyphRequestSide, 4}, {4, 400}}) {
    FakeFonts fonts;
    NumberDisplay n = Seven(0, 0, 0);
    n.char_width = w;
    n.char_height = h;
    EXPECT_TRUE(RenderNumberCoverage(fonts, n).empty()) << w << "x" << h;
    EXPECT_TRUE(fonts.requests.empty());
  }
}

TEST(DrawNumbers, BlendsTheColourByTheInkAndRendersOnce) {
  FakeFonts fonts = PatternFonts('7', kSevenInk);
  const MulTable mul;
  DisplaySurface scene;
  scene.Resize(16, 8);
  constexpr uint32_t kBackground = 0x204080, kColour = 0xFFC010;
  FillRect(PixelView(scene), PixelRect{0, 0, 15, 7}, kBackground);
  NumberTable numbers;
  numbers[9] = Seven(3, 2, kColour);
  DrawNumbers(fonts, numbers, mul, PixelView(scene), PixelRect{0, 0, 15, 7});

  auto blend = [](int c) {
    uint32_t rgb = 0;
    for (int shift : {16, 8, 0}) {
      const int d = (kBackground >> shift) & 0xFF, k = (kColour >> shift) & 0xFF;
      rgb |= static_cast<uint32_t>(std::min(255, Mul(d, 255 - c) + Mul(k, c))) << shift;
    }
    return rgb;
  };
  EXPECT_EQ(PixelAt(scene, 3 + 4, 2 + 0), blend(63));
  EXPECT_EQ(PixelAt(scene, 3 + 5, 2 + 0), blend(35));
  EXPECT_EQ(PixelAt(scene, 3 + 4, 2 + 1), blend(12));
  EXPECT_EQ(PixelAt(scene, 3 + 5, 2 + 1), blend(47));
  EXPECT_NE(blend(63), kBackground);
  // No ink, or outside the number: the scene as it was.
  EXPECT_EQ(PixelAt(scene, 3 + 1, 2 + 1), kBackground);
  EXPECT_EQ(PixelAt(scene, 3 + 6, 2 + 0), kBackground);

  // Composing again draws from the kept ink: no glyph is asked for.
  const size_t asked = fonts.requests.size();
  FillRect(PixelView(scene), PixelRect{0, 0, 15, 7}, kBackground);
  // Only the area is drawn: the left column of the digit is outside it.
  DrawNumbers(fonts, numbers, mul, PixelView(scene), PixelRect{8, 0, 15, 7});
  EXPECT_EQ(fonts.requests.size(), asked);
  EXPECT_EQ(PixelAt(scene, 3 + 4, 2 + 0), kBackground);
  EXPECT_EQ(PixelAt(scene, 3 + 5, 2 + 0), blend(35));
}

TEST(DrawNumbers, PartlyOffTheSceneDrawsItsVisiblePart) {
  FakeFonts fonts = PatternFonts('7', kSevenInk);
  DisplaySurface scene;
  scene.Resize(8, 4);
  NumberTable numbers;
  numbers[0] = Seven(3, 3, 0xFFFFFF);  // columns 3..8, rows 3..4 of an 8 × 4 scene
  DrawNumbers(fonts, numbers, MulTable(), PixelView(scene), PixelRect{0, 0, 7, 3});
  EXPECT_EQ(PixelAt(scene, 7, 3), 0x3F3F3Fu);  // ink 63 of white over black
  EXPECT_EQ(PixelAt(scene, 6, 3), 0u);
}

TEST(NumberCommands, DirtyTheirOldAndNewRectangles) {
  EngineFixture fx;
  Engine& e = fx.engine();
  e.graphics.dirty.Clear();
  auto run = [&](const char* word, const char* args) {
    fx.SetScript(args);
    e.commands.Find(word)->handler(e);
  };
  auto dirty = [&] {
    const DirtyRect& d = e.graphics.dirty;
    return std::vector<int>{d.left, d.top, d.right, d.bottom};
  };
  run("prnum", "4,123,10,20,8,16,#ff0000");
  EXPECT_EQ(dirty(), (std::vector<int>{10, 20, 10 + 3 * 8, 20 + 16}));
  EXPECT_EQ(e.graphics.numbers[4].value, 123);
  EXPECT_EQ(e.graphics.numbers[4].color, 0xFF0000u);

  e.graphics.dirty.Clear();
  run("prnum", "4,5,100,50,4,6,#00ff00");  // the old place and the new
  EXPECT_EQ(dirty(), (std::vector<int>{10, 20, 100 + 3 * 4, 50 + 6}));

  e.graphics.dirty.Clear();
  run("prnum", "7,5,200,150,2,2,#0000ff");
  e.graphics.dirty.Clear();
  run("prnumclear", "");
  EXPECT_EQ(dirty(), (std::vector<int>{100, 50, 200 + 3 * 2, 150 + 2}));
  for (const NumberDisplay& n : e.graphics.numbers) EXPECT_LT(n.x, 0);
}

// Digits solid, everything else blank: a number shows as solid cells where
// its digits are.
void DrawDigitsSolid(FakeFonts& fonts) {
  fonts.draw = [](const GlyphRequest& r) {
    GlyphBitmap g = FakeFonts::Blank(r.width, r.height);
    if (r.code_point >= U'0' && r.code_point <= U'9')
      std::fill(g.coverage.begin(), g.coverage.end(), 255);
    return g;
  };
}

TEST(NumberCommands, DrawOverTheSceneAndGoWithPrnumclear) {
  struct Case {
    const char* name;
    const char* body;
    uint32_t first, third;  // the first and third character cells
  };
  const std::vector<Case> cases = {
      {"one digit", "prnum 0,5,10,20,4,8,#ff0000\nprint 1", 0x203040, 0xFF0000},
      {"four digits", "prnum 0,1234,10,20,4,8,#ff0000\nprint 1", 0xFF0000, 0xFF0000},
      {"a colour in a string", "mov $1,\"#00ff00\"\nprnum 0,5,10,20,4,8,$1\nprint 1", 0x203040,
       0x00FF00},
      {"over a bar", "bar 0,1,10,20,12,8,1,#0000ff\nprnum 0,5,10,20,4,8,#ff0000\nprint 1", 0x0000FF,
       0xFF0000},
      {"prnumclear", "prnum 0,123,10,20,4,8,#ff0000\nprint 1\nprnumclear\nprint 1", 0x203040,
       0x203040},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeFonts fonts;
    DrawDigitsSolid(fonts);
    GameDir game;
    game.Write("0.txt", SmallGame("", std::string("bg #203040,1\n") + c.body));
    TextRun r = RunTextGame(game, {}, {}, RunWith(&fonts));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(PixelAt(r.display, 10 + 1, 20 + 4), c.first);
    EXPECT_EQ(PixelAt(r.display, 10 + 2 * 4 + 1, 20 + 4), c.third);
  }
}

TEST(NumberCommands, ASaveKeepsTheNumbers) {
  FakeFonts fonts;
  DrawDigitsSolid(fonts);
  GameDir game;
  game.Write("0.txt",
             SmallGame("setwindow 10,200,10,2,10,10,0,2,0,0,0,#ffffff,0,190,319,239\n",
                       "bg #203040,1\nprnum 7,42,30,40,5,9,#ff00ff\n一\\\n二@\n"
                       "if %300 == 1 goto *loaded\nsavegame 1\nprnumclear\n三\\\nmov %300,1\n"
                       "loadgame 1\nend\n*loaded\nprint 1"));
  NumberDisplay kept;
  TextRun r = RunTextGame(
      game, [&](Engine& e) { kept = e.graphics.numbers[7]; }, {}, RunWith(&fonts));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ((std::vector<int64_t>{kept.x, kept.y, kept.char_width, kept.char_height, kept.value,
                                  kept.color}),
            (std::vector<int64_t>{30, 40, 5, 9, 42, 0xFF00FF}));
  EXPECT_EQ(PixelAt(r.display, 30 + 1, 40 + 4), 0x203040u);      // the blank first cell
  EXPECT_EQ(PixelAt(r.display, 30 + 5 + 1, 40 + 4), 0xFF00FFu);  // the 4
}

INSTANTIATE_TEST_SUITE_P(NumberArguments, ScriptErrors,
                         ::testing::Values(ErrorCase{"prnum 100,1,0,0,1,1,#ffffff", "エラー",
                                                     "prnumの番号100は使えません（０～９９）。"},
                                           ErrorCase{"prnum -1,1,0,0,1,1,#ffffff", "エラー",
                                                     "prnumの番号-1は使えません（０～９９）。"},
                                           ErrorCase{"prnum 0,1,0,0,1,1,\"red\"", "エラー",
                                                     "prnumの色は#rrggbbで指定します。"}));

}  // namespace
}  // namespace orivane::test
