// What the window is handed: the whole picture the first time and when a
// movie is laid over it, afterwards only the rectangle that changed, while
// the kept picture always equals what was shown.
#include "graphics/window_picture.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "engine.h"
#include "graphics/surface_change.h"
#include "platform/headless/headless_platform.h"

namespace orivane {
namespace {

// The headless platform, noting how each picture was handed over.
class HandOverPlatform final : public HeadlessPlatform {
 public:
  HandOverPlatform(std::ostream& out, std::ostream& err) : HeadlessPlatform(out, err) {}
  void Present(const DisplaySurface&) override { ++whole; }
  void PresentChange(const DisplaySurface&, const SurfaceRect& changed) override { changes.push_back(changed); }
  int whole = 0;
  std::vector<SurfaceRect> changes;
};

void Paint(DisplaySurface& s, int x, int y, uint8_t v) {
  uint8_t* p = s.RowFromTop(y) + x * 3;
  p[0] = p[1] = p[2] = v;
}

TEST(WindowPicture, OnlyTheChangedRectangleIsHandedOver) {
  std::ostringstream out, err;
  HandOverPlatform platform(out, err);
  Engine engine(platform);
  engine.display.Resize(40, 30);
  ShowOnWindow(engine, engine.display);
  EXPECT_EQ(platform.whole, 1);  // nothing shown before: the whole picture

  // A cursor cell of 3×2 pixels at (10, 20) changes.
  for (int y = 20; y < 22; ++y)
    for (int x = 10; x < 13; ++x) Paint(engine.display, x, y, 200);
  ShowOnWindow(engine, engine.display);
  ASSERT_EQ(platform.changes.size(), 1u);
  const SurfaceRect r = platform.changes.back();
  EXPECT_EQ(r.x, 10);
  EXPECT_EQ(r.y, 20);
  EXPECT_EQ(r.width, 3);
  EXPECT_EQ(r.height, 2);
  EXPECT_TRUE(ChangedPart(WindowPicture(engine), engine.display).Empty());

  // Shown again unchanged: an empty change.
  ShowOnWindow(engine, engine.display);
  ASSERT_EQ(platform.changes.size(), 2u);
  EXPECT_TRUE(platform.changes.back().Empty());
  EXPECT_EQ(platform.whole, 1);
}

TEST(WindowPicture, ShiftedAndOverlaidPicturesGoWholeAndTheNextChangeCountsFromThem) {
  std::ostringstream out, err;
  HandOverPlatform platform(out, err);
  Engine engine(platform);
  engine.display.Resize(40, 30);
  Paint(engine.display, 0, 0, 255);
  ShowOnWindow(engine, engine.display);
  ShowShiftedOnWindow(engine, engine.display, 5, 0);  // a shake: the white pixel moves to (5, 0)
  EXPECT_EQ(platform.whole, 2);
  ShowOnWindow(engine, engine.display);  // the shake ends: both pixels are a change
  ASSERT_EQ(platform.changes.size(), 1u);
  EXPECT_EQ(platform.changes.back().x, 0);
  EXPECT_EQ(platform.changes.back().width, 6);
  EXPECT_TRUE(ChangedPart(WindowPicture(engine), engine.display).Empty());

  // A movie over the picture: whole frames while it plays.
  engine.graphics.hooks.window_overlay = [](Engine&, DisplaySurface& shown) { Paint(shown, 39, 29, 99); };
  engine.graphics.hooks.window_overlay_shown = [](const Engine&) { return true; };
  ShowOnWindow(engine, engine.display);
  EXPECT_EQ(platform.whole, 3);
  engine.graphics.hooks.window_overlay_shown = [](const Engine&) { return false; };
  ShowOnWindow(engine, engine.display);  // the movie's pixel goes
  ASSERT_EQ(platform.changes.size(), 2u);
  EXPECT_EQ(platform.changes.back().x, 39);
  EXPECT_EQ(platform.changes.back().y, 29);
}

}  // namespace
}  // namespace orivane
