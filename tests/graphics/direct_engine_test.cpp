// An engine driven directly: composition limited to the dirty rectangle,
// background placement, transitions while skipping and with `effectcut`,
// and the blank picture a missing file gives while a saved game is restored.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "engine.h"
#include "graphics/animation.h"
#include "graphics/compose.h"
#include "graphics/effects.h"
#include "graphics/image_tag.h"
#include "platform/headless/headless_platform.h"
#include "support/graphics_run.h"

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
      {true, true, 2, 1600, 0},                         // instant, without the pause
      {false, true, 2, 1600, 1600 + 30},                // effectcut alone changes nothing
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

TEST_F(DirectEngine, CompositionTouchesOnlyTheDirtyArea) {
  Engine& e = engine();
  FillRect(PixelView(e.graphics.scene), PixelRect{0, 0, 63, 47}, 0xABCDEF);
  e.graphics.background.Fill(PixelRect{0, 0, 63, 47}, 0x112233);
  const PixelRect dirty{10, 10, 20, 30};
  ComposeScene(e, &dirty);
  // Sprite rectangles reach one pixel past the picture, so the area drawn
  // is left..right+1 by top..bottom+1.
  EXPECT_EQ(PixelAt(e.graphics.scene, 10, 10), 0x112233u);
  EXPECT_EQ(PixelAt(e.graphics.scene, 21, 31), 0x112233u);
  EXPECT_EQ(PixelAt(e.graphics.scene, 22, 20), 0xABCDEFu);
  EXPECT_EQ(PixelAt(e.graphics.scene, 15, 9), 0xABCDEFu);
  EXPECT_EQ(PixelAt(e.graphics.scene, 9, 15), 0xABCDEFu);
}

TEST_F(DirectEngine, BackgroundPlacementPutsTheBackgroundAtItsOffset) {
  Engine& e = engine();
  Graphics& g = e.graphics;
  g.bgalia_on = true;
  g.bgalia_x = 8;
  g.bgalia_y = 4;
  g.bgalia_w = 16;
  g.bgalia_h = 10;
  g.background.Reset();
  g.background.CreateBlank(16, 10, 24);
  g.background.Fill(PixelRect{0, 0, 15, 9}, 0x00FF00);
  g.background.Fill(PixelRect{0, 0, 0, 0}, 0xFF0000);
  ComposeScene(e, nullptr);
  EXPECT_EQ(PixelAt(g.scene, 8, 4), 0xFF0000u);
  EXPECT_EQ(PixelAt(g.scene, 23, 13), 0x00FF00u);
  EXPECT_EQ(PixelAt(g.scene, 24, 13), 0u);
  EXPECT_EQ(PixelAt(g.scene, 7, 4), 0u);
  EXPECT_EQ(PixelAt(g.scene, 8, 14), 0u);
}

TEST_F(DirectEngine, HooksDrawInTheirLayers) {
  Engine& e = engine();
  Graphics& g = e.graphics;
  ImageSurface pic;
  pic.CreateBlank(64, 48, 24);
  pic.Fill(PixelRect{0, 0, 63, 47}, 0x0000FF);
  g.sprites[0].surface = pic;
  g.sprites[0].tag = "front";
  g.sprites[0].visible = true;
  // The text window is drawn over everything, or behind the front sprites
  // with `windowback`.
  g.hooks.text_window_showing = [](Engine&) { return true; };
  g.hooks.draw_text_window = [](Engine& en, PixelRect) {
    FillRect(PixelView(en.graphics.scene), PixelRect{0, 0, 0, 0}, 0xFFFFFF);
  };
  ComposeScene(e, nullptr);
  EXPECT_EQ(PixelAt(g.scene, 0, 0), 0xFFFFFFu);
  g.window_back = true;
  ComposeScene(e, nullptr);
  EXPECT_EQ(PixelAt(g.scene, 0, 0), 0x0000FFu);
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

namespace orivane::test {
namespace {

TEST_F(DirectEngine, AnimationDeadlineAndStep) {
  Engine& e = engine();
  EXPECT_FALSE(NextAnimationDeadline(e).has_value());
  SpriteSlot& slot = e.graphics.sprites[3];
  slot.surface.CreateBlank(6, 2, 24);
  slot.surface.Fill(PixelRect{2, 0, 3, 1}, 0x00FF00);  // cell 1 is green
  slot.surface.cells = 3;
  slot.surface.interval = 100;
  slot.tag = "anim";
  slot.visible = true;
  ASSERT_EQ(NextAnimationDeadline(e), 101u);
  e.platform.WaitUntil(*NextAnimationDeadline(e));
  EXPECT_TRUE(StepAnimation(e));
  EXPECT_EQ(slot.surface.cell, 1);
  // The change was composed and shown at once.
  EXPECT_EQ(PixelAt(e.display, 0, 0), 0x00FF00u);
  EXPECT_EQ(NextAnimationDeadline(e), 101u + 101u);
  slot.visible = false;
  EXPECT_FALSE(NextAnimationDeadline(e).has_value());
}

}  // namespace
}  // namespace orivane::test

namespace orivane::test {
namespace {

TEST_F(DirectEngine, TextPictureIsLaidOutForTheTextSubsystem) {
  Engine& e = engine();
  e.vars.SetStr(5, "AB");
  e.text.shadow = 0;  // no room for a shadow: the cells are the text alone
  // The hook counts its calls in variable 0 and keeps the colour count in 1.
  e.graphics.hooks.render_text_picture = [](Engine& en, ImageSurface&, const ParsedTag& tag,
                                            const TextPictureLayout&) {
    en.vars.SetNum(0, en.vars.Num(0) + 1);
    en.vars.SetNum(1, static_cast<int32_t>(tag.text_colors.size()));
  };
  ImageSurface s;
  LoadImageTag(e, s, ":s/24,24,0;#ffffff#ffff00$5");
  EXPECT_EQ(e.vars.Num(0), 1);
  EXPECT_EQ(e.vars.Num(1), 2);
  EXPECT_EQ(s.CellWidth(), 24);
  EXPECT_TRUE(s.is_text);
  EXPECT_EQ(s.mode, kModeAlpha);
  EXPECT_EQ(s.cells, 2);
  EXPECT_EQ(s.width, 2 * 2 * 24);  // each cell is the text and its mask
  EXPECT_EQ(s.height, 24);
  EXPECT_EQ(s.interval, kNoAnimation);
  EXPECT_EQ(s.loop_mode, 3);
  // Until glyphs are drawn the masks are clear: the picture changes nothing.
  EXPECT_EQ(s.RowFromTop(5)[(24 + 3) * 3], 255);
  EXPECT_EQ(s.RowFromTop(5)[3 * 3], 0);
  // A pitch below zero narrows the advance; the width is made up at the end.
  ImageSurface narrow;
  LoadImageTag(e, narrow, ":s/20,20,-4;#ff0000ABCD");
  EXPECT_EQ(narrow.CellWidth(), 4 * 16 / 2 + (20 - 16));
  EXPECT_EQ(e.vars.Num(0), 2);
}

}  // namespace
}  // namespace orivane::test
