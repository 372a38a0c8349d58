// The window shakes and the flash: the offsets of each frame and their times
// on the engine clock, the window back in place at the end, a screenshot taken
// mid-shake, and the white screen `flushout` leaves.
#include "graphics/screen_shake.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "support/game_fixture.h"
#include "support/graphics_run.h"

namespace orivane::test {
namespace {

struct ShownFrame {
  int dx = 0, dy = 0;
  uint32_t ticks = 0;
};

// How far a white picture was moved in a frame: the width of the black strip
// at the left (positive) or the right (negative), and at the top or bottom.
ShownFrame OffsetOf(const DisplaySurface& s, uint32_t ticks) {
  ShownFrame f;
  f.ticks = ticks;
  const int mid_y = s.height / 2, mid_x = s.width / 2;
  while (f.dx < s.width && PixelAt(s, f.dx, mid_y) == 0) ++f.dx;
  if (f.dx == 0)
    while (-f.dx < s.width && PixelAt(s, s.width - 1 + f.dx, mid_y) == 0) --f.dx;
  while (f.dy < s.height && PixelAt(s, mid_x, f.dy) == 0) ++f.dy;
  if (f.dy == 0)
    while (-f.dy < s.height && PixelAt(s, mid_x, s.height - 1 + f.dy) == 0) --f.dy;
  return f;
}

// Runs `body` on a white 320×240 screen and collects the frames it shows.
std::vector<ShownFrame> ShakeFrames(const std::string& body, PictureRun* run = nullptr) {
  GameDir game;
  game.Write("0.txt", ";mode320\n*define\ngame\n*start\nbg white,1\n" + body + "\nend\n");
  std::vector<ShownFrame> frames;
  PictureRun r = RunPictures(game, [&](const DisplaySurface& s, uint32_t ticks) {
    frames.push_back(OffsetOf(s, ticks));
  });
  EXPECT_EQ(r.status, 0) << r.err;
  if (run) *run = r;
  // Up to the white background's own frame, the window was not shaking yet.
  size_t background = 0;
  while (background < frames.size() && (frames[background].dx != 0 || frames[background].dy != 0)) ++background;
  frames.erase(frames.begin(), frames.begin() + static_cast<std::ptrdiff_t>(std::min(frames.size(), background + 1)));
  return frames;
}

TEST(ScreenShake, DampedOffsetsRunTriangleCyclesThatShrink) {
  const std::vector<int> one = DampedShakeOffsets(1);
  EXPECT_EQ(one, (std::vector<int>{0, 4, 8, 12, 16, 12, 8, 4, 0, -4, -8, -12, -16, -12, -8, -4}));
  const std::vector<int> two = DampedShakeOffsets(2);
  ASSERT_EQ(two.size(), 32u);
  EXPECT_EQ(two[4], 32);    // the first cycle's bound: 16 × 2, in steps of 8
  EXPECT_EQ(two[12], -32);
  EXPECT_EQ(two[20], 16);   // the second cycle's: 16 × 1
  EXPECT_TRUE(DampedShakeOffsets(0).empty());
  EXPECT_TRUE(DampedShakeOffsets(-3).empty());
}

TEST(ScreenShake, QuakeShowsTenRandomFramesOfMultiplesOfItsAmplitude) {
  const std::vector<ShownFrame> f = ShakeFrames("quake 5,1000");
  ASSERT_EQ(f.size(), 11u);  // ten frames, then the window back in place
  bool moved = false;
  for (size_t i = 0; i < 10; ++i) {
    SCOPED_TRACE(i);
    for (int d : {f[i].dx, f[i].dy}) {
      EXPECT_EQ(d % 5, 0);
      EXPECT_LE(std::abs(d), 15);
      moved |= d != 0;
    }
    if (i > 0) {
      EXPECT_EQ(f[i].ticks - f[i - 1].ticks, 100u);
    }
  }
  EXPECT_TRUE(moved);
  EXPECT_EQ(f[10].dx, 0);
  EXPECT_EQ(f[10].dy, 0);
  EXPECT_EQ(f[10].ticks - f[9].ticks, 100u);
}

TEST(ScreenShake, DampedShakesMoveAlongTheirAxisOnly) {
  struct Case {
    const char* body;
    bool horizontal;
    uint32_t frame_ms;
  };
  for (const Case& c : {Case{"quakex 1,320", true, 20}, Case{"quakey 1,320", false, 20},
                        Case{"quakex 1,5", true, 0}}) {
    SCOPED_TRACE(c.body);
    const std::vector<ShownFrame> f = ShakeFrames(c.body);
    ASSERT_EQ(f.size(), 17u);
    const std::vector<int> expected = DampedShakeOffsets(1);
    for (size_t i = 0; i < 16; ++i) {
      EXPECT_EQ(c.horizontal ? f[i].dx : f[i].dy, expected[i]) << i;
      EXPECT_EQ(c.horizontal ? f[i].dy : f[i].dx, 0) << i;
      if (i > 0) {
        EXPECT_EQ(f[i].ticks - f[i - 1].ticks, c.frame_ms) << i;
      }
    }
    EXPECT_EQ(f[16].dx, 0);
    EXPECT_EQ(f[16].dy, 0);
  }
}

TEST(ScreenShake, AnAmplitudeBeyondTheScreenShowsBlackFramesOnly) {
  PictureRun r;
  const std::vector<ShownFrame> f = ShakeFrames("quake 100000,200\nquakey 100000,1", &r);
  ASSERT_GE(f.size(), 3u);
  EXPECT_EQ(PixelAt(r.display, 5, 5), 0xFFFFFFu);  // the picture itself is untouched
}

TEST(ScreenShake, FlushoutWhitensThroughTwentyEightFramesAndLeavesAWhiteScreen) {
  GameDir game;
  game.Write("0.txt", ";mode320\n*define\ngame\n*start\nbg #204080,1\nflushout 270\nprint 1\nend\n");
  struct Shown {
    uint32_t centre, ticks;
  };
  std::vector<Shown> shown;
  PictureRun r = RunPictures(game, [&](const DisplaySurface& s, uint32_t ticks) {
    shown.push_back({PixelAt(s, 160, 120), ticks});
  });
  ASSERT_EQ(r.status, 0) << r.err;
  size_t blue = 0;
  while (blue < shown.size() && shown[blue].centre != 0x204080u) ++blue;
  ASSERT_LT(blue + 29, shown.size());
  // The first flash frame: the picture raised by 8 × 4, a quarter of it
  // (opacity 64) over the scene.
  EXPECT_EQ(shown[blue + 1].centre >> 16, static_cast<uint32_t>(Mul(0x40, 64) + Mul(0x20, 191)));
  for (size_t i = blue + 2; i <= blue + 28; ++i) {
    SCOPED_TRACE(i - blue);
    EXPECT_EQ(shown[i].ticks - shown[i - 1].ticks, 10u);
    EXPECT_GE(shown[i].centre >> 16, shown[i - 1].centre >> 16);  // whiter and whiter
  }
  EXPECT_EQ(shown[blue + 29].centre, 0xFFFFFFu);
  EXPECT_EQ(shown[blue + 29].ticks - shown[blue + 28].ticks, 10u);
  // What follows composes over a white background.
  EXPECT_EQ(PixelAt(r.display, 3, 3), 0xFFFFFFu);
  EXPECT_EQ(PixelAt(r.scene, 3, 3), 0xFFFFFFu);
}

// The program's screenshot is of the window: a run that ends in the middle
// of a shake shows the shifted picture with its black strip.
TEST(ScreenShake, AScreenshotMidShakeShowsTheShiftedWindow) {
  GameDir game;
  game.Write("0.txt", "*define\ngame\n*start\nbg white,1\nquakex 2,3200\nend\n");
  // Frames of 100 ms: at 450 ms the fifth frame shows the first cycle's bound, 32.
  RunResult r = RunProgram({"--headless", "--timeout", "450", "--screenshot", game.path() + "/shot.bmp", game.path()});
  ASSERT_EQ(r.status, 3) << r.err;
  constexpr int kW = 640, kH = 480;
  const Screenshot shot(game.ReadBytes("shot.bmp"), kW, kH);
  ASSERT_TRUE(shot.Complete());
  const auto level = [&](int x) { return shot.Pixel(x, kH / 2) & 0xFF; };  // the middle row
  EXPECT_EQ(level(0), 0u);
  EXPECT_EQ(level(31), 0u);
  EXPECT_EQ(level(32), 255u);
  EXPECT_EQ(level(kW - 1), 255u);
}

}  // namespace
}  // namespace orivane::test
