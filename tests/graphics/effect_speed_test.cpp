// Transitions while skipping and with `effectcut`, and the blank picture a
// missing file gives while a saved game is restored, on an engine driven
// directly.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "engine.h"
#include "graphics/compose.h"
#include "graphics/effects.h"
#include "graphics/image_tag.h"
#include "platform/headless/headless_platform.h"

namespace orivane::test {
namespace {

class DirectEngine : public ::testing::Test {
 protected:
  DirectEngine() : platform_(out_, err_), engine_(std::make_unique<Engine>(platform_)) {
    engine_->screen_width = 64;
    engine_->screen_height = 48;
    engine_->display.Resize(64, 48);
    StartGraphics(*engine_);
  }
  Engine& engine() { return *engine_; }
  uint32_t Now() { return platform_.Ticks(); }

 private:
  std::ostringstream out_, err_;
  HeadlessPlatform platform_;
  std::unique_ptr<Engine> engine_;
};

TEST_F(DirectEngine, SkippingShortensOrCutsTransitions) {
  struct Case {
    bool skipping;
    bool cut;
    int type;
    int duration;
    uint32_t ticks;
  } cases[] = {
      {false, false, 2, 1600, 1600 + 30},
      {true, false, 2, 1600, 1600 / 8 / 16 * 16 + 30},  // eight times faster: 16 frames of 12 ms
      {true, true, 2, 1600, 0},               // instant, without the pause
      {false, true, 2, 1600, 1600 + 30},      // effectcut alone changes nothing
  };
  for (const Case& c : cases) {
    Engine& e = engine();
    e.read_flags.skip_mode = c.skipping;
    e.graphics.effects.cut = c.cut;
    const uint32_t start = Now();
    RunTransition(e, c.type, c.duration, {}, nullptr);
    EXPECT_EQ(Now() - start, c.ticks) << c.skipping << c.cut;
  }
}

TEST_F(DirectEngine, MissingPictureWhileRestoringIsABlankTwoByTwo) {
  Engine& e = engine();
  e.graphics.missing_image_tolerance = true;
  ImageSurface s;
  LoadImageTag(e, s, ":a;not-there.bmp");
  EXPECT_TRUE(s.loaded);
  EXPECT_EQ(s.width, 2);
  EXPECT_EQ(s.height, 2);
  EXPECT_EQ(s.bit_count, 24);
}

TEST_F(DirectEngine, DirtyRectangleGrowsAndClamps) {
  DirtyRect d;
  d.Add(10, 20, 30, 40, 64, 48);
  d.Add(-5, 25, 100, 35, 64, 48);
  EXPECT_EQ(d.left, 0);
  EXPECT_EQ(d.top, 20);
  EXPECT_EQ(d.right, 63);
  EXPECT_EQ(d.bottom, 40);
  d.Clear();
  EXPECT_TRUE(d.IsEmpty());
}

}  // namespace
}  // namespace orivane::test
