// `sp_rgb_gradation`: the gradient over the key-coloured rows, the mask
// beside them, pictures without the key or with one key row, every size
// checked against the picture; the command on a sprite and on the text
// window's picture.
#include "graphics/sprite_gradation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine.h"
#include "support/engine_fixture.h"
#include "support/graphics_run.h"
#include "support/script_cases.h"

namespace orivane::test {
namespace {

constexpr uint32_t kKey = 0x0A141E;  // red 10, green 20, blue 30
constexpr uint32_t kOther = 0x777777;

// Colour 1 (255, 0, 90) at the top, colour 2 (0, 255, 30) at the bottom,
// the key (10, 20, 30), mask value 77.
const RgbGradation kGradation{255, 0, 90, 0, 255, 30, 10, 20, 30, 77};

uint32_t Get(const ImageSurface& s, int x, int y) {
  const uint8_t* p = s.RowFromTop(y) + x * 3;
  return uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
}

// A 24-bit picture whose rows from the top are given as 0xRRGGBB pixels.
ImageSurface Picture(int32_t mode, int32_t cells, const std::vector<std::vector<uint32_t>>& rows) {
  ImageSurface s;
  s.CreateBlank(static_cast<int32_t>(rows[0].size()), static_cast<int32_t>(rows.size()), 24);
  s.mode = mode;
  s.cells = cells;
  for (int y = 0; y < s.height; ++y)
    for (int x = 0; x < s.width; ++x) {
      uint8_t* p = s.RowFromTop(y) + x * 3;
      p[0] = rows[y][x] & 0xFF;
      p[1] = (rows[y][x] >> 8) & 0xFF;
      p[2] = (rows[y][x] >> 16) & 0xFF;
    }
  return s;
}

std::vector<std::vector<uint32_t>> Pixels(const ImageSurface& s) {
  std::vector<std::vector<uint32_t>> rows(s.height, std::vector<uint32_t>(s.width));
  for (int y = 0; y < s.height; ++y)
    for (int x = 0; x < s.width; ++x) rows[y][x] = Get(s, x, y);
  return rows;
}

TEST(RgbGradation, RecoloursTheKeyRowsAndSetsTheirMask) {
  constexpr uint32_t K = kKey, O = kOther, M = 0x4D4D4D;  // mask 77
  // Rows 1..3 hold the key: N = 3, the middle row half way, (c1 + c2) / 2.
  constexpr uint32_t kTop = 0xFF005A, kMiddle = 0x7F7F3C, kBottom = 0x00FF1E;
  struct Case {
    const char* name;
    int32_t mode, cells;
    std::vector<std::vector<uint32_t>> before, after;
  };
  const std::vector<Case> cases = {
      {"alpha: the mask one visible width to the right",
       kModeAlpha,
       1,
       {{O, O, O, O}, {K, O, O, O}, {O, K, O, K}, {K, K, O, O}, {O, O, O, O}},
       {{O, O, O, O}, {kTop, O, M, O}, {O, kMiddle, O, M}, {kBottom, kBottom, M, M}, {O, O, O, O}}},
      {"one key row takes colour 1",
       kModeAlpha,
       1,
       {{O, O, O, O}, {O, K, O, O}, {O, O, O, O}},
       {{O, O, O, O}, {O, kTop, O, M}, {O, O, O, O}}},
      {"no key: nothing changes",
       kModeAlpha,
       1,
       {{O, O, O, O}, {O, O, K, K}},  // the key only among the mask columns
       {{O, O, O, O}, {O, O, K, K}}},
      {"copy mode: no mask beyond the picture",
       kModeCopy,
       1,
       {{K, O}, {O, O}, {O, K}},
       {{kTop, O}, {O, O}, {O, kBottom}}},
      {"only the first cell counts",
       kModeCopy,
       2,
       {{O, O, K, O}, {O, K, O, K}},
       {{O, O, K, O}, {O, kTop, O, M}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ImageSurface s = Picture(c.mode, c.cells, c.before);
    EXPECT_EQ(ApplyRgbGradation(s, kGradation), c.before != c.after);
    EXPECT_EQ(Pixels(s), c.after);
  }
}

TEST(RgbGradation, LeavesPicturesItCannotRecolour) {
  ImageSurface empty;
  EXPECT_FALSE(ApplyRgbGradation(empty, kGradation));
  ImageSurface indexed;
  indexed.CreateBlank(4, 2, 8);
  indexed.mode = kModeCopy;
  RgbGradation black_key = kGradation;
  black_key.key_red = black_key.key_green = black_key.key_blue = 0;
  EXPECT_FALSE(ApplyRgbGradation(indexed, black_key));
  EXPECT_EQ(indexed.pixels, std::vector<uint8_t>(indexed.pixels.size(), 0));
  // More cells than columns: the first cell has no visible columns.
  ImageSurface narrow = Picture(kModeCopy, 4, {{kKey, kKey}});
  EXPECT_FALSE(ApplyRgbGradation(narrow, kGradation));
}

TEST(RgbGradationCommand, RecoloursASpriteThatIsShownNext) {
  GameDir game;
  // An alpha picture 2 wide and 4 tall, all opaque; the key in rows 1 and 3.
  game.WriteBytes("grad.bmp", MakeBmp24(4, 4, [](int x, int y) -> uint32_t {
                    if (x >= 2) return 0;
                    return (y == 1 || y == 3) ? kKey : kOther;
                  }));
  game.Write("0.txt",
             ";mode320\n*define\ngame\n*start\nbg #ffffff,1\nlsp 1,\":a;grad.bmp\",10,10\n"
             "sp_rgb_gradation 1,0,0,0,0,255,0,10,20,30,0\nprint 1\nend\n");
  PictureRun r = RunPictures(game);
  ASSERT_EQ(r.status, 0) << r.err;
  // N = 3 from row 1 to row 3: black at the top, green at the bottom; row 2
  // holds no key and keeps its colour.
  EXPECT_EQ(PixelAt(r.display, 10, 11), 0x000000u);
  EXPECT_EQ(PixelAt(r.display, 10, 12), kOther);
  EXPECT_EQ(PixelAt(r.display, 11, 13), 0x00FF00u);
}

TEST(RgbGradationCommand, RecoloursTheTextWindowPicture) {
  EngineFixture fx;
  Engine& e = fx.engine();
  e.text.frame_image = Picture(kModeCopy, 1, {{kOther, kKey}, {kKey, kOther}});
  e.graphics.dirty.Clear();
  fx.SetScript("-1,255,0,90,0,255,30,10,20,30,77");
  e.commands.Find("sp_rgb_gradation")->handler(e);
  EXPECT_EQ(Pixels(e.text.frame_image),
            (std::vector<std::vector<uint32_t>>{{kOther, 0xFF005A}, {0x00FF1E, kOther}}));
  const DirtyRect& d = e.graphics.dirty;
  EXPECT_EQ((std::vector<int>{d.left, d.top, d.right, d.bottom}),
            (std::vector<int>{0, 0, e.screen_width - 1, e.screen_height - 1}));
}

TEST(RgbGradationCommand, PassesOverAnUnusedSprite) {
  EngineFixture fx;
  Engine& e = fx.engine();
  e.graphics.dirty.Clear();
  fx.SetScript("5,255,0,90,0,255,30,10,20,30,77");
  e.commands.Find("sp_rgb_gradation")->handler(e);
  EXPECT_TRUE(e.graphics.dirty.IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(GradationArguments, ScriptErrors,
                         ::testing::Values(ErrorCase{
                             "sp_rgb_gradation 1000,0,0,0,0,0,0,0,0,0,0", "エラー",
                             "定義されていないスプライト1000を使おうとしました。"}));

}  // namespace
}  // namespace orivane::test
